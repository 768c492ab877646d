#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/resources/resource_ids.h"
#include "process_run.h"
#include "ui/progress_dlg.h"

namespace {

// The progress dialog on its thread, observed through its window as a person sees it.
class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(dialog_.Window(), nullptr) << "the dialog did not come up (no DISPLAY?)";
    }

    int BarPosition() const {
        return static_cast<int>(
            ::SendMessageW(::GetDlgItem(dialog_.Window(), IDC_PROGRESS_BAR), PBM_GETPOS, 0, 0));
    }
    std::wstring FileText() const {
        wchar_t text[MAX_PATH] = {};
        ::GetDlgItemTextW(dialog_.Window(), IDC_PROGRESS_FILE, text, MAX_PATH);
        return text;
    }
    std::wstring File(const wchar_t* name, std::size_t size) {
        const std::wstring path = folder_.Path(name);
        WriteFileBytes(path, PatternBytes(size));
        return path;
    }
    // Waits up to five seconds for the condition, as a person would wait for a window.
    template <class Condition>
    static bool Eventually(Condition condition) {
        for (int i = 0; i < 250; ++i) {
            if (condition()) return true;
            ::Sleep(20);
        }
        return condition();
    }

    TempFolder folder_;
    CProgressDlg dialog_{nullptr, L"Progress under test"};
};

TEST_F(ProgressTest, ARunWithNothingToMeasureShowsAFullBarThatStaysFull) {
    dialog_.SetTotalRange(0);
    EXPECT_EQ(BarPosition(), 100);
    dialog_.Initialize(File(L"empty.txt", 0).c_str());
    dialog_.SetPos(4096);
    EXPECT_EQ(BarPosition(), 100);
}

TEST_F(ProgressTest, TheBarFollowsTheBytesDone) {
    dialog_.SetTotalRange(1000);
    dialog_.Initialize(File(L"a.bin", 1000).c_str());
    dialog_.SetPos(333);
    EXPECT_EQ(BarPosition(), 33);
    dialog_.SetPos(667);
    EXPECT_EQ(BarPosition(), 100);
    dialog_.SetPos(500);  // the file grew meanwhile
    EXPECT_EQ(BarPosition(), 100);
}

// A file is done when the next is announced: counted in full when it had no progress, and
// not counted twice when it had.
TEST_F(ProgressTest, AnnouncingTheNextFileCountsTheLastOneOnce) {
    const std::wstring third = File(L"third.bin", 100);
    dialog_.SetTotalRange(500);
    dialog_.Initialize(File(L"first.bin", 300).c_str());
    EXPECT_EQ(BarPosition(), 0);
    dialog_.Initialize(File(L"second.bin", 100).c_str());
    EXPECT_EQ(BarPosition(), 60);
    dialog_.SetPos(100);
    EXPECT_EQ(BarPosition(), 80);
    dialog_.Initialize(third.c_str());
    EXPECT_EQ(BarPosition(), 80);
    EXPECT_EQ(FileText(), third);
}

TEST_F(ProgressTest, SkippedFilesCountAndFoldersDoNot) {
    dialog_.SetTotalRange(200);
    dialog_.SkipFile(File(L"skipped.bin", 100));
    EXPECT_EQ(BarPosition(), 50);
    dialog_.SkipFile(folder_.Path());
    dialog_.SkipFile(folder_.Path(L"missing.bin"));
    EXPECT_EQ(BarPosition(), 50);
}

TEST_F(ProgressTest, CancelSetsTheFlagAndTheWindowGoesAway) {
    const HWND window = dialog_.Window();
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, IDCANCEL)));
    EXPECT_TRUE(Eventually([&] { return dialog_.IsCancelled(); }));
    EXPECT_TRUE(Eventually([&] { return !::IsWindow(window); }));
    EXPECT_EQ(dialog_.Window(), nullptr);
    dialog_.SetPos(10);  // forwarding to a closed dialog does nothing
    dialog_.CloseProgress();
    EXPECT_TRUE(dialog_.IsCancelled());
}

TEST_F(ProgressTest, ClosingEndsTheDialogWithoutCancelling) {
    const HWND window = dialog_.Window();
    dialog_.CloseProgress();
    EXPECT_FALSE(::IsWindow(window));
    EXPECT_FALSE(dialog_.IsCancelled());
    dialog_.CloseProgress();  // the engine's destructor closes again
    EXPECT_FALSE(dialog_.IsCancelled());
}

// Holds the dialog's thread in a plain wait as soon as it takes its next message, the way a
// thread stuck outside the windowing system would be. Suspending the thread instead could
// stop it inside Wine's window code, holding the lock every other thread's window call needs.
class StuckDialogThread {
public:
    explicit StuckDialogThread(DWORD threadId)
        : hook_(::SetWindowsHookExW(WH_GETMESSAGE, Hold, nullptr, threadId)) {}
    ~StuckDialogThread() {
        if (hook_) ::UnhookWindowsHookEx(hook_);
    }
    explicit operator bool() const { return hook_ != nullptr; }
    static bool Holding() { return ::WaitForSingleObject(held_.get(), 5000) == WAIT_OBJECT_0; }

private:
    static LRESULT CALLBACK Hold(int code, WPARAM wParam, LPARAM lParam) {
        ::SetEvent(held_.get());
        ::WaitForSingleObject(never_.get(), INFINITE);
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_;
    static inline const KernelHandle held_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    static inline const KernelHandle never_{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

// A dialog thread that cannot answer is terminated, and has ended before the object that it
// works on may go.
TEST_F(ProgressTest, AThreadThatDoesNotCloseIsTerminatedAndHasEndedWhenClosingReturns) {
    const DWORD threadId = ::GetWindowThreadProcessId(dialog_.Window(), nullptr);
    const KernelHandle thread(::OpenThread(SYNCHRONIZE, FALSE, threadId));
    ASSERT_TRUE(thread);
    const StuckDialogThread stuck(threadId);
    ASSERT_TRUE(stuck);
    ::PostMessageW(dialog_.Window(), WM_NULL, 0, 0);
    ASSERT_TRUE(StuckDialogThread::Holding()) << "the dialog's thread never took its message";
    const DWORD start = ::GetTickCount();
    dialog_.CloseProgress();
    EXPECT_GE(::GetTickCount() - start, 1900u) << "the dialog was not given its time to close";
    EXPECT_EQ(::WaitForSingleObject(thread.get(), 0), WAIT_OBJECT_0);
}

}  // namespace

// The payload goes in pieces: the progress dialog's bar hears of every piece written, and a
// cancel stops the file in hand before another piece is written, also in a large file, in
// either format (a sealed file's pieces are its messages).
#include <gtest/gtest.h>
#include <windows.h>
// commctrl.h needs windows.h first.
#include <commctrl.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "app/resources/resource_ids.h"
#include "engine/file_decryption.h"
#include "engine/file_encryption.h"
#include "engine_test.h"
#include "win/unfinished_path.h"

namespace {

constexpr std::uint64_t kMiB = std::uint64_t{1} << 20;
constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

std::uint64_t SizeOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// Watches the bar of an engine's progress dialog: notes the size of the output each time the
// bar is moved, and presses Cancel once the output has reached a size. Cancel is pressed on
// the dialog's own thread while the engine waits for the bar, so the engine's next step is the
// first that can hear it.
class BarWatch {
public:
    BarWatch(const CRunDialogs& run, std::wstring output, std::uint64_t cancelAt = kNever)
        : dialog_(run.Progress()->Window()),
          bar_(::GetDlgItem(dialog_, IDC_PROGRESS_BAR)),
          output_(std::move(output)),
          cancelAt_(cancelAt) {
        current_ = this;
        original_ = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&BarProc)));
    }
    ~BarWatch() {
        if (::IsWindow(bar_)) ::SetWindowLongPtrW(bar_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        current_ = nullptr;
    }
    BarWatch(const BarWatch&) = delete;
    BarWatch& operator=(const BarWatch&) = delete;

    bool Watching() const { return original_ != nullptr; }
    // The output's size at every move of the bar, in order.
    const std::vector<std::uint64_t>& Sizes() const { return sizes_; }
    std::uint64_t SizeAtCancel() const { return sizeAtCancel_; }

private:
    static LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
        BarWatch& watch = *current_;
        if (message == PBM_SETPOS) watch.Moved();
        return ::CallWindowProcW(watch.original_, bar, message, wParam, lParam);
    }

    void Moved() {
        const std::uint64_t size = SizeOf(output_);
        sizes_.push_back(size);
        if (size < cancelAt_ || sizeAtCancel_ != kNever) return;
        sizeAtCancel_ = size;
        ::SendMessageW(dialog_, WM_COMMAND, IDCANCEL, 0);
    }

    static inline BarWatch* current_ = nullptr;
    HWND dialog_;
    HWND bar_;
    std::wstring output_;
    std::uint64_t cancelAt_;
    std::uint64_t sizeAtCancel_ = kNever;
    std::vector<std::uint64_t> sizes_;
    WNDPROC original_ = nullptr;
};

// An engine that notes how large its output was when it removed it after a failure.
template <class Engine>
class NotingRemoval : public Engine {
public:
    template <class... Format>
    NotingRemoval(IRunObserver& observer, const Bytes& secret, Format... format)
        : Engine(observer, secret, format...) {}
    std::uint64_t removedOutputSize = kNever;

protected:
    void RemoveHeld(HANDLE file, const std::wstring& path) override {
        LARGE_INTEGER size{};
        if (path == UnfinishedPath(this->file_.outputPath, 1) && ::GetFileSizeEx(file, &size))
            removedOutputSize = static_cast<std::uint64_t>(size.QuadPart);
        Engine::RemoveHeld(file, path);
    }
};

class PayloadPiecesTest : public EngineTest {
protected:
    // The engine's run over one file of that size, for the bar to measure.
    static void Measure(CRunDialogs& run, const std::wstring& path) {
        ASSERT_NE(run.Progress()->Window(), nullptr) << "no progress dialog (no DISPLAY?)";
        run.SetTotal(SizeOf(path));
    }

    // Never more than a piece of 1 MiB written between two moves of the bar: at 10 MB/s, the
    // bar moves every 100 ms.
    static void ExpectAMoveForEveryMegabyte(const std::vector<std::uint64_t>& sizes,
                                            std::uint64_t finalSize) {
        ASSERT_FALSE(sizes.empty());
        std::uint64_t before = 0;
        for (const std::uint64_t size : sizes) {
            EXPECT_LE(size - before, kMiB) << "between " << before << " and " << size << " bytes";
            before = size;
        }
        EXPECT_EQ(sizes.back(), finalSize);
    }
};

constexpr core::FileFormat kFormats[] = {core::FileFormat::Zte, core::FileFormat::Sealed};

TEST_F(PayloadPiecesTest, TheBarMovesForEveryMegabyteEncryptedOrDecrypted) {
    const Bytes plain = PatternBytes(5 * kMiB + 300);
    const std::wstring input = File(L"large.bin", plain);
    const auto run = [](auto& engine, const std::wstring& from, const std::wstring& to) {
        Measure(engine, from);
        const BarWatch watch(engine, UnfinishedPath(to, 1));
        ASSERT_TRUE(watch.Watching());
        ASSERT_EQ(engine.ProcessFile(from, false), FileOutcome::Done());
        ExpectAMoveForEveryMegabyte(watch.Sizes(), SizeOf(to));
    };
    for (const core::FileFormat format : kFormats) {
        SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format));
        DialogRun<CFileEncryption> encryption(kSecret, format);
        run(encryption, input, input + L".zte");
        DialogRun<CFileDecryption> decryption{kSecret};
        run(decryption, input + L".zte", input);
        EXPECT_EQ(ReadFileBytes(input), plain);
    }
}

TEST_F(PayloadPiecesTest, CancelInTheMiddleOfAFileStopsItBeforeAnotherPieceIsWritten) {
    const Bytes plain = PatternBytes(16 * kMiB);
    const std::wstring input = File(L"large.bin", plain);
    const auto cancelled = [this](auto& engine, const std::wstring& from, const std::wstring& to) {
        const Bytes content = ReadFileBytes(from);
        Measure(engine, from);
        const BarWatch watch(engine, UnfinishedPath(to, 1), 2 * kMiB);
        ASSERT_TRUE(watch.Watching());

        EXPECT_EQ(engine.ProcessFile(from, false), FileOutcome::Failed(E_ABORT));

        EXPECT_EQ(engine.removedOutputSize, watch.SizeAtCancel());
        EXPECT_EQ(ReadFileBytes(from), content);
        EXPECT_FALSE(FileExists(to));
        EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANCELLED, from, S_OK));
    };
    for (const core::FileFormat format : kFormats) {
        SCOPED_TRACE(testing::Message() << "format " << static_cast<int>(format));
        DialogRun<NotingRemoval<CFileEncryption>> encryption(kSecret, format);
        cancelled(encryption, input, input + L".zte");

        DialogRun<CFileEncryption> complete(kSecret, format);
        ASSERT_EQ(complete.ProcessFile(input, false), FileOutcome::Done());
        DialogRun<NotingRemoval<CFileDecryption>> decryption(kSecret);
        cancelled(decryption, input + L".zte", input);
        DialogRun<CFileDecryption> restore{kSecret};
        ASSERT_EQ(restore.ProcessFile(input + L".zte", false), FileOutcome::Done());
    }
}

// The whole payload written, the copy still to be flushed: a cancel now must not let the
// wipe begin, which would have to run to its end.
TEST_F(PayloadPiecesTest, CancelAfterTheLastPieceKeepsThePlainFileUnwiped) {
    const Bytes plain = PatternBytes(3 * kMiB + 100);
    const std::wstring input = File(L"large.bin", plain);
    DialogRun<CFileEncryption> engine{kSecret};
    Measure(engine, input);
    const BarWatch watch(engine, UnfinishedPath(input + L".zte", 1), plain.size());
    ASSERT_TRUE(watch.Watching());

    EXPECT_EQ(engine.ProcessFile(input, false), FileOutcome::Failed(E_ABORT));

    EXPECT_GT(watch.SizeAtCancel(), plain.size());
    EXPECT_EQ(ReadFileBytes(input), plain);
    EXPECT_FALSE(FileExists(input + L".zte"));
    EXPECT_EQ(Text(engine.Report()), Entry(IDS_CANCELLED, input, S_OK));
}

}  // namespace

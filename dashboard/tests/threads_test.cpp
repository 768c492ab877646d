// The page's worker threads with real threads, the real store file and another process
// writing it, and the page's edits made by the refresh thread; every wait has a time limit.
#include <gtest/gtest.h>

#include <algorithm>

#include "dashboard/page/page_shared.h"
#include "dashboard/resources/resource_ids.h"
#include "dashboard/threads/refresh_thread.h"
#include "dashboard/threads/wait_data_changed_thread.h"
#include "dashboard/threads/wait_process_thread.h"
#include "dashboard_test.h"
#include "process_run.h"

namespace {

// Long enough that a full load takes a good part of a second under Wine.
constexpr int kManyItems = 20000;

std::wstring Helper(const std::wstring& arguments) {
    return Quoted(TestProgramFolder() + L"dashboard_helper.exe") + L" " + arguments;
}

// An edit as the page asks for it: the item of that name is taken off the list.
ItemEdit Removal(const std::wstring& name) {
    return [key = CDecryptedItem::KeyOf(name)](CDecryptedItems& items) { items.Remove(key); };
}

class WorkerThreadTest : public ::testing::Test {
protected:
    WorkerThreadTest() { shared_.window = sink_.Window(); }

    std::size_t Count(UINT message) const {
        const auto& received = sink_.Received();
        return static_cast<std::size_t>(std::count_if(received.begin(), received.end(),
                                                      [&](const MSG& m) { return m.message == message; }));
    }
    std::size_t ItemsLoaded() const { return Count(WM_ITEMS_LOADED); }
    std::size_t ReloadRequests() const { return Count(WM_COMMAND); }
    // The one message received is a reload request as the page's refresh button makes it.
    void ExpectOneReloadRequest() const {
        ASSERT_EQ(ReloadRequests(), 1u);
        const MSG& message = sink_.Received()[0];
        EXPECT_EQ(message.wParam, MAKEWPARAM(IDC_REFRESH, 0));
        EXPECT_EQ(message.lParam, 0);
    }
    // The thread started on the store, with a first load done.
    void StartLoaded(CRefreshThread& thread, const std::string& items) {
        store_.WriteStore(StoreBody(items));
        thread.Resume();
        shared_.RequestLoad();
        ASSERT_TRUE(sink_.PumpUntil([&] { return ItemsLoaded() == 1; }, 10000));
    }
    // Asks the thread to load a long list, and waits until the load runs: the thread resets
    // the request just before it starts a load.
    void StartLongLoad(CRefreshThread& thread) {
        store_.WriteStore(StoreBody(ManyMissingItems(kManyItems)));
        thread.Resume();
        shared_.RequestLoad();
        ASSERT_TRUE(Eventually(
            [&] { return ::WaitForSingleObject(shared_.refreshEvent.get(), 0) == WAIT_TIMEOUT; }, 10000));
    }
    // The page goes away: the thread leaves its body within the time.
    void ExpectEndsWhenThePageGoes(const CSimpleThreadBase& thread, DWORD ms = 10000) {
        ASSERT_TRUE(::SetEvent(shared_.stopEvent.get()));
        EXPECT_TRUE(Eventually([&] { return thread.ThreadId() == 0; }, ms));
    }

    StoreSandbox store_;
    MessageSink sink_;
    CPageShared shared_;
};

TEST_F(WorkerThreadTest, RequestsDuringALoadMakeExactlyOneMoreLoadAndItIsComplete) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLongLoad(thread));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(::SetEvent(shared_.refreshEvent.get()));

    EXPECT_TRUE(sink_.PumpUntil([&] { return ItemsLoaded() >= 2; }, 60000));
    sink_.PumpFor(1500);
    ASSERT_EQ(ItemsLoaded(), 2u);
    for (const MSG& message : sink_.Received())
        EXPECT_EQ(message.wParam, 1u) << "both loads changed the list";
    // The first load was cut short by the requests; the one after it read the whole file.
    EXPECT_EQ(shared_.items.Lock()->Count(), static_cast<std::size_t>(kManyItems));
    ExpectEndsWhenThePageGoes(thread);
}

TEST_F(WorkerThreadTest, ALoadGivesUpWhenThePageGoesAway) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLongLoad(thread));
    ExpectEndsWhenThePageGoes(thread);
    EXPECT_LT(shared_.items.Lock()->Count(), static_cast<std::size_t>(kManyItems));
}

TEST_F(WorkerThreadTest, AnUnchangedStoreLoadsAgainWithoutChange) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLoaded(thread, MissingItem(1)));
    ASSERT_TRUE(::SetEvent(shared_.refreshEvent.get()));
    ASSERT_TRUE(sink_.PumpUntil([&] { return ItemsLoaded() == 2; }, 10000));
    EXPECT_EQ(sink_.Received()[0].wParam, 1u);
    EXPECT_EQ(sink_.Received()[1].wParam, 0u);
    ExpectEndsWhenThePageGoes(thread);
}

TEST_F(WorkerThreadTest, AStoreSavedByAnotherProcessIsNoticedWithinTenSeconds) {
    store_.WriteStore(StoreBody(MissingItem(1)));
    CWaitDataChangedThread thread(shared_);
    thread.Resume();
    // The first poll, after five seconds, only takes note of the file.
    sink_.PumpFor(CWaitDataChangedThread::kPollMs + 1000);
    ASSERT_EQ(ReloadRequests(), 0u);

    ASSERT_EQ(ProcessRun(Helper(L"save C:\\nowhere\\saved.txt")).Finish(), 0u);
    EXPECT_TRUE(
        sink_.PumpUntil([&] { return ReloadRequests() > 0; }, 2 * CWaitDataChangedThread::kPollMs + 2000));
    ExpectOneReloadRequest();
    ExpectEndsWhenThePageGoes(thread, 2000);
}

TEST_F(WorkerThreadTest, AnEditIsMadeOnTheStoreAsItIsNowAndSaved) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLoaded(thread, MissingItem(1) + MissingItem(2)));
    // Another program records an item after the load.
    ASSERT_EQ(ProcessRun(Helper(L"save C:\\nowhere\\saved.txt")).Finish(), 0u);

    shared_.edits.Push(Removal(L"missing1.txt"));
    shared_.RequestLoad();
    ASSERT_TRUE(sink_.PumpUntil([&] { return ItemsLoaded() == 2; }, 10000));
    EXPECT_EQ(sink_.Received()[1].wParam, 1u) << "the list shows the edit";
    const StoreContent content;
    EXPECT_EQ(content.Find(L"missing1.txt"), nullptr);
    EXPECT_NE(content.Find(L"missing2.txt"), nullptr);
    EXPECT_NE(content.Find(L"saved.txt"), nullptr) << "what the other program saved is kept";
    EXPECT_EQ(shared_.items.Lock()->Count(), 2u);
    ExpectEndsWhenThePageGoes(thread);
}

TEST_F(WorkerThreadTest, AnEditOfAStoreThatCannotBeReadIsNeitherMadeNorSavedAndIsReported) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLoaded(thread, MissingItem(1) + MissingItem(2)));
    ASSERT_TRUE(::DeleteFileW(store_.StoreFile().c_str()));

    shared_.edits.Push(Removal(L"missing1.txt"));
    shared_.RequestLoad();
    ASSERT_TRUE(sink_.PumpUntil([&] { return Count(WM_EDIT_FAILED) == 1; }, 10000));
    sink_.PumpFor(300);
    EXPECT_EQ(ItemsLoaded(), 1u) << "a failed edit is no load";
    EXPECT_FALSE(FileExists(store_.StoreFile())) << "nothing is saved in the store's place";
    ExpectEndsWhenThePageGoes(thread);
}

TEST_F(WorkerThreadTest, AnEditDuringALongLoadCutsItShortAndIsMadeOnTheWholeStore) {
    CRefreshThread thread(shared_);
    ASSERT_NO_FATAL_FAILURE(StartLongLoad(thread));
    shared_.edits.Push(Removal(L"missing7.txt"));
    shared_.RequestLoad();

    ASSERT_TRUE(sink_.PumpUntil([&] { return ItemsLoaded() == 2; }, 60000));
    // The end of the edit tells the page that it answers the second request.
    EXPECT_EQ(sink_.Received()[1].lParam, 2);
    EXPECT_EQ(sink_.Received()[1].wParam, 1u);
    EXPECT_EQ(shared_.items.Lock()->Count(), static_cast<std::size_t>(kManyItems - 1));
    const StoreContent content;
    EXPECT_EQ(content.Count(), static_cast<std::size_t>(kManyItems - 1));
    EXPECT_EQ(content.Find(L"missing7.txt"), nullptr);
    ExpectEndsWhenThePageGoes(thread);
}

// A program the page started, running for the seconds given (ended with the test), and the
// thread waiting for it with a copy of its handle, as the page hands it over.
struct WaitedProgram {
    explicit WaitedProgram(int seconds, const MessageSink& sink, HANDLE stop)
        : program(Helper(L"wait " + std::to_wstring(seconds))) {
        KernelHandle copy;
        EXPECT_TRUE(::DuplicateHandle(::GetCurrentProcess(), program.Process(), ::GetCurrentProcess(),
                                      copy.put(), 0, FALSE, DUPLICATE_SAME_ACCESS));
        waiting = CWaitProcessThread::Launch(sink.Window(), stop, std::move(copy));
        EXPECT_TRUE(waiting);
    }
    ProcessRun program;
    KernelHandle waiting;
};

TEST_F(WorkerThreadTest, TheEndOfAStartedProgramAsksForAReload) {
    const WaitedProgram started(1, sink_, shared_.stopEvent.get());
    ASSERT_TRUE(sink_.PumpUntil([&] { return ReloadRequests() > 0; }, 30000));
    ExpectOneReloadRequest();
    EXPECT_EQ(::WaitForSingleObject(started.waiting.get(), 5000), WAIT_OBJECT_0);
}

TEST_F(WorkerThreadTest, ClosingThePageWhileTheProgramRunsEndsTheWaitAtOnceWithoutAReload) {
    const WaitedProgram started(60, sink_, shared_.stopEvent.get());
    sink_.PumpFor(300);
    ASSERT_EQ(::WaitForSingleObject(started.waiting.get(), 0), WAIT_TIMEOUT)
        << "waits while the program runs";
    ASSERT_TRUE(::SetEvent(shared_.stopEvent.get()));
    EXPECT_EQ(::WaitForSingleObject(started.waiting.get(), 2000), WAIT_OBJECT_0);
    sink_.PumpFor(300);
    EXPECT_EQ(ReloadRequests(), 0u);
    EXPECT_FALSE(started.program.EndsWithin(0)) << "the program itself runs on";
}

}  // namespace

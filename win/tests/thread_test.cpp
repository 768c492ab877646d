// The one way the suite starts threads: the body runs with its argument, a suspended thread
// waits for Resume, and Join tells a thread that has ended from one that has not.
#include <gtest/gtest.h>

#include <atomic>

#include "win/thread.h"

namespace {

unsigned __stdcall CountOnce(void* argument) {
    ++*static_cast<std::atomic<int>*>(argument);
    return 0;
}

TEST(ThreadTest, TheBodyRunsOnceWithItsArgumentOnAThreadOfItsOwn) {
    std::atomic<int> runs{0};
    CThread thread;
    thread.Start(CountOnce, &runs);
    ASSERT_TRUE(thread);
    EXPECT_NE(thread.Id(), 0u);
    EXPECT_NE(thread.Id(), ::GetCurrentThreadId());
    ASSERT_TRUE(thread.Join(10000));
    EXPECT_EQ(runs, 1);
}

TEST(ThreadTest, ASuspendedThreadRunsOnlyOnceResumed) {
    std::atomic<int> runs{0};
    CThread thread;
    thread.Start(CountOnce, &runs, true);
    ASSERT_TRUE(thread);
    EXPECT_FALSE(thread.Join(200));
    EXPECT_EQ(runs, 0);
    thread.Resume();
    ASSERT_TRUE(thread.Join(10000));
    EXPECT_EQ(runs, 1);
}

TEST(ThreadTest, AnEmptyThreadHasNothingToWaitFor) {
    CThread thread;
    EXPECT_FALSE(thread);
    EXPECT_TRUE(thread.Join(0));
}

}  // namespace

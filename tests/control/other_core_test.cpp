#include "control/other_core.h"

#include <atomic>
#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

using namespace korvel;

TEST(OtherCore, AThreadMadeToShareWorkMayRunOnEveryCoreButItsMakers) {
    cpu_set_t mine;
    ASSERT_EQ(sched_getaffinity(0, sizeof mine, &mine), 0);
    if (CPU_COUNT(&mine) < 2)
        GTEST_SKIP() << "one core only";
    std::atomic<bool> done{false};
    std::thread worker([&done] {
        while (!done)
            std::this_thread::yield();
    });
    MoveToAnotherCore(worker);
    cpu_set_t its;
    ASSERT_EQ(pthread_getaffinity_np(worker.native_handle(), sizeof its, &its), 0);
    done = true;
    worker.join();
    cpu_set_t both;
    CPU_AND(&both, &its, &mine);
    EXPECT_EQ(CPU_COUNT(&its), CPU_COUNT(&mine) - 1);
    EXPECT_TRUE(CPU_EQUAL(&both, &its)) << "only cores the maker may use";
}

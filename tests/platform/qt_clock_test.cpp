#include "platform/qt/qt_clock.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

using namespace korvel;

namespace {

// Runs the event loop until done() or two seconds have passed.
template <class F> void runUntil(F done) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
}

} // namespace

TEST(QtClock, WindowTimersRunOnTheEventLoop) {
    QtClock clock;
    Timer timer;
    int ticks = 0;
    timer.onTimer = [&] {
        if (++ticks == 3)
            timer.setEnabled(false);
    };
    clock.attach(timer);
    timer.setInterval(10);
    timer.setEnabled(true);
    runUntil([&] { return ticks >= 3; });
    EXPECT_EQ(ticks, 3);

    // Stopped by its own handler, and an interval of 0 does not run it either.
    timer.setInterval(0);
    timer.setEnabled(true);
    std::int64_t start = clock.monotonicMs();
    runUntil([&] { return clock.monotonicMs() - start >= 100; });
    EXPECT_EQ(ticks, 3);
}

TEST(QtClock, SleepBlocksForAtLeastItsTime) {
    QtClock clock;
    std::int64_t before = clock.monotonicMs();
    clock.Sleep(30);
    EXPECT_GE(clock.monotonicMs() - before, 30);
    LocalDateTime now = clock.now();
    EXPECT_GE(now.weekday, 1);
    EXPECT_LE(now.weekday, 7);
}

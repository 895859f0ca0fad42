#include "platform/qt/qt_clock.h"

#include <QCoreApplication>
#include <QDateTime>
#include <chrono>
#include <ctime>

namespace korvel {

namespace {

LocalDateTime fromQt(const QDateTime& t) {
    QDate d = t.date();
    QTime h = t.time();
    // Qt counts Monday as 1; the simulator counts Sunday as 1.
    return {d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second(), d.dayOfWeek() % 7 + 1};
}

} // namespace

LocalDateTime QtClock::now() const {
    return fromQt(QDateTime::currentDateTime());
}

LocalDateTime QtClock::utcNow() const {
    return fromQt(QDateTime::currentDateTimeUtc());
}

std::int64_t QtClock::monotonicMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void QtClock::DoEvents() {
    // Loops over many lines call this for every line: serving the window every 20 ms keeps it
    // responsive without letting event processing dominate a long scan. The coarse clock is
    // read at a fraction of the precise one's cost and is fine enough for that, and only at
    // every 64th call: a line takes far less than a millisecond.
    if (++calls_ % 64 != 0)
        return;
    timespec coarse{};
    clock_gettime(CLOCK_MONOTONIC_COARSE, &coarse);
    std::int64_t now = coarse.tv_sec * 1000 + coarse.tv_nsec / 1000000;
    if (now - lastEvents_ < 20)
        return;
    lastEvents_ = now;
    QCoreApplication::processEvents();
}

void QtClock::attach(Timer& timer) {
    auto& qtimer = timers_[&timer];
    qtimer = std::make_unique<QTimer>();
    QObject::connect(qtimer.get(), &QTimer::timeout, [&timer] {
        if (timer.onTimer)
            timer.onTimer();
    });
    QTimer* q = qtimer.get();
    auto apply = [&timer, q] {
        // A window timer with interval 0 does not run.
        if (timer.enabled() && timer.interval() > 0)
            q->start(timer.interval());
        else
            q->stop();
    };
    timer.onChanged = apply;
    apply();
}

} // namespace korvel

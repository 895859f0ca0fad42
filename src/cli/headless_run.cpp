#include "cli/headless_run.h"

#include "files/pending_file.h"
#include "replay/record_pace.h"
#include "replay/step_pace.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace korvel {

HeadlessRun::HeadlessRun(ReplayEngine& engine, Outputs& outputs, HeadlessReplay* replay,
                         Clock& clock, bool echo, bool showProgress, InputSpool* input,
                         const std::atomic<bool>& stopRequested)
    : replay_(replay), engine_(engine), outputs_(outputs), clock_(clock), input_(input),
      stopRequested_(stopRequested), progress_(showProgress), countAtLoad_(engine_.count),
      rmcAtLoad_(input ? input->rmcLines() : 0) {
    if (echo)
        outputs_.onTaken = [this](const std::string& sentence) { this->echo(sentence); };
    outputs_.keepWaitingAtEnd = [this] { return mayWaitAtEnd(); };
}

bool HeadlessRun::mayWaitAtEnd() {
    // Each destination gets what was sent before the program ends: the readers of a run as fast
    // as taken for as long as they take it, those of a paced or stopped run a little while.
    if (outputs_.keepWaiting && !stopRequested_)
        return outputs_.keepWaiting();
    clock_.DoEvents();
    if (!endBegan_.isValid())
        endBegan_.start();
    return endBegan_.elapsed() < kLastWaitMs;
}

// --echo: the sentences sent, one a line, on standard output; a run as fast as taken writes
// them in blocks. A reader that has gone (a closed pipe) ends the run quietly; any other write
// error ends it as a failure.
void HeadlessRun::echo(const std::string& sentence) {
    if (echo_ != Open)
        return;
    echoed_.append(sentence, 0, sentence.size() - 2);
    echoed_ += '\n';
    if (!inBlocks_ || echoed_.size() >= kEchoBlock)
        flushEcho();
}

void HeadlessRun::flushEcho() {
    int error = 0;
    if (echo_ == Open && !echoed_.empty() && !WriteAll(STDOUT_FILENO, echoed_, error)) {
        echo_ = error == EPIPE ? Closed : Failed;
        if (echo_ == Failed)
            std::cerr << "korvel: standard output: " << std::strerror(error) << "\n";
    }
    echoed_.clear();
}

bool HeadlessRun::arrived(int waitMs) {
    if (!input_ || inputFailed_)
        return !inputFailed_;
    if (!input_->take(waitMs)) {
        std::cerr << "korvel: standard input: " << input_->error() << "\n";
        inputFailed_ = true;
        return false;
    }
    // A tick reads its records up to the RMC of the record after them.
    engine_.count = countAtLoad_ + input_->rmcLines() - rmcAtLoad_;
    return input_->ended() || input_->rmcLines() > engine_.index + engine_.step;
}

bool HeadlessRun::ending() const {
    return stopRequested_ || outputs_.everyFailed() || echo_ != Open || inputFailed_ ||
           clientsGone_;
}

int HeadlessRun::status() const {
    bool loopFailed = replay_ && replay_->loopFailed();
    return outputs_.anyFailed() || outputs_.connectionUnreached() || echo_ == Failed ||
                   inputFailed_ || clientsGone_ || loopFailed
               ? 1
               : 0;
}

long HeadlessRun::known() const {
    return input_ && !input_->ended() ? -1 : engine_.count;
}

HeadlessReplay::Step HeadlessRun::step() {
    HeadlessReplay::Step done = replay_->step();
    progress_.update(engine_.index, known());
    return done;
}

int HeadlessRun::finish() {
    // A replay that reached the end of its file has sent every record.
    bool whole = !engine_.active && !ending();
    progress_.end(whole ? engine_.count : engine_.index, known());
    int result = status();
    if (!replay_)
        outputs_.close();
    else if (engine_.active)
        replay_->stop();
    return result;
}

int HeadlessRun::asFastAsTaken() {
    // A stop asked for while a sentence waits for its destination ends the wait.
    outputs_.keepWaiting = [this] {
        clock_.DoEvents();
        return !ending();
    };
    // Over TCP, once there is a client to take them.
    bool tcp = outputs_.chosenIs(Destination::Tcp);
    while (tcp && outputs_.tcpServer().clients().empty() && !ending()) {
        QEventLoop wait; // asleep until a client comes, awake now and then for a stop
        QTimer::singleShot(100, &wait, &QEventLoop::quit);
        wait.exec();
    }
    // From a file, the echo in blocks; a log read as it arrives is echoed as it plays.
    inBlocks_ = !input_;
    bool tcpAlone = tcp && outputs_.settings.alsoTo.empty();
    while (engine_.active && !ending()) {
        // Records that no client is there to take are not sent into nowhere.
        if (tcpAlone && !outputs_.lastTaken() && !outputs_.tcpServer().clientConnected()) {
            clientsGone_ = true;
            std::cerr << "korvel: every TCP client has gone: "
                      << (known() < 0 ? "the rest of the log was"
                                      : std::to_string(known() - engine_.index) + " of " +
                                            std::to_string(known()) + " records were")
                      << " not delivered\n";
        } else if (arrived(100)) {
            step();
            clock_.DoEvents(); // clients come and go meanwhile
        } else {
            QCoreApplication::processEvents();
        }
    }
    inBlocks_ = false;
    flushEcho();
    int result = finish();
    if (tcp) {
        // Let the clients' connections take the last sentences before the program ends.
        QTimer::singleShot(500, [] { QCoreApplication::quit(); });
        QCoreApplication::exec();
    }
    return result;
}

int HeadlessRun::pacedByRecordTimes(double speed) {
    engine_.step = 1; // every record
    RecordPace pace(speed, static_cast<int>(engine_.options.intervalMs));
    QElapsedTimer clock;
    clock.start();
    std::int64_t due = 0;
    QTimer next;
    next.setSingleShot(true);
    // Each record when it is due: the time since the record before it, divided by the speed.
    auto schedule = [&] {
        ReplayEngine::NextRecord record = engine_.nextRecord();
        due += record.exists ? pace.waitBefore(record.time) : 0;
        next.start(static_cast<int>(std::max<std::int64_t>(0, due - clock.elapsed())));
    };
    int result = 0;
    QObject::connect(&next, &QTimer::timeout, [&] {
        if (!arrived(0) && !ending()) {
            next.start(20);
            return;
        }
        step();
        if (ending() || !engine_.active) {
            result = finish();
            QCoreApplication::quit();
        } else {
            schedule();
        }
    });
    schedule();
    QCoreApplication::exec();
    return result;
}

int HeadlessRun::pacedByInterval(std::optional<double> everyMs) {
    int result = 0;
    QElapsedTimer clock;
    clock.start();
    std::int64_t tickAt = 0;
    int period = kFirstTickMs;
    double dueMs = -1; // when an exact pace's next record is due, from the first one's time
    // A tick of the interval's period brings a step a little later, as the window's timer does;
    // an exact pace steps at the tick, on a timer kept to the millisecond.
    QTimer tick, due, watch;
    tick.setSingleShot(true);
    due.setSingleShot(true);
    if (everyMs)
        tick.setTimerType(Qt::PreciseTimer);
    auto end = [&] {
        tick.stop();
        due.stop();
        watch.stop(); // the end waits for the readers, running events meanwhile
        result = finish();
        QCoreApplication::quit();
    };
    QObject::connect(&tick, &QTimer::timeout, [&] {
        tickAt = clock.elapsed();
        if (arrived(0))
            due.start(everyMs ? 0 : kStepDelayMs);
        else
            tick.start(period);
    });
    QObject::connect(&due, &QTimer::timeout, [&] {
        HeadlessReplay::Step done = step();
        if (ending() || !engine_.active)
            return end();
        if (done.looped) {
            period = kLoopPauseMs;
            dueMs = -1;
        } else if (done.counted && everyMs) {
            if (dueMs < 0)
                dueMs = static_cast<double>(tickAt);
            period = NextRecordIn(*everyMs, dueMs, static_cast<double>(clock.elapsed()));
        } else if (done.counted)
            period = TickAfterRecord(engine_.options.intervalMs,
                                     static_cast<double>(clock.elapsed() - tickAt))
                         .value_or(period);
        if (engine_.options.newestOnly)
            period = kNewestPeriodMs;
        tick.start(period);
    });
    QObject::connect(&watch, &QTimer::timeout, [&] {
        arrived(0);
        progress_.update(engine_.index, known());
        if (ending())
            end();
    });
    tick.start(period);
    watch.start(50);
    QCoreApplication::exec();
    return result;
}

int HeadlessRun::streamManually(ManualStream& stream, int periodMs, const SentenceSet& sentences,
                                SentenceSink& sink) {
    int result = 0;
    QTimer tick, watch;
    tick.setTimerType(Qt::PreciseTimer); // five or ten a second stay that many
    std::int64_t lastTick = clock_.monotonicMs();
    QObject::connect(&tick, &QTimer::timeout, [&] {
        // A moving position goes as far as the time since the last tick took it.
        std::int64_t now = clock_.monotonicMs();
        if (stream.motion)
            stream.motion->advance(static_cast<double>(now - lastTick) / 1000);
        lastTick = now;
        stream.tick(clock_.utcNow(), sentences, sink);
        SayFailures(outputs_);
    });
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (ending()) {
            tick.stop();
            watch.stop(); // the end waits for the readers, running events meanwhile
            result = finish();
            QCoreApplication::quit();
        }
    });
    tick.start(periodMs);
    watch.start(50);
    QCoreApplication::exec();
    return result;
}

} // namespace korvel

// A headless replay or manual run once it has started: its pace, when it ends, and its exit
// status. Standard output may echo what was sent, and a terminal shows a replay's progress.
#pragma once

#include "cli/headless_replay.h"
#include "cli/input_spool.h"
#include "cli/progress.h"
#include "manual/manual_stream.h"

#include <QElapsedTimer>
#include <atomic>
#include <optional>

namespace korvel {

class HeadlessRun {
  public:
    // replay: the replay that runs, or none for manual mode; input: the log arriving on
    // standard input, when the replay reads one.
    HeadlessRun(ReplayEngine& engine, Outputs& outputs, HeadlessReplay* replay, Clock& clock,
                bool echo, bool showProgress, InputSpool* input,
                const std::atomic<bool>& stopRequested);

    // Each runs until the end and returns the exit status. Every record as soon as the
    // destination takes it:
    int asFastAsTaken();
    // Every record when its own time says, the times divided by speed:
    int pacedByRecordTimes(double speed);
    // At the interval option's pace, or every everyMs exactly (an interval in seconds):
    int pacedByInterval(std::optional<double> everyMs = std::nullopt);
    // Manual mode: stream's position every periodMs, the sentences asked for, into sink.
    int streamManually(ManualStream& stream, int periodMs, const SentenceSet& sentences,
                       SentenceSink& sink);

  private:
    // Whether the records of the next tick have come (always, from a file).
    bool arrived(int waitMs);
    // Whether the end of the run waits longer for its readers to take the rest.
    bool mayWaitAtEnd();
    // Asked to stop, every output failed, nobody reads the echo, the input cannot be kept, or
    // no TCP client is left to take the records.
    bool ending() const;
    // 0 only when every sentence went where it was asked to go.
    int status() const;
    // How many records there are, as far as is known: -1 for a log still arriving.
    long known() const;
    HeadlessReplay::Step step();
    int finish();
    void echo(const std::string& sentence);
    void flushEcho();

    HeadlessReplay* replay_;
    ReplayEngine& engine_;
    Outputs& outputs_;
    Clock& clock_; // runs events while a destination is waited for
    InputSpool* input_;
    const std::atomic<bool>& stopRequested_;
    Progress progress_;
    enum { Open, Closed, Failed } echo_ = Open;
    static constexpr size_t kEchoBlock = 64 * 1024;
    // How long the end of a paced or stopped run waits for its readers to take the rest.
    static constexpr int kLastWaitMs = 2000;
    QElapsedTimer endBegan_;
    std::string echoed_; // not yet written
    bool inBlocks_ = false;
    bool inputFailed_ = false;
    bool clientsGone_ = false; // as fast as taken over TCP alone: the last client left
    long countAtLoad_, rmcAtLoad_;
};

} // namespace korvel

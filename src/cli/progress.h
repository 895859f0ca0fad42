// A replay's progress on standard error while it runs on a terminal: record n of N, the share
// done and the rate, on one line written over twice a second.
#pragma once

#include <chrono>

namespace korvel {

class Progress {
  public:
    // Shown only when asked for and standard error is a terminal.
    explicit Progress(bool wanted);
    // records < 0: not known yet (a log still arriving).
    void update(long record, long records);
    // Ends the line with the last count.
    void end(long record, long records);

  private:
    void show(long record, long records);

    bool shown_;
    std::chrono::steady_clock::time_point start_, last_;
};

} // namespace korvel

// A log with GGA and VTG but no RMC replays through a copy that has an RMC before each GGA,
// made from the GGA and the latest VTG.
#pragma once

#include "replay/record_source.h"
#include "replay/replay_options.h"

#include <chrono>
#include <optional>
#include <string>

namespace korvel {

class RmcCopy {
  public:
    RmcCopy() = default;
    ~RmcCopy() { remove(); }
    RmcCopy(const RmcCopy&) = delete;
    RmcCopy& operator=(const RmcCopy&) = delete;

    // Writes the copy of the log at logPath, whose lines source reads from its start; its RMC
    // sentences dated as the log's ZDA sentences say, or today when it has none, the
    // day moving on where the log's clock passes midnight. Without any VTG (withoutVtg) every
    // GGA gets its RMC, with empty speed and course; the RMC is written in style. None when it
    // is written, else what the user is told.
    std::optional<std::string> write(const std::string& logPath, RecordSource& source,
                                     bool withoutVtg, std::chrono::sys_days today,
                                     const SentenceStyle& style);
    // The copy written last; "" when there is none.
    const std::string& path() const { return path_; }
    // Removes the copy and its folder.
    void remove();

  private:
    std::string path_;
};

} // namespace korvel

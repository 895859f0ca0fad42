// The UTC time and date a sentence carries, and the same sentence moved in time: for pacing a
// replay by the records' own times and for making an old log look live.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace korvel {

struct SentenceTime {
    std::int64_t seconds = 0; // since 1970 when dated, else since midnight
    bool dated = false;       // RMC and ZDA carry a date; GGA and GLL a time only
    int millis = 0;           // the fraction of the second, for pacing
};

// The time of a sentence of any talker that carries one (RMC, GGA, GLL, ZDA, GNS, GBS, GST,
// GRS, BWC, BWR, ZTG, ZFO, GXA), whole seconds; none when the sentence has no such field or it
// holds no valid time.
std::optional<SentenceTime> TimeOf(const std::string& sentence);
// The time of an hhmmss[.ss] and a ddmmyy text, as an RMC carries them.
std::optional<SentenceTime> TimeOf(const std::string& hhmmss, const std::string& ddmmyy);

// Moves every sentence's time and date so that the first one with a time is `now` (seconds
// since 1970, UTC) and the spacing is kept. Fractions of seconds and field widths stay, the
// checksum is made again; sentences without a time pass unchanged. A log that starts with
// times only takes its day from its first date.
class TimeShift {
  public:
    explicit TimeShift(std::int64_t now) : now_(now) {}
    std::string apply(const std::string& sentence);
    // The log starts again: its first moment comes a second after the latest one sent, so that
    // a looped log's time goes on and never runs back.
    void startAgain();

  private:
    std::int64_t now_;
    std::optional<std::int64_t> latest_;     // the latest moment sent
    std::optional<std::int64_t> firstOfDay_; // the first time, when it had no date
    std::optional<std::int64_t> offset_;     // seconds added to every dated moment
};

} // namespace korvel

// The day a GGA-only log's records fall on, for the RMC sentences its completed copy adds: the
// date its ZDA sentences say, moved on by a day where its clock passes midnight.
#pragma once

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class LogCalendar {
  public:
    explicit LogCalendar(std::chrono::sys_days day) : day_(day) {}

    // The day of the log's first lines, held back until a ZDA says it: the ZDA's date, less the
    // midnights the lines before it passed; fallback when none of them is a dated ZDA.
    static std::chrono::sys_days FirstDay(const std::vector<std::string>& lines,
                                          std::chrono::sys_days fallback);
    // Takes a line of the log: the time of a sentence that carries one, a ZDA's date.
    void take(const std::string& line);
    // The day the line taken last falls on, as an RMC writes it (ddmmyy).
    std::string ddmmyy() const;
    std::chrono::sys_days day() const { return day_; }

  private:
    // Moves on a day where the time of day falls back past midnight.
    void pass(int secondsOfDay);

    std::chrono::sys_days day_;
    int lastSeconds_ = -1; // of the day, of the latest time
};

} // namespace korvel

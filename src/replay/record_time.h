// The date and time a record carries, in UTC, read from its two-digit fields.
#pragma once

#include "platform/clock.h"

#include <optional>
#include <string>
#include <string_view>

namespace korvel {

struct RecordTime {
    long long at = 0;    // seconds since 1970
    std::string dayText; // the date's day as the record writes it
};

// The time of a record from its date (ddmmyy) and time (hhmmss); none on the receiver's zero
// date (30 or 31 December 1989: no date) or where a field is damaged, rather than a made-up date.
std::optional<RecordTime> ReadRecordTime(std::string_view ddmmyy, std::string_view hhmmss);

// The ddmmyy that dates a sentence of the day.
std::string Ddmmyy(const LocalDateTime& day);

} // namespace korvel

// The rewrites a recorded sentence may undergo: the time and position of the record's RMC
// carried into its GGA and GLL, and the sentences repeated while the replay pauses.
// Lines too short or without the fields a rewrite needs are returned unchanged.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

// The text between "$" and "*" (or the end of the line).
std::string BodyOf(const std::string& line);
// Time, latitude, hemisphere, longitude and hemisphere of an RMC, comma-separated, written
// over text (whose room is reused record after record).
void RmcTimePosition(std::string_view rmc, std::string& text);
// A GGA with time and position replaced by timePosition, its other fields kept, newly framed.
std::string WithTimePositionGga(const std::string& gga, const std::string& timePosition);
// A GLL with its position replaced by the position of timePosition, newly framed; it keeps its
// own time and status.
std::string WithTimePositionGll(const std::string& gll, const std::string& timePosition);
// The recorded GGA with the position of the RMC written over its position fields.
std::string WithRmcPosition(const std::string& gga, const std::string& rmc);

} // namespace korvel

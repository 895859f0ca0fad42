#include "replay/formats/track_reader.h"

#include "text/conversions.h"

namespace korvel {

void TrackReader::readHeights(std::string_view line, std::vector<TrackHeight>& heights) {
    scratch_.clear();
    read(line, scratch_);
    for (const TrackPoint& point : scratch_)
        heights.push_back({WholeMetres(point.fix.altitude), point.fix.newSegment, true});
}

std::optional<double> WholeMetres(const std::optional<std::string>& altitude) {
    if (!altitude || Trim(*altitude).empty())
        return std::nullopt;
    return Int(Val(*altitude));
}

} // namespace korvel

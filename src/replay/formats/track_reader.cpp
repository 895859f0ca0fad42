#include "replay/formats/track_reader.h"

#include <cmath>

namespace korvel {

void TrackReader::readHeights(std::string_view line, std::vector<TrackHeight>& heights) {
    scratch_.clear();
    read(line, scratch_);
    for (const TrackPoint& point : scratch_)
        heights.push_back({WholeMetres(point.fix.altitude), point.fix.newSegment, true});
}

std::optional<double> WholeMetres(const std::optional<double>& altitude) {
    if (!altitude || std::isnan(*altitude))
        return std::nullopt;
    return altitude;
}

} // namespace korvel

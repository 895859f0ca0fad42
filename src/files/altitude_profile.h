// Reading the altitude profile from the lines of a log or track file.
#pragma once

#include "files/altitude_curve.h"
#include "replay/track_record.h"

#include <string>
#include <string_view>

namespace korvel {

// One line's part: a GGA sentence's altitude, a marker line ("N..."), or the altitude and the
// segment start of a point of a track file in that format.
void ProfileLine(AltitudeCurve& curve, std::string_view line, bool trackPoint,
                 const std::string& trackFormat);
// A track point's part, once its height is read.
void ProfileTrackHeight(AltitudeCurve& curve, const TrackHeight& height);

} // namespace korvel

// Reading the altitude profile from the lines of a log or the points of a track file.
#pragma once

#include "files/altitude_curve.h"
#include "replay/formats/track_reader.h"

#include <string>
#include <string_view>

namespace korvel {

// A log line's part: a GGA sentence's altitude.
void ProfileLogLine(AltitudeCurve& curve, std::string_view line);
// The same for a line known to be a GGA sentence from its first byte.
void ProfileGga(AltitudeCurve& curve, std::string_view gga);
// A track point's part, once its height is read.
void ProfileTrackHeight(AltitudeCurve& curve, const TrackHeight& height);

} // namespace korvel

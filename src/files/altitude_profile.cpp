// The altitude profile of the loaded file: its altitude over the record number, 0 to 2000 m.
#include "files/altitude_profile.h"

#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

namespace {
const Color kLogCurve = RGB(200, 200, 0), kTrackCurve = RGB(255, 255, 0);
} // namespace

void ProfileLogLine(AltitudeCurve& curve, std::string_view line) {
    // A fix without an altitude has none, not 0 m. A data logger's time stamp may come first.
    if (!line.starts_with('$'))
        line.remove_prefix(std::min(FirstSentenceAt(line), line.size()));
    if (IsSentence(line, "GGA"))
        ProfileGga(curve, line);
}

void ProfileGga(AltitudeCurve& curve, std::string_view gga) {
    std::string_view altitude = FieldView(gga, 9);
    if (!altitude.empty())
        curve.add(std::min(Val(altitude), 10000.0), kLogCurve);
}

void ProfileTrackHeight(AltitudeCurve& curve, const TrackHeight& height) {
    // A segment line marks its place; a point that starts a segment is marked over the
    // whole height.
    if (height.newSegment)
        curve.mark(height.point);
    if (height.altitude)
        curve.add(std::min(*height.altitude, 10000.0), kTrackCurve);
}

} // namespace korvel

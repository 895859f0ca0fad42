// The altitude profile of the loaded file: its altitude over the record number, 0 to 2000 m.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "text/conversions.h"

#include <algorithm>
#include <cmath>

namespace korvel {

namespace {
constexpr Color kBlack = 0;
constexpr double kMaxSegments = 2000;
const Color kLogCurve = RGB(200, 200, 0), kTrackCurve = RGB(255, 255, 0), kMarker = RGB(0, 200, 0);
} // namespace

void MainForm::DrawAltitudeProfile() {
    PictureBox& dia = c.DIA;
    double width = static_cast<double>(std::max(1L, s.recordCount));
    dia.cls();
    dia.scaleLeft = 0;
    dia.scaleWidth = width;
    dia.scaleTop = 0;
    dia.scaleHeight = 2000;
    dia.toolTip.clear();
    dia.print(0, 0, " 2000m", kBlack);
    dia.line(0, 1000, width, 1000, kBlack);
    profileState_ = 1;

    double x = 0, previous = -1, lowest = 99999, highest = 0;
    // A picture has no more than a few thousand columns: records beyond that share a segment,
    // drawn with the lowest and highest altitude among them, so that the drawing (and the
    // memory it takes) stays the same size whatever the length of the file.
    const double perSegment = std::max(1.0, std::floor(width / kMaxSegments));
    double segmentLow = 0, segmentHigh = 0, segmentStart = 0;
    int inSegment = 0;
    double last = 0;
    Color lastColor = kLogCurve;
    auto closeSegment = [&] {
        if (segmentHigh > segmentLow && perSegment > 1)
            dia.line(x, 2000 - segmentLow, x, 2000 - segmentHigh, lastColor, 2);
        dia.line(segmentStart, 2000 - previous, x, 2000 - last, lastColor, 2);
        previous = last;
        inSegment = 0;
    };
    auto point = [&](double altitude, Color color) {
        lowest = std::min(lowest, altitude);
        highest = std::max(highest, altitude);
        if (previous < 0)
            previous = altitude;
        if (inSegment == 0) {
            segmentStart = x;
            segmentLow = segmentHigh = altitude;
        }
        segmentLow = std::min(segmentLow, altitude);
        segmentHigh = std::max(segmentHigh, altitude);
        last = altitude;
        lastColor = color;
        x += 1;
        if (++inSegment >= perSegment)
            closeSegment();
    };
    auto marker = [&](double top) { dia.line(x, top, x, 2000, kMarker); };

    openReplayFile();
    while (profileState_ != 2 && readLine()) {
        const std::string& line = s.currentLine;
        if (IsSentence(line, "GGA")) {
            point(std::min(Val(ExtractField(line, 9)), 10000.0), kLogCurve);
            platform_.clock.DoEvents();
        } else if (line.starts_with('N')) {
            marker(x <= width / 8 ? 250 : 0); // clear of the " 2000m" label
        } else if (s.fileKind == 1 && isTrackRecord(line)) {
            platform_.clock.DoEvents();
            TrackHeight fix =
                ReadTrackHeight(s.trackFormat.empty() ? "Gardown" : s.trackFormat, line);
            if (fix.newSegment)
                marker(0);
            if (fix.altitude)
                point(std::min(*fix.altitude, 10000.0), kTrackCurve);
        }
    }
    if (inSegment > 0)
        closeSegment();
    closeAllFiles();
    profileState_ = 0;
    if (lowest < 99999)
        dia.toolTip = "Altitude: " + Plain(Int(lowest)) + "-" + Plain(Int(highest)) + "m";
}

} // namespace korvel

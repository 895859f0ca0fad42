// The altitude profile of the loaded file: its altitude over the record number, 0 to 2000 m.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

namespace {
constexpr Color kBlack = 0;
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
    auto point = [&](double altitude, Color color) {
        lowest = std::min(lowest, altitude);
        highest = std::max(highest, altitude);
        if (previous < 0)
            previous = altitude;
        dia.line(x, 2000 - previous, x + 1, 2000 - altitude, color, 2);
        previous = altitude;
        x += 1;
    };
    auto marker = [&](double top) { dia.line(x, top, x, 2000, kMarker); };

    openReplayFile();
    while (profileState_ != 2 && readLine()) {
        const std::string& line = s.currentLine;
        if (IsSentence(line, "GGA")) {
            point(std::min(Val(ExtractField(line, 9)), 10000.0), kLogCurve);
            platform_.clock.DoEvents();
        } else if (Left(line, 1) == "N") {
            marker(x <= width / 8 ? 250 : 0); // clear of the " 2000m" label
        } else if (s.fileKind == 1 && isTrackRecord(line)) {
            platform_.clock.DoEvents();
            TrackFix fix = ReadTrackRecord(s.trackFormat.empty() ? "Gardown" : s.trackFormat, line);
            if (fix.newSegment)
                marker(0);
            if (fix.altitude && !Trim(*fix.altitude).empty())
                point(std::min(Int(Val(*fix.altitude)), 10000.0), kTrackCurve);
        }
    }
    closeAllFiles();
    profileState_ = 0;
    if (lowest < 99999)
        dia.toolTip = "Altitude: " + Plain(Int(lowest)) + "-" + Plain(Int(highest)) + "m";
}

} // namespace korvel

// The altitude profile of the loaded file drawn in DIA: its altitude over the record number,
// 0 to 2000 m, each segment's span and the segments' markers.
#include "form/figures_presenter.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

namespace {
constexpr Color kBlack = 0;
const Color kMarker = RGB(0, 200, 0);
} // namespace

void FiguresPresenter::DrawAltitudeProfile(const AltitudeCurve& curve, long records) {
    PictureBox& dia = c.DIA;
    double width = static_cast<double>(std::max(1L, records));
    dia.cls();
    dia.scaleLeft = 0;
    dia.scaleWidth = width;
    dia.scaleTop = 0;
    dia.scaleHeight = 2000;
    dia.toolTip.clear();
    dia.print(0, 0, " 2000m", kBlack);
    dia.line(0, 1000, width, 1000, kBlack);

    // Each segment: the span of its altitudes upright at its end, joined from the last
    // altitude of the one before (the first joins its own first altitude).
    double previous = curve.first();
    long start = 0;
    for (const AltitudeCurve::Segment& segment : curve.segments()) {
        double end = static_cast<double>(std::min(start + curve.perSegment(), curve.points()));
        if (segment.high > segment.low)
            dia.line(end, 2000 - segment.low, end, 2000 - segment.high, segment.color, 2);
        dia.line(static_cast<double>(start), 2000 - previous, end, 2000 - segment.last,
                 segment.color, 2);
        previous = segment.last;
        start += curve.perSegment();
    }
    for (const AltitudeCurve::Marker& marker : curve.markers()) {
        double x = static_cast<double>(marker.x);
        // A marking line near the left leaves the " 2000m" label clear.
        double top = marker.segmentStart || x > width / 8 ? 0 : 250;
        dia.line(x, top, x, 2000, kMarker);
    }
    if (curve.points() > 0)
        dia.toolTip =
            "Altitude: " + Plain(Int(curve.lowest())) + "-" + Plain(Int(curve.highest())) + "m";
}

} // namespace korvel

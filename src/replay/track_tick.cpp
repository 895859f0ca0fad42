// One point of a track file per tick: it is converted into RMC, GGA and VTG sentences
// with speed and course derived from the previous point.
#include "app/main_form.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::replayTrackRecord() {
    const TrackPoint* point = engine_.track().next();
    if (!point && !engine_.options.newestOnly) {
        StopReplay(StopReason::EndOfFile);
        return;
    }
    if (point && point->fix.newSegment)
        engine_.startSegment();
    if (figuresShown_) {
        std::string heading = engine_.trackFormat;
        if (engine_.segments != 0)
            heading += "  (" + Plain(static_cast<double>(engine_.segments)) + ")";
        c.List1.addItem(heading + ":" + engine_.source().trackName());
        if (point && !engine_.seekQuiet)
            c.List1.addItem(point->text);
        if (!engine_.source().trackName().empty())
            c.FileL.caption = engine_.source().trackName();
        c.List1.addItem(" ");
    }
    if (!point)
        return;
    std::string ddmmyy = Ddmmyy(point->fix);
    ShowDateTime(ddmmyy, point->fix.compactTime);
    bool repositioning = engine_.repositioning;
    TrackRecords::Leg leg =
        engine_.track().convert(point->fix, ddmmyy, figuresShown_, !repositioning);
    if (figuresShown_) {
        showTripDistances(*leg.fromStart);
        if (leg.fastest)
            c.MaxL.caption =
                Plain(s.metricUnits != 1 ? Round(s.figures.kmh * 0.6214) : s.figures.kmh);
    }
    if (repositioning)
        return; // nothing to send, and the sentences stay as they were
    if (figuresShown_) {
        if (s.figures.kmh >= 0)
            c.SpeedL.caption =
                Plain(s.metricUnits == 1 ? s.figures.kmh : Round(s.figures.kmh * 0.6214));
        c.Gauge1.style = 3;
        int needle = static_cast<int>(s.trip.legCourse()) + 90;
        c.Gauge1.value = needle > 359 ? needle - 360 : needle;
    }
    engine_.track().send(sink_);

    for (int i = 1; i < engine_.step; ++i) {
        const TrackPoint* passed = engine_.source().takePoint();
        if (!passed) {
            StopReplay(StopReason::EndOfFile);
            return;
        }
        ++engine_.index;
        if (passed->fix.newSegment)
            engine_.startSegment();
    }
    finishRecord();
}

} // namespace korvel

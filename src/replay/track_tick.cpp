// One point of a track file per tick: it is converted into RMC, GGA and VTG sentences
// with speed and course derived from the previous point.
#include "app/main_form.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::replayTrackRecord() {
    const TrackPoint* point = track_.next();
    if (!point && !options_.newestOnly) {
        StopReplay(StopReason::EndOfFile);
        return;
    }
    if (point && point->fix.newSegment)
        StartSegment();
    if (figuresShown_) {
        std::string heading = s.trackFormat;
        if (s.segmentCount != 0)
            heading += "  (" + Plain(static_cast<double>(s.segmentCount)) + ")";
        c.List1.addItem(heading + ":" + source_.trackName());
        if (point && s.seekQuiet == 0)
            c.List1.addItem(point->text);
        if (!source_.trackName().empty())
            c.FileL.caption = source_.trackName();
        c.List1.addItem(" ");
    }
    if (!point)
        return;
    std::string ddmmyy = Ddmmyy(point->fix);
    ShowDateTime(ddmmyy, point->fix.compactTime);
    bool repositioning = s.repositioning == 1;
    TrackRecords::Leg leg = track_.convert(point->fix, ddmmyy, figuresShown_, !repositioning);
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
    track_.send(sink_);

    for (int i = 1; i < s.recordStep; ++i) {
        const TrackPoint* passed = source_.takePoint();
        if (!passed) {
            StopReplay(StopReason::EndOfFile);
            return;
        }
        ++s.recordIndex;
        if (passed->fix.newSegment)
            StartSegment();
    }
    finishRecord();
}

} // namespace korvel

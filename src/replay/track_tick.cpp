// One point of a track file per tick: it is converted into RMC, GGA and VTG sentences
// with speed and course derived from the previous point.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "text/conversions.h"

#include <cmath>
namespace korvel {

void MainForm::replayTrackRecord() {
    std::vector<TrackPoint> newest;
    const TrackPoint* point = nullptr;
    if (options_.newestOnly) {
        // The newest point of a file that may still be growing.
        newest = source_.newestPoints();
        if (!newest.empty())
            point = &newest.back();
    } else if (!(point = source_.takePoint())) {
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
    if (!point || !ConvertTrackRecord(point->fix))
        return;
    if (figuresShown_) {
        if (s.speedKmh >= 0)
            c.SpeedL.caption = Plain(s.metricUnits == 1 ? s.speedKmh : Round(s.speedKmh * 0.6214));
        c.Gauge1.style = 3;
        int needle = static_cast<int>(s.trip.legCourse()) + 90;
        c.Gauge1.value = needle > 359 ? needle - 360 : needle;
    }

    const std::string* sentences[] = {&s.latest.rmc, &s.latest.gga, &s.latest.vtg};
    for (Sentence kind : {Sentence::Rmc, Sentence::Gga, Sentence::Vtg})
        if (options_.sentences.has(kind))
            listAndSend(*sentences[static_cast<size_t>(kind)]);
    if (options_.sentences.has(Sentence::Other))
        listAndSend(kDatumSentence);

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

void MainForm::trackPauseOutput() {
    c.List1.addItem(" ");
    c.List1.addItem(" ");
    const std::string* repeated[] = {&s.latest.rmc, &s.latest.gga, &s.latest.vtg};
    for (Sentence kind : {Sentence::Rmc, Sentence::Gga, Sentence::Vtg})
        if (options_.sentences.has(kind) && !repeated[static_cast<size_t>(kind)]->empty())
            listAndSend(*repeated[static_cast<size_t>(kind)]);
    if (options_.sentences.has(Sentence::Other))
        listAndSend(kDatumSentence);
}

bool MainForm::ConvertTrackRecord(const TrackFix& fix) {
    std::string ddmmyy = Ddmmyy(fix);
    ShowDateTime(ddmmyy, fix.compactTime);
    // After the time shown, whose trip reset (a gap of 100 minutes and more) clears the
    // altitude: the point's own altitude is sent whatever the gap before it.
    if (fix.altitude)
        s.altitude = *fix.altitude;

    std::optional<double> fromStart =
        s.trip.addPoint(fix.latMinutes, fix.lonMinutes, figuresShown_);
    if (figuresShown_)
        showTripDistances(*fromStart);
    std::string course = CourseText(s.trip.legCourse());

    // hh:mm:ss, read where its parts stand.
    std::string_view time = fix.timeText;
    double t = TwoDigitValue(time.substr(0, 2)) * 3600 +
               TwoDigitValue(time.size() > 3 ? time.substr(3, 2) : "") * 60 +
               TwoDigitValue(time.substr(time.size() < 2 ? 0 : time.size() - 2));
    std::string kmhText;
    if (std::optional<double> kmh = s.trip.legSpeed(t)) {
        s.speedKmh = *kmh;
        kmhText = Plain(s.speedKmh);
        if (s.trip.takeSpeed(s.speedKmh) && figuresShown_)
            c.MaxL.caption = Plain(s.metricUnits != 1 ? Round(s.speedKmh * 0.6214) : s.speedKmh);
        s.speedKnotsText = KnotsText(Int(s.speedKmh / 1.852 * 10 + 0.5));
    }
    std::string altitude = std::isnan(s.altitude) ? "" : Plain(s.altitude);
    if (s.repositioning == 1)
        return false;

    std::string_view compactTime = fix.compactTime;
    if (OnZeroDate(fix)) {
        ddmmyy.clear(); // a point without a valid time
        compactTime = "000000";
    }
    // Written over the sentences of the previous point, whose room they reuse.
    WriteSentence(s.latest.rmc, "$GPRMC,", compactTime, ",A,", fix.latText, ",", fix.latHemisphere,
                  ",", fix.lonText, ",", fix.lonHemisphere, ",", s.speedKnotsText, ",", course, ",",
                  ddmmyy, ",000.0,E");
    WriteSentence(s.latest.gga, "$GPGGA,", compactTime, ",", fix.latText, ",", fix.latHemisphere,
                  ",", fix.lonText, ",", fix.lonHemisphere, ",1,12,1.0,", altitude, ",M,,M,,");
    WriteSentence(s.latest.vtg, "$GPVTG,", course, ",T,,M,", s.speedKnotsText, ",N,", kmhText,
                  ",K");
    return true;
}

} // namespace korvel

#include "replay/track_records.h"

#include "replay/sentence.h"
#include "text/conversions.h"

#include <cmath>

namespace korvel {

const TrackPoint* TrackRecords::newestPoint() {
    newest_ = source_.newestPoints();
    return newest_.empty() ? nullptr : &newest_.back();
}

TrackRecords::Leg TrackRecords::convert(const TrackFix& fix, std::string_view ddmmyy,
                                        bool fromStartWanted, bool sentences) {
    // The point's own altitude is sent whatever the gap before it.
    if (fix.altitude)
        figures_.altitude = *fix.altitude;
    Leg leg;
    leg.fromStart = trip_.addPoint(fix.latMinutes, fix.lonMinutes, fromStartWanted);
    std::string course = CourseText(trip_.legCourse());

    // hh:mm:ss, read where its parts stand.
    std::string_view time = fix.timeText;
    double t = TwoDigitValue(time.substr(0, 2)) * 3600 +
               TwoDigitValue(time.size() > 3 ? time.substr(3, 2) : "") * 60 +
               TwoDigitValue(time.substr(time.size() < 2 ? 0 : time.size() - 2));
    std::string kmhText;
    if (std::optional<double> kmh = trip_.legSpeed(t)) {
        figures_.kmh = *kmh;
        kmhText = Plain(figures_.kmh);
        leg.fastest = trip_.takeSpeed(figures_.kmh);
        figures_.knotsText = KnotsText(Int(figures_.kmh / 1.852 * 10 + 0.5));
    }
    if (!sentences)
        return leg;

    std::string altitude = std::isnan(figures_.altitude) ? "" : Plain(figures_.altitude);
    std::string_view compactTime = fix.compactTime;
    if (OnZeroDate(fix)) {
        ddmmyy = {}; // a point without a valid time
        compactTime = "000000";
    }
    // Written over the sentences of the previous point, whose room they reuse.
    const std::string& knots = figures_.knotsText;
    WriteSentence(latest_.rmc, "$GPRMC,", compactTime, ",A,", fix.latText, ",", fix.latHemisphere,
                  ",", fix.lonText, ",", fix.lonHemisphere, ",", knots, ",", course, ",", ddmmyy,
                  ",000.0,E");
    WriteSentence(latest_.gga, "$GPGGA,", compactTime, ",", fix.latText, ",", fix.latHemisphere,
                  ",", fix.lonText, ",", fix.lonHemisphere, ",1,12,1.0,", altitude, ",M,,M,,");
    WriteSentence(latest_.vtg, "$GPVTG,", course, ",T,,M,", knots, ",N,", kmhText, ",K");
    return leg;
}

void TrackRecords::send(SentenceSink& sink) {
    // A pause before the first point has none to repeat.
    const SentenceSet& boxes = options_.sentences;
    if (boxes.has(Sentence::Rmc) && !latest_.rmc.empty())
        sink.send(latest_.rmc);
    if (boxes.has(Sentence::Gga) && !latest_.gga.empty())
        sink.send(latest_.gga);
    if (boxes.has(Sentence::Vtg) && !latest_.vtg.empty())
        sink.send(latest_.vtg);
    if (boxes.has(Sentence::Other))
        sink.send(kDatumSentence);
}

} // namespace korvel

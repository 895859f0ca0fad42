#include "replay/track_records.h"

#include "replay/receiver_sentences.h"
#include "replay/sentence.h"
#include "text/conversions.h"

#include <algorithm>
#include <cmath>

namespace korvel {

const TrackPoint* TrackRecords::newestPoint() {
    newest_ = source_.newestPoints();
    return newest_.empty() ? nullptr : &newest_.back();
}

TrackRecords::Leg TrackRecords::convert(const TrackFix& fix, std::string_view ddmmyy,
                                        std::optional<double> at, bool fromStartWanted,
                                        bool sentences) {
    // The point's own altitude is sent whatever the gap before it.
    if (fix.altitude)
        figures_.altitude = *fix.altitude;
    Leg leg;
    leg.fromStart = trip_.addPoint(fix.latMinutes, fix.lonMinutes, fromStartWanted);
    std::optional<double> course = trip_.legCourse();
    std::string courseText = course ? CourseText(*course) : "";

    // A point whose time tells no speed (none, or the same as the one before) goes on with the
    // speed last known, in knots and km/h alike.
    if (std::optional<double> speed = trip_.legSpeed(at)) {
        // Rounded in whole numbers: a speed is never negative, and one beyond any that a
        // file's times can mean is held at 1e15 km/h.
        double kmh = std::min(*speed, 1e15);
        figures_.kmh = static_cast<double>(static_cast<long long>(kmh + 0.5));
        leg.fastest = trip_.takeSpeed(figures_.kmh);
        figures_.knotsText =
            KnotsText(static_cast<double>(static_cast<long long>(kmh / 1.852 * 10 + 0.5)));
    }
    std::string kmhText = figures_.knotsText.empty() ? "" : Plain(figures_.kmh);
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
                  ",", fix.lonText, ",", fix.lonHemisphere, ",", knots, ",", courseText, ",",
                  ddmmyy, ",000.0,E");
    WriteSentence(latest_.gga, "$GPGGA,", compactTime, ",", fix.latText, ",", fix.latHemisphere,
                  ",", fix.lonText, ",", fix.lonHemisphere, ",1,12,1.0,", altitude, ",M,,M,,");
    WriteSentence(latest_.vtg, "$GPVTG,", courseText, ",T,,M,", knots, ",N,", kmhText, ",K");
    // Another talker or version is written over the window's sentences: the common stream
    // stays as quick to write as it was.
    const SentenceStyle& style = options_.style;
    if (!IsPlainStyle(style)) {
        Restyle(latest_.rmc, style, RmcModeFields(style.nmeaVersion));
        Restyle(latest_.gga, style, "");
        Restyle(latest_.vtg, style, ModeField(style.nmeaVersion));
    }
    if (options_.style.receiverSentences) {
        receiver_.clear();
        BuildReceiverSentences({compactTime, ddmmyy, fix.latText, fix.latHemisphere, fix.lonText,
                                fix.lonHemisphere, altitude, "", "1.0"},
                               options_.sentences, options_.style, receiver_);
    }
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
    for (const std::string& sentence : receiver_)
        sink.send(sentence);
    if (boxes.has(Sentence::Other))
        sink.send(kDatumSentence);
}

} // namespace korvel

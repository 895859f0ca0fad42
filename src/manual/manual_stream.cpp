#include "manual/manual_stream.h"

#include "replay/receiver_sentences.h"
#include "replay/record_time.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

ManualStream::Tick ManualStream::tick(const LocalDateTime& utcNow, const SentenceSet& sentences,
                                      SentenceSink& sink) {
    std::string latText, lonText, ns, ew;
    if (motion) {
        latText = DegreesText(motion->lat, 2);
        lonText = DegreesText(motion->lon, 3);
        ns = motion->lat < 0 ? "S" : "N";
        ew = motion->lon < 0 ? "W" : "E";
    } else {
        latText = position.latitude.text(2, moved == 2 ? 1 : 0);
        lonText = position.longitude.text(3, moved == 1 ? 1 : 0);
        ns = position.latitude.negative ? "S" : "N";
        ew = position.longitude.negative ? "W" : "E";
    }
    moved = 0;
    std::string where = latText + "," + ns + "," + lonText + "," + ew;

    std::string time =
        Format(utcNow.hour, "00") + Format(utcNow.minute, "00") + Format(utcNow.second, "00");
    std::string body = style.talker + "RMC," + time + ",A," + where + "," +
                       Format(motion ? motion->knots : 0, "000.0") + ",";
    currentLat = SignedMinutesOfArc(latText, ns);
    currentLon = SignedMinutesOfArc(lonText, ew);
    // Only a leg from a start point gives a course; standing still keeps the last course.
    Tick done;
    done.started = started();
    if (done.started)
        trip_.measureLeg(startLat, startLon, currentLat, currentLon);
    done.legDistance = done.started ? trip_.legDistance() : 0;
    done.legCourse = trip_.legCourse().value_or(0);
    if (motion)
        body += motion->courseText();
    else if (done.started && done.legDistance > 0)
        body += CourseText(done.legCourse) + ".0";
    std::string ddmmyy = Ddmmyy(utcNow);
    body += "," + ddmmyy + ",,E" + std::string(RmcModeFields(style.nmeaVersion));
    latest_.rmc = FrameSentence(body);
    if (sentences.has(Sentence::Rmc))
        sink.send(latest_.rmc);

    if (!done.started) {
        startLat = currentLat;
        startLon = currentLon;
    } else {
        lastLegDistance = done.legDistance;
    }
    std::string altitude = Plain(position.altitude) + ".0";
    if (sentences.has(Sentence::Gga)) {
        latest_.gga = FrameSentence(style.talker + "GGA," + time + "," + where + ",1,12,1.5," +
                                    altitude + ",M,46.8,M,,");
        sink.send(latest_.gga);
    }
    if (sentences.has(Sentence::Vtg) && motion) {
        sink.send(FrameSentence(style.talker + "VTG," + motion->courseText() + ",T,,," +
                                Format(motion->knots, "0.0") + ",N," +
                                Format(motion->knots * 1.852, "0.0") + ",K" +
                                std::string(ModeField(style.nmeaVersion))));
    } else if (sentences.has(Sentence::Vtg)) {
        std::string course;
        if (done.started) {
            if (done.legCourse != 0)
                lastCourse = static_cast<int>(done.legCourse);
            course = CourseText(done.legDistance != 0 ? done.legCourse : lastCourse);
        }
        sink.send(FrameSentence(style.talker + "VTG," + course + ",T,,,0,N,0,K" +
                                std::string(ModeField(style.nmeaVersion))));
    }
    if (style.receiverSentences) {
        std::vector<std::string> more;
        BuildReceiverSentences({time, ddmmyy, latText, ns, lonText, ew, altitude, "46.8", "1.5"},
                               sentences, style, more);
        for (const std::string& sentence : more)
            sink.send(sentence);
    }
    return done;
}

} // namespace korvel

// One step of a replay: the record of a log (from one RMC to the next) or the point of a track,
// sent, with the figures it shows; and the latest record again while the replay pauses.
#include "replay/replay_engine.h"

#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <chrono>

namespace korvel {

RecordStep ReplayEngine::playNext(SentenceSink& sink) {
    RecordStep result;
    if (kind != FileKind::Log)
        stepTrack(sink, result);
    else if (options.newestOnly)
        stepNewestLog(sink, result);
    else
        stepLog(sink, result);
    if (result.counted)
        ++index;
    return result;
}

void ReplayEngine::sendPause(SentenceSink& sink) {
    sink.note("Pause:");
    if (kind == FileKind::Log) {
        log_.sendPause(sink);
        return;
    }
    sink.note(" ");
    sink.note(" ");
    track_.send(sink);
}

void ReplayEngine::restartTrip() {
    figures_.altitude = kNoAltitude;
    // A run's first point has no course and no speed, whatever the run before it ended with.
    trip_.forgetCourse();
    figures_.knotsText.clear();
    figures_.courseText.clear();
    trip_.forgetFastest();
    trip_.forgetDistance();
    trip_.forgetClock();
    log_.forgetDatum();
}

void ReplayEngine::takeTime(std::string_view ddmmyy, std::string_view hhmmss, RecordStep& result) {
    result.time = ReadRecordTime(ddmmyy, hhmmss);
    if (!result.time)
        return;
    result.tripMinutes = trip_.minutesAt(result.time->at);
    if (!result.tripMinutes) {
        restartTrip();
        result.timeRestartedTrip = true;
    }
}

void ReplayEngine::stepLog(SentenceSink& sink, RecordStep& result) {
    // The figures shown, and those of a VTG made for the record, are those of the RMC that
    // starts it, taken before the lines after it are read: the record sent, not the next.
    std::string_view fields[10];
    FieldViews(log_.line(), fields);
    // A log's sentences leave as recorded: the legs between its positions are figures only,
    // which a headless run does not show.
    if (figuresShown_)
        logLegs(fields, result);
    takeLogSpeed(fields);
    logFigures(fields, result);
    bool whole = log_.sendRecord(sink);
    LogRecords::Seen seen = log_.takeSeen();
    result.seen = seen.kinds;
    if (whole && seen.altitude)
        figures_.altitude = *seen.altitude;
    // The last record ends as every other: with its VTG made and the datum where due.
    sendLogEnd(sink);
    // The stop after the last record forgets the altitude.
    result.ended = !whole || !passLogRecords(result.standing);
    result.counted = !result.ended;
}

void ReplayEngine::stepNewestLog(SentenceSink& sink, RecordStep& result) {
    // A file that grows is followed at its end: its newest record, again and again.
    if (!log_.sendNewest(path, sink))
        return;
    LogRecords::Seen seen = log_.takeSeen();
    result.seen = seen.kinds;
    if (seen.altitude)
        figures_.altitude = *seen.altitude;
    // The speed and course shown, and those of a VTG made for the record, are its own.
    std::string_view fields[10];
    FieldViews(log_.line(), fields);
    if (figuresShown_)
        logLegs(fields, result);
    takeLogSpeed(fields);
    logFigures(fields, result);
    sendLogEnd(sink);
    result.counted = true;
}

void ReplayEngine::sendLogEnd(SentenceSink& sink) {
    log_.sendEnd(sink, logWithoutVtg, figures_.knotsText, figures_.kmh, figures_.courseText);
}

void ReplayEngine::logLegs(std::span<const std::string_view> fields, RecordStep& result) {
    // A receiver without a fix gives no position: its record starts no leg and adds none.
    if (fields[3].empty() || fields[5].empty())
        return;
    bool shown = !log_.hsmi();
    std::optional<double> fromStart = trip_.addPoint(
        SignedMinutesOfArc(fields[3], fields[4]), SignedMinutesOfArc(fields[5], fields[6]), shown);
    if (shown)
        result.fromStart = fromStart;
}

void ReplayEngine::logFigures(std::span<const std::string_view> fields, RecordStep& result) {
    if (log_.hsmi())
        return;
    result.fastest = trip_.takeSpeed(figures_.kmh);
    figures_.courseText = fields[8];
    if (figuresShown_) {
        result.speedShown = true;
        result.course = Val(figures_.courseText);
    }
    takeTime(fields[9], fields[1].substr(0, 6), result);
    if (result.timeRestartedTrip) {
        // The trip starts again after the record's figures were taken: none of them shows.
        result.fromStart.reset();
        result.speedShown = result.fastest = false;
    }
}

void ReplayEngine::stepTrack(SentenceSink& sink, RecordStep& result) {
    const TrackPoint* point = track_.next();
    if (!point && !options.newestOnly) {
        result.ended = true;
        return;
    }
    if (point && point->fix.newSegment)
        startSegment();
    if (figuresShown_) {
        std::string heading = trackFormat;
        if (segments != 0)
            heading += "  (" + Plain(static_cast<double>(segments)) + ")";
        sink.note(heading + ":" + source_.trackName());
        if (point && !seekQuiet)
            sink.note(point->text);
        sink.note(" ");
    }
    if (!point)
        return;
    const TrackFix& fix = point->fix.compactTime.empty() && clock && !repositioning
                              ? onRunClock(point->fix)
                              : point->fix;
    std::string ddmmyy = Ddmmyy(fix);
    takeTime(ddmmyy, std::string_view(fix.compactTime).substr(0, 6), result);
    std::optional<double> at;
    if (result.time)
        at = static_cast<double>(result.time->at) + fix.fraction;
    TrackRecords::Leg leg = track_.convert(fix, ddmmyy, at, figuresShown_, !repositioning);
    if (figuresShown_) {
        result.fromStart = leg.fromStart;
        result.fastest = leg.fastest;
    }
    if (repositioning)
        return; // nothing to send, and the sentences stay as they were
    if (figuresShown_) {
        result.speedShown = figures_.kmh >= 0;
        result.course = trip_.legCourse();
    }
    track_.send(sink);
    for (int i = 1; i < step; ++i) {
        const TrackPoint* passed = source_.takePoint();
        if (!passed) {
            result.ended = true;
            return;
        }
        ++index;
        if (passed->fix.newSegment)
            startSegment();
    }
    result.counted = true;
}

const TrackFix& ReplayEngine::onRunClock(const TrackFix& fix) {
    using namespace std::chrono;
    stamped_ = fix;
    if (runClockMs_) {
        *runClockMs_ += static_cast<std::int64_t>(options.intervalMs);
    } else {
        LocalDateTime now = clock->utcNow();
        sys_seconds at = sys_days(year_month_day(year(now.year), month(now.month), day(now.day))) +
                         hours(now.hour) + minutes(now.minute) + seconds(now.second);
        runClockMs_ = at.time_since_epoch().count() * 1000;
    }
    SetUtc(stamped_, sys_seconds(seconds(*runClockMs_ / 1000)));
    if (std::int64_t ms = *runClockMs_ % 1000)
        SetFraction(stamped_, Format(static_cast<double>(ms), "000"));
    return stamped_;
}

} // namespace korvel

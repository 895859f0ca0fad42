// The replay of one file: its record source, what a log's and a track's records carry from one
// to the next, the options, and where the replay stands. The window and the headless program
// drive it.
#pragma once

#include "output/sentence_time.h"
#include "platform/clock.h"
#include "replay/load_result.h"
#include "replay/load_tally.h"
#include "replay/log_records.h"
#include "replay/record_source.h"
#include "replay/record_step.h"
#include "replay/replay_kinds.h"
#include "replay/replay_options.h"
#include "replay/rmc_copy.h"
#include "replay/track_records.h"

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace korvel {

class ReplayEngine {
  public:
    ReplayEngine(LatestSentences& latest, TripFigures& trip, RecordFigures& figures)
        : latest_(latest), trip_(trip), figures_(figures), log_(source_, options, latest),
          track_(source_, options, latest, trip, figures) {}
    ReplayEngine(const ReplayEngine&) = delete;
    ReplayEngine& operator=(const ReplayEngine&) = delete;

    ReplayOptions options;

    std::string path; // the file replayed
    FileKind kind = FileKind::Log;
    std::string trackFormat; // of a track file; "" for a log
    long count = 0;          // the file's records
    long index = 0;          // the records sent or passed since the file's start
    int step = 1;            // the records a tick takes
    bool active = false;     // a replay runs
    long segments = 0;       // the track segments begun so far
    // A seek passes records: their sentences are not made, their points not listed.
    bool repositioning = false, seekQuiet = false;

    // A log without VTG sentences: one is made for each record, of its speed and course.
    bool logWithoutVtg = false;
    // The run's clock, which dates the points of a track without times: the first one sent is
    // stamped with the universal time now, each one after it an interval later (a loop goes on).
    // Without one, such points carry no time and the date 000000.
    const Clock* clock = nullptr;
    // Whether anyone sees the figures of the records and their notes: a headless run does not,
    // and the steps spare their making. What they decide (the trip's restart by a record's
    // time) is kept either way.
    void showFigures(bool shown) { figuresShown_ = log_.figuresShown = shown; }

    // Loads the file at path, exactly as given: tells its kind, counts its records and reads
    // their altitudes in one pass, and stands at its first record. serve is asked at every line
    // read meanwhile (the caller runs events in it); false once the altitudes are not wanted. A
    // log without RMC replays through a copy completed from its GGA, dated today.
    LoadResult load(const std::string& file, const LocalDateTime& today,
                    const std::function<bool()>& serve);
    // The file ended and the loop option is set: the replay stands at its first record again,
    // the trip's figures begun anew. None, or why the file cannot be replayed any more.
    std::optional<std::string> loopBack();
    // The replay stops: the file closed (a completed copy removed), the trip forgotten.
    void stop();
    // Opens the file at its first line.
    bool open() { return source_.open(path, trackFormat, figuresShown_); }
    RecordSource& source() { return source_; }
    LogRecords& log() { return log_; }
    TrackRecords& track() { return track_; }

    // The record of the next step, as far as it is known before it is read: whether a track
    // has one left, and its time (the RMC that starts it, or the track point's), for a replay
    // paced by its records' own times.
    struct NextRecord {
        bool exists = true;
        std::optional<SentenceTime> time;
    };
    NextRecord nextRecord();

    // The next record (with a step of more than one, those up to the step): sent to sink,
    // with what it shows beside; the index counts it.
    RecordStep playNext(SentenceSink& sink);
    // The latest record again while the replay pauses.
    void sendPause(SentenceSink& sink);
    // The trip's figures start again: no distance, fastest speed, course, altitude or clock.
    void restartTrip();

    // Passes over count records, taking a log's texts and counting a track's segments on the
    // way; serve is asked after each (the caller runs events in it): false ends the pass. The
    // records passed, fewer than count when the file ends first.
    long skip(long count, const std::function<bool()>& serve);
    // A track point that starts a segment has been reached: it is counted, and with the
    // autoreset option the trip's figures start again.
    void startSegment();
    // Told when a segment's start has started the trip's figures again.
    std::function<void()> tripRestarted;
    // On to the start of a track's next segment, which the next step sends: the points before
    // it are passed over, the point due next even when it starts one (that one has begun).
    // False when the file ends first.
    bool toNextSegment();

  private:
    // Tells the kind of the open file (and a track's format) by its first line that tells: a
    // log's begins with "$"; the file then stands after it, and a log's line() holds it. When
    // none tells, Unknown, and the result's refusal says why. serve is asked at every line that
    // does not tell (the caller runs events in it).
    FileKind detect(const std::function<bool()>& serve, LoadResult& result);
    // The one pass over the file that its load takes; the lines up to counted told the kind
    // of file: they are looked at but not counted again. serve is asked at every line this
    // thread reads (the caller runs events in it); false once the altitudes are not wanted.
    LoadTally tally(long counted, const std::function<bool()>& serve);
    // Opens the file again at its first line; false, with why, when it cannot be.
    bool reopen(LoadResult& result);
    void loadTrack(LoadResult& result, const std::function<bool()>& serve);
    void loadLog(LoadResult& result, const LocalDateTime& today,
                 const std::function<bool()>& serve);
    void stepLog(SentenceSink& sink, RecordStep& result);
    void stepNewestLog(SentenceSink& sink, RecordStep& result);
    void stepTrack(SentenceSink& sink, RecordStep& result);
    // A copy of a point without time, on the run's clock.
    const TrackFix& onRunClock(const TrackFix& fix);
    // Ends a log's record: the VTG made where the log has none, the datum.
    void sendLogEnd(SentenceSink& sink);
    // The leg to a log's RMC, whose fields are given, into the trip.
    void logLegs(std::span<const std::string_view> fields, RecordStep& result);
    // The speed, course, date and time a log's record shows.
    void logFigures(std::span<const std::string_view> fields, RecordStep& result);
    // The record's time, which starts the trip again after a gap.
    void takeTime(std::string_view ddmmyy, std::string_view hhmmss, RecordStep& result);
    // The speed of a log's RMC, from its fields, into the record's figures.
    void takeLogSpeed(std::span<const std::string_view> fields);
    // After a log's record was sent, the RMC of the record to send next: with the autoskip
    // option the records of a standing receiver are passed over (standing says so), and with a
    // step of more than one record those up to the step. False when the file ends meanwhile.
    bool passLogRecords(bool& standing);

    bool figuresShown_ = true;
    std::optional<std::int64_t> runClockMs_; // the latest moment stamped, ms since 1970
    TrackFix stamped_;
    LatestSentences& latest_;
    TripFigures& trip_;
    RecordFigures& figures_;
    RecordSource source_;
    RmcCopy copy_;
    LogRecords log_;
    TrackRecords track_;
};

} // namespace korvel

// The points of a track file as records: each turned into RMC, GGA and VTG sentences, with the
// speed and course of the leg from the point before.
#pragma once

#include "replay/record_figures.h"
#include "replay/record_source.h"
#include "replay/replay_options.h"
#include "replay/sentence_sink.h"
#include "replay/trip_figures.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

class TrackRecords {
  public:
    TrackRecords(RecordSource& source, const ReplayOptions& options, LatestSentences& latest,
                 TripFigures& trip, RecordFigures& figures)
        : source_(source), options_(options), latest_(latest), trip_(trip), figures_(figures) {}

    // The point of the next record: the file's next, or with the newest-only option the newest
    // of a file that may still grow. None when there is none; valid until the next is asked for.
    const TrackPoint* next() { return options_.newestOnly ? newestPoint() : source_.takePoint(); }

    struct Leg {
        std::optional<double> fromStart; // the distance from the start, when it was measured
        bool fastest = false;            // the speed over the leg is the trip's fastest yet
    };
    // The leg to a point and the speed over it, into the trip and the figures, after the time
    // shown has had its say (a long gap starts the trip again); then, where sentences is set,
    // the point's sentences become the latest, written over those of the point before.
    // ddmmyy: the point's date; at: its moment in seconds since 1970, none where it has no valid
    // one; fromStartWanted: the distance from the start is measured.
    Leg convert(const TrackFix& fix, std::string_view ddmmyy, std::optional<double> at,
                bool fromStartWanted, bool sentences);
    // The latest sentences that the boxes ask for, and the datum: a point's, and the same
    // again while the replay pauses.
    void send(SentenceSink& sink);

  private:
    const TrackPoint* newestPoint();

    RecordSource& source_;
    const ReplayOptions& options_;
    LatestSentences& latest_;
    TripFigures& trip_;
    RecordFigures& figures_;
    std::vector<TrackPoint> newest_;
    std::vector<std::string> receiver_; // the point's sentences besides RMC, GGA and VTG
};

} // namespace korvel

// What one step of a replay did, for whoever shows it: the record's figures and whether the
// file ended.
#pragma once

#include "replay/record_time.h"
#include "replay/replay_options.h"

#include <optional>

namespace korvel {

struct RecordStep {
    // The file ended before the step's record was whole: the run stops, or loops.
    bool ended = false;
    // A record was sent (or passed at a seek): the replay counts it and keeps its pace.
    bool counted = false;
    // A log's: the kinds of sentence its records showed; whether the autoskip option passed
    // records of a standing receiver.
    SentenceSet seen;
    bool standing = false;
    // The record's time started the trip again (a gap, or a time before its start): the trip's
    // figures shown so far go.
    bool timeRestartedTrip = false;
    // The figures the record shows, where it shows them: the distance from the start, the
    // speed (the record's figures hold it) and whether it is the trip's fastest, the course.
    std::optional<double> fromStart;
    bool speedShown = false;
    bool fastest = false;
    std::optional<double> course;
    std::optional<RecordTime> time;
    std::optional<long long> tripMinutes; // since the trip's first record
};

} // namespace korvel

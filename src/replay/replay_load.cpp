// Loading a replay file: tell what it is, count its records and read their altitudes in one
// pass, and stand at the first record.
#include "replay/replay_engine.h"

#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <cerrno>
#include <cstring>

namespace korvel {

LoadResult ReplayEngine::load(const std::string& file, const LocalDateTime& today,
                              const std::function<bool()>& serve) {
    LoadResult result;
    path = file;
    kind = FileKind::Unknown;
    source_.forgetTrackName();
    trackFormat.clear();
    log_.forgetTimePosition();
    runClockMs_.reset();
    logWithoutVtg = true;
    copy_.remove();
    if (!reopen(result))
        return result;
    if (detect(serve, result) == FileKind::Unknown) {
        source_.close();
        return result;
    }
    if (kind == FileKind::Track)
        loadTrack(result, serve);
    else
        loadLog(result, today, serve);
    return result;
}

bool ReplayEngine::reopen(LoadResult& result) {
    if (open())
        return true;
    result.refusal = {"Cannot open " + path + ": " + std::strerror(errno)};
    return false;
}

void ReplayEngine::loadTrack(LoadResult& result, const std::function<bool()>& serve) {
    // The format, told by the first lines, decides what a point is; one pass counts the
    // points and reads their altitudes.
    if (trackFormat.empty()) {
        result.refusal = {"Unknown Track-Format !",
                          "Its points are in a layout Korvel cannot read."};
        return;
    }
    source_.close();
    LoadTally tally = this->tally(0, serve);
    count = tally.trackPoints;
    if (count == 0) {
        result.refusal = {"Unknown Track-Format !",
                          "The " + trackFormat + " file holds no track point Korvel can read."};
        return;
    }
    result.segments = tally.segmentLines;
    result.curve = std::move(tally.curve);
    reopen(result);
}

void ReplayEngine::loadLog(LoadResult& result, const LocalDateTime& today,
                           const std::function<bool()>& serve) {
    // The count goes on after the line that told the kind: that line starts the first record
    // when it holds a fix (a log of one record has its RMC there), and its sentences count as
    // the others do. After a first record with RMC, a GGA is part of its record, not one of
    // its own; a first line of another sentence (a datum) starts no record.
    unsigned first = SentencesIn(log_.line(), {"RMC", "GGA", "VTG"});
    long counted = source_.lineNumber();
    source_.close();
    LoadTally tally = this->tally(counted, serve);
    tally.checkLine(log_.line());
    log_.encapsulatedBehind = tally.encapsulatedBehind;
    result.wrongChecksums = tally.checksumsWrong;
    if (tally.checksumsRight + tally.checksumsWrong > 0)
        result.cutShort = tally.withoutChecksum;
    count = first & LoadTally::kRmc   ? 1 + tally.rmcLines
            : first & LoadTally::kGga ? 1 + tally.logRecords()
                                      : tally.logRecords();
    bool hasRmc = tally.rmc || (first & LoadTally::kRmc);
    bool hasGga = tally.gga || (first & LoadTally::kGga);
    logWithoutVtg = !tally.vtg && !(first & LoadTally::kVtg);
    result.curve = std::move(tally.curve);
    if (!hasRmc) {
        // A log without fixes is refused; one without VTG is completed with empty speed and
        // course.
        if (!hasGga) {
            result.refusal = {"No RMC or GGA-Data"};
            result.dataError = true;
            return;
        }
        result.completedFromGga = true;
        if (!reopen(result))
            return;
        std::optional<std::string> failed = copy_.write(
            path, source_, logWithoutVtg, std::chrono::year(today.year) / today.month / today.day,
            options.style);
        source_.close();
        if (failed) {
            result.refusal = {*failed};
            result.dataError = true;
            return;
        }
        path = copy_.path();
    }
    if (!reopen(result))
        return;
    // RMC sentences that never start a line leave nothing to replay.
    if (!log_.toNextRmc())
        result.refusal = {"No line begins with an RMC sentence !"};
}

std::optional<std::string> ReplayEngine::loopBack() {
    segments = 0;
    restartTrip();
    trip_.forgetPoints(); // the way back to the start is no leg
    index = 0;
    if (!open())
        return "Cannot open " + path + ": " + std::strerror(errno);
    // The file was emptied, cut short or removed while it played: there is nothing left.
    if (kind != FileKind::Log && !source_.peekPoint())
        return "The file holds no record any more: the replay stops.";
    if (kind == FileKind::Log && !log_.toNextRmc())
        return "No line begins with an RMC sentence !";
    return std::nullopt;
}

void ReplayEngine::stop() {
    source_.close();
    log_.forgetHsmi();
    active = false;
    trip_.forgetFastest();
    trip_.forgetPoints();
    trackFormat.clear();
    segments = 0;
    restartTrip();
    latest_.text.clear();
    copy_.remove();
}

} // namespace korvel

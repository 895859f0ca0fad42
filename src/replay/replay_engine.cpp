#include "replay/replay_engine.h"

#include "replay/formats/track_formats.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"
#include "text/line_reader.h"

#include <algorithm>

namespace korvel {

namespace {

// An RMC's speed in whole km/h.
double kmhOfKnots(std::string_view knots) {
    return Int(Val(knots) * 1.852 + 0.5);
}

// A data logger's line: a time stamp or another prefix, then a whole sentence, its checksum at
// the end.
bool loggedSentence(std::string_view line) {
    size_t at = FirstSentenceAt(line);
    return at != std::string_view::npos && CheckChecksum(line.substr(at)) != Checksum::None;
}

// UTF-16 text: its byte-order mark, or every second byte zero.
bool isWide(std::string_view line) {
    if (line.starts_with("\xFF\xFE") || line.starts_with("\xFE\xFF"))
        return true;
    if (line.size() < 4)
        return false;
    bool evenZero = true, oddZero = true;
    for (size_t i = 0; i < line.size(); ++i)
        if (line[i] != '\0')
            (i % 2 ? oddZero : evenZero) = false;
    return evenZero || oddZero;
}

// Why a file that holds no log and no track cannot be read, when its first lines tell.
std::string whyNoLog(const std::string& path) {
    LineReader reader;
    if (!reader.open(path))
        return "";
    if (reader.eof())
        return "The file is empty.";
    if (isWide(reader.nextLine()))
        return "It is UTF-16 text: Korvel reads ASCII and UTF-8 files.";
    bool tabs = false;
    reader.open(path);
    for (int i = 0; i < 20 && !reader.eof(); ++i) {
        std::string_view line = reader.nextLine();
        if (std::any_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < ' ' && c != '\t'; }))
            return "It holds binary data, not lines of text.";
        tabs = tabs || line.find('\t') != std::string_view::npos;
    }
    return tabs ? "It is a tab-separated export: Korvel reads NMEA logs and the track files of "
                  "its list."
                : "";
}

} // namespace

FileKind ReplayEngine::detect(const std::function<bool()>& serve, LoadResult& result) {
    kind = FileKind::Unknown;
    trackFormat.clear();
    TrackFormatDetection detection;
    std::string& line = log_.line();
    while (source_.readLine(line)) {
        if (Left(line, 1) == "$" || loggedSentence(line))
            return kind = FileKind::Log;
        if (detection.look(line)) {
            trackFormat = detection.format();
            return kind = FileKind::Track;
        }
        serve();
    }
    result.refusal = {"No Log-File !"};
    if (std::string why = whyNoLog(path); !why.empty())
        result.refusal.push_back(why);
    return kind;
}

ReplayEngine::NextRecord ReplayEngine::nextRecord() {
    if (kind != FileKind::Track)
        return {true, TimeOf(log_.line())}; // the line that starts the next record
    const TrackPoint* point = source_.peekPoint();
    if (!point)
        return {false, std::nullopt};
    return {true, TimeOf(point->fix.compactTime, Ddmmyy(point->fix))};
}

long ReplayEngine::skip(long count, const std::function<bool()>& serve) {
    long passed = 0;
    while (passed < count) {
        if (kind == FileKind::Log) {
            if (!log_.toNextRmc())
                break;
        } else {
            const TrackPoint* point = source_.takePoint();
            if (!point)
                break;
            if (point->fix.newSegment)
                startSegment();
        }
        ++passed;
        ++index;
        if (!serve())
            break;
    }
    return passed;
}

void ReplayEngine::startSegment() {
    ++segments;
    if (!options.autoReset)
        return;
    trip_.forgetFastest();
    trip_.forgetPoints();
    trip_.forgetDistance();
    trip_.forgetClock();
    trip_.forgetCourse();
    figures_.knotsText.clear();
    if (tripRestarted)
        tripRestarted();
}

bool ReplayEngine::toNextSegment() {
    for (bool first = true;; first = false) {
        const TrackPoint* next = source_.peekPoint();
        if (!next)
            return false;
        if (next->fix.newSegment && !first)
            return true;
        source_.takePoint();
        ++index;
    }
}

void ReplayEngine::takeLogSpeed(std::span<const std::string_view> fields) {
    figures_.knotsText = fields[7];
    figures_.kmh = kmhOfKnots(figures_.knotsText);
}

bool ReplayEngine::passLogRecords(bool& standing) {
    standing = false;
    // A receiver standing still is told by the speed of the record's RMC, which the step that
    // sends it takes again.
    auto standsStill = [this] { return kmhOfKnots(FieldView(log_.line(), 7)) <= 0; };
    auto pass = [&](bool startingLine) {
        if (!log_.passRecord(startingLine))
            return false;
        ++index;
        return true;
    };
    while (options.autoSkip && standsStill()) {
        standing = true;
        if (!pass(true))
            return false;
    }
    for (int i = 1; i < step; ++i)
        if (!pass(false))
            return false;
    return true;
}

} // namespace korvel

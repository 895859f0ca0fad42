// One record of a recorded NMEA log: the lines from one RMC to the next, sent as recorded
// unless a sentence box or an option says otherwise, and the statistics of the record.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_rewrite.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"
#include "text/line_reader.h"

#include <cmath>
#include <filesystem>
#include <utility>
#include <vector>

namespace korvel {

void MainForm::listAndSend(std::string_view sentence) {
    if (figuresShown)
        c.List1.addItem(std::string(sentence));
    // The room of the sentence sent before, unless that one is still being sent: a message box
    // of a failing destination runs events, and a tick may come under it.
    std::string spare;
    std::string& sent = sending_ ? spare : sendRoom_;
    bool outermost = !std::exchange(sending_, true);
    if (beforeSend) {
        sent = sentence;
        SendSentence(sent);
    } else {
        // Nothing to change first: the sentence and its line end written in one go.
        sent.resize(sentence.size() + kLineEnd.size());
        std::copy(kLineEnd.begin(), kLineEnd.end(),
                  std::copy(sentence.begin(), sentence.end(), sent.begin()));
        deliver(sent);
    }
    if (outermost)
        sending_ = false;
}

namespace {

// A sentence cut short (a log still being written ends in the middle of one) lacks the checksum
// the log's sentences carry: it is not sent as if it were whole.
bool cutShort(bool logChecksummed, std::string_view sentence) {
    return logChecksummed && sentence.find('*') == std::string_view::npos;
}

// The newest record of a log that may still be written: its last RMC, from the sentence's own
// start, and the lines after it. A last RMC cut short is passed over for the one before; empty
// when the file's tail holds no RMC.
std::vector<std::string> newestLogRecord(const std::string& path) {
    constexpr std::uintmax_t kTail = 64 * 1024;
    std::error_code ec;
    std::uintmax_t size = std::filesystem::file_size(path, ec);
    LineReader reader;
    if (ec || !reader.openAtLineFrom(path, static_cast<long long>(size > kTail ? size - kTail : 0)))
        return {};
    std::vector<std::string> record;
    bool checksummed = false, begun = false;
    while (!reader.eof()) {
        std::string line = reader.readLine();
        if (size_t rmc = SentencesOfLine(line).rmc; rmc != std::string::npos) {
            std::string_view sentence = std::string_view(line).substr(rmc);
            if (!cutShort(checksummed, sentence)) {
                checksummed = sentence.find('*') != std::string_view::npos;
                begun = true;
                record.clear();
                line.erase(0, rmc);
            }
        }
        if (begun)
            record.push_back(std::move(line));
    }
    return record;
}

} // namespace

void MainForm::sendRecordStart() {
    logChecksummed_ = s.currentLine.find('*') != std::string::npos;
    if (options_.sentences.has(Sentence::Rmc)) {
        if (figuresShown)
            c.List1.addItem("NMEA: " + s.logText);
        if (!s.phsmiLine.empty())
            listAndSend(s.phsmiLine);
        listAndSend(s.currentLine);
    }
    sendDecision_ = false;
}

void MainForm::replayNewestLogRecord() {
    std::vector<std::string> record = newestLogRecord(s.replayFilePath);
    if (record.empty())
        return;
    s.currentLine = std::move(record.front());
    sendRecordStart();
    // The record's own RMC gives its time and position where the same-time option asks.
    timePositionRmc_ = s.currentLine;
    timePositionDue_ = true;
    std::string rmc = std::move(s.currentLine);
    for (size_t i = 1; i < record.size(); ++i) {
        s.currentLine = std::move(record[i]);
        LineSentences found = SentencesOfLine(s.currentLine);
        handleRecordedLine(found.first, found.type);
    }
    s.currentLine = std::move(rmc);
    // The speed and course shown, and those of a VTG made for the record, are its own.
    std::string_view fields[10];
    FieldViews(s.currentLine, fields);
    if (figuresShown)
        logRecordLegs(fields);
    takeSpeed(fields);
    logRecordFigures(fields);
    logRecordBoundary();
    finishRecord();
}

void MainForm::replayLogRecord() {
    // A file that grows is followed at its end: its newest record, again and again.
    if (options_.newestOnly) {
        replayNewestLogRecord();
        return;
    }
    sendRecordStart();
    while (true) {
        if (s.replayActive == 0)
            return;
        if (!source_.readLine(s.currentLine)) {
            StopReplay(StopReason::EndOfFile);
            return;
        }
        // Bytes a receiver wrote before a sentence (binary data) are no part of it.
        LineSentences found = SentencesOfLine(s.currentLine);
        if (found.rmc != std::string::npos &&
            !cutShort(logChecksummed_, std::string_view(s.currentLine).substr(found.rmc))) {
            s.currentLine.erase(0, found.rmc);
            break;
        }
        handleRecordedLine(found.first, found.type);
        platform_.clock.DoEvents();
    }
    logRecordBoundary();
    if (logRecordStatistics())
        finishRecord();
}

void MainForm::handleRecordedLine(size_t firstSentence, std::string_view type) {
    // The line as read, from its first sentence on; a rewritten copy only where an option
    // rewrites it.
    std::string_view line = s.currentLine;
    if (firstSentence != std::string::npos)
        line.remove_prefix(firstSentence);
    if (firstSentence != std::string::npos && cutShort(logChecksummed_, line)) {
        sendDecision_ = false;
        return;
    }
    std::string rewritten;
    auto box = [this](Sentence kind) { return options_.sentences.has(kind); };
    if (options_.sameTimePosition && std::exchange(timePositionDue_, false))
        RmcTimePosition(timePositionRmc_, s.rmcTimePosition);
    bool sameTimePos = options_.sameTimePosition && !s.rmcTimePosition.empty();
    if (type == "GGA") {
        c.Data[1].enabled = true;
        s.lastGgaSentence = line;
        // The altitude of a log is a figure, and where manual mode starts: a headless run
        // has neither.
        if (figuresShown) {
            std::string_view metres = FieldView(line, 9);
            s.altitude = metres.empty() ? kNoAltitude : Int(Val(metres));
        }
        if (sameTimePos)
            line = rewritten = WithTimePositionGga(s.lastGgaSentence, s.rmcTimePosition);
        sendDecision_ = box(Sentence::Gga);
    } else if (type == "VTG") {
        c.Data[2].foreColor = kMagenta;
        s.lastVtgSentence = line;
        sendDecision_ = box(Sentence::Vtg);
    } else if (type == "RMB") {
        c.Data[3].enabled = true;
        sendDecision_ = box(Sentence::Rmb);
    } else if (type == "GSA") {
        c.Data[4].enabled = true;
        sendDecision_ = box(Sentence::Gsa);
    } else if (type == "GSV") {
        c.Data[5].enabled = true;
        sendDecision_ = box(Sentence::Gsv);
    } else if (line.starts_with("$PGRMM")) {
        s.hasPgrmm = 1;
        sendDecision_ = box(Sentence::Other);
    } else if (type == "TXT") {
        s.logText = Mid(line, 8); // sent when the line before it was
    } else if (line.starts_with("$PHSMI")) {
        s.phsmiLine = line; // sent from the next record on, ahead of its RMC
        sendDecision_ = false;
    } else if (IsSentence(line, "")) {
        c.Data[6].foreColor = kMagenta;
        if (sameTimePos && type == "GLL")
            line = rewritten = WithTimePositionGll(std::string(line), s.rmcTimePosition);
        sendDecision_ = box(Sentence::Other);
    } else {
        // Not a sentence: headers, banners, empty lines, junk.
        c.Data[6].foreColor = kMagenta;
        sendDecision_ = false;
    }
    if (sendDecision_)
        listAndSend(line);
}

void MainForm::logRecordBoundary() {
    // Its time and position are taken only when the same-time option asks for them.
    timePositionRmc_ = s.currentLine;
    timePositionDue_ = true;
    if (options_.sentences.has(Sentence::Vtg) && s.hasVtg == 0) {
        std::string speed = s.speedKnotsText.empty() ? "" : Plain(s.speedKmh);
        WriteSentence(s.lastVtgSentence, "$GPVTG,", s.courseText, ",T,,M,", s.speedKnotsText, ",N,",
                      speed, ",K");
        listAndSend(s.lastVtgSentence);
    }
    if (options_.sentences.has(Sentence::Other) && s.hasPgrmm == 0)
        listAndSend(kDatumSentence);
    s.previousRmcSentence = s.lastRmcSentence;
    s.lastRmcSentence = s.currentLine;
}

void MainForm::logPauseOutput() {
    c.List1.addItem("Pause:");
    s.lastGgaSentence = WithRmcPosition(s.lastGgaSentence, s.previousRmcSentence);
    // A log may lack one of the sentences: nothing is repeated for it.
    if (options_.sentences.has(Sentence::Rmc) && !s.previousRmcSentence.empty())
        listAndSend(s.previousRmcSentence);
    if (options_.sentences.has(Sentence::Gga) && !s.lastGgaSentence.empty())
        listAndSend(FrameSentence(BodyOf(s.lastGgaSentence)));
    if (options_.sentences.has(Sentence::Vtg) && !s.lastVtgSentence.empty())
        listAndSend(FrameSentence(StandingVtgBody(s.lastVtgSentence)));
    if (options_.sentences.has(Sentence::Other))
        listAndSend(kDatumSentence);
}

void MainForm::logRecordLegs(std::span<const std::string_view> fields) {
    bool shown = s.phsmiLine.empty();
    std::optional<double> fromStart = s.trip.addPoint(
        SignedMinutesOfArc(fields[3], fields[4]), SignedMinutesOfArc(fields[5], fields[6]), shown);
    if (shown)
        showTripDistances(*fromStart);
}

bool MainForm::logRecordStatistics() {
    std::string_view fields[10];
    FieldViews(s.currentLine, fields);
    // A log's sentences leave as recorded: the legs between its positions are figures only,
    // which a headless run does not show.
    if (figuresShown)
        logRecordLegs(fields);

    // The record of the next RMC that isRmc finds, passed over, its fields taken; false when the
    // file ends.
    auto passRecord = [&](auto isRmc) {
        do {
            if (!source_.readLine(s.currentLine)) {
                StopReplay(StopReason::EndOfFile);
                return false;
            }
        } while (!isRmc(s.currentLine));
        ++s.recordIndex;
        FieldViews(s.currentLine, fields);
        return true;
    };
    c.AutoSkip.backColor = kGrey;
    while (true) {
        takeSpeed(fields);
        if (s.autoSkipOn == 0 || s.speedKmh > 0)
            break;
        // A standing receiver: pass over its records within this tick.
        c.AutoSkip.backColor = 0x40C0;
        if (!passRecord([](std::string_view line) { return IsSentence(line, "RMC"); }))
            return false;
    }
    for (int i = 1; i < s.recordStep; ++i)
        if (!passRecord([](std::string_view line) { return ContainsSentence(line, "RMC"); }))
            return false;
    logRecordFigures(fields);
    return true;
}

void MainForm::takeSpeed(std::span<const std::string_view> fields) {
    s.speedKnotsText = fields[7];
    s.speedKmh = Int(Val(s.speedKnotsText) * 1.852 + 0.5);
}

void MainForm::logRecordFigures(std::span<const std::string_view> fields) {
    bool imperial = s.metricUnits != 1;
    if (s.phsmiLine.empty()) {
        auto inUnits = [imperial](double kmh) {
            return Plain(imperial ? Round(kmh * 0.6214) : kmh);
        };
        bool fastest = s.trip.takeSpeed(s.speedKmh);
        s.courseText = fields[8];
        if (figuresShown) {
            c.SpeedL.caption = inUnits(s.speedKmh);
            if (fastest)
                c.MaxL.caption = inUnits(s.trip.fastest());
            int needle = ToInt(Int(Val(s.courseText) + 90));
            c.Gauge1.value = needle > 359 ? needle - 360 : needle;
            c.Gauge1.style = 3;
        }
        ShowDateTime(fields[9], fields[1].substr(0, 6));
    }
}

} // namespace korvel

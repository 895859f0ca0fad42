#include "replay/log_records.h"

#include "replay/text_sentences.h"

#include "replay/receiver_sentences.h"
#include "replay/sentence.h"
#include "replay/sentence_rewrite.h"
#include "replay/sentence_type.h"
#include "replay/track_record.h"
#include "text/conversions.h"
#include "text/line_reader.h"

#include <algorithm>
#include <filesystem>
#include <utility>
#include <vector>

namespace korvel {

namespace {

// Whether a sentence holds its "*": looked at first where a whole sentence has it, three bytes
// before its end, then anywhere (a line may carry more after its checksum).
bool hasChecksumMark(std::string_view sentence) {
    return (sentence.size() >= 3 && sentence[sentence.size() - 3] == '*') ||
           sentence.find('*') != std::string_view::npos;
}

// A sentence cut short (a log still being written ends in the middle of one) lacks the checksum
// the log's sentences carry: it is not sent as if it were whole.
bool cutShort(bool logChecksummed, std::string_view sentence) {
    return logChecksummed && !hasChecksumMark(sentence);
}

// Whether text ends with a checksum ("*" and two digits), blanks after it aside.
bool endsWithChecksum(std::string_view text) {
    std::string_view sentence = WithoutBlanksAfterChecksum(text);
    return sentence.size() >= 3 && sentence[sentence.size() - 3] == '*';
}

// Where the next sentence on a line begins, when the one before it is whole (a logger that lost
// a line end wrote both on one line): at second, where SentencesOfLine found one; npos when
// none follows or the "$" lies in the text of a sentence without its checksum yet.
size_t nextSentenceAt(std::string_view text, size_t second) {
    return second != std::string_view::npos && endsWithChecksum(text.substr(0, second))
               ? second
               : std::string_view::npos;
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
                checksummed = hasChecksumMark(sentence);
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

void LogRecords::forgetTimePosition() {
    timePosition_.clear();
    timePositionDue_ = false;
}

void LogRecords::takeText(std::string_view line) {
    if (IsSentence(line, "TXT"))
        ReadTextSentence(line, latest_.text);
}

template <typename IsRmc> bool LogRecords::readTo(IsRmc isRmc) {
    std::string_view line;
    while (source_.scanLine(line))
        if (isRmc(line)) {
            // A data logger's time stamp before the RMC is no part of it.
            line.remove_prefix(std::min(FirstSentenceAt(line), line.size()));
            LineSentences found = sentencesOf(line);
            takeRmc(line, found.first == 0 && found.rmc == 0 ? found.second : std::string::npos);
            return true;
        }
    return false;
}

void LogRecords::takeRmc(std::string_view rmc, size_t second) {
    size_t next = nextSentenceAt(rmc, second);
    line_.assign(WithoutBlanksAfterChecksum(rmc.substr(0, next)));
    if (next == std::string_view::npos)
        rest_.clear();
    else
        rest_.assign(rmc.substr(next));
}

bool LogRecords::toNextRmc() {
    return readTo([this](std::string_view line) {
        takeText(line);
        return LeadsWithSentence(line, "RMC");
    });
}

bool LogRecords::passRecord(bool startingLine) {
    return readTo([startingLine](std::string_view line) {
        return startingLine ? LeadsWithSentence(line, "RMC") : ContainsSentence(line, "RMC");
    });
}

void LogRecords::sendStart(SentenceSink& sink) {
    checksummed_ = hasChecksumMark(line_);
    if (options_.sentences.has(Sentence::Rmc)) {
        if (figuresShown)
            sink.note("NMEA: " + latest_.text);
        if (!hsmi_.empty())
            sink.send(hsmi_);
        sink.send(line_);
    }
    sendDecision_ = false;
    // The record's own RMC gives the time and position of its GGA and GLL from the first record
    // on, where the same-time option asks: taken when first needed.
    timePositionDue_ = true;
    if (!rest_.empty()) {
        std::string rest = std::exchange(rest_, {});
        sendSentences(sink, rest, sentencesOf(rest));
    }
}

bool LogRecords::sendRecord(SentenceSink& sink) {
    sendStart(sink);
    std::string_view line;
    while (source_.scanLine(line)) {
        // Bytes a receiver wrote before a sentence (binary data) are no part of it.
        LineSentences found = sentencesOf(line);
        if (found.rmc != std::string::npos && !cutShort(checksummed_, line.substr(found.rmc))) {
            // Whole sentences before the RMC on its line end this record; other bytes a
            // receiver wrote before it (binary data) are no part of any.
            std::string_view before = line.substr(0, found.rmc);
            if (found.first < found.rmc && endsWithChecksum(before))
                sendSentences(sink, before, sentencesOf(before));
            std::string_view rmc = line.substr(found.rmc);
            if (found.first != found.rmc)
                takeRmc(rmc, sentencesOf(rmc).second);
            else
                takeRmc(rmc, found.second == std::string::npos ? found.second
                                                               : found.second - found.rmc);
            return true;
        }
        if (found.second == std::string::npos) // nearly always: a sentence a line
            sendLine(sink, line, found.first, found.type);
        else
            sendSentences(sink, line, found);
    }
    return false;
}

void LogRecords::sendSentences(SentenceSink& sink, std::string_view line, LineSentences found) {
    for (size_t next; (next = nextSentenceAt(line, found.second)) != std::string_view::npos;) {
        sendLine(sink, line.substr(0, next), found.first, found.type);
        line.remove_prefix(next);
        found = sentencesOf(line);
    }
    sendLine(sink, line, found.first, found.type);
}

bool LogRecords::sendNewest(const std::string& path, SentenceSink& sink) {
    std::vector<std::string> record = newestLogRecord(path);
    if (record.empty())
        return false;
    takeRmc(record.front(), sentencesOf(record.front()).second);
    sendStart(sink);
    for (size_t i = 1; i < record.size(); ++i)
        sendSentences(sink, record[i], sentencesOf(record[i]));
    return true;
}

void LogRecords::sendLine(SentenceSink& sink, std::string_view line, size_t firstSentence,
                          std::string_view type) {
    // The line as read, from its first sentence on; a rewritten copy only where an option
    // rewrites it.
    if (firstSentence != std::string::npos)
        line.remove_prefix(firstSentence);
    line = WithoutBlanksAfterChecksum(line);
    if (firstSentence != std::string::npos && cutShort(checksummed_, line)) {
        sendDecision_ = false;
        return;
    }
    std::string rewritten;
    auto box = [this](Sentence kind) { return options_.sentences.has(kind); };
    if (options_.sameTimePosition && std::exchange(timePositionDue_, false))
        RmcTimePosition(line_, timePosition_);
    bool sameTimePos = options_.sameTimePosition && !timePosition_.empty();
    if (type == "GGA") {
        seen_.kinds.set(Sentence::Gga, true);
        latest_.gga = line;
        if (figuresShown) {
            std::string_view metres = FieldView(line, 9);
            seen_.altitude = metres.empty() ? kNoAltitude : Int(Val(metres));
        }
        if (sameTimePos)
            line = rewritten = WithTimePositionGga(latest_.gga, timePosition_);
        sendDecision_ = box(Sentence::Gga);
    } else if (type == "VTG") {
        seen_.kinds.set(Sentence::Vtg, true);
        latest_.vtg = line;
        sendDecision_ = box(Sentence::Vtg);
    } else if (type == "RMB") {
        seen_.kinds.set(Sentence::Rmb, true);
        sendDecision_ = box(Sentence::Rmb);
    } else if (type == "GSA") {
        seen_.kinds.set(Sentence::Gsa, true);
        sendDecision_ = box(Sentence::Gsa);
    } else if (type == "GSV") {
        seen_.kinds.set(Sentence::Gsv, true);
        sendDecision_ = box(Sentence::Gsv);
    } else if (line.starts_with("$PGRMM")) {
        hasDatum_ = true;
        sendDecision_ = box(Sentence::Other);
    } else if (type == "TXT") {
        ReadTextSentence(line, latest_.text); // sent when the line before it was
    } else if (line.starts_with("$PHSMI")) {
        hsmi_ = line; // sent from the next record on, ahead of its RMC
        sendDecision_ = false;
    } else if (IsSentence(line, "")) {
        seen_.kinds.set(Sentence::Other, true);
        if (sameTimePos && type == "GLL")
            line = rewritten = WithTimePositionGll(std::string(line), timePosition_);
        // The command line may name GLL, ZDA and GNS among the others, each as recorded.
        sendDecision_ = box(Sentence::Other) || (type == "GLL" && box(Sentence::Gll)) ||
                        (type == "ZDA" && box(Sentence::Zda)) ||
                        (type == "GNS" && box(Sentence::Gns));
    } else if (IsEncapsulatedSentence(line)) {
        // AIS messages and the like travel with the other sentences, whole.
        seen_.kinds.set(Sentence::Other, true);
        sendDecision_ = box(Sentence::Other) && !cutShort(checksummed_, line);
    } else {
        // Not a sentence: headers, banners, empty lines, junk.
        seen_.kinds.set(Sentence::Other, true);
        sendDecision_ = false;
    }
    if (sendDecision_)
        sink.send(line);
}

void LogRecords::sendEnd(SentenceSink& sink, bool makeVtg, std::string_view knots, double kmh,
                         std::string_view course) {
    if (options_.sentences.has(Sentence::Vtg) && makeVtg) {
        std::string speed = knots.empty() ? "" : Plain(kmh);
        WriteSentence(latest_.vtg, "$", options_.style.talker, "VTG,", course, ",T,,M,", knots,
                      ",N,", speed, ",K", ModeField(options_.style.nmeaVersion));
        sink.send(latest_.vtg);
    }
    if (options_.sentences.has(Sentence::Other) && !hasDatum_)
        sink.send(kDatumSentence);
    previousRmc_ = latest_.rmc;
    latest_.rmc = line_;
}

void LogRecords::sendPause(SentenceSink& sink) {
    latest_.gga = WithRmcPosition(latest_.gga, previousRmc_);
    // A log may lack one of the sentences: nothing is repeated for it.
    if (options_.sentences.has(Sentence::Rmc) && !previousRmc_.empty())
        sink.send(previousRmc_);
    if (options_.sentences.has(Sentence::Gga) && !latest_.gga.empty())
        sink.send(FrameSentence(BodyOf(latest_.gga)));
    // The VTG as it was sent: its speed is the RMC's, its mode field kept.
    if (options_.sentences.has(Sentence::Vtg) && !latest_.vtg.empty())
        sink.send(latest_.vtg);
    if (options_.sentences.has(Sentence::Other))
        sink.send(kDatumSentence);
}

} // namespace korvel

// The records of an NMEA log, each from one RMC to the next: read through the record source,
// their sentences sent as recorded unless a sentence box or an option says otherwise.
#pragma once

#include "replay/record_source.h"
#include "replay/replay_options.h"
#include "replay/sentence_sink.h"
#include "replay/sentence_type.h"

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace korvel {

class LogRecords {
  public:
    LogRecords(RecordSource& source, const ReplayOptions& options, LatestSentences& latest)
        : source_(source), options_(options), latest_(latest) {}

    // The line read last: the RMC that starts the next record, once the file stands at one.
    std::string& line() { return line_; }
    // Whether the record's position comes from a PHSMI sentence before its RMC; its figures
    // are not shown.
    bool hsmi() const { return !hsmi_.empty(); }
    // A new file: nothing of the same-time option's state of the one before.
    void forgetTimePosition();
    // A stopped run: no PHSMI sentence leads the next one's records.
    void forgetHsmi() { hsmi_.clear(); }
    // A new trip: the log has not yet shown that it carries its own datum sentence.
    void forgetDatum() { hasDatum_ = false; }

    // Reads on to the next line that begins with an RMC sentence (the first record, or past
    // one), taking the texts on the way; false when the file ends before one.
    bool toNextRmc();
    // Passes over the lines to the next that begins with an RMC (startingLine) or holds one;
    // false when the file ends first.
    bool passRecord(bool startingLine);

    // Sends the record that the RMC in line() starts, reading its lines up to the next RMC,
    // which line() then holds; false when the file ends first.
    bool sendRecord(SentenceSink& sink);
    // The newest whole record of a log that may still be written, read anew from the end of the
    // file at path and sent; line() then holds its RMC. False when the file's tail holds none.
    bool sendNewest(const std::string& path, SentenceSink& sink);
    // Ends a record sent: the VTG made for a log without one, of the record's speed and course,
    // and the datum for one without its own; the RMC in line() becomes the latest.
    void sendEnd(SentenceSink& sink, bool makeVtg, std::string_view knots, double kmh,
                 std::string_view course);
    // The latest record again while the replay pauses: its RMC, GGA at the RMC's position,
    // VTG standing still, the datum.
    void sendPause(SentenceSink& sink);

    // What the records sent since the last call showed: the kinds of sentence met (a box that
    // may be enabled), and where figures are shown the altitude of the latest GGA.
    struct Seen {
        SentenceSet kinds;
        std::optional<double> altitude;
    };
    Seen takeSeen() { return std::exchange(seen_, {}); }
    // Whether anyone sees the figures and the notes: a headless run does not, and the records
    // spare their making.
    bool figuresShown = true;
    // The log has lines with an encapsulated sentence behind another (its load saw them): its
    // lines are split at those too.
    bool encapsulatedBehind = false;

  private:
    LineSentences sentencesOf(std::string_view line) const {
        return encapsulatedBehind ? SentencesOfLine<true>(line) : SentencesOfLine(line);
    }
    void sendStart(SentenceSink& sink);
    // The RMC that starts a record, from rmc, where the next sentence on its line begins at
    // second (npos: none); the sentences after it wait in rest_ to follow it.
    void takeRmc(std::string_view rmc, size_t second);
    // Each sentence of a line as a line of its own, checked by its own type.
    void sendSentences(SentenceSink& sink, std::string_view line, LineSentences found);
    // A line of the record before its next RMC; where its first sentence begins (npos: none)
    // and that sentence's type.
    void sendLine(SentenceSink& sink, std::string_view line, size_t firstSentence,
                  std::string_view type);
    void takeText(std::string_view line);
    // Reads on to the next line that isRmc says starts a record, which line() then holds;
    // false when the file ends first. Only that line is copied.
    template <typename IsRmc> bool readTo(IsRmc isRmc);

    RecordSource& source_;
    const ReplayOptions& options_;
    LatestSentences& latest_;
    std::string line_;
    std::string rest_;
    std::string hsmi_;
    std::string previousRmc_;
    bool hasDatum_ = false;
    bool checksummed_ = false;  // the record's RMC carries a checksum
    bool sendDecision_ = false; // carried from line to line within one record
    // The time and position of the record's RMC, for the same-time option; due when a record
    // starts.
    bool timePositionDue_ = false;
    std::string timePosition_;
    Seen seen_;
};

} // namespace korvel

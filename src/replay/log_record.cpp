// One record of a recorded NMEA log: the lines from one RMC to the next, sent as recorded
// unless a sentence box or an option says otherwise, and the statistics of the record.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::showSeen(LogRecords::Seen seen) {
    for (Sentence kind : {Sentence::Gga, Sentence::Rmb, Sentence::Gsa, Sentence::Gsv})
        if (seen.kinds.has(kind))
            c.Data[static_cast<size_t>(kind)].enabled = true;
    for (Sentence kind : {Sentence::Vtg, Sentence::Other})
        if (seen.kinds.has(kind))
            c.Data[static_cast<size_t>(kind)].foreColor = kMagenta;
    if (seen.altitude)
        s.figures.altitude = *seen.altitude;
}

void MainForm::replayLogRecord() {
    if (engine_.options.newestOnly) {
        // A file that grows is followed at its end: its newest record, again and again.
        if (!engine_.log().sendNewest(engine_.path, sink_))
            return;
        showSeen(engine_.log().takeSeen());
        // The speed and course shown, and those of a VTG made for the record, are its own.
        std::string_view fields[10];
        FieldViews(engine_.log().line(), fields);
        if (figuresShown_)
            logRecordLegs(fields);
        engine_.takeLogSpeed(fields);
        logRecordFigures(fields);
        endLogRecord();
        finishRecord();
        return;
    }
    bool whole = engine_.log().sendRecord(sink_);
    LogRecords::Seen seen = engine_.log().takeSeen();
    if (!whole) {
        seen.altitude.reset(); // the stop forgets the altitude
        showSeen(seen);
        StopReplay(StopReason::EndOfFile);
        return;
    }
    showSeen(seen);
    endLogRecord();
    if (logRecordStatistics())
        finishRecord();
}

void MainForm::endLogRecord() {
    engine_.log().sendEnd(sink_, s.hasVtg == 0, s.figures.knotsText, s.figures.kmh,
                          s.figures.courseText);
}

void MainForm::logRecordLegs(std::span<const std::string_view> fields) {
    bool shown = !engine_.log().hsmi();
    std::optional<double> fromStart = s.trip.addPoint(
        SignedMinutesOfArc(fields[3], fields[4]), SignedMinutesOfArc(fields[5], fields[6]), shown);
    if (shown)
        showTripDistances(*fromStart);
}

bool MainForm::logRecordStatistics() {
    std::string_view fields[10];
    FieldViews(engine_.log().line(), fields);
    // A log's sentences leave as recorded: the legs between its positions are figures only,
    // which a headless run does not show.
    if (figuresShown_)
        logRecordLegs(fields);

    bool standing = false; // records of a standing receiver passed over within this tick
    bool more = engine_.passLogRecords(fields, standing);
    c.AutoSkip.backColor = standing ? 0x40C0 : kGrey;
    if (!more) {
        StopReplay(StopReason::EndOfFile);
        return false;
    }
    logRecordFigures(fields);
    return true;
}

void MainForm::logRecordFigures(std::span<const std::string_view> fields) {
    bool imperial = s.metricUnits != 1;
    if (!engine_.log().hsmi()) {
        auto inUnits = [imperial](double kmh) {
            return Plain(imperial ? Round(kmh * 0.6214) : kmh);
        };
        bool fastest = s.trip.takeSpeed(s.figures.kmh);
        s.figures.courseText = fields[8];
        if (figuresShown_) {
            c.SpeedL.caption = inUnits(s.figures.kmh);
            if (fastest)
                c.MaxL.caption = inUnits(s.trip.fastest());
            int needle = ToInt(Int(Val(s.figures.courseText) + 90));
            c.Gauge1.value = needle > 359 ? needle - 360 : needle;
            c.Gauge1.style = 3;
        }
        ShowDateTime(fields[9], fields[1].substr(0, 6));
    }
}

} // namespace korvel

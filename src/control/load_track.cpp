// Loading a track file: count its points, recognise its format, stand at its first point.
#include "app/main_form.h"
#include "replay/track_record.h"
#include "text/conversions.h"

namespace korvel {

bool MainForm::isTrackRecord(std::string_view line) const {
    return IsTrackRecord(s.trackFormat, line, lineNumber_, s.recordMarker);
}

bool MainForm::loadTrackFile() {
    c.AutoSkip.value.reset(0);
    c.AutoSkip.enabled = false;
    c.AutoL.visible = false;
    c.Data[3].enabled = c.Data[4].enabled = c.Data[5].enabled = false;
    // The layout first, from the lines up to the first point, as the altitudes depend on it;
    // then one pass reads the altitudes of all points and counts those after the line that
    // told the kind, which is the first record.
    long counted = lineNumber_;
    openReplayFile();
    DetectTrackFormat();
    LoadTally tally = tallyReplayFile(counted, true);
    s.recordCount = 1 + tally.trackPoints;
    if (tally.segmentLines)
        c.AutoSkip.enabled = true;
    if (s.trackFormat.empty()) {
        c.List1.addItem("Unknown Track-Format !");
        StopReplay(2);
        return false;
    }
    DrawAltitudeProfile(tally.curve);
    c.StopA.visible = true;
    openReplayFile();
    DetectTrackFormat();
    return replayFile_.isOpen();
}

void MainForm::DetectTrackFormat() {
    while (true) {
        if (!readLine()) {
            StopReplay(0);
            return;
        }
        const std::string& line = s.currentLine;
        if (line.find("Korvel") != std::string::npos)
            s.trackFormat = "Korvel";
        if (Left(line, 5) == "OziEx") {
            s.trackFormat = "OziExplorer";
            return;
        }
        if (IsKmlRoot(line)) {
            s.trackFormat = "KML";
            return;
        }
        if (Left(line, 1) == "L")
            s.trackName = Mid(line, 15);
        if (!isTrackRecord(line))
            continue;
        // Mended: the point at which detection stops is sent by the next tick, not lost.
        pendingRecord_ = true;
        if (!s.trackFormat.empty())
            return;
        // The first point line: its columns tell the layout; a later match overrides.
        struct Check {
            long column;
            const char* mark;
            const char* format;
        } checks[] = {{42, ":", "Gardown"},
                      {54, ";", "G7To"},
                      {47, ":", "G7ToWin"},
                      {41, ":", "PCX5"},
                      {4, "+", "TTQV-PCX"}};
        for (const Check& check : checks)
            if (Mid(line, check.column, 1) == check.mark)
                s.trackFormat = check.format;
        return;
    }
}

void MainForm::SkipToTrackRecord() {
    while (true) {
        if (!readLine()) {
            StopReplay(0);
            return;
        }
        if (Left(s.currentLine, 1) == "L")
            s.trackName = Mid(s.currentLine, 15);
        if (isTrackRecord(s.currentLine)) {
            pendingRecord_ = true;
            return;
        }
    }
}

} // namespace korvel

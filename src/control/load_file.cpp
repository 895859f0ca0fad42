// Loading a clicked file: decide what it is, count its records, stand at the first record and
// start the replay timer.
#include "app/main_form.h"
#include "replay/formats/track_formats.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvel {

namespace {

std::string nameUpToFirstDot(const std::string& name) {
    return name.substr(0, name.find('.'));
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

bool MainForm::openReplayFile() {
    closeAllFiles();
    return engine_.open(figuresShown_);
}

void MainForm::File1_Click() {
    if (!c.LOA.visible)
        return;
    c.List1.visible = true;
    c.Dir1.visible = c.Drive1.visible = false;
    c.DirSel.enabled = c.Manu.enabled = false;
    if (s.downloadMode == 1) {
        c.FileT.text.set(c.File1.fileName());
        c.File1.setPattern(s.fileNamePattern);
        return;
    }
    std::string name = c.File1.fileName();
    engine_.path = c.Dir1.path.get() + "/" + name;
    engine_.kind = FileKind::Unknown;
    bool opened = !name.empty() && openReplayFile();
    int openError = errno;
    c.Timer4.setEnabled(false);
    if (s.fileMenuPending == 1) {
        s.fileMenuPending = 0;
        return;
    }
    engine_.source().forgetTrackName();
    engine_.trackFormat.clear();
    c.File1.enabled = false;
    s.hasVtg = s.hasRmc = s.hasGga = 0;
    c.DownloadC.enabled = false;
    engine_.log().forgetTimePosition();
    c.RESTART.enabled = c.Back.enabled = c.Skip1.enabled = c.Skip2.enabled = c.Pause.enabled = true;
    c.Skip1.toolTip = "Skip 10";
    c.FileL.caption = nameUpToFirstDot(name);

    // What kind of file, and for a track which format: the first line that tells.
    TrackFormatDetection detection;
    std::string& line = engine_.log().line();
    while (opened && engine_.source().readLine(line)) {
        if (Left(line, 1) == "$") {
            engine_.kind = FileKind::Log;
            break;
        }
        if (detection.look(line)) {
            engine_.kind = FileKind::Track;
            engine_.trackFormat = detection.format();
            break;
        }
        platform_.clock.DoEvents();
    }
    if (engine_.kind == FileKind::Unknown) {
        closeAllFiles();
        c.List1.addItem(opened ? "No Log-File !"
                               : "Cannot open " + engine_.path + ": " + std::strerror(openError));
        if (std::string why = opened ? whyNoLog(engine_.path) : ""; !why.empty())
            c.List1.addItem(why);
        StopReplay(StopReason::StopKeepingMessages);
        return;
    }
    if (engine_.kind == FileKind::Track ? loadTrackFile() : loadLog())
        startReplay();
}

bool MainForm::loadLog() {
    // An NMEA log: count its records and read its altitudes, in one pass.
    c.Data[1].enabled = false;
    c.Data[2].foreColor = c.Data[6].foreColor = kGrey;
    c.Data[3].enabled = c.Data[4].enabled = c.Data[5].enabled = false;
    // The count goes on after the line that told the kind: that line starts the first record
    // when it holds a fix (a log of one record has its RMC there), and its sentences count as
    // the others do. After a first record with RMC, a GGA is part of its record, not one of
    // its own; a first line of another sentence (a datum) starts no record.
    unsigned first = SentencesIn(engine_.log().line(), {"RMC", "GGA", "VTG"});
    LoadTally tally = tallyReplayFile(engine_.source().lineNumber(), false);
    engine_.count = first & LoadTally::kRmc   ? 1 + tally.rmcLines
                    : first & LoadTally::kGga ? 1 + tally.logRecords()
                                              : tally.logRecords();
    s.hasRmc = tally.rmc || (first & LoadTally::kRmc);
    s.hasGga = tally.gga || (first & LoadTally::kGga);
    s.hasVtg = tally.vtg || (first & LoadTally::kVtg);
    DrawAltitudeProfile(tally.curve);
    c.StopA.visible = true;
    if (s.hasRmc == 0) {
        // A log without fixes is refused, and the program stays open for the next one; one
        // without VTG is completed with empty speed and course.
        if (s.hasGga == 0) {
            platform_.dialogs.messageBox("No RMC or GGA-Data", " Data-Error !",
                                         MessageIcon::Critical, MessageButtons::Ok);
            StopReplay(StopReason::StopKeepingMessages);
            return false;
        }
        c.Data[0].foreColor = kGrey;
        if (!BuildRmcCopy()) {
            StopReplay(StopReason::StopKeepingMessages);
            return false;
        }
    }
    return openReplayFile() && SkipToFirstRmc();
}

void MainForm::startReplay() {
    if (engine_.count != 0) {
        c.Gauge2.max = static_cast<int>(std::min<long>(engine_.count, INT32_MAX));
        engine_.index = 0;
    }
    engine_.active = true;
    if (!openOutputPort()) {
        StopReplay(StopReason::StopKeepingMessages);
        return;
    }
    c.PortC.enabled = false;
    c.Timer1.setInterval(100);
    c.Timer1.setEnabled(true);
    if (c.MinC.value.get() == 1) {
        platform_.clock.Sleep(1000);
        c.MiniA.visible = true;
        platform_.host.minimize();
    }
}

bool MainForm::SkipToFirstRmc() {
    if (engine_.log().toFirstRmc())
        return true;
    // RMC sentences that never start a line leave nothing to replay.
    c.List1.clear();
    c.List1.addItem("No line begins with an RMC sentence !");
    StopReplay(StopReason::StopKeepingMessages);
    return false;
}

} // namespace korvel

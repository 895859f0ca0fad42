// Loading a clicked file: decide what it is, count its records, stand at the first record and
// start the replay timer.
#include "app/main_form.h"
#include "replay/sentence_type.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvel {

namespace {

std::string nameUpToFirstDot(const std::string& name) {
    return name.substr(0, name.find('.'));
}

} // namespace

bool MainForm::openReplayFile() {
    closeAllFiles();
    return engine_.open();
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
    engine_.refusal.clear();
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
    engine_.logWithoutVtg = true;
    c.DownloadC.enabled = false;
    engine_.log().forgetTimePosition();
    c.RESTART.enabled = c.Back.enabled = c.Skip1.enabled = c.Skip2.enabled = c.Pause.enabled = true;
    c.Skip1.toolTip = "Skip 10";
    c.FileL.caption = nameUpToFirstDot(name);

    if (!opened) {
        closeAllFiles();
        refuseLoad({"Cannot open " + engine_.path + ": " + std::strerror(openError)});
        return;
    }
    if (engine_.detect([this] { platform_.clock.DoEvents(); }) == FileKind::Unknown) {
        closeAllFiles();
        refuseLoad(engine_.refusal);
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
    LoadTally tally = tallyFile(engine_.source().lineNumber());
    engine_.count = first & LoadTally::kRmc   ? 1 + tally.rmcLines
                    : first & LoadTally::kGga ? 1 + tally.logRecords()
                                              : tally.logRecords();
    bool hasRmc = tally.rmc || (first & LoadTally::kRmc);
    bool hasGga = tally.gga || (first & LoadTally::kGga);
    engine_.logWithoutVtg = !tally.vtg && !(first & LoadTally::kVtg);
    DrawAltitudeProfile(tally.curve);
    c.StopA.visible = true;
    if (!hasRmc) {
        // A log without fixes is refused, and the program stays open for the next one; one
        // without VTG is completed with empty speed and course.
        if (!hasGga) {
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
    c.MinimizeDue.setEnabled(c.MinC.value.get() == 1);
}

bool MainForm::SkipToFirstRmc() {
    if (engine_.log().toNextRmc())
        return true;
    // RMC sentences that never start a line leave nothing to replay.
    c.List1.clear();
    refuseLoad({"No line begins with an RMC sentence !"});
    return false;
}

void MainForm::refuseLoad(std::vector<std::string> why) {
    for (const std::string& line : why)
        c.List1.addItem(line);
    engine_.refusal = std::move(why);
    StopReplay(StopReason::StopKeepingMessages);
}

LoadTally MainForm::tallyFile(long counted) {
    profileState_ = 1;
    closeAllFiles();
    LoadTally tally = engine_.tally(counted, [this] {
        platform_.clock.DoEvents();
        return profileState_ == 1;
    });
    profileState_ = 0;
    return tally;
}

} // namespace korvel

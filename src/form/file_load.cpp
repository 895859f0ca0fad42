// Loading a clicked file: the engine loads it; the window shows what it is, or why it cannot
// be replayed, and starts the replay timer.
#include "form/main_form.h"
#include "replay/sentence_type.h"
#include "replay/step_pace.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace korvel {

namespace {

std::string nameUpToFirstDot(const std::string& name) {
    return name.substr(0, name.find('.'));
}

} // namespace

void MainForm::closeAllFiles() {
    engine_.source().close();
    manual_.closeLog();
}

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
    if (download_.active()) {
        c.FileT.text.set(c.File1.fileName());
        c.File1.setPattern(files_.pattern());
        return;
    }
    std::string name = c.File1.fileName();
    c.Timer4.setEnabled(false);
    if (files_.menuOpened())
        return;
    c.File1.enabled = false;
    c.DownloadC.enabled = false;
    c.RESTART.enabled = c.Back.enabled = c.Skip1.enabled = c.Skip2.enabled = c.Pause.enabled = true;
    c.Skip1.toolTip = "Skip 10";
    c.FileL.caption = nameUpToFirstDot(name);
    c.FileL.toolTip = kFileReplayedTip;
    if (name.empty()) {
        refuseLoad({"Choose a file in the list first."});
        return;
    }
    closeAllFiles();
    // Escape while the file loads drops its altitudes.
    profileState_ = 1;
    LoadResult loaded = engine_.load(c.Dir1.path.get() + "/" + name, platform_.clock.now(), [this] {
        platform_.clock.DoEvents();
        return profileState_ == 1;
    });
    profileState_ = 0;
    if (engine_.kind == FileKind::Track)
        showTrackLoaded(loaded.segments);
    else if (engine_.kind == FileKind::Log)
        showLogLoaded(loaded.completedFromGga);
    if (loaded.dataError) {
        platform_.dialogs.messageBox(loaded.refusal.front(), " Data-Error !", MessageIcon::Critical,
                                     MessageButtons::Ok);
        StopReplay(StopReason::StopKeepingMessages);
        return;
    }
    if (!loaded.loaded()) {
        refuseLoad(loaded.refusal);
        return;
    }
    figures_.DrawAltitudeProfile(loaded.curve, engine_.count);
    c.StopA.visible = true;
    startReplay();
}

void MainForm::showLogLoaded(bool completedFromGga) {
    c.Data[1].enabled = false;
    c.Data[2].foreColor = c.Data[6].foreColor = kGrey;
    c.Data[3].enabled = c.Data[4].enabled = c.Data[5].enabled = false;
    if (completedFromGga)
        c.Data[0].foreColor = kGrey;
}

void MainForm::showTrackLoaded(bool segments) {
    c.AutoSkip.value.reset(0);
    c.AutoSkip.enabled = segments; // the push button to the next segment
    c.AutoL.visible = false;
    c.Data[3].enabled = c.Data[4].enabled = c.Data[5].enabled = false;
}

void MainForm::startReplay() {
    if (engine_.count != 0) {
        c.Gauge2.max = static_cast<int>(std::min<long>(engine_.count, INT32_MAX));
        engine_.index = 0;
    }
    engine_.active = true;
    if (!ports_.openOutputs()) {
        StopReplay(StopReason::StopKeepingMessages);
        return;
    }
    c.PortC.enabled = false;
    c.Timer1.setInterval(kFirstTickMs);
    c.Timer1.setEnabled(true);
    c.MinimizeDue.setEnabled(c.MinC.value.get() == 1);
}

bool MainForm::SkipToFirstRmc() {
    if (engine_.log().toNextRmc())
        return true;
    // RMC sentences that never start a line leave nothing to replay.
    refuseLoad({"No line begins with an RMC sentence !"});
    return false;
}

void MainForm::refuseLoad(const std::vector<std::string>& why) {
    c.List1.clear();
    for (const std::string& line : why)
        c.List1.addItem(line);
    StopReplay(StopReason::StopKeepingMessages);
}

} // namespace korvel

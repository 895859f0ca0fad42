#include "form/main_form.h"
#include "files/drives.h"

namespace korvel {

MainForm::MainForm(Platform& platform, std::string programFolder, SettingsLocation settings)
    : platform_(platform), settings_(std::move(settings)) {
    if (programFolder.empty() || programFolder.back() != '/')
        programFolder += '/';
    s.programFolder = std::move(programFolder);
    for (Timer* timer : c.timers())
        platform_.clock.attach(*timer);
    c.Drive1.items = Drives();
    c.ENDE.onClick = [this] { ENDE_Click(); };
    c.SAVE.onClick = [this] { SAVE_Click(); };
    c.RESTART.onClick = [this] { RESTART_Click(); };
    c.File1.onClick = [this] { File1_Click(); };
    c.Timer1.onTimer = [this] { Timer1_Timer(); };
    c.Timer2.onTimer = [this] { Timer2_Timer(); };
    c.StepDue.onTimer = [this] { takeStep(); };
    engine_.tripRestarted = [this] { figures_.tripRestarted(); };
    engine_.clock = &platform_.clock;
}

} // namespace korvel

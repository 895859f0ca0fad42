#include "form/main_form.h"
#include "files/drives.h"

namespace korvel {

MainForm::MainForm(Platform& platform, std::string programFolder, SettingsLocation settings)
    : platform_(platform), settings_(std::move(settings)) {
    if (programFolder.empty() || programFolder.back() != '/')
        programFolder += '/';
    s.programFolder = std::move(programFolder);
    wireEvents();
    for (CheckBox& box : c.Data)
        box.value.event(); // the boxes' first values, which no change has said yet
    for (Timer* timer : c.timers())
        platform_.clock.attach(*timer);

    c.Drive1.items = Drives();
}

void MainForm::wireEvents() {
    c.ENDE.onClick = [this] { ENDE_Click(); };
    c.SAVE.onClick = [this] { SAVE_Click(); };
    c.RESTART.onClick = [this] { RESTART_Click(); };
    c.Pause.value.event = [this] { Pause_Click(); };
    c.Skip1.onClick = [this] { Skip1_Click(); };
    c.Skip2.onClick = [this] { Skip2_Click(); };
    c.Back.onClick = [this] { Back_Click(); };
    c.Gauge2.onMouseDown = [this](double x) { Gauge2_MouseDown(x); };
    c.AutoSkip.onMouseDown = [this] { AutoSkip_MouseDown(); };
    c.AutoSkip.onMouseUp = [this] { AutoSkip_MouseUp(); };
    c.AutoSkip.value.event = [this] { AutoSkip_Click(); };
    c.StopA.onClick = [this] { StopA_Click(); };
    c.Lop.value.event = [this] { Lop_Click(); };
    c.Last.value.event = [this] { Last_Click(); };
    // The boxes that choose what a replay does say it to its options at every change.
    for (size_t i = 0; i < c.Data.size(); ++i)
        c.Data[i].value.event = [this, i] {
            engine_.options.sentences.set(static_cast<Sentence>(i), c.Data[i].value.get() == 1);
        };
    c.Equ.value.event = [this] { engine_.options.sameTimePosition = c.Equ.value.get() == 1; };
    c.AutoReset.value.event = [this] { engine_.options.autoReset = c.AutoReset.value.get() == 1; };
    for (int i = 0; i < 8; ++i)
        c.Abstand[static_cast<size_t>(i)].value.event = [this, i] {
            if (c.Abstand[static_cast<size_t>(i)].value.get())
                Abstand_Click(i);
        };
    c.RMCRMB.onClick = [this] { RMCRMB_Click(); };
    c.Command1.onClick = [this] { Command1_Click(); };
    c.MinC.value.event = [this] { MinC_Click(); };
    c.MiniA.onClick = [this] { MiniA_Click(); };
    c.File1.onClick = [this] { File1_Click(); };
    c.Timer1.onTimer = [this] { Timer1_Timer(); };
    c.Timer2.onTimer = [this] { Timer2_Timer(); };
    c.StepDue.onTimer = [this] { takeStep(); };
    engine_.tripRestarted = [this] { figures_.tripRestarted(); };
    c.MinimizeDue.onTimer = [this] {
        c.MinimizeDue.setEnabled(false);
        if (engine_.active) // not when the run ended within its first second
            MinC_Click();
    };
    c.FlashEnds.onTimer = [this] {
        c.FlashEnds.setEnabled(false);
        c.SaveP.backColor = kRed;
    };
}

} // namespace korvel

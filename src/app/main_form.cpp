#include "app/main_form.h"
#include "files/drives.h"

namespace korvel {

MainForm::MainForm(Platform& platform, std::string programFolder, SettingsLocation settings)
    : platform_(platform), settings_(std::move(settings)) {
    if (programFolder.empty() || programFolder.back() != '/')
        programFolder += '/';
    s.programFolder = std::move(programFolder);
    wireEvents();
    for (Timer* timer : c.timers())
        platform_.clock.attach(*timer);
    c.Drive1.items = Drives();
    // The labels show the design values of their bars.
    TZdiff_Change();
    for (int i = 0; i < 4; ++i) {
        VSc1_Change(i);
        HSc1_Change(i);
    }
    VSc2_Change();
    VSc3_Change();
    VSc4_Change();
    s.positionChangeFlags = 0;
}

void MainForm::wireEvents() {
    c.ENDE.onClick = [this] { ENDE_Click(); };
    c.SAVE.onClick = [this] { SAVE_Click(); };
    c.PortC.listIndex.event = [this] { PortC_Click(); };
    c.Drive1.drive.event = [this] { Drive1_Change(); };
    c.Dir1.path.event = [this] { Dir1_Change(); };
    c.TZdiff.value.event = [this] { TZdiff_Change(); };
    for (int i = 0; i < 4; ++i) {
        c.VSc1[i].value.event = [this, i] { VSc1_Change(i); };
        c.HSc1[i].value.event = [this, i] { HSc1_Change(i); };
    }
    c.VSc2.value.event = [this] { VSc2_Change(); };
    c.VSc3.value.event = [this] { VSc3_Change(); };
    c.VSc4.value.event = [this] { VSc4_Change(); };
    c.RESTART.onClick = [this] { RESTART_Click(); };
    for (int i = 0; i < 2; ++i)
        c.Pspeed[static_cast<size_t>(i)].value.event = [this, i] {
            if (c.Pspeed[static_cast<size_t>(i)].value.get())
                Pspeed_Click(i);
        };
    c.File1.onClick = [this] { File1_Click(); };
    c.Timer1.onTimer = [this] { Timer1_Timer(); };
    c.Timer2.onTimer = [this] { Timer2_Timer(); };
    SocketArray& winsock = platform_.winsock;
    winsock.onConnectionRequest = [this](int index, long id) {
        Winsock_ConnectionRequest(index, id);
    };
    winsock.onDataArrival = [this](int index, long) { Winsock_DataArrival(index); };
    winsock.onError = [this](int index, int number, const std::string& description) {
        Winsock_Error(index, number, description);
    };
}

} // namespace korvel

// The list of output destinations and the choice of one.
#include "form/main_form.h"
#include "output/port_entries.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::FillPortList() {
    c.PortC.clear();
    c.PortC.backColor = kDarkYellow;
    for (const std::string& entry : PortEntries())
        c.PortC.addItem(entry);
}

void MainForm::PortC_Click() {
    if (starting_)
        return;
    int index = c.PortC.listIndex.get();
    if (download_.active()) {
        // Only a serial port receives from a Garmin: any other entry a list may still show
        // is not taken.
        if (index < 0 || index >= kSerialPortCount) {
            c.PortC.listIndex.reset(s.garminPortIndex);
            return;
        }
        s.garminPortIndex = index;
        platform_.comm2.setCommPort(index + 1);
        return;
    }
    engine_.active = false;
    if (platform_.comm1.isOpen())
        platform_.comm1.close();
    s.outputPortIndex = index;
    if (Left(c.PortC.text(), 3) == "COM")
        platform_.comm1.setCommPort(s.outputPortIndex + 1);
    c.TcpLan.visible = c.PortC.text() == "TCP";
    outputs_.route(c.PortC.text());
}

void MainForm::TcpLan_Click() {
    OutputSettings& settings = outputs_.settings;
    settings.tcpAddress = c.TcpLan.value.get() == 1 ? settings.tcpLanAddress : kLoopbackAddress;
    // A server already listening moves at once; its clients stay.
    if (outputs_.tcpServer().listening())
        StartTcpServer();
}

void MainForm::Pspeed_Click(int index) {
    bool wasOpen = platform_.comm1.isOpen();
    if (wasOpen)
        platform_.comm1.close();
    platform_.comm1.setSettings(c.Pspeed[static_cast<size_t>(index)].caption + ",n,8,1");
    std::string error;
    if (wasOpen && !platform_.comm1.open(error))
        platform_.dialogs.messageBox(c.PortC.text() + " cannot be opened: " + error, "Output",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace korvel

// The list of output destinations and the choice of one.
#include "form/main_form.h"
#include "form/ports_presenter.h"
#include "output/port_entries.h"

#include "text/conversions.h"
#include <algorithm>

namespace korvel {

PortsPresenter::PortsPresenter(const FormPart& part) : FormPart(part) {
    c.PortC.listIndex.event = [this] { PortC_Click(); };
    c.TcpLan.value.event = [this] { TcpLan_Click(); };
    for (int i = 0; i < 2; ++i)
        c.Pspeed[static_cast<size_t>(i)].value.event = [this, i] {
            if (c.Pspeed[static_cast<size_t>(i)].value.get())
                Pspeed_Click(i);
        };
    c.BaudC.listIndex.event = [this] { BaudC_Click(); };
    platform.winsock.onError = [this](int index, int number, const std::string& description) {
        Winsock_Error(index, number, description);
    };
}

void PortsPresenter::FillPortList() {
    c.PortC.clear();
    c.PortC.backColor = kDarkYellow;
    // A serial port shows its device, and only when the machine has it; a printer port shows
    // its device.
    for (const std::string& entry : PortEntries()) {
        int port = PortEntryIndex(entry) + 1;
        bool serial = port <= kSerialPortCount;
        std::string device = serial                    ? devices.serial(port)
                             : Left(entry, 3) == "LPT" ? devices.printer(entry)
                                                       : "";
        c.PortC.addItem(entry, device.empty() ? "" : entry + " (" + device + ")",
                        serial && !devices.serialPresent(port));
    }
}

void PortsPresenter::PortC_Click() {
    if (starting)
        return;
    int index = c.PortC.listIndex.get();
    if (form.download().active()) {
        // Only a serial port receives from a Garmin: any other entry a list may still show
        // is not taken.
        if (index < 0 || index >= kSerialPortCount) {
            c.PortC.listIndex.reset(s.garminPortIndex);
            return;
        }
        s.garminPortIndex = index;
        platform.comm2.setCommPort(index + 1);
        return;
    }
    form.engine().active = false;
    if (platform.comm1.isOpen())
        platform.comm1.close();
    s.outputPortIndex = index;
    if (Left(c.PortC.text(), 3) == "COM")
        platform.comm1.setCommPort(s.outputPortIndex + 1);
    showTcpChoices();
    outputs_.route(c.PortC.text());
}

void PortsPresenter::showTcpChoices() {
    c.TcpLan.visible = c.TcpPortT.visible = c.PortC.text() == "TCP";
    c.TcpPortT.text.reset(std::to_string(outputs_.settings.tcpPort));
}

void PortsPresenter::TcpPortT_KeyDown(int key) {
    constexpr int kEnter = 13;
    if (key != kEnter)
        return;
    const std::string& typed = c.TcpPortT.text.get();
    long port = typed.empty() || typed.size() > 5 ||
                        typed.find_first_not_of("0123456789") != std::string::npos
                    ? 0
                    : std::stol(typed);
    if (port < 1 || port > 65535) {
        platform.dialogs.messageBox("\"" + typed + "\" is no TCP port: a number from 1 to 65535.",
                                    "Output", MessageIcon::Exclamation, MessageButtons::Ok);
        showTcpChoices();
        return;
    }
    outputs_.settings.tcpPort = static_cast<int>(port);
    c.focus = "ENDE";
    // A server already listening moves at once; its clients stay connected to the old port
    // until they come again.
    if (outputs_.tcpServer().listening())
        StartTcpServer();
}

void PortsPresenter::TcpLan_Click() {
    OutputSettings& settings = outputs_.settings;
    settings.tcpAddress = c.TcpLan.value.get() == 1 ? settings.tcpLanAddress : kLoopbackAddress;
    // A server already listening moves at once; its clients stay.
    if (outputs_.tcpServer().listening())
        StartTcpServer();
}

void PortsPresenter::Pspeed_Click(int index) {
    const std::string& rate = c.Pspeed[static_cast<size_t>(index)].caption;
    auto listed = std::find(c.BaudC.items.begin(), c.BaudC.items.end(), rate);
    c.BaudC.listIndex.reset(static_cast<int>(listed - c.BaudC.items.begin()));
    setRate(rate);
}

void PortsPresenter::BaudC_Click() {
    // The buttons show the rate when it is theirs, and none is chosen otherwise.
    for (OptionButton& button : c.Pspeed)
        button.value.reset(button.caption == c.BaudC.text());
    setRate(c.BaudC.text());
}

void PortsPresenter::setRate(const std::string& rate) {
    bool wasOpen = platform.comm1.isOpen();
    if (wasOpen)
        platform.comm1.close();
    platform.comm1.setSettings(rate + ",n,8,1");
    std::string error;
    if (wasOpen && !platform.comm1.open(error))
        platform.dialogs.messageBox(c.PortC.text() + " cannot be opened: " + error, "Output",
                                    MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace korvel

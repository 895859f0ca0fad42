// Every sentence leaves through SendSentence to the destination chosen in the port list, and
// to the further ones a headless run names.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "text/conversions.h"

#include <algorithm>

namespace korvel {

void MainForm::SendSentence(std::string& sentence) {
    if (beforeSend)
        beforeSend(sentence);
    sentence += kLineEnd;
    deliver(sentence);
}

void MainForm::deliver(const std::string& sentence) {
    bool took = false;
    // By index: a failure's message box runs events, and a choice in the port list meanwhile
    // routes the outputs anew.
    for (size_t i = 0; i < routes_.size(); ++i)
        took = deliverTo(routes_[i], sentence) || took;
    lastSentenceTaken_ = took;
    if (took && onSentenceSent)
        onSentenceSent(sentence);
}

void MainForm::routeOutputs() {
    routes_.assign(1, RouteOf(c.PortC.text()));
    for (const std::string& entry : s.alsoTo)
        routes_.push_back(RouteOf(entry));
}

bool MainForm::deliverTo(const Route& route, const std::string& sentence) {
    const std::string& entry = route.entry;
    std::string error;
    switch (route.destination) {
    case Destination::Tcp:
        return SendTcp(sentence);
    case Destination::Pty:
        if (waitForDestination ? platform_.pty.writeAll(sentence, keepWaitingCall_)
                               : platform_.pty.write(sentence))
            return true;
        error = platform_.pty.slavePath() + " takes no sentences";
        break;
    case Destination::Udp:
        if (platform_.udp.send(sentence, waitForDestination != nullptr, error))
            return true;
        break;
    case Destination::Uart: {
        if (!platform_.portIO.available(error)) {
            reportOutputFailure(entry, entry + ": " + error);
            return false;
        }
        platform_.portIO.transmit(route.uartAddress, sentence, kUartByteGapMs);
        return true;
    }
    case Destination::Printer:
        if (platform_.printers.write(entry, sentence, error))
            return true;
        break;
    case Destination::Serial:
        if (!platform_.comm1.isOpen())
            return false;
        if (platform_.comm1.output(sentence) &&
            (!waitForDestination || platform_.comm1.drain(keepWaitingCall_)))
            return true;
        error = entry + " (" + platform_.comm1.deviceName() +
                ") takes no sentences: the device has gone or fails";
        break;
    }
    // A wait that was given up for a stop is no failure of the destination.
    if (!waitForDestination || waitForDestination())
        reportOutputFailure(entry, error);
    return false;
}

bool MainForm::keepWaiting() {
    // Events run meanwhile, so that a stop can end the wait.
    platform_.clock.DoEvents();
    return waitForDestination && waitForDestination();
}

void MainForm::reportOutputFailure(const std::string& entry, const std::string& what) {
    if (!failedOutputs_.insert(entry).second)
        return;
    platform_.dialogs.messageBox("The sentences cannot be sent: " + what, "Output",
                                 MessageIcon::Exclamation, MessageButtons::Ok);
}

bool MainForm::openOutputPort() {
    failedOutputs_.clear();
    routeOutputs();
    for (const Route& route : routes_)
        if (!openOutput(route))
            return false;
    return true;
}

bool MainForm::openOutput(const Route& route) {
    const std::string& entry = route.entry;
    std::string error;
    bool opened = true;
    switch (route.destination) {
    case Destination::Tcp:
        return StartTcpServer();
    case Destination::Pty: {
        if (!platform_.pty.open(s.ptyLink, error)) {
            platform_.dialogs.messageBox("PTY cannot be opened: " + error, "Output",
                                         MessageIcon::Exclamation, MessageButtons::Ok);
            return false;
        }
        std::string where = platform_.pty.slavePath() + " (" + s.ptyLink + ")";
        c.PortL.toolTip = where;
        c.List1.addItem("NMEA on " + where);
        return true;
    }
    case Destination::Udp:
        opened = platform_.udp.open(s.udpHost, s.udpPort, error);
        break;
    case Destination::Printer:
        opened = platform_.printers.probe(entry, error);
        break;
    case Destination::Uart:
        break;
    case Destination::Serial:
        if (entry.starts_with("COM")) {
            platform_.comm1.setCommPort(static_cast<int>(Val(Mid(entry, 4))));
            opened = platform_.comm1.open(error);
        }
        break;
    }
    if (!opened)
        platform_.dialogs.messageBox(entry + " cannot be opened: " + error, "Output",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
    return opened;
}

bool MainForm::SendTcp(const std::string& line) {
    TcpServer::Delivery delivery =
        tcpServer_.send(line, waitForDestination ? &keepWaitingCall_ : nullptr);
    if (!delivery.hadClients) {
        c.PortL.toolTip = "No connection";
        return false;
    }
    if (delivery.waitGivenUp)
        return false;
    bool none = delivery.addresses.empty();
    c.TCPstat.backColor = none ? kRed : kGreen;
    c.PortL.toolTip = none ? "No connection" : delivery.addresses;
    return delivery.took;
}

bool MainForm::StartTcpServer() {
    std::string error;
    if (!tcpServer_.listen(s.tcpAddress, s.tcpPort, error)) {
        platform_.dialogs.messageBox("The TCP server cannot listen: " + error, "TCP",
                                     MessageIcon::Exclamation, MessageButtons::Ok);
        return false;
    }
    c.TCPstat.visible = true;
    return true;
}

void MainForm::deliverTheRest() {
    if (!waitAtEnd)
        return;
    const std::function<bool()> keepWaiting = [this] {
        platform_.clock.DoEvents();
        return waitAtEnd();
    };
    auto sendsTo = [this](std::string_view entry) {
        return c.PortC.text() == entry ||
               std::find(s.alsoTo.begin(), s.alsoTo.end(), entry) != s.alsoTo.end();
    };
    // The pseudo-terminal stays open for the next run; its reader gets this one's end first.
    if (sendsTo("PTY"))
        platform_.pty.drain(keepWaiting);
    if (platform_.comm1.isOpen())
        platform_.comm1.drain(keepWaiting);
    platform_.winsock.drain(keepWaiting);
}

void MainForm::CloseTcpConnections() {
    deliverTheRest();
    tcpServer_.closeClients();
    c.PortL.toolTip = "";
    c.TCPstat.visible = false;
}

void MainForm::Winsock_ConnectionRequest(int index, long requestId) {
    if (index == 0)
        tcpServer_.accept(requestId, s.tcpClientLimit);
}

void MainForm::Winsock_DataArrival(int index) {
    // Clients cannot influence the output: what they send is read and dropped.
    platform_.winsock.getData(index);
}

void MainForm::Winsock_Error(int, int number, const std::string& description) {
    if (number == 10053 || number == 10054)
        return;
    platform_.dialogs.messageBox("Winsock-Error No: " + Trim(Str(number)) + "   " + description,
                                 "Error!", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace korvel

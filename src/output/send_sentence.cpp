// Every sentence leaves through SendSentence to the run's destinations; the window shows what
// came of it.
#include "app/main_form.h"
#include "replay/sentence.h"
#include "text/conversions.h"

namespace korvel {

void MainForm::SendSentence(std::string& sentence) {
    if (beforeSend)
        beforeSend(sentence);
    sentence += kLineEnd;
    deliver(sentence);
}

void MainForm::deliver(const std::string& sentence) {
    Outputs::Sent sent = outputs_.send(sentence);
    if (sent.tcp && !sent.tcp->hadClients) {
        c.PortL.toolTip = "No connection";
    } else if (sent.tcp && !sent.tcp->waitGivenUp) {
        bool none = sent.tcp->addresses.empty();
        c.TCPstat.backColor = none ? kRed : kGreen;
        c.PortL.toolTip = none ? "No connection" : sent.tcp->addresses;
    }
    for (const OutputFailure& failure : sent.failures)
        tell(failure);
}

void MainForm::tell(const OutputFailure& failure) {
    platform_.dialogs.messageBox(failure.text, failure.title, MessageIcon::Exclamation,
                                 MessageButtons::Ok);
}

bool MainForm::openOutputPort() {
    outputs_.route(c.PortC.text());
    if (std::optional<OutputFailure> failure = outputs_.open()) {
        tell(*failure);
        return false;
    }
    if (outputs_.sendsTo(Destination::Tcp))
        c.TCPstat.visible = true;
    if (outputs_.sendsTo(Destination::Pty)) {
        c.PortL.toolTip = outputs_.ptyWhere();
        c.List1.addItem("NMEA on " + c.PortL.toolTip);
    }
    return true;
}

bool MainForm::StartTcpServer() {
    if (std::optional<OutputFailure> failure = outputs_.listen()) {
        tell(*failure);
        return false;
    }
    c.TCPstat.visible = true;
    return true;
}

void MainForm::CloseTcpConnections() {
    outputs_.deliverTheRest();
    outputs_.tcpServer().closeClients();
    c.PortL.toolTip = "";
    c.TCPstat.visible = false;
}

void MainForm::Winsock_Error(int, int number, const std::string& description) {
    if (number == 10053 || number == 10054)
        return;
    platform_.dialogs.messageBox("Winsock-Error No: " + Trim(Str(number)) + "   " + description,
                                 "Error!", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace korvel

// Every sentence leaves through SendSentence to the run's destinations; the window shows what
// came of it.
#include "form/ports_presenter.h"
#include "replay/sentence.h"
#include "text/conversions.h"

namespace korvel {

void PortsPresenter::SendSentence(std::string& sentence) {
    sentence += kLineEnd;
    outputs_.send(sentence);
    showDelivery();
}

void PortsPresenter::send(std::string_view sentence) {
    c.List1.addItem(std::string(sentence));
    PutWithLineEnd(sendRoom_, sentence);
    outputs_.send(sendRoom_);
    if (outputs_.tcpDelivery() || outputs_.newFailures())
        showDelivery();
}

void PortsPresenter::showDelivery() {
    if (const std::optional<TcpServer::Delivery>& tcp = outputs_.tcpDelivery()) {
        if (!tcp->hadClients) {
            c.PortL.toolTip = "No connection";
        } else if (!tcp->waitGivenUp) {
            bool none = tcp->addresses.empty();
            c.TCPstat.backColor = none ? kRed : kGreen;
            c.PortL.toolTip = none ? "No connection" : tcp->addresses;
        }
    }
    // A step runs no events: what failed in it is told once it is done.
    if (outputs_.newFailures() && !holding_)
        for (const OutputFailure& failure : outputs_.takeFailures())
            tell(failure);
}

void PortsPresenter::tellHeldFailures() {
    holding_ = false;
    if (outputs_.newFailures())
        for (const OutputFailure& failure : outputs_.takeFailures())
            tell(failure);
}

void PortsPresenter::tell(const OutputFailure& failure) {
    platform.dialogs.messageBox(failure.text, failure.title, MessageIcon::Exclamation,
                                MessageButtons::Ok);
}

bool PortsPresenter::openOutputs() {
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

bool PortsPresenter::StartTcpServer() {
    if (std::optional<OutputFailure> failure = outputs_.listen()) {
        tell(*failure);
        return false;
    }
    c.TCPstat.visible = true;
    return true;
}

void PortsPresenter::CloseTcpConnections() {
    outputs_.deliverTheRest();
    outputs_.tcpServer().closeClients();
    c.PortL.toolTip = "";
    c.TCPstat.visible = false;
}

void PortsPresenter::Winsock_Error(int, int number, const std::string& description) {
    if (number == 10053 || number == 10054)
        return;
    platform.dialogs.messageBox("Winsock-Error No: " + Trim(Str(number)) + "   " + description,
                                "Error!", MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace korvel

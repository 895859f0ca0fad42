// The outputs as the window shows them: the port list and its choice, the serial rate, the LAN
// box, every sentence listed and sent, the TCP server's clients and what failed.
#pragma once

#include "app/device_names.h"
#include "app/profile_file.h"
#include "form/form_part.h"
#include "output/outputs.h"
#include "replay/sentence_sink.h"

#include <string>
#include <string_view>

namespace korvel {

class PortsPresenter : FormPart, public SentenceSink {
  public:
    explicit PortsPresenter(const FormPart& part);

    Outputs& outputs() { return outputs_; }
    // While the form starts, the port list's selections are not the user's.
    bool starting = false;
    // The devices behind the port list's names.
    DeviceNames devices = DeviceNames::fromProfile(ProfileFile{}, {});
    void FillPortList();
    // Appends CR LF to sentence and sends it to the run's destinations.
    void SendSentence(std::string& sentence);
    // Opens the outputs a run needs; false (after telling the user) when one cannot be.
    bool openOutputs();
    // The TCP server listens at its address, after telling the user when it cannot.
    bool StartTcpServer();
    void CloseTcpConnections();
    // The LAN box and the server's port, shown while the port list says TCP.
    void showTcpChoices();
    // Enter in the port box: the server's port becomes the one typed.
    void TcpPortT_KeyDown(int key);
    // Between these a step runs no events: what failed in it is told at its end.
    void holdFailures() { holding_ = true; }
    void tellHeldFailures();
    // A replay's sentence: listed in the message list and sent; a note: listed.
    void send(std::string_view sentence) override;
    void note(std::string_view line) override { c.List1.addItem(std::string(line)); }

  private:
    void PortC_Click();
    void Pspeed_Click(int index);
    // Another rate of the list of every rate.
    void BaudC_Click();
    // The serial port's rate: an open port is closed and opened again at it.
    void setRate(const std::string& rate);
    // The LAN box: the TCP server listens on the network, or on this computer only.
    void TcpLan_Click();
    void Winsock_Error(int index, int number, const std::string& description);
    // What came of the sentence sent last: the clients of the TCP server, a message for each
    // destination that failed.
    void showDelivery();
    void tell(const OutputFailure& failure);

    Outputs outputs_{platform};
    std::string sendRoom_; // the room of the sentence last listed and sent
    bool holding_ = false;
};

} // namespace korvel

// An array of TCP socket elements: element 0 listens, elements 1... carry one client each.
#pragma once

#include <functional>
#include <string>

namespace korvel {

enum SocketState {
    kSocketClosed = 0,
    kSocketListening = 2,
    kSocketConnected = 7,
    kSocketClosing = 8
};

class SocketArray {
  public:
    virtual ~SocketArray() = default;

    // Element 0: listen on port at address ("" or "*" for every address of the machine); false with
    // a reason when the address is none or the port cannot be bound.
    virtual bool listen(const std::string& address, int port, std::string& error) = 0;
    virtual void load(int index) = 0;
    virtual void unload(int index) = 0;
    virtual void accept(int index, long requestId) = 0;
    virtual int state(int index) const = 0;
    // Queues bytes for element index; false when the element cannot take them.
    virtual bool sendData(int index, const std::string& bytes) = 0;
    // Waits while element index has much waiting that its client is taking; a client that
    // takes nothing for seconds is let go. keepWaiting is asked now and then and false gives up
    // (returning false).
    virtual bool waitForRoom(int index, const std::function<bool()>& keepWaiting) {
        (void)index;
        (void)keepWaiting;
        return true;
    }
    // Waits likewise until every client has taken everything sent to it.
    virtual bool drain(const std::function<bool()>& keepWaiting) {
        (void)keepWaiting;
        return true;
    }
    // Waiting received bytes of element index (read and removed).
    virtual std::string getData(int index) = 0;
    virtual void close(int index) = 0;
    virtual std::string remoteHostIP(int index) const = 0;

    std::function<void(int index, long requestId)> onConnectionRequest;
    std::function<void(int index, long bytes)> onDataArrival;
    std::function<void(int index, int number, const std::string& description)> onError;
};

} // namespace korvel

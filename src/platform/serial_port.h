// A serial port as the simulator uses it: a port number, a settings string such as
// "4800,n,8,1", open and close, output of bytes, binary input one byte at a time.
#pragma once

#include <functional>
#include <string>

namespace korvel {

class SerialPort {
  public:
    virtual ~SerialPort() = default;

    virtual void setCommPort(int number) = 0; // 1-based (COM1 = 1)
    virtual int commPort() const = 0;
    // The device that stands for the port number; the platform maps COMn to a device path.
    virtual std::string deviceName() const = 0;
    virtual void setSettings(const std::string& settings) = 0;
    virtual std::string settings() const = 0;
    // Opens the port; on failure returns false and says why in error.
    virtual bool open(std::string& error) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // False when the port is not open or its device fails (a USB adapter pulled out).
    virtual bool output(const std::string& bytes) = 0;
    // Sends bytes one at a time, each after a pause of gapMs and the first after leadMs more,
    // for a receiver that takes its bytes slowly. The pauses belong to the wire: they hold
    // however fast the rest of the program runs. False as output says.
    virtual bool transmit(const std::string& bytes, int leadMs, int gapMs) = 0;
    // Waits until the device has taken everything written; keepWaiting is asked now and then
    // and false gives up. False when the device failed or the wait was given up.
    virtual bool drain(const std::function<bool()>& keepWaiting) {
        (void)keepWaiting;
        return isOpen();
    }
    virtual int inBufferCount() const = 0;
    // One waiting byte, or -1 when none is waiting.
    virtual int inputByte() = 0;
    // Raised when bytes have arrived.
    std::function<void()> onReceive;
};

} // namespace korvel

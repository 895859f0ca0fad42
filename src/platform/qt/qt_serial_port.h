// A serial port through QSerialPort; the port number names a device through deviceFor.
#pragma once

#include "platform/serial_port.h"

#include <QSerialPort>
#include <functional>

namespace korvel {

class QtSerialPort : public SerialPort {
  public:
    explicit QtSerialPort(std::function<std::string(int port)> deviceFor);

    void setCommPort(int number) override { number_ = number; }
    int commPort() const override { return number_; }
    std::string deviceName() const override { return deviceFor_(number_); }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    std::string settings() const override { return settings_; }
    bool open(std::string& error) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool output(const std::string& bytes) override;
    bool transmit(const std::string& bytes, int leadMs, int gapMs) override;
    bool drain(const std::function<bool()>& keepWaiting) override;
    int inBufferCount() const override;
    int inputByte() override;

    // Bytes that may wait for the device: some seconds of sentences at 4800 baud.
    static constexpr qint64 kMostWaiting = 2048;

  private:
    std::function<std::string(int)> deviceFor_;
    QSerialPort port_;
    int number_ = 1;
    std::string settings_ = "4800,n,8,1";
};

} // namespace korvel

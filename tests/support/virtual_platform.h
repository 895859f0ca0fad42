// Test doubles for the hardware and for time: a virtual clock that drives the form's timers,
// and ports that record what was sent.
#pragma once

#include "form/control.h"
#include "platform/platform.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace korvel::test {

class VirtualClock : public Clock {
  public:
    // The clock starts at start (universal and local time alike) and runs with virtual time.
    LocalDateTime now() const override { return utcNow(); }
    LocalDateTime utcNow() const override;
    std::int64_t monotonicMs() const override { return nowMs_; }
    void DoEvents() override {}

    void attach(Timer& timer) override;
    // Runs every timer that falls due within ms, in time order.
    void advance(std::int64_t ms);
    // Moves to the next moment a timer falls due and runs that timer; nullptr when none runs.
    Timer* fireNext();

  private:
    struct Armed {
        Timer* timer;
        std::int64_t due;
    };
    void rearm(Timer& timer);
    std::vector<Armed>::iterator nextDue();
    std::vector<Armed> armed_;
    std::int64_t nowMs_ = 0;
    LocalDateTime start_{2026, 12, 6, 12, 0, 0, 1};
};

class FakeSerialPort : public SerialPort {
  public:
    void setCommPort(int number) override { port_ = number; }
    int commPort() const override { return port_; }
    std::string deviceName() const override { return "COM" + std::to_string(port_); }
    void setSettings(const std::string& settings) override { settings_ = settings; }
    std::string settings() const override { return settings_; }
    bool open(std::string& error) override;
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool output(const std::string& bytes) override {
        written += bytes;
        return !failOutput;
    }
    bool transmit(const std::string& bytes, int leadMs, int gapMs) override {
        pausedMs += leadMs + gapMs * static_cast<long>(bytes.size());
        return output(bytes);
    }
    int inBufferCount() const override { return static_cast<int>(incoming.size()); }
    int inputByte() override;

    std::string written;
    std::deque<unsigned char> incoming;
    bool failOpen = false;
    bool failOutput = false; // the device has gone
    int opens = 0;
    long pausedMs = 0; // the pauses transmit kept on the wire

  private:
    int port_ = 1;
    std::string settings_ = "4800,n,8,1";
    bool open_ = false;
};

class FakeSocketArray : public SocketArray {
  public:
    bool listen(const std::string& address, int port, std::string& error) override;
    void load(int index) override { states_.try_emplace(index, kSocketClosed); }
    void unload(int index) override { states_.erase(index); }
    void accept(int index, long requestId) override;
    int state(int index) const override;
    bool sendData(int index, const std::string& bytes) override;
    std::string getData(int) override { return ""; }
    void close(int index) override;
    std::string remoteHostIP(int index) const override {
        return "127.0.0." + std::to_string(index);
    }

    std::string listenAddress;
    int listenPort = 0;
    bool failListen = false;

  private:
    std::map<int, int> states_; // the state of each loaded element
};

class FakePortIO : public PortIO {
  public:
    bool available(std::string& why) override;
    void transmit(std::uint16_t address, std::string_view bytes, int gapMs) override {
        for (unsigned char byte : bytes)
            writes.push_back({address, byte, gapMs});
    }
    struct Write {
        std::uint16_t address;
        std::uint8_t value;
        int gapMs; // after it
    };
    std::vector<Write> writes;
    bool allowed = true;
};

class FakePrinters : public PrinterDevices {
  public:
    bool probe(const std::string& name, std::string& error) override {
        error = name + ": cannot open";
        return !fail;
    }
    bool write(const std::string& name, const std::string& bytes, std::string& error) override;
    std::map<std::string, std::vector<std::string>> jobs; // one entry per open-write-close
    bool fail = false;
};

class ScriptedDialogs : public Dialogs {
  public:
    MessageAnswer messageBox(const std::string& text, const std::string& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& initial) override;
    void beep() override { ++beeps; }

    struct Message {
        std::string text, title;
        MessageIcon icon;
    };
    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;             // default Ok/Yes
    std::deque<std::optional<std::string>> inputs; // default cancelled
    int beeps = 0;
};

class FakeHost : public WindowHost {
  public:
    void minimize() override { ++minimized; }
    void quit() override { ++quits; }
    int minimized = 0, quits = 0;
};

class FakePseudoTerminal : public PseudoTerminal {
  public:
    bool open(const std::string&, std::string&) override { return opened = true; }
    bool isOpen() const override { return opened; }
    void removeStaleLink(const std::string&) override {}
    std::string slavePath() const override { return "/dev/pts/99"; }
    bool write(const std::string&) override { return true; }
    bool writeAll(const std::string&, const std::function<bool()>&) override { return true; }
    bool drain(const std::function<bool()>&) override { return opened; }
    bool opened = false;
};

class FakeDatagramSender : public DatagramSender {
  public:
    bool open(const std::string& host, int port, std::string& error) override {
        target = host + ":" + std::to_string(port);
        error = host + ": Name or service not known";
        return !failResolve;
    }
    bool send(const std::string& bytes, bool, std::string&) override {
        datagrams.push_back(target + " " + bytes);
        return true;
    }
    std::string target;
    std::vector<std::string> datagrams;
    bool failResolve = false;
};

// Everything MainForm needs, owned together.
struct VirtualPlatform {
    VirtualClock clock;
    FakeSerialPort comm1, comm2;
    FakeSocketArray winsock;
    FakePortIO portIO;
    FakePrinters printers;
    ScriptedDialogs dialogs;
    FakeHost host;
    FakePseudoTerminal pty;
    FakeDatagramSender udp;
    Platform platform{comm1, comm2, winsock, portIO, printers, clock, dialogs, host, pty, udp};
};

} // namespace korvel::test

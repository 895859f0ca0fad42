// The download of a receiver's track log over the Garmin serial link: the dialogue, the track
// file it writes and the way it ends. It knows the receiver's port and the clock, not who shows
// it: what a user would follow reaches its listener, and it ends with a result.
#pragma once

#include "files/pending_file.h"
#include "garmin/link_state.h"

#include <functional>
#include <optional>
#include <string>

namespace korvel {

class Clock;
class SerialPort;

// How long the receiver may stay silent after a packet before the download gives up.
constexpr int kDownloadWatchdogMs = 2000;

// The name a download is written under: the name typed, with ".trk" when it has no extension.
std::string DownloadFileName(const std::string& typed);

struct DownloadResult {
    enum class End { Complete, Failed, TimedOut, Stopped };
    End end = End::Stopped;
    // The dialogue's last line: "Transfer OK", or why no file (or which) is kept.
    std::string line;
    // A failure's message, with what became of the file; "" where the line says all.
    std::string message;
};

class TrackDownload {
  public:
    struct Listener {
        std::function<void(const std::string&)> listed; // a line of the dialogue
        std::function<void(int)> announced;             // the records the receiver will send
        std::function<void(int)> pointsReceived;        // the track points so far
        // The watchdog runs from now on (true) or rests: when it runs out, timeout() is due.
        std::function<void(bool)> watch;
        std::function<void(const DownloadResult&)> ended;
    };

    TrackDownload(SerialPort& port, Clock& clock, Listener listener)
        : port_(port), clock_(clock), listener_(std::move(listener)) {}

    // Opens the receiver's port (1-based) and the track file beside path, writes the file's
    // head and greets the receiver. Why not, when the port or the file cannot be opened. replace:
    // a file at path is replaced by a complete download; otherwise it is kept.
    std::optional<std::string> start(int portNumber, const std::string& path, bool replace);
    // Takes the bytes the receiver sent and answers its whole packets.
    void receive();
    // The watchdog ran out: the receiver has gone quiet.
    void timeout();
    // Ends the download at the user's word, keeping nothing; reason is the line it ends with.
    void stop(const std::string& reason);
    bool running() const { return running_; }

  private:
    // Sends a packet to the receiver, leadMs after the one before, and keeps it, to send again
    // when the receiver asks.
    void sendPacket(int id, const std::string& data, int leadMs = 0);
    // Takes the whole packet in link_.dataBuffer and answers it; false when the download ended.
    bool answerPacket(int id);
    void writeProductData();
    void writeTrackPoint();
    // One line of the track file, with CR LF.
    void writeLine(const std::string& line);
    // Keeps the track file when every announced record came, or tells why not.
    void finish();
    void fail(const std::string& why, const std::string& outcome = "No file is written.");
    void end(DownloadResult result);
    void list(const std::string& line) {
        if (listener_.listed)
            listener_.listed(line);
    }

    SerialPort& port_;
    Clock& clock_;
    Listener listener_;
    GarminLinkState link_;
    PendingFile file_;
    bool replace_ = false;
    bool running_ = false;
    std::string lastPacket_;   // as sent, for the receiver that asks for it again
    std::string dateTimeText_; // the last point's moment as dd.mm.yy hh:mm:ss
};

} // namespace korvel

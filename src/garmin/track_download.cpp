// The dialogue with the receiver: each whole packet is written to the track file and listed,
// then answered; a damaged one is asked for again. The transfer-complete packet ends the
// download, which keeps its file only when every announced record came.
#include "garmin/track_download.h"

#include "garmin/track_point.h"
#include "platform/clock.h"
#include "platform/serial_port.h"
#include "text/conversions.h"

#include <cstdio>

namespace korvel {

namespace {

constexpr unsigned char kAck = 0x06, kCommand = 0x0A, kTransferComplete = 0x0C, kNak = 0x15,
                        kRecords = 0x1B, kTrackData = 0x22, kTrackHeader = 0x63,
                        kProductRequest = 0xFE, kProductData = 0xFF;
const std::string kTrackLogTransfer("\x06\x00", 2);
// The receiver takes a byte every 10 ms, and the product request 100 ms after the first packet.
constexpr int kByteGapMs = 10, kGreetingPauseMs = 100;

// "# 07.12.2026 14:03:59  Local Time"
std::string localTimeLine(const LocalDateTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "# %02d.%02d.%04d %02d:%02d:%02d  Local Time", t.day, t.month,
                  t.year, t.hour, t.minute, t.second);
    return text;
}

// The zero-terminated texts of a product data packet, after its identifier and version.
std::vector<std::string> productTexts(const std::string& data) {
    std::vector<std::string> texts;
    size_t start = 4;
    while (start < data.size()) {
        size_t end = data.find('\0', start);
        if (end == std::string::npos)
            end = data.size();
        texts.push_back(Printable(std::string_view(data).substr(start, end - start)));
        start = end + 1;
    }
    return texts;
}

int byteAt(const std::string& data, size_t index) {
    return index < data.size() ? static_cast<unsigned char>(data[index]) : 0;
}

// The data of an acknowledgement or a refusal: the packet's identifier as a 16-bit word.
std::string aboutPacket(int id) {
    return {static_cast<char>(id), '\0'};
}

} // namespace

std::string DownloadFileName(const std::string& typed) {
    // The extension is decided by the name typed, not by dots in the folder's path.
    return typed.find('.') == std::string::npos ? typed + ".trk" : typed;
}

std::optional<std::string> TrackDownload::start(int portNumber, const std::string& path,
                                                bool replace) {
    listener_.watch(true);
    port_.setCommPort(portNumber);
    port_.setSettings("9600,n,8,1");
    std::string error;
    if (!port_.open(error)) {
        listener_.watch(false);
        return "COM" + std::to_string(portNumber) + " cannot be opened: " + error;
    }
    // The track is written beside the file named and takes its name when the transfer is
    // complete.
    if (!file_.create(path, error)) {
        port_.close();
        listener_.watch(false);
        return path + " cannot be written: " + error;
    }
    replace_ = replace;
    running_ = true;
    link_ = GarminLinkState{};
    writeLine("I Korvel V" KORVEL_VERSION);
    writeLine(localTimeLine(clock_.now()));
    if (!running_)
        return std::nullopt; // ended, and said so
    sendPacket(0x00, "");
    sendPacket(kProductRequest, "", kGreetingPauseMs);
    return std::nullopt;
}

void TrackDownload::receive() {
    while (running_ && port_.inBufferCount() > 0) {
        int byte = port_.inputByte();
        if (byte < 0)
            break;
        LinkEvents events = FeedByte(link_, static_cast<unsigned char>(byte));
        if (!events.packetEnd)
            continue;
        // The watchdog counts from the last packet, not the last byte: a line that babbles
        // without one times out. It rests while the packet is answered.
        listener_.watch(false);
        if (!events.intact)
            sendPacket(kNak, aboutPacket(events.id)); // the receiver sends it again
        else if (!answerPacket(events.id))
            return; // the download has ended
        listener_.watch(true);
    }
}

void TrackDownload::timeout() {
    // The receiver is not listened to while the user reads the message.
    port_.close();
    end({DownloadResult::End::TimedOut, "GPS-Timeout: no file is written.",
         "GPS-Timeout\n(ComPort=" + std::to_string(port_.commPort()) + "?)"});
}

void TrackDownload::stop(const std::string& reason) {
    end({DownloadResult::End::Stopped, reason, ""});
}

void TrackDownload::sendPacket(int id, const std::string& data, int leadMs) {
    lastPacket_ = GarminFrame(static_cast<unsigned char>(id), data);
    port_.transmit(lastPacket_, leadMs, kByteGapMs);
}

bool TrackDownload::answerPacket(int id) {
    const std::string& data = link_.dataBuffer;
    switch (id) {
    case kAck:
        break;
    case kNak:
        port_.transmit(lastPacket_, 0, kByteGapMs);
        break;
    case kProductData:
        writeProductData();
        sendPacket(kCommand, kTrackLogTransfer);
        break;
    case kRecords:
        link_.announcedRecords = byteAt(data, 0) + byteAt(data, 1) * 256;
        link_.recordCount = link_.pointCount = link_.downloadSegments = 0;
        if (listener_.announced)
            listener_.announced(link_.announcedRecords);
        list("Records:" + Str(link_.announcedRecords));
        sendPacket(kAck, aboutPacket(id));
        break;
    case kTrackHeader: {
        std::string header = "New Header: " + Printable(Mid(data, 3));
        list(header);
        writeLine("L  " + header);
        ++link_.recordCount;
        sendPacket(kAck, aboutPacket(id));
        break;
    }
    case kTrackData:
        writeTrackPoint();
        ++link_.recordCount;
        sendPacket(kAck, aboutPacket(id));
        ++link_.pointCount;
        if (listener_.pointsReceived)
            listener_.pointsReceived(link_.pointCount);
        break;
    case kTransferComplete:
        finish();
        return false;
    default:
        // A packet this download does not need is acknowledged, so the receiver goes on.
        sendPacket(kAck, aboutPacket(id));
    }
    return running_;
}

void TrackDownload::writeProductData() {
    const std::string& data = link_.dataBuffer;
    link_.trackPointType.clear();
    std::vector<std::string> texts = productTexts(data);
    writeLine(texts.empty() ? "" : texts.front());
    for (const std::string& text : texts)
        list(text);
    list("Product-ID:" + Str(byteAt(data, 0)));
}

void TrackDownload::writeTrackPoint() {
    const std::string& data = link_.dataBuffer;
    if (link_.trackPointType.empty())
        link_.trackPointType = data.size() == 13                        ? "1"
                               : data.size() == 21 || data.size() == 24 ? "2"
                                                                        : "?";
    size_t segmentByte = data.size() == 13 ? 13 : data.size() == 21 || data.size() == 24 ? 21 : 0;
    bool newSegment = segmentByte > 0 && data[segmentByte - 1] == 1;
    if (newSegment) {
        ++link_.downloadSegments;
        writeLine("N  New Track Segment");
    }
    // A packet too short to hold a position and a time is not written as a point.
    if (data.size() >= 12) {
        TrackPointLine point = DecodeTrackPoint(HexText(data), link_.trackPointType);
        dateTimeText_ = point.dateTimeText;
        writeLine(point.line);
    }
    if (newSegment)
        list("Track " + Format(link_.downloadSegments, "00") + ": " +
             (Mid(dateTimeText_, 7, 2) == "89" ? "" : dateTimeText_));
}

void TrackDownload::finish() {
    std::string error;
    if (link_.recordCount != link_.announcedRecords) {
        error = link_.announcedRecords < 0
                    ? "the receiver ended the transfer without announcing its records"
                    : "the receiver announced " + std::to_string(link_.announcedRecords) +
                          " records and sent " + std::to_string(link_.recordCount);
    } else if (!file_.commit(replace_, error)) {
        if (!file_.keptAs().empty()) {
            fail("The download is complete but cannot be saved (" + error + "): it is kept as " +
                     file_.keptAs() + ".",
                 "");
            return;
        }
        error = "it cannot be saved (" + error + ")";
    } else {
        end({DownloadResult::End::Complete, "Transfer OK", ""});
        return;
    }
    fail("The download is incomplete: " + error + ".");
}

void TrackDownload::writeLine(const std::string& line) {
    std::string error;
    if (file_.isOpen() && !file_.write(line + "\r\n", error))
        fail("The download has ended: " + error + ".");
}

void TrackDownload::fail(const std::string& why, const std::string& outcome) {
    end({DownloadResult::End::Failed, why, outcome.empty() ? why : why + "\n" + outcome});
}

void TrackDownload::end(DownloadResult result) {
    // Closing drops what the download wrote, unless a commit named it; the file named stays
    // as it was.
    port_.close();
    file_.discard();
    running_ = false;
    listener_.watch(false);
    listener_.ended(result);
}

} // namespace korvel

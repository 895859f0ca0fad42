// The packets of the receiver as they arrive: each whole packet is written to the track file and
// listed, then answered; a damaged one is asked for again. The transfer-complete packet ends the
// download, which keeps its file only when every announced record came.
#include "app/main_form.h"
#include "garmin/track_point.h"
#include "text/conversions.h"

namespace korvel {

namespace {

constexpr Color kTransferOk = 49344;
constexpr unsigned char kAck = 0x06, kCommand = 0x0A, kTransferComplete = 0x0C, kNak = 0x15,
                        kRecords = 0x1B, kTrackData = 0x22, kTrackHeader = 0x63,
                        kProductData = 0xFF;
const std::string kTrackLogTransfer("\x06\x00", 2);

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

void MainForm::ReceiveBytes() {
    SerialPort& port = platform_.comm2;
    while (port.inBufferCount() > 0) {
        int byte = port.inputByte();
        if (byte < 0)
            break;
        LinkEvents events = FeedByte(link, static_cast<unsigned char>(byte));
        if (!events.packetEnd)
            continue;
        // The watchdog counts from the last packet, not the last byte: a line that babbles
        // without one times out. It rests while the packet is answered.
        c.Timer3.setEnabled(false);
        if (!events.intact)
            sendPacket(kNak, aboutPacket(events.id)); // the receiver sends it again
        else if (!answerPacket(events.id))
            return; // the download has ended
        c.Timer3.setEnabled(true);
    }
}

void MainForm::sendPacket(int id, const std::string& data) {
    lastPacketSent_ = HexText(GarminFrame(static_cast<unsigned char>(id), data));
    SendHex(lastPacketSent_);
}

bool MainForm::answerPacket(int id) {
    const std::string& data = link.dataBuffer;
    switch (id) {
    case kAck:
        break;
    case kNak:
        SendHex(lastPacketSent_);
        break;
    case kProductData:
        writeProductData();
        sendPacket(kCommand, kTrackLogTransfer);
        break;
    case kRecords:
        link.announcedRecords = byteAt(data, 0) + byteAt(data, 1) * 256;
        link.recordCount = link.pointCount = link.downloadSegments = 0;
        c.Gauge2.max = link.announcedRecords;
        c.List1.addItem("Records:" + Str(link.announcedRecords));
        sendPacket(kAck, aboutPacket(id));
        break;
    case kTrackHeader: {
        std::string header = "New Header: " + Printable(Mid(data, 3));
        c.List1.addItem(header);
        writeTrackLine("L  " + header);
        ++link.recordCount;
        sendPacket(kAck, aboutPacket(id));
        break;
    }
    case kTrackData:
        writeTrackPoint();
        ++link.recordCount;
        sendPacket(kAck, aboutPacket(id));
        ++link.pointCount;
        if (link.pointCount <= c.Gauge2.max)
            c.Gauge2.value = link.pointCount;
        break;
    case kTransferComplete:
        finishDownload();
        return false;
    default:
        // A packet this download does not need is acknowledged, so the receiver goes on.
        sendPacket(kAck, aboutPacket(id));
    }
    return download_.isOpen();
}

void MainForm::writeProductData() {
    const std::string& data = link.dataBuffer;
    link.trackPointType.clear();
    std::vector<std::string> texts = productTexts(data);
    writeTrackLine(texts.empty() ? "" : texts.front());
    for (const std::string& text : texts)
        c.List1.addItem(text);
    c.List1.addItem("Product-ID:" + Str(byteAt(data, 0)));
}

void MainForm::writeTrackPoint() {
    const std::string& data = link.dataBuffer;
    if (link.trackPointType.empty())
        link.trackPointType = data.size() == 13                        ? "1"
                              : data.size() == 21 || data.size() == 24 ? "2"
                                                                       : "?";
    size_t segmentByte = data.size() == 13 ? 13 : data.size() == 21 || data.size() == 24 ? 21 : 0;
    bool newSegment = segmentByte > 0 && data[segmentByte - 1] == 1;
    if (newSegment) {
        ++link.downloadSegments;
        writeTrackLine("N  New Track Segment");
    }
    // A packet too short to hold a position and a time is not written as a point.
    if (data.size() >= 12) {
        TrackPointLine point = DecodeTrackPoint(HexText(data), link.trackPointType);
        s.dateTimeText = point.dateTimeText;
        writeTrackLine(point.line);
    }
    if (newSegment)
        c.List1.addItem("Track " + Format(link.downloadSegments, "00") + ": " +
                        (Mid(s.dateTimeText, 7, 2) == "89" ? "" : s.dateTimeText));
}

void MainForm::finishDownload() {
    std::string error;
    if (link.recordCount != link.announcedRecords) {
        error = link.announcedRecords < 0
                    ? "the receiver ended the transfer without announcing its records"
                    : "the receiver announced " + std::to_string(link.announcedRecords) +
                          " records and sent " + std::to_string(link.recordCount);
    } else if (!download_.commit(replaceTarget_, error)) {
        if (!download_.keptAs().empty()) {
            failDownload("The download is complete but cannot be saved (" + error +
                             "): it is kept as " + download_.keptAs() + ".",
                         "");
            return;
        }
        error = "it cannot be saved (" + error + ")";
    } else {
        EndDownloadMode();
        platform_.dialogs.beep();
        c.List1.addItem("Transfer OK");
        c.List1.listIndex = static_cast<int>(c.List1.items.size()) - 1;
        c.PortC.backColor = kTransferOk;
        return;
    }
    failDownload("The download is incomplete: " + error + ".");
}

void MainForm::writeTrackLine(const std::string& line) {
    std::string error;
    if (download_.isOpen() && !download_.write(line + "\r\n", error))
        failDownload("The download has ended: " + error + ".");
}

void MainForm::failDownload(const std::string& why, const std::string& outcome) {
    platform_.comm2.close();
    platform_.dialogs.messageBox(outcome.empty() ? why : why + "\n" + outcome, " Error !",
                                 MessageIcon::Critical, MessageButtons::Ok);
    CancelDownload(why);
}

} // namespace korvel

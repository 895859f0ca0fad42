// The packets of the receiver as they arrive: each is written to the track file and listed,
// then answered, until the transfer-complete packet ends the download.
#include "app/main_form.h"
#include "garmin/track_point.h"
#include "text/conversions.h"

#include <cerrno>
#include <cstring>

namespace korvel {

namespace {

constexpr Color kTransferOk = 49344;

// The zero-terminated texts of a product data packet, after its identifier and version.
std::vector<std::string> productTexts(const std::string& data) {
    std::vector<std::string> texts;
    size_t start = 4;
    while (start < data.size()) {
        size_t end = data.find('\0', start);
        if (end == std::string::npos)
            end = data.size();
        texts.push_back(data.substr(start, end - start));
        start = end + 1;
    }
    return texts;
}

} // namespace

void MainForm::ReceiveBytes() {
    c.Timer3.setEnabled(false);
    SerialPort& port = platform_.comm2;
    while (port.inBufferCount() > 0) {
        int byte = port.inputByte();
        if (byte < 0)
            break;
        LinkEvents events = FeedByte(link, static_cast<unsigned char>(byte));
        // Mended: the watchdog keeps running, so that a receiver that falls silent after a
        // packet of an unknown kind still ends the download. The rest of the input waits.
        if (events.unknownIdentifier)
            break;
        if (events.recordsAnnounced)
            c.Gauge2.max = link.announcedRecords;
        if (events.packetComplete)
            handleCompletePacket();
        if (!downloadFile_)
            return; // the track file could not be written: the download has ended
        if (events.packetEnd && !answerPacket()) {
            finishDownload();
            return;
        }
    }
    c.Timer3.setEnabled(true);
}

void MainForm::handleCompletePacket() {
    const std::string& data = link.dataBuffer;
    if (link.productPacket) {
        std::vector<std::string> texts = productTexts(data);
        writeTrackLine(texts.empty() ? "" : texts.front());
        for (const std::string& text : texts)
            c.List1.addItem(text);
        c.List1.addItem("Product-ID:" +
                        Str(data.empty() ? 0 : static_cast<unsigned char>(data[0])));
    } else if (link.trackDataPacket) {
        size_t segmentByte = data.size() == 13                        ? 13
                             : data.size() == 21 || data.size() == 24 ? 21
                                                                      : 0;
        bool newSegment = segmentByte > 0 && data[segmentByte - 1] == 1;
        if (newSegment) {
            ++link.downloadSegments;
            writeTrackLine("N  New Track Segment");
        }
        // Mended: a packet too short to hold a position and a time is not written as a point.
        if (data.size() >= 12) {
            TrackPointLine point = DecodeTrackPoint(HexText(data), link.trackPointType);
            s.dateTimeText = point.dateTimeText;
            writeTrackLine(point.line);
        }
        if (newSegment)
            c.List1.addItem("Track " + Format(link.downloadSegments, "00") + ": " +
                            (Mid(s.dateTimeText, 7, 2) == "89" ? "" : s.dateTimeText));
    } else if (link.trackHeaderPacket) {
        std::string header = "New Header: " + Mid(data, 3);
        c.List1.addItem(header);
        writeTrackLine("L  " + header);
    }
}

bool MainForm::answerPacket() {
    if (link.productPacket) {
        link.productPacket = 0;
        SendHex("100A020600EE1003");
    } else if (link.recordsPacket) {
        link.recordsPacket = 0;
        c.List1.addItem("Records:" + Str(link.announcedRecords));
        SendHex("1006021B00DD1003");
    } else if (link.trackHeaderPacket) {
        link.trackHeaderPacket = 0;
        int sum = 0x06 + 0x02 + 0x63 + 0x00;
        SendHex("1006026300" + HexText(std::string(1, static_cast<char>(255 - sum + 1))) + "1003");
    } else if (link.trackDataPacket) {
        SendHex("1006022200D61003");
        ++link.pointCount;
        if (link.pointCount <= c.Gauge2.max)
            c.Gauge2.value = link.pointCount;
    } else if (link.transferComplete) {
        return false;
    }
    return true;
}

void MainForm::finishDownload() {
    EndDownloadMode();
    platform_.dialogs.beep();
    c.List1.addItem("Transfer OK");
    c.List1.listIndex = static_cast<int>(c.List1.items.size()) - 1;
    c.PortC.backColor = kTransferOk;
}

void MainForm::writeTrackLine(const std::string& line) {
    if (!downloadFile_)
        return;
    std::string text = line + "\r\n";
    // Each line reaches the file at once: what came before an interruption is kept.
    if (std::fwrite(text.data(), 1, text.size(), downloadFile_) == text.size() &&
        std::fflush(downloadFile_) == 0)
        return;
    // Mended: a track file that cannot be written (a full disk) ends the download at once
    // instead of letting it end in "Transfer OK" with lines missing.
    std::string error = std::strerror(errno);
    platform_.comm2.close();
    platform_.dialogs.messageBox(s.replayFilePath + " cannot be written (" + error +
                                     "): the download has ended and the incomplete file is "
                                     "deleted.",
                                 " Error !", MessageIcon::Critical, MessageButtons::Ok);
    CancelDownload();
}

} // namespace korvel

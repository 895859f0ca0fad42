#include "garmin/link_state.h"

namespace korvel {

namespace {

constexpr unsigned char kDle = 0x10, kEtx = 0x03, kAck = 0x06;
constexpr unsigned char kTransferComplete = 0x0C, kRecords = 0x1B, kTrackData = 0x22,
                        kTrackHeader = 0x63, kProductData = 0xFF;

LinkEvents packetByte(GarminLinkState& link, unsigned char byte) {
    LinkEvents events;
    link.dlePending = 0;
    ++link.byteIndex;
    if (link.recordsPacket && link.byteIndex == 4)
        link.announcedRecords = byte;
    if (link.recordsPacket && link.byteIndex == 5) {
        link.announcedRecords += byte * 256;
        link.pointCount = 0;
        events.recordsAnnounced = true;
    }
    if (link.ackPacket)
        return events;
    if (link.byteIndex == 3) {
        link.dataSize = byte;
        link.dataCount = 0;
        link.dataBuffer.clear();
        if (link.trackPointType.empty() && link.trackDataPacket)
            link.trackPointType = byte == 13 ? "1" : byte == 21 || byte == 24 ? "2" : "?";
    } else if (link.byteIndex > 3) {
        ++link.dataCount;
        if (link.dataCount <= link.dataSize)
            link.dataBuffer += static_cast<char>(byte);
        // The checksum; it is not compared with the data.
        events.packetComplete = link.dataCount == link.dataSize + 1;
    }
    return events;
}

LinkEvents controlByte(GarminLinkState& link, unsigned char byte) {
    LinkEvents events;
    link.dlePending = 0;
    switch (byte) {
    case kEtx:
        events.packetEnd = true;
        break;
    case kAck:
        link.ackPacket = 1;
        break;
    case kTransferComplete:
    case kRecords:
    case kTrackData:
    case kTrackHeader:
    case kProductData:
        link.byteIndex = 2;
        link.ackPacket = link.productPacket = link.recordsPacket = link.trackDataPacket =
            link.trackHeaderPacket = link.transferComplete = 0;
        if (byte == kTransferComplete) {
            link.transferComplete = 1;
        } else if (byte == kRecords) {
            link.recordsPacket = 1;
            link.downloadSegments = 0;
        } else if (byte == kTrackData) {
            link.trackDataPacket = 1;
        } else if (byte == kTrackHeader) {
            link.trackHeaderPacket = 1;
        } else {
            link.productPacket = 1;
            link.trackPointType.clear();
        }
        break;
    default:
        events.unknownIdentifier = true;
    }
    return events;
}

} // namespace

LinkEvents FeedByte(GarminLinkState& link, unsigned char byte) {
    if (byte == kDle && link.dlePending != 16) {
        link.dlePending = 16;
        return {};
    }
    if (link.dlePending != 16 || byte == kDle)
        return packetByte(link, byte);
    return controlByte(link, byte);
}

} // namespace korvel

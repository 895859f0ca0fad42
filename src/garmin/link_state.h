// The receive side of the Garmin serial link: DLE-framed packets, fed one byte at a time. It
// knows nothing of the port, so a packet may arrive split over any number of receive events.
#pragma once

#include <string>

namespace korvel {

struct GarminLinkState {
    int dlePending = 0; // 16 after an unpaired DLE
    int byteIndex = 0;  // identifier 2, size 3, first data byte 4
    int ackPacket = 0, productPacket = 0, recordsPacket = 0, trackDataPacket = 0,
        trackHeaderPacket = 0, transferComplete = 0;
    int dataSize = 0, dataCount = 0;
    std::string dataBuffer; // one character per data byte
    int announcedRecords = 0;
    int downloadSegments = 0;
    int pointCount = 0;
    // The receiver's point layout, decided by its first track point: "1" for 13 data bytes,
    // "2" for 21 or 24, "?" for any other size, "" while not known.
    std::string trackPointType;
};

// What one byte brought about.
struct LinkEvents {
    bool recordsAnnounced = false;  // announcedRecords holds the records packet's count
    bool packetComplete = false;    // the checksum byte: dataBuffer holds the packet's data
    bool packetEnd = false;         // DLE ETX: the packet wants its answer
    bool unknownIdentifier = false; // the rest of the input is left for the next event
};

LinkEvents FeedByte(GarminLinkState& link, unsigned char byte);

} // namespace korvel

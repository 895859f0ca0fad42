// The receive side of the Garmin serial link: DLE-framed packets, fed one byte at a time. It
// knows nothing of the port, so a packet may arrive split over any number of receive events.
// A packet is whole when its size, data and checksum arrived in full and the checksum holds.
#pragma once

#include <string>

namespace korvel {

struct GarminLinkState {
    // The framing of the packet being received.
    int dlePending = 0; // 16 after an unpaired DLE
    int byteIndex = 0;  // 0 between packets; identifier 2, size 3, first data byte 4
    int packetId = 0;
    int dataSize = 0;
    std::string dataBuffer; // one character per data byte
    unsigned sum = 0;       // of identifier, size, data and checksum: 0 (mod 256) when intact
    // The dialogue, kept by the download.
    int announcedRecords = -1; // -1 until the records packet came
    int recordCount = 0;       // track headers and points received
    int downloadSegments = 0;
    int pointCount = 0;
    // The receiver's point layout, decided by its first track point: "1" for 13 data bytes,
    // "2" for 21 or 24, "?" for any other size, "" while not known.
    std::string trackPointType;
};

// What one byte brought about.
struct LinkEvents {
    bool packetEnd = false; // a packet ended: its identifier is id
    bool intact = false;    // ... and arrived whole: dataBuffer holds its data
    int id = 0;
};

LinkEvents FeedByte(GarminLinkState& link, unsigned char byte);

// A packet as it goes over the wire: DLE, identifier, size, data, checksum, DLE ETX, with
// every DLE in size, data or checksum sent twice.
std::string GarminFrame(unsigned char id, const std::string& data);

} // namespace korvel

#include "garmin/link_state.h"

namespace korvel {

namespace {

constexpr unsigned char kDle = 0x10, kEtx = 0x03;

void startPacket(GarminLinkState& link, unsigned char id) {
    link.byteIndex = 2;
    link.packetId = id;
    link.dataSize = 0;
    link.dataBuffer.clear();
    link.sum = id;
}

void packetByte(GarminLinkState& link, unsigned char byte) {
    // Past its checksum a packet is too long whatever follows: a line that babbles for ever is
    // neither counted nor kept.
    if (link.byteIndex > link.dataSize + 4)
        return;
    ++link.byteIndex;
    link.sum += byte;
    if (link.byteIndex == 3)
        link.dataSize = byte;
    else if (link.byteIndex <= link.dataSize + 3)
        link.dataBuffer += static_cast<char>(byte);
}

LinkEvents endPacket(GarminLinkState& link) {
    LinkEvents events;
    events.packetEnd = true;
    events.id = link.packetId;
    // Size, every data byte and the checksum, nothing more, nothing less.
    events.intact = link.byteIndex == link.dataSize + 4 && (link.sum & 0xFF) == 0;
    link.byteIndex = 0;
    return events;
}

} // namespace

LinkEvents FeedByte(GarminLinkState& link, unsigned char byte) {
    bool afterDle = link.dlePending == 16;
    link.dlePending = 0;
    if (link.byteIndex == 0) {
        // Between packets only DLE and an identifier mean anything; the rest is line noise.
        if (afterDle && byte != kDle && byte != kEtx)
            startPacket(link, byte);
        else if (!afterDle && byte == kDle)
            link.dlePending = 16;
        return {};
    }
    if (!afterDle) {
        if (byte == kDle)
            link.dlePending = 16;
        else
            packetByte(link, byte);
        return {};
    }
    if (byte == kDle) {
        packetByte(link, byte); // the second of a doubled DLE
        return {};
    }
    LinkEvents events = endPacket(link);
    if (byte != kEtx) {
        // A DLE and an identifier where the end belonged: the packet lost its end, and the next
        // one begins.
        events.intact = false;
        startPacket(link, byte);
    }
    return events;
}

std::string GarminFrame(unsigned char id, const std::string& data) {
    std::string frame = {static_cast<char>(kDle), static_cast<char>(id)};
    unsigned sum = id + static_cast<unsigned char>(data.size());
    auto put = [&frame](unsigned char byte) {
        frame += static_cast<char>(byte);
        if (byte == kDle)
            frame += static_cast<char>(kDle);
    };
    put(static_cast<unsigned char>(data.size()));
    for (char byte : data) {
        put(static_cast<unsigned char>(byte));
        sum += static_cast<unsigned char>(byte);
    }
    put(static_cast<unsigned char>(-sum));
    return frame + static_cast<char>(kDle) + static_cast<char>(kEtx);
}

} // namespace korvel

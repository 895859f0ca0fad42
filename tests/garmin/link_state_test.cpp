// The receive side fed with byte strings, each case with its legend; and a frame sent.
#include "garmin/link_state.h"
#include "garmin_receiver/packets.h"

#include <gtest/gtest.h>

using namespace korvel;
using simulated::GarminPacket;

namespace {

struct Packet {
    int id;
    bool intact;
    std::string data = ""; // compared for intact packets only
    bool operator==(const Packet& o) const {
        return id == o.id && intact == o.intact && (!intact || data == o.data);
    }
};

std::ostream& operator<<(std::ostream& out, const Packet& p) {
    return out << "{" << p.id << (p.intact ? ", intact, " : ", damaged, ") << p.data.size()
               << " bytes}";
}

std::vector<Packet> feed(const std::string& bytes) {
    GarminLinkState link;
    std::vector<Packet> packets;
    for (unsigned char byte : bytes) {
        LinkEvents events = FeedByte(link, byte);
        if (events.packetEnd)
            packets.push_back({events.id, events.intact, events.intact ? link.dataBuffer : ""});
    }
    return packets;
}

const std::string kPoint(13, '\x01');
const std::string kDles = std::string("\x10\x01\x10\x10", 4) + std::string(12, '\x10');
std::string bytes(std::initializer_list<int> values) {
    std::string text;
    for (int value : values)
        text += static_cast<char>(value);
    return text;
}

} // namespace

TEST(GarminLink, PacketsOutOfBytes) {
    struct Case {
        const char* legend;
        std::string wire;
        std::vector<Packet> packets;
    } cases[] = {
        {"a track point", GarminPacket(0x22, kPoint), {{0x22, true, kPoint}}},
        {"doubled DLEs in size and data are stored once",
         GarminPacket(0x22, kDles),
         {{0x22, true, kDles}}},
        {"an empty packet", GarminPacket(0x0C, ""), {{0x0C, true, ""}}},
        {"line noise before the first DLE is passed over",
         "\x03\x41\x42" + GarminPacket(0x1B, "\x34\x12"),
         {{0x1B, true, "\x34\x12"}}},
        {"a wrong checksum",
         bytes({0x10, 0x63, 0x02, 'A', 'B', 0x00, 0x10, 0x03}),
         {{0x63, false}}},
        {"data longer than its size says",
         bytes({0x10, 0x63, 0x02, 'A', 'B', 0x18, 'C', 0x10, 0x03}),
         {{0x63, false}}},
        {"data shorter than its size says",
         bytes({0x10, 0x63, 0x03, 'A', 'B', 0x17, 0x10, 0x03}),
         {{0x63, false}}},
        {"a packet that lost its end, then a whole one",
         GarminPacket(0x22, kPoint).substr(0, 9) + GarminPacket(0x22, kPoint),
         {{0x22, false}, {0x22, true, kPoint}}},
        {"a packet that babbles on for a megabyte before its end",
         bytes({0x10, 0x63, 0x02, 'A', 'B'}) + std::string(1 << 20, 'x') + "\x10\x03" +
             GarminPacket(0x22, "\x05"),
         {{0x63, false}, {0x22, true, "\x05"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(feed(c.wire), c.packets) << c.legend;
    // A line that never ends its packet is neither counted on nor kept.
    GarminLinkState link;
    for (unsigned char byte : bytes({0x10, 0x63, 0x02}) + std::string(1 << 20, 'x'))
        FeedByte(link, byte);
    EXPECT_LE(link.byteIndex, link.dataSize + 5);
    EXPECT_LE(link.dataBuffer.size(), 2u);
}

// The frames of the dialogue are checked byte for byte with the download; a checksum that is
// DLE goes twice, as every DLE of a frame does.
TEST(GarminLink, AChecksumOfDleGoesTwice) {
    EXPECT_EQ(GarminFrame(0x06, bytes({0xE8, 0x00})),
              bytes({0x10, 0x06, 0x02, 0xE8, 0x00, 0x10, 0x10, 0x10, 0x03}));
}

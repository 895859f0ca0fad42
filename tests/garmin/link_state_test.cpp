// The receive state machine fed with byte strings, each case with its legend.
#include "garmin/link_state.h"
#include "support/garmin_packets.h"

#include <gtest/gtest.h>

using namespace korvel;
using test::GarminPacket;

namespace {

struct Fed {
    int complete = 0, ends = 0, announced = 0;
    bool unknown = false;
    size_t consumed = 0; // bytes taken before an unknown identifier stopped the feed
};

Fed feed(GarminLinkState& link, const std::string& bytes) {
    Fed fed;
    for (unsigned char byte : bytes) {
        ++fed.consumed;
        LinkEvents events = FeedByte(link, byte);
        fed.complete += events.packetComplete;
        fed.ends += events.packetEnd;
        fed.announced += events.recordsAnnounced;
        if (events.unknownIdentifier) {
            fed.unknown = true;
            break;
        }
    }
    return fed;
}

} // namespace

TEST(GarminLink, DoubledDlesAreStoredOnce) {
    GarminLinkState link;
    // Size 16 and data with DLE bytes: each goes over the wire twice.
    std::string data = std::string("\x10\x01\x10\x10", 4) + std::string(12, '\x10');
    std::string wire = GarminPacket(0x22, data);
    ASSERT_GT(wire.size(), data.size() + 20);
    Fed fed = feed(link, wire);
    EXPECT_EQ(fed.complete, 1);
    EXPECT_EQ(fed.ends, 1);
    EXPECT_EQ(link.dataSize, 16);
    EXPECT_EQ(link.dataBuffer, data);
    EXPECT_EQ(link.trackDataPacket, 1);
    EXPECT_EQ(link.trackPointType, "?");
}

TEST(GarminLink, RecordsAnnounceTheirCount) {
    GarminLinkState link;
    link.downloadSegments = 3;
    link.pointCount = 7;
    Fed fed = feed(link, GarminPacket(0x1B, "\x34\x12"));
    EXPECT_EQ(fed.announced, 1);
    EXPECT_EQ(link.announcedRecords, 4660);
    EXPECT_EQ(link.pointCount, 0);
    EXPECT_EQ(link.downloadSegments, 0) << "a records packet starts the segment count again";
    EXPECT_EQ(link.recordsPacket, 1);
    EXPECT_EQ(fed.complete, 1);
    EXPECT_EQ(fed.ends, 1);
}

TEST(GarminLink, TheFirstTrackPointDecidesTheLayout) {
    GarminLinkState link;
    feed(link, GarminPacket(0x22, std::string(21, '\x01')));
    EXPECT_EQ(link.trackPointType, "2");
    feed(link, GarminPacket(0x22, std::string(13, '\x01')));
    EXPECT_EQ(link.trackPointType, "2") << "a later size changes nothing";
    feed(link, GarminPacket(0xFF, std::string("\x01\x00\x02\x00Unit\0", 9)));
    EXPECT_EQ(link.trackPointType, "") << "product data starts a new dialogue";
    feed(link, GarminPacket(0x22, std::string(13, '\x01')));
    EXPECT_EQ(link.trackPointType, "1");
    GarminLinkState other;
    feed(other, GarminPacket(0x22, std::string(24, '\x01')));
    EXPECT_EQ(other.trackPointType, "2");
}

TEST(GarminLink, DataLongerThanItsSizeIsCut) {
    GarminLinkState link;
    // Size 2, then five bytes: two of data, the checksum, two more that are ignored.
    std::string wire = "\x10\x63\x02"
                       "AB"
                       "\x07"
                       "CD"
                       "\x10\x03";
    Fed fed = feed(link, wire);
    EXPECT_EQ(link.dataBuffer, "AB");
    EXPECT_EQ(fed.complete, 1);
    EXPECT_EQ(fed.ends, 1);
}

TEST(GarminLink, AcknowledgementsCarryNoData) {
    GarminLinkState link;
    feed(link, GarminPacket(0x63, "\x01\x02X"));
    ASSERT_EQ(link.dataBuffer, "\x01\x02X");
    Fed fed = feed(link, GarminPacket(0x06, std::string("\x0A\x00", 2)));
    EXPECT_EQ(link.ackPacket, 1);
    EXPECT_EQ(fed.complete, 0);
    EXPECT_EQ(fed.ends, 1);
    EXPECT_EQ(link.dataBuffer, "\x01\x02X") << "the previous packet's data stays";
    EXPECT_EQ(link.trackHeaderPacket, 1) << "an acknowledgement does not start a packet";
}

TEST(GarminLink, AnUnknownIdentifierStopsTheInput) {
    GarminLinkState link;
    std::string wire = GarminPacket(0x0E, "\x01\x02") + GarminPacket(0x22, std::string(13, 'x'));
    Fed fed = feed(link, wire);
    EXPECT_TRUE(fed.unknown);
    EXPECT_EQ(fed.consumed, 2u) << "DLE and the identifier";
    // The next event goes on with what was left: a stray byte, then a whole packet.
    Fed rest = feed(link, wire.substr(fed.consumed));
    EXPECT_FALSE(rest.unknown);
    EXPECT_EQ(rest.complete, 1);
    EXPECT_EQ(link.dataBuffer, std::string(13, 'x'));
}

TEST(GarminLink, TransferCompleteEndsTheDialogue) {
    GarminLinkState link;
    feed(link, GarminPacket(0x22, std::string(13, '\x01')));
    Fed fed = feed(link, GarminPacket(0x0C, std::string("\x06\x00", 2)));
    EXPECT_EQ(link.transferComplete, 1);
    EXPECT_EQ(link.trackDataPacket, 0);
    EXPECT_EQ(fed.ends, 1);
}

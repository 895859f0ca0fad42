#include "garmin_receiver/packets.h"

#include <cmath>
#include <cstring>

namespace korvel::simulated {

std::string GarminPacket(unsigned char id, const std::string& data, int checksumError) {
    std::string body(1, static_cast<char>(data.size()));
    body += data;
    unsigned sum = id;
    for (unsigned char byte : body)
        sum += byte;
    body += static_cast<char>((256 - sum % 256 + checksumError) % 256);
    std::string packet = "\x10";
    packet += static_cast<char>(id);
    for (char byte : body) {
        packet += byte;
        if (byte == '\x10')
            packet += byte;
    }
    return packet + "\x10\x03";
}

std::string Word(std::uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

std::int32_t Semicircles(double degrees) {
    return static_cast<std::int32_t>(std::llround(degrees * 2147483648.0 / 180.0));
}

std::string PointData(const GarminPoint& point, int size) {
    std::string data = Word(static_cast<std::uint32_t>(Semicircles(point.lat))) +
                       Word(static_cast<std::uint32_t>(Semicircles(point.lon))) +
                       Word(static_cast<std::uint32_t>(point.time));
    if (size == 13)
        return data + static_cast<char>(point.newSegment);
    std::uint32_t bits;
    std::memcpy(&bits, &point.altitude, sizeof bits);
    data += Word(bits) + Word(0); // the depth, which nobody reads
    data += static_cast<char>(point.newSegment);
    return data + std::string(static_cast<size_t>(size) - 21, '\0');
}

} // namespace korvel::simulated

// Packets as a Garmin receiver sends them, for tests and for the simulated receiver.
#pragma once

#include <cstdint>
#include <string>

namespace korvel::simulated {

// DLE, identifier, size, data, checksum, DLE ETX; every DLE in size, data or checksum doubled.
// checksumError is added to the checksum, for a packet damaged on the way.
std::string GarminPacket(unsigned char id, const std::string& data, int checksumError = 0);
// A little-endian 32-bit word, four bytes.
std::string Word(std::uint32_t value);
std::int32_t Semicircles(double degrees);

struct GarminPoint {
    double lat = 0, lon = 0; // degrees
    std::int32_t time = 0;   // seconds since 31 December 1989
    float altitude = 0;      // metres
    bool newSegment = false;
};

// The data of a track-point packet: 13 bytes without altitude, 21 or 24 with one.
std::string PointData(const GarminPoint& point, int size);

} // namespace korvel::simulated

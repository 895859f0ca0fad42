// What the fuzzers drive, one function per kind of input. Each takes any bytes; a crash, a
// hang, undefined behaviour or a leak is a finding. The normal test run replays the inputs that
// once found faults through the same functions.
#pragma once

#include <cstddef>
#include <cstdint>

namespace korvel::fuzz {

// The bytes as an NMEA log: loaded as the user loads it and replayed to its end.
void ReplayLog(const std::uint8_t* data, std::size_t size);
// The bytes after the first as a track file of the format the first byte picks: OziExplorer,
// KML, Korvel, PCX5, or whatever the columns of the lines make of them.
void ReplayTrack(const std::uint8_t* data, std::size_t size);
// The bytes as what a Garmin receiver sends during a download.
void ReceiveGarmin(const std::uint8_t* data, std::size_t size);
// The bytes as "Korvel.ini": the program starts with it, and saves it back.
void ReadSettings(const std::uint8_t* data, std::size_t size);
// The bytes as a log without RMC sentences, which loading completes with RMC built from GGA.
void CompleteRmc(const std::uint8_t* data, std::size_t size);

} // namespace korvel::fuzz

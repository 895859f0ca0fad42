// One track point of a Garmin receiver as a line of a ".trk" file.
#pragma once

#include <string>

namespace korvel {

struct TrackPointLine {
    std::string line;         // "T  N52 30.1234 E013 22.5678 Sat Dec 02 12:06:16 2010" [ ;alt;]
    std::string dateTimeText; // the point's moment as dd.mm.yy hh:mm:ss
};

// hexText: the packet's data, two hexadecimal digits per byte in the order received.
// pointType: "2" when the receiver's points carry an altitude (bytes 13 to 16).
TrackPointLine DecodeTrackPoint(const std::string& hexText, const std::string& pointType);

// Two upper-case hexadecimal digits per byte.
std::string HexText(const std::string& bytes);

} // namespace korvel

// What one pass over a file learns for its load, line by line: a log's records and sentence
// types, a track's points and segment lines, and the altitudes. Two stretches of a file read
// apart are joined in the file's order.
#pragma once

#include "files/altitude_curve.h"

#include <string_view>

namespace korvel {

struct LoadTally {
    // The sentences of one log line, as SentencesIn gives them for RMC, GGA and VTG.
    enum : unsigned { kRmc = 1, kGga = 2, kVtg = 4 };

    long rmcLines = 0;
    long ggaLinesBeforeRmc = 0; // records too while no RMC has come
    long trackPoints = 0;
    bool rmc = false, gga = false, vtg = false;
    bool segmentLines = false; // lines that start a track segment ("N")
    // A log's sentences by their checksums: the last sentence of each line.
    long checksumsRight = 0, checksumsWrong = 0, withoutChecksum = 0;
    bool encapsulatedBehind = false; // a line with an encapsulated sentence behind another
    AltitudeCurve curve;

    void logLine(unsigned sentences);
    // The checksum of a log line's last sentence, counted.
    void checkLine(std::string_view line);
    long logRecords() const { return rmcLines + ggaLinesBeforeRmc; }
    // The lines of later come after these; its altitudes count when withCurve.
    void append(const LoadTally& later, bool withCurve);
};

} // namespace korvel

// What one pass over a file learns for its load, line by line: a log's records and sentence
// types, a track's points and segment lines, and the altitudes. Two stretches of a file read
// apart are joined in the file's order.
#pragma once

#include "files/altitude_curve.h"
#include "replay/sentence.h"
#include "text/line_sweep.h"

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

    void logLine(unsigned sentences) {
        if (sentences & kRmc) {
            rmc = true;
            ++rmcLines;
        }
        if (sentences & kGga) {
            gga = true;
            if (!rmc)
                ++ggaLinesBeforeRmc;
        }
        if (sentences & kVtg)
            vtg = true;
    }
    // The checksum of a log line's last sentence, counted.
    void checkLine(std::string_view line);
    // Both of these for a line that holds one sentence with a checksum at its end, as nearly
    // every line of a log does, from what the sweep that found the line learnt of it; false, and
    // nothing counted, for any other line.
    bool sweptLogLine(std::string_view line, const LineSurvey& survey) {
        auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
        size_t size = line.size();
        if (size < 10 || line[0] != '$' || !upper(line[1]) || !upper(line[2]) ||
            survey.sentenceMarks || line[size - 3] != '*')
            return false;
        int high = ChecksumDigit(line[size - 2]), low = ChecksumDigit(line[size - 1]);
        if (high < 0 || low < 0)
            return false;
        // The type: the three letters after the talker, ended by a field or the checksum.
        unsigned sentences = 0;
        if (line[6] == ',' || line[6] == '*') {
            std::string_view type = line.substr(3, 3);
            unsigned bit = kRmc;
            for (std::string_view counted : {"RMC", "GGA", "VTG"}) {
                sentences |= type == counted ? bit : 0;
                bit <<= 1;
            }
        }
        logLine(sentences);
        // The checksum covers what lies between the "$" and the "*".
        unsigned body = survey.xorOfBytes ^ static_cast<unsigned char>(line[0]) ^
                        static_cast<unsigned char>(line[size - 3]) ^
                        static_cast<unsigned char>(line[size - 2]) ^
                        static_cast<unsigned char>(line[size - 1]);
        ++(body == static_cast<unsigned>(high * 16 + low) ? checksumsRight : checksumsWrong);
        return true;
    }
    long logRecords() const { return rmcLines + ggaLinesBeforeRmc; }
    // The lines of later come after these; its altitudes count when withCurve.
    void append(const LoadTally& later, bool withCurve);
};

} // namespace korvel

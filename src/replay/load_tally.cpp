#include "replay/load_tally.h"

#include "replay/sentence.h"
#include "replay/sentence_type.h"

#include <algorithm>

namespace korvel {

void LoadTally::checkLine(std::string_view line) {
    size_t at = line.starts_with('!') ? 0 : FirstSentenceAt(line);
    if (at == std::string_view::npos)
        return;
    Checksum checksum = CheckChecksum(line.substr(at));
    if (checksum == Checksum::Wrong && line.find_first_of("$!", at + 1) != std::string_view::npos) {
        // Two sentences on one line: the checksum at its end is the last one's.
        size_t dollar = line.rfind('$'), bang = line.rfind('!');
        bool behind = bang != std::string_view::npos && bang > at;
        encapsulatedBehind =
            encapsulatedBehind || (behind && IsEncapsulatedSentence(line.substr(bang)));
        checksum = CheckChecksum(line.substr(behind ? std::max(dollar, bang) : dollar));
    }
    ++(checksum == Checksum::Right   ? checksumsRight
       : checksum == Checksum::Wrong ? checksumsWrong
                                     : withoutChecksum);
}

void LoadTally::append(const LoadTally& later, bool withCurve) {
    rmcLines += later.rmcLines;
    checksumsRight += later.checksumsRight;
    checksumsWrong += later.checksumsWrong;
    withoutChecksum += later.withoutChecksum;
    encapsulatedBehind = encapsulatedBehind || later.encapsulatedBehind;
    if (!rmc)
        ggaLinesBeforeRmc += later.ggaLinesBeforeRmc;
    trackPoints += later.trackPoints;
    rmc = rmc || later.rmc;
    gga = gga || later.gga;
    vtg = vtg || later.vtg;
    segmentLines = segmentLines || later.segmentLines;
    if (withCurve)
        curve.append(later.curve);
}

} // namespace korvel

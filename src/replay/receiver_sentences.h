// The sentences a receiver of today sends besides RMC, GGA and VTG, built for a track's point or
// the manual position when the command line asks for them: GSA and GSV with a fixed, plausible
// sky of twelve satellites (the twelve GGA says it uses), GLL, ZDA and GNS; and the fields that
// NMEA 0183 2.3 and 4.1 add to RMC, GLL and VTG.
#pragma once

#include "replay/replay_options.h"

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// A fix as its RMC and GGA carry it.
struct FixFields {
    std::string_view time;   // hhmmss, with the fraction a file gives
    std::string_view ddmmyy; // empty where there is no valid date
    std::string_view lat, ns, lon, ew;
    std::string_view altitude, geoid; // metres, either may be empty
    std::string_view hdop;            // as GGA says it
};

// The fields that end an RMC of that version (after the magnetic variation): "", ",A" or
// ",A,V"; without a fix ",N" or ",N,V".
std::string_view RmcModeFields(int nmeaVersion, bool fix = true);
// The mode indicator that ends a GLL or VTG of version 2.3 and later: "" or ",A".
std::string_view ModeField(int nmeaVersion);

// Whether the style writes sentences as the window does: GPS's talker, no version's fields.
inline bool IsPlainStyle(const SentenceStyle& style) {
    const std::string& t = style.talker;
    return style.nmeaVersion == 0 && t.size() == 2 && t[0] == 'G' && t[1] == 'P';
}
// A closed sentence written as the window writes it, given the style's talker and the fields
// that close it (closing, before the checksum), its checksum made again.
void Restyle(std::string& sentence, const SentenceStyle& style, std::string_view closing);

// The sentences of wanted among GSA, GSV, GLL, ZDA and GNS for the fix, appended to out.
void BuildReceiverSentences(const FixFields& fix, const SentenceSet& wanted,
                            const SentenceStyle& style, std::vector<std::string>& out);

} // namespace korvel

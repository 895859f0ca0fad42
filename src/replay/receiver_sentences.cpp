#include "replay/receiver_sentences.h"

#include "replay/sentence.h"
#include "text/conversions.h"

#include <cmath>

namespace korvel {

namespace {

struct Satellite {
    int prn, elevation, azimuth, snr;
};
// A sky of twelve satellites over the whole horizon, high and low, strong and weak.
constexpr Satellite kSky[] = {
    {2, 71, 212, 45},  {5, 48, 63, 43},   {9, 35, 287, 41},  {12, 62, 134, 44},
    {15, 21, 318, 36}, {18, 27, 96, 38},  {21, 54, 245, 42}, {25, 16, 21, 33},
    {26, 40, 170, 40}, {29, 11, 352, 30}, {31, 33, 119, 39}, {32, 8, 199, 28},
};
constexpr int kSatellites = static_cast<int>(std::size(kSky));

// The satellites' numbers as the talker's system counts them, and the talker of their GSV: a
// combined fix (GN) reports GPS satellites.
int prnOf(const Satellite& satellite, std::string_view talker) {
    return satellite.prn + (talker == "GL" ? 64 : 0);
}
std::string_view skyTalker(std::string_view talker) {
    return talker == "GN" ? "GP" : talker;
}
// The system ID that 4.1 adds to GSA: GPS 1, GLONASS 2, Galileo 3, BeiDou 4.
std::string_view systemId(std::string_view talker) {
    return talker == "GL"                     ? "2"
           : talker == "GA"                   ? "3"
           : talker == "GB" || talker == "BD" ? "4"
                                              : "1";
}
// GNS's mode, a letter a system (GPS, GLONASS, Galileo, BeiDou): the talker's own autonomous.
std::string_view gnsMode(std::string_view talker) {
    return talker == "GN"   ? "AA"
           : talker == "GL" ? "NA"
           : talker == "GA" ? "NNA"
           : talker == "GP" ? "A"
                            : "NNNA";
}

std::string two(int n) {
    return Format(n, "00");
}

} // namespace

std::string_view RmcModeFields(int nmeaVersion, bool fix) {
    if (nmeaVersion >= 41)
        return fix ? ",A,V" : ",N,V";
    return nmeaVersion >= 23 ? (fix ? ",A" : ",N") : "";
}

std::string_view ModeField(int nmeaVersion) {
    return nmeaVersion >= 23 ? ",A" : "";
}

void Restyle(std::string& sentence, const SentenceStyle& style, std::string_view closing) {
    sentence.replace(1, 2, style.talker);
    sentence.insert(sentence.size() - 3, closing);
    CloseWrittenSentence(sentence);
}

void BuildReceiverSentences(const FixFields& fix, const SentenceSet& wanted,
                            const SentenceStyle& style, std::vector<std::string>& out) {
    const std::string& talker = style.talker;
    int version = style.nmeaVersion;
    std::string where = std::string(fix.lat) + "," + std::string(fix.ns) + "," +
                        std::string(fix.lon) + "," + std::string(fix.ew);
    if (wanted.has(Sentence::Gsa)) {
        // Dilutions that agree with GGA's horizontal one: the vertical half as large again.
        double hdop = Val(fix.hdop), vdop = hdop * 1.5;
        std::string body = talker + "GSA,A,3";
        for (const Satellite& satellite : kSky)
            body += "," + two(prnOf(satellite, talker));
        body += "," + Format(std::hypot(hdop, vdop), "0.0") + "," + std::string(fix.hdop) + "," +
                Format(vdop, "0.0");
        out.push_back(
            FrameSentence(body + (version >= 41 ? "," + std::string(systemId(talker)) : "")));
    }
    if (wanted.has(Sentence::Gsv)) {
        int sentences = (kSatellites + 3) / 4;
        for (int n = 0; n < sentences; ++n) {
            std::string body = std::string(skyTalker(talker)) + "GSV," + std::to_string(sentences) +
                               "," + std::to_string(n + 1) + "," + two(kSatellites);
            for (int i = n * 4; i < std::min(kSatellites, n * 4 + 4); ++i) {
                const Satellite& s = kSky[i];
                body += "," + two(prnOf(s, talker)) + "," + two(s.elevation) + "," +
                        Format(s.azimuth, "000") + "," + two(s.snr);
            }
            out.push_back(FrameSentence(body));
        }
    }
    if (wanted.has(Sentence::Gll))
        out.push_back(FrameSentence(talker + "GLL," + where + "," + std::string(fix.time) + ",A" +
                                    std::string(ModeField(version))));
    if (wanted.has(Sentence::Zda)) {
        std::string date = ",,";
        if (fix.ddmmyy.size() == 6) {
            int yy = static_cast<int>(Val(fix.ddmmyy.substr(4, 2)));
            date = std::string(fix.ddmmyy.substr(0, 2)) + "," +
                   std::string(fix.ddmmyy.substr(2, 2)) + "," +
                   std::to_string(yy < 80 ? 2000 + yy : 1900 + yy);
        }
        out.push_back(
            FrameSentence(talker + "ZDA," + std::string(fix.time) + "," + date + ",00,00"));
    }
    if (wanted.has(Sentence::Gns))
        out.push_back(FrameSentence(talker + "GNS," + std::string(fix.time) + "," + where + "," +
                                    std::string(gnsMode(talker)) + "," + two(kSatellites) + "," +
                                    std::string(fix.hdop) + "," + std::string(fix.altitude) + "," +
                                    std::string(fix.geoid) + ",," + (version >= 41 ? ",V" : "")));
}

} // namespace korvel

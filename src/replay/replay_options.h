// What a replay is asked to do, whoever asks: the window's boxes or the command line.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>

namespace korvel {

// The sentences a replay may send, in the order of the sentence boxes; Other stands for every
// other sentence, the datum among them. The command line names three more, which a log has
// among its others: GLL, ZDA and GNS.
enum class Sentence { Rmc, Gga, Vtg, Rmb, Gsa, Gsv, Other, Gll, Zda, Gns };
constexpr std::size_t kSentenceKinds = 10;
// Their names, as the boxes and the command line give them.
constexpr const char* kSentenceNames[kSentenceKinds] = {"RMC", "GGA", "VTG", "RMB", "GSA",
                                                        "GSV", "OTH", "GLL", "ZDA", "GNS"};

class SentenceSet {
  public:
    bool has(Sentence kind) const { return bits_[static_cast<std::size_t>(kind)]; }
    void set(Sentence kind, bool on) { bits_[static_cast<std::size_t>(kind)] = on; }

  private:
    std::bitset<kSentenceKinds> bits_;
};

// How the sentences Korvel builds (for tracks, manual mode and to complete a log) are written.
struct SentenceStyle {
    std::string talker = "GP";
    // 0: as the window sends them; 23 or 41: with the fields NMEA 0183 2.3 and 4.1 add (the
    // mode indicator; the navigational status).
    int nmeaVersion = 0;
    // GSA, GSV, GLL, ZDA and GNS built as the sentences chosen ask (the command line's choice;
    // the window's boxes send a track's RMC, GGA and VTG alone).
    bool receiverSentences = false;
};

struct ReplayOptions {
    SentenceSet sentences;
    bool loop = false;             // the file starts again at its end
    bool newestOnly = false;       // a growing file: its newest record, again and again
    bool sameTimePosition = false; // a log's sentences take the time and position of its RMC
    bool autoReset = false;        // a new track segment starts the trip's figures again
    bool autoSkip = false;         // a log's records of a standing receiver are passed over
    double intervalMs = 1000;      // the interval option's period between records
    SentenceStyle style;
};

} // namespace korvel

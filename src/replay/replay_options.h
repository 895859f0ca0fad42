// What a replay is asked to do, whoever asks: the window's boxes or the command line.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>

namespace korvel {

// The sentences a replay may send, in the order of the sentence boxes; Other stands for every
// other sentence, the datum among them.
enum class Sentence { Rmc, Gga, Vtg, Rmb, Gsa, Gsv, Other };
constexpr std::size_t kSentenceKinds = 7;
// Their names, as the boxes and the command line give them.
constexpr const char* kSentenceNames[kSentenceKinds] = {"RMC", "GGA", "VTG", "RMB",
                                                        "GSA", "GSV", "OTH"};

class SentenceSet {
  public:
    bool has(Sentence kind) const { return bits_[static_cast<std::size_t>(kind)]; }
    void set(Sentence kind, bool on) { bits_[static_cast<std::size_t>(kind)] = on; }

  private:
    std::bitset<kSentenceKinds> bits_;
};

struct ReplayOptions {
    SentenceSet sentences;
    bool loop = false;             // the file starts again at its end
    bool newestOnly = false;       // a growing file: its newest record, again and again
    bool sameTimePosition = false; // a log's sentences take the time and position of its RMC
    bool autoReset = false;        // a new track segment starts the trip's figures again
    bool autoSkip = false;         // a log's records of a standing receiver are passed over
    double intervalMs = 1000;      // the interval option's period between records
    std::string talker = "GP";     // of the sentences built for tracks and to complete a log
};

} // namespace korvel

// Faults put into the stream on purpose, to test the program at the other end of the line:
// sentences dropped, sent with a wrong checksum, cut off part-way, or with stray bytes in them,
// after the faults of the fix. The same seed gives the same faults at the same sentences.
#pragma once

#include "output/fix_faults.h"

#include <cstdint>
#include <random>
#include <string>

namespace korvel {

struct FaultRates {
    double drop = 0, corrupt = 0, cut = 0, garble = 0; // each the fraction of sentences, 0 to 1
    FixFaultPlan fix = {};
    bool any() const { return drop > 0 || corrupt > 0 || cut > 0 || garble > 0 || fix.any(); }
};

class SentenceFaults {
  public:
    SentenceFaults(FaultRates rates, std::uint64_t seed);

    // Puts the faults drawn for this sentence (without its line end) into it; false when it is
    // dropped.
    bool apply(std::string& sentence);
    // What was put in so far, as the end of a run says it: "3 dropped, 2 corrupted, ...".
    std::string summary() const;
    std::uint64_t seed() const { return seed_; }

  private:
    // A number in [0, 1) of the seed's sequence, the same on every machine.
    double draw();

    FaultRates rates_;
    std::uint64_t seed_;
    FixFaults fix_;
    std::mt19937_64 random_;
    long dropped_ = 0, corrupted_ = 0, cut_ = 0, garbled_ = 0;
};

} // namespace korvel

// Faults of the fix itself, put in on purpose over stretches of the stream's own time (seconds
// from its first sentence with a time, the same at any pace): the fix lost and back, a receiver
// that has hung and repeats itself, and positions scattered as a poor receiver's are.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace korvel {

struct Stretch {
    double start = 0, seconds = 0;
    bool holds(double at) const { return at >= start && at < start + seconds; }
};

struct FixFaultPlan {
    std::vector<Stretch> outages = {}; // no fix: RMC V, GGA quality 0, no position, no VTG speed
    std::vector<Stretch> freezes = {}; // each sentence as it was sent last before the stretch
    double jitterMetres = 0;           // the standard deviation of the noise north and east
    bool any() const { return !outages.empty() || !freezes.empty() || jitterMetres > 0; }
};

class FixFaults {
  public:
    FixFaults(FixFaultPlan plan, std::uint64_t seed);

    // The sentence (without its line end) as the faults of its moment make it.
    void apply(std::string& sentence);
    // What was put in so far, the kinds asked for: "40 without a fix, 12 repeated, ...".
    std::string summary() const;

  private:
    // Seconds of the stream up to this sentence: its time from the first, past midnight and
    // over a looped log's new start, where each sentence without a time takes the last one's.
    double streamSeconds(const std::string& sentence);
    bool loseFix(std::string& sentence);
    bool scatter(std::string& sentence);
    double draw();

    FixFaultPlan plan_;
    std::mt19937_64 random_;
    std::optional<std::int64_t> lastOfDay_;
    double elapsed_ = 0;
    std::map<std::string, std::string, std::less<>> lastSent_; // by talker and type
    // The noise of the record under way, the same for all its sentences: its time and position.
    std::string noiseKey_;
    double north_ = 0, east_ = 0;
    long withoutFix_ = 0, repeated_ = 0, moved_ = 0;
};

} // namespace korvel

#include "output/fix_faults.h"

#include "output/sentence_time.h"
#include "replay/distance_course.h"
#include "replay/sentence.h"
#include "replay/sentence_rewrite.h"
#include "replay/sentence_type.h"
#include "text/conversions.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace korvel {

namespace {

constexpr std::int64_t kDay = 86'400;
// A seed's sequence of its own, so that asking for these faults moves no line fault.
constexpr std::uint64_t kOwnSequence = 0x9E3779B97F4A7C15;
constexpr double kMetresPerMinute = kEarthRadius * std::numbers::pi / (180 * 60);

// The fields of the sentence's position (latitude, hemisphere, longitude, hemisphere) from
// field first on; none for a sentence that carries none.
std::optional<size_t> positionField(std::string_view type) {
    if (type == "RMC")
        return 3;
    if (type == "GGA" || type == "GNS")
        return 2;
    if (type == "GLL")
        return 1;
    return std::nullopt;
}

// Talker and type, as a frozen receiver's sentences are told apart: "GPRMC".
std::string_view nameOf(std::string_view sentence) {
    return sentence.substr(1, sentence.find(',') - 1);
}

bool any(const std::vector<Stretch>& stretches, double at) {
    return std::any_of(stretches.begin(), stretches.end(),
                       [at](const Stretch& s) { return s.holds(at); });
}

void emptied(std::vector<std::string>& fields, std::initializer_list<size_t> which) {
    for (size_t n : which)
        if (n < fields.size())
            fields[n].clear();
}

void set(std::vector<std::string>& fields, size_t n, const std::string& value) {
    if (n < fields.size())
        fields[n] = value;
}

// The minutes' decimals of a coordinate field, as the sentence wrote them.
int decimalsOf(const std::string& field) {
    size_t point = field.find('.');
    return point == std::string::npos ? 0 : static_cast<int>(field.size() - point - 1);
}

} // namespace

FixFaults::FixFaults(FixFaultPlan plan, std::uint64_t seed)
    : plan_(std::move(plan)), random_(seed ^ kOwnSequence) {}

double FixFaults::draw() {
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

double FixFaults::streamSeconds(const std::string& sentence) {
    std::optional<SentenceTime> time = TimeOf(sentence);
    if (!time)
        return elapsed_;
    std::int64_t ofDay = (time->seconds % kDay + kDay) % kDay;
    if (lastOfDay_) {
        std::int64_t step = ofDay - *lastOfDay_;
        if (step < -kDay / 2)
            step += kDay; // past midnight
        else if (step < 0)
            step = 1; // a looped log begins again: its time goes on
        elapsed_ += static_cast<double>(step);
    }
    lastOfDay_ = ofDay;
    return elapsed_;
}

void FixFaults::apply(std::string& sentence) {
    std::string_view type = SentenceTypeOf(sentence);
    if (type.empty())
        return;
    double at = streamSeconds(sentence);
    if (any(plan_.freezes, at)) {
        if (auto last = lastSent_.find(nameOf(sentence)); last != lastSent_.end()) {
            sentence = last->second;
            ++repeated_;
        }
        return;
    }
    if (any(plan_.outages, at) && loseFix(sentence))
        ++withoutFix_;
    else if (plan_.jitterMetres > 0 && scatter(sentence))
        ++moved_;
    if (!plan_.freezes.empty())
        lastSent_[std::string(nameOf(sentence))] = sentence;
}

bool FixFaults::loseFix(std::string& sentence) {
    std::string_view type = SentenceTypeOf(sentence);
    std::vector<std::string> fields = SplitFields(BodyOf(sentence));
    // As receivers say it: no position, speed or course, the status and modes "no fix".
    if (type == "RMC") {
        set(fields, 2, "V");
        emptied(fields, {3, 4, 5, 6, 7, 8});
        set(fields, 12, "N");
    } else if (type == "GGA") {
        emptied(fields, {2, 3, 4, 5, 8, 9, 11});
        set(fields, 6, "0");
        set(fields, 7, "00");
    } else if (type == "GLL") {
        emptied(fields, {1, 2, 3, 4});
        set(fields, 6, "V");
        set(fields, 7, "N");
    } else if (type == "GNS") {
        emptied(fields, {2, 3, 4, 5, 8, 9, 10});
        if (fields.size() > 6)
            std::fill(fields[6].begin(), fields[6].end(), 'N');
        set(fields, 7, "00");
    } else if (type == "VTG") {
        emptied(fields, {1, 3, 5, 7});
        set(fields, 9, "N");
    } else if (type == "GSA") {
        set(fields, 2, "1");
        emptied(fields, {3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17});
    } else {
        return false;
    }
    sentence = FrameSentence(JoinFields(fields));
    return true;
}

bool FixFaults::scatter(std::string& sentence) {
    std::optional<size_t> first = positionField(SentenceTypeOf(sentence));
    std::vector<std::string> fields = SplitFields(BodyOf(sentence));
    if (!first || fields.size() < *first + 4 || fields[*first].empty() ||
        fields[*first + 2].empty())
        return false;
    std::string& lat = fields[*first];
    std::string& ns = fields[*first + 1];
    std::string& lon = fields[*first + 2];
    std::string& ew = fields[*first + 3];
    // One draw a record: its sentences all say the same position.
    std::string key = std::to_string(elapsed_) + lat + ns + lon + ew;
    if (key != noiseKey_) {
        noiseKey_ = key;
        // Two Gaussian numbers from two uniform ones (Box and Muller), the same everywhere.
        double radius = std::sqrt(-2 * std::log(1 - draw())) * plan_.jitterMetres;
        double angle = 2 * std::numbers::pi * draw();
        north_ = radius * std::cos(angle);
        east_ = radius * std::sin(angle);
    }
    double latMinutes = SignedMinutesOfArc(lat, ns) + north_ / kMetresPerMinute;
    latMinutes = std::clamp(latMinutes, -90.0 * 60, 90.0 * 60);
    double cosLat = std::max(std::cos(latMinutes / 60 * std::numbers::pi / 180), 1e-6);
    double lonMinutes = SignedMinutesOfArc(lon, ew) + east_ / (kMetresPerMinute * cosLat);
    lonMinutes = std::remainder(lonMinutes, 360.0 * 60);
    lat = DegreesText(latMinutes / 60, 2, std::clamp(decimalsOf(lat), 1, 8));
    lon = DegreesText(lonMinutes / 60, 3, std::clamp(decimalsOf(lon), 1, 8));
    ns = latMinutes < 0 ? "S" : "N";
    ew = lonMinutes < 0 ? "W" : "E";
    sentence = FrameSentence(JoinFields(fields));
    return true;
}

std::string FixFaults::summary() const {
    std::string said;
    auto say = [&said](bool asked, long count, const char* what) {
        if (asked)
            said += ", " + std::to_string(count) + " " + what;
    };
    say(!plan_.outages.empty(), withoutFix_, "without a fix");
    say(!plan_.freezes.empty(), repeated_, "repeated");
    say(plan_.jitterMetres > 0, moved_, "moved");
    return said;
}

} // namespace korvel

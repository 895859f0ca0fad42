#include "output/sentence_faults.h"

#include <cstdio>

namespace korvel {

namespace {

// The checksum written after '*' made wrong (the last hex digit moved on by one), or a wrong one
// added to a sentence that had none.
void spoilChecksum(std::string& sentence) {
    size_t star = sentence.rfind('*');
    if (star != std::string::npos && star + 3 == sentence.size()) {
        char& last = sentence.back();
        static const char hex[] = "0123456789ABCDEF";
        int value = last >= 'A' && last <= 'F'   ? last - 'A' + 10
                    : last >= 'a' && last <= 'f' ? last - 'a' + 10
                                                 : last - '0';
        last = hex[(value + 1) & 15];
        return;
    }
    unsigned checksum = 0;
    for (size_t i = 1; i < sentence.size(); ++i)
        checksum ^= static_cast<unsigned char>(sentence[i]);
    char text[4];
    std::snprintf(text, sizeof text, "*%02X", (checksum ^ 0xFF) & 0xFF);
    sentence += text;
}

} // namespace

SentenceFaults::SentenceFaults(FaultRates rates, std::uint64_t seed)
    : rates_(rates), seed_(seed), random_(seed) {}

double SentenceFaults::draw() {
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

bool SentenceFaults::apply(std::string& sentence) {
    // Every sentence takes the same draws whatever the rates, so that a seed marks the same
    // sentences when only one rate changes.
    double drop = draw(), corrupt = draw(), garble = draw(), cut = draw();
    double where = draw(), what = draw();
    if (drop < rates_.drop) {
        ++dropped_;
        return false;
    }
    if (corrupt < rates_.corrupt) {
        spoilChecksum(sentence);
        ++corrupted_;
    }
    if (garble < rates_.garble) {
        // One to three printable bytes, somewhere after the '$'.
        std::uint64_t bits = static_cast<std::uint64_t>(what * 0x1.0p53);
        for (int n = 0, count = 1 + static_cast<int>(bits % 3); n < count; ++n) {
            bits /= 3;
            size_t at = 1 + static_cast<size_t>(where * static_cast<double>(sentence.size()));
            sentence.insert(std::min(at, sentence.size()), 1, static_cast<char>(' ' + bits % 95));
            bits /= 95;
        }
        ++garbled_;
    }
    if (cut < rates_.cut && sentence.size() > 1) {
        // Cut off part-way: at least the first byte stays, at least the last one goes.
        sentence.resize(1 + static_cast<size_t>(where * static_cast<double>(sentence.size() - 1)));
        ++cut_;
    }
    return true;
}

std::string SentenceFaults::summary() const {
    return std::to_string(dropped_) + " dropped, " + std::to_string(corrupted_) + " corrupted, " +
           std::to_string(cut_) + " cut, " + std::to_string(garbled_) + " garbled";
}

} // namespace korvel

#include "output/sentence_faults.h"

#include "replay/sentence.h"

namespace korvel {

namespace {

// The checksum made wrong: its last hex digit moved on by one; a sentence that had none gets
// its right one so moved.
void spoilChecksum(std::string& sentence) {
    if (sentence.empty())
        return;
    size_t star = sentence.rfind('*');
    if (star == std::string::npos || star + 3 != sentence.size())
        sentence = sentence.substr(0, 1) + FrameSentence(sentence.substr(1)).substr(1);
    char& last = sentence.back();
    last = last == '9' ? 'A' : last == 'F' || last == 'f' ? '0' : static_cast<char>(last + 1);
}

} // namespace

SentenceFaults::SentenceFaults(FaultRates rates, std::uint64_t seed)
    : rates_(rates), seed_(seed), fix_(rates.fix, seed), random_(seed) {}

double SentenceFaults::draw() {
    return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

bool SentenceFaults::apply(std::string& sentence) {
    if (rates_.fix.any())
        fix_.apply(sentence);
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
           std::to_string(cut_) + " cut, " + std::to_string(garbled_) + " garbled" + fix_.summary();
}

} // namespace korvel

#include "replay/text_sentences.h"

#include "replay/sentence.h"
#include "text/conversions.h"

#include <cstring>

namespace korvel {

namespace {

// What a TXT's text field holds at most: 82 less "$GPTXT,nn,nn,07,", "*hh" and CR LF.
constexpr size_t kMostText = 61;
// Two digits for the count: a message has at most 99 sentences.
constexpr size_t kMostSentences = 99;
constexpr char kHex[] = "0123456789ABCDEF";

bool reserved(unsigned char c) {
    return c < 0x20 || c >= 0x7F || std::strchr("$*!,\\^~", c) != nullptr;
}

bool twoDigitField(std::string_view field) {
    return field.size() == 2 && DigitsAt(field, 0, 2);
}

} // namespace

std::vector<std::string> TextSentences(std::string_view text) {
    std::vector<std::string> parts(1);
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        std::string code =
            reserved(byte) ? std::string{'^', kHex[byte >> 4], kHex[byte & 15]} : std::string(1, c);
        if (parts.back().size() + code.size() > kMostText) {
            if (parts.size() == kMostSentences)
                break; // some 6,000 characters: more than any marker a user types
            parts.emplace_back();
        }
        parts.back() += code;
    }
    std::vector<std::string> sentences;
    for (size_t i = 0; i < parts.size(); ++i)
        sentences.push_back(
            FrameSentence("GPTXT," + TwoDigits(static_cast<long long>(parts.size())) + "," +
                          TwoDigits(static_cast<long long>(i + 1)) + ",07," + parts[i]));
    return sentences;
}

void ReadTextSentence(std::string_view line, std::string& text) {
    // The count, the number, the kind, and the text up to the checksum.
    std::string_view fields[5];
    FieldViews(line, fields);
    if (!twoDigitField(fields[1]) || !twoDigitField(fields[2]) || !twoDigitField(fields[3])) {
        text = Mid(line, 8);
        return;
    }
    std::string_view part = fields[4];
    if (fields[2] == "01")
        text.clear();
    for (size_t i = 0; i < part.size(); ++i) {
        int high = i + 2 < part.size() ? ChecksumDigit(part[i + 1]) : -1,
            low = i + 2 < part.size() ? ChecksumDigit(part[i + 2]) : -1;
        if (part[i] == '^' && high >= 0 && low >= 0) {
            text += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            text += part[i];
        }
    }
}

} // namespace korvel

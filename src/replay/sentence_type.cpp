#include "replay/sentence_type.h"

#include "text/byte_search.h"
#include "text/conversions.h"

#include <cmath>

namespace korvel {

namespace {

bool isTalkerLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// "$" and a talker at the start of line; what follows is the type and the rest.
bool talkerAt(std::string_view line, size_t at) {
    return line.size() >= at + 3 && line[at] == '$' && isTalkerLetter(line[at + 1]) &&
           isTalkerLetter(line[at + 2]);
}

// A named type must end where the sentence's name ends: "$GNRMCH" is not an RMC.
bool typeBegins(std::string_view rest, std::string_view type) {
    if (rest.size() < type.size())
        return false;
    // Letter by letter: a library compare costs more than the three letters it compares.
    for (size_t i = 0; i < type.size(); ++i)
        if (rest[i] != type[i])
            return false;
    size_t end = type.size();
    return type.empty() || end == rest.size() || rest[end] == ',' || rest[end] == '*';
}

// The three-letter type of the sentence whose "$" is at `at`: empty for a longer name.
std::string_view typeAt(std::string_view line, size_t at) {
    size_t end = at + 6;
    if (line.size() < end || (line.size() > end && line[end] != ',' && line[end] != '*'))
        return {};
    return line.substr(at + 3, 3);
}

} // namespace

bool IsSentence(std::string_view line, std::string_view type) {
    return talkerAt(line, 0) && typeBegins(line.substr(3), type);
}

size_t FirstSentenceAt(std::string_view line) {
    size_t at = 0;
    while (at < line.size() && !talkerAt(line, at))
        at = FindByte(line, at + 1, '$');
    return at < line.size() ? at : std::string_view::npos;
}

bool IsEncapsulatedSentence(std::string_view line) {
    return line.size() >= 3 && line[0] == '!' && isTalkerLetter(line[1]) && isTalkerLetter(line[2]);
}

std::string_view SentenceTypeOf(std::string_view line) {
    return talkerAt(line, 0) ? typeAt(line, 0) : std::string_view();
}

template <bool encapsulated> LineSentences SentencesOfLine(std::string_view line) {
    LineSentences found;
    // Encapsulated sentences are looked for only where asked: a second search on every line.
    constexpr char kOther = encapsulated ? '!' : '$';
    for (size_t at = FindEither(line, 0, '$', kOther); at < line.size();
         at = FindEither(line, at + 1, '$', kOther)) {
        if (encapsulated && line[at] == '!') {
            if (found.first != std::string_view::npos && found.second == std::string_view::npos &&
                IsEncapsulatedSentence(line.substr(at)))
                found.second = at;
            continue;
        }
        if (!talkerAt(line, at))
            continue;
        bool rmc;
        if (found.first == std::string_view::npos) {
            found.first = at;
            found.type = typeAt(line, at);
            rmc = found.type == "RMC";
        } else {
            if (found.second == std::string_view::npos)
                found.second = at;
            rmc = found.rmc == std::string_view::npos && typeBegins(line.substr(at + 3), "RMC");
        }
        if (rmc)
            found.rmc = at;
        if (found.rmc != std::string_view::npos && found.second != std::string_view::npos)
            break;
    }
    return found;
}

template LineSentences SentencesOfLine<false>(std::string_view);
template LineSentences SentencesOfLine<true>(std::string_view);

bool ContainsSentence(std::string_view line, std::string_view type) {
    return SentencesIn(line, {type}) != 0;
}

unsigned SentencesIn(std::string_view line, std::initializer_list<std::string_view> types) {
    unsigned found = 0;
    for (size_t at = FindByte(line, 0, '$'); at < line.size(); at = FindByte(line, at + 1, '$')) {
        if (!talkerAt(line, at))
            continue;
        unsigned bit = 1;
        for (std::string_view type : types) {
            if (typeBegins(line.substr(at + 3), type))
                found |= bit;
            bit <<= 1;
        }
    }
    return found;
}

double MinutesOfArc(std::string_view field) {
    // Nearly every position is digits with a point: read in one pass, its minutes as Val reads
    // them (their digits as one whole number, divided once).
    const char *p = field.data(), *end = p + field.size();
    unsigned long long number = 0, fraction = 0;
    unsigned digit;
    for (; p < end && (digit = static_cast<unsigned char>(*p - '0')) < 10; ++p)
        number = number * 10 + digit;
    size_t wholeDigits = static_cast<size_t>(p - field.data()), decimals = 0;
    if (p < end && *p == '.') {
        const char* point = ++p;
        for (; p < end && (digit = static_cast<unsigned char>(*p - '0')) < 10; ++p)
            fraction = fraction * 10 + digit;
        decimals = static_cast<size_t>(p - point);
    }
    if (p == end && wholeDigits >= 2 && wholeDigits + decimals <= 15) {
        static constexpr unsigned long long kTens[] = {
            1,           10,           100,           1000,          10000,
            100000,      1000000,      10000000,      100000000,     1000000000,
            10000000000, 100000000000, 1000000000000, 10000000000000};
        double minutes = static_cast<double>(number % 100 * kTens[decimals] + fraction) /
                         static_cast<double>(kTens[decimals]);
        return static_cast<double>(number / 100) * 60 + minutes;
    }
    size_t point = field.find('.');
    size_t minutesStart = (point == std::string_view::npos ? field.size() : point);
    minutesStart = minutesStart >= 2 ? minutesStart - 2 : 0;
    return Val(field.substr(0, minutesStart)) * 60 + Val(field.substr(minutesStart));
}

double SignedMinutesOfArc(std::string_view field, std::string_view hemisphere) {
    double minutes = MinutesOfArc(field);
    return hemisphere == "S" || hemisphere == "W" ? -minutes : minutes;
}

std::string DegreesText(double degrees, int degreeDigits, int decimals) {
    double unitsPerMinute = std::pow(10.0, decimals);
    auto units = static_cast<long long>(std::llround(std::fabs(degrees) * 60 * unitsPerMinute));
    auto perDegree = static_cast<long long>(60 * unitsPerMinute);
    return Format(static_cast<double>(units / perDegree), degreeDigits == 2 ? "00" : "000") +
           Format(static_cast<double>(units % perDegree) / unitsPerMinute,
                  "00." + std::string(static_cast<size_t>(decimals), '0'));
}

} // namespace korvel

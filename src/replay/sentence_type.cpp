#include "replay/sentence_type.h"

#include "text/conversions.h"

namespace korvel {

namespace {

bool isTalkerLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

// A named type must end where the sentence's name ends: "$GNRMCH" is not an RMC.
bool sentenceAt(std::string_view line, size_t at, std::string_view type) {
    size_t end = at + 3 + type.size();
    if (line.size() < end || line[at] != '$' || !isTalkerLetter(line[at + 1]) ||
        !isTalkerLetter(line[at + 2]))
        return false;
    // Letter by letter: a library compare costs more than the three letters it compares.
    for (size_t i = 0; i < type.size(); ++i)
        if (line[at + 3 + i] != type[i])
            return false;
    return type.empty() || end == line.size() || line[end] == ',' || line[end] == '*';
}

} // namespace

bool IsSentence(std::string_view line, std::string_view type) {
    return sentenceAt(line, 0, type);
}

bool ContainsSentence(std::string_view line, std::string_view type) {
    return SentencesIn(line, {type}) != 0;
}

unsigned SentencesIn(std::string_view line, std::initializer_list<std::string_view> types) {
    unsigned found = 0;
    // A sentence mostly begins the line: the search is needed only beyond it.
    size_t at = line.starts_with('$') ? 0 : line.find('$');
    for (; at != std::string_view::npos; at = line.find('$', at + 1)) {
        unsigned bit = 1;
        for (std::string_view type : types) {
            if (sentenceAt(line, at, type))
                found |= bit;
            bit <<= 1;
        }
    }
    return found;
}

double MinutesOfArc(std::string_view field) {
    size_t point = field.find('.');
    size_t minutesStart = (point == std::string_view::npos ? field.size() : point);
    minutesStart = minutesStart >= 2 ? minutesStart - 2 : 0;
    return Val(field.substr(0, minutesStart)) * 60 + Val(field.substr(minutesStart));
}

} // namespace korvel

// Recognising a sentence by its type whatever the talker: "$GPRMC", "$GNRMC" and "$INRMC" are
// all RMC sentences. Proprietary sentences ("$PGRMM") are recognised by their whole name.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace korvel {

// The line begins with "$", a two-letter talker and type (three letters, such as "RMC").
bool IsSentence(std::string_view line, std::string_view type);
// Where the line's first sentence begins: at its start as nearly always, or after a prefix (a
// data logger's time stamp) or other bytes; npos where it holds none.
size_t FirstSentenceAt(std::string_view line);
// The line's first sentence is of that type, wherever it begins.
inline bool LeadsWithSentence(std::string_view line, std::string_view type) {
    size_t at = FirstSentenceAt(line);
    return at != std::string_view::npos && IsSentence(line.substr(at), type);
}
// The line begins with an encapsulated sentence: "!", a talker and its type ("!AIVDM").
bool IsEncapsulatedSentence(std::string_view line);
// The type of the sentence the line begins with ("RMC" of "$GPRMC,..."), empty when it begins
// with none or with a longer name.
std::string_view SentenceTypeOf(std::string_view line);
// Such a sentence begins anywhere in the line.
bool ContainsSentence(std::string_view line, std::string_view type);
// Where a line's first sentence begins and its type, where a second begins, and where its first
// RMC begins (npos where there is none), found in one look along the line: up to its first RMC
// and the sentence after the first.
struct LineSentences {
    size_t first = std::string_view::npos;
    std::string_view type;
    size_t second = std::string_view::npos;
    size_t rmc = std::string_view::npos;
};
// With encapsulated, a second sentence may also be an encapsulated one ("!AIVDM" behind a fix).
template <bool encapsulated = false> LineSentences SentencesOfLine(std::string_view line);
// The same for several types in one look at the line: bit i is set when types[i] is there.
unsigned SentencesIn(std::string_view line, std::initializer_list<std::string_view> types);

// Position in minutes of arc of a latitude (ddmm.mmm...) or longitude (dddmm.mmm...) field,
// whatever the number of decimals; the degree digits are those before the two whole minutes.
double MinutesOfArc(std::string_view field);
// The same with the hemisphere's sign: negative south of the equator and west of Greenwich.
double SignedMinutesOfArc(std::string_view field, std::string_view hemisphere);
// A coordinate's magnitude in degrees as a sentence carries it: ddmm.mmmm (degreeDigits 2) or
// dddmm.mmmm (3), with that many decimals of a minute (1 to 8).
std::string DegreesText(double degrees, int degreeDigits, int decimals = 4);

} // namespace korvel

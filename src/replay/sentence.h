// The sentence level: framing with the checksum and field extraction.
#pragma once

#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace korvel {

// The datum sentence added to the stream: the positions are WGS 84.
inline constexpr const char* kDatumSentence = "$PGRMM,WGS 84*06";
// What ends every sentence sent.
inline constexpr std::string_view kLineEnd = "\r\n";
// room becomes the sentence with its line end, written in one go into the room of the one
// sent before.
inline void PutWithLineEnd(std::string& room, std::string_view sentence) {
    room.resize(sentence.size() + kLineEnd.size());
    std::memcpy(room.data(), sentence.data(), sentence.size());
    std::memcpy(room.data() + sentence.size(), kLineEnd.data(), kLineEnd.size());
}

// "$" + body + "*" + two upper-case hexadecimal digits of the XOR of the body's bytes.
std::string FrameSentence(std::string_view body);
// What the checksum of a recorded sentence (from its "$" or "!", blanks after it aside) says:
// it has none, or it is right or wrong.
enum class Checksum { None, Right, Wrong };
Checksum CheckChecksum(std::string_view sentence);
// The value of a checksum's digit, either case; -1 for another byte.
inline int ChecksumDigit(char c) {
    return c >= '0' && c <= '9'   ? c - '0'
           : c >= 'A' && c <= 'F' ? c - 'A' + 10
           : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                  : -1;
}
// The last three bytes of a sentence written up to them: "*" and the checksum of the body.
void CloseWrittenSentence(std::string& sentence);

namespace sentence_parts {

// A part of a sentence copied into place. Most are short, or literals of a known size: copied
// without a library call, as every replayed record writes dozens of them.
inline char* put(char* at, std::string_view part) {
    const char* from = part.data();
    size_t n = part.size();
    if (n >= 8 && n <= 16) {
        std::memcpy(at, from, 8);
        std::memcpy(at + n - 8, from + n - 8, 8);
    } else if (n >= 4 && n < 8) {
        std::memcpy(at, from, 4);
        std::memcpy(at + n - 4, from + n - 4, 4);
    } else if (n < 4) {
        for (size_t i = 0; i < n; ++i)
            at[i] = from[i];
    } else {
        std::memcpy(at, from, n);
    }
    return at + n;
}
template <size_t N> char* put(char* at, const char (&literal)[N]) {
    std::memcpy(at, literal, N - 1);
    return at + N - 1;
}
inline size_t size(std::string_view part) {
    return part.size();
}
template <size_t N> constexpr size_t size(const char (&)[N]) {
    return N - 1;
}

} // namespace sentence_parts

// The sentence of parts ("$" and the body) closed with "*" and the checksum, written over the
// text the string held, whose room it reuses.
template <typename... Parts> void WriteSentence(std::string& sentence, const Parts&... parts) {
    sentence.resize((sentence_parts::size(parts) + ... + 3));
    char* at = sentence.data();
    ((at = sentence_parts::put(at, parts)), ...);
    CloseWrittenSentence(sentence);
}
// A recorded sentence without the blanks and tabs a logger left after its checksum, which a
// receiver's reader would take for part of the next sentence. Every line of a log passes here.
inline std::string_view WithoutBlanksAfterChecksum(std::string_view sentence) {
    size_t end = sentence.size();
    while (end > 0 && (sentence[end - 1] == ' ' || sentence[end - 1] == '\t'))
        --end;
    return end < sentence.size() && end >= 3 && sentence[end - 3] == '*' ? sentence.substr(0, end)
                                                                         : sentence;
}
// Field n (n >= 1) of a sentence, counting the first field after the identifier as 1.
// A field ended by neither "," nor "*" runs to the end of the line.
std::string ExtractField(std::string_view line, int n);
// The same, in place.
std::string_view FieldView(std::string_view line, int n);
// Fields 0 to fields.size() - 1 in place, as FieldView gives each, in one pass over the line.
void FieldViews(std::string_view line, std::span<std::string_view> fields);

} // namespace korvel

// The sentence level: framing with the checksum and field extraction.
#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace korvel {

// The datum sentence added to the stream: the positions are WGS 84.
inline constexpr const char* kDatumSentence = "$PGRMM,WGS 84*06";

// "$" + body + "*" + two upper-case hexadecimal digits of the XOR of the body's bytes.
std::string FrameSentence(std::string_view body);
// The sentence of parts ("$" and the body) closed with "*" and the checksum, written over the
// text the string held.
void WriteSentence(std::string& sentence, std::initializer_list<std::string_view> parts);
// Two upper-case hexadecimal digits of the XOR of the bytes of text.
std::string ChecksumHex(std::string_view text);
// Field n (n >= 1) of a sentence, counting the first field after the identifier as 1.
// A field ended by neither "," nor "*" runs to the end of the line.
std::string ExtractField(std::string_view line, int n);
// The same, in place.
std::string_view FieldView(std::string_view line, int n);
// Fields 0 to fields.size() - 1 in place, as FieldView gives each, in one pass over the line.
void FieldViews(std::string_view line, std::span<std::string_view> fields);

} // namespace korvel

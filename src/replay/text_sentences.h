// Free text in a log as TXT sentences: the marker a recording writes, which a replay sends on
// and shows.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace korvel {

// The TXT sentences of one message: as many as the text takes, numbered, each a valid sentence
// within the 82 characters of one; the bytes a sentence reserves (and any beyond ASCII) are
// written as "^" and their hexadecimal code.
std::vector<std::string> TextSentences(std::string_view text);
// The text of a TXT sentence (line starts with its "$"), into text: the start of a message, or
// the next part of the one text holds. A TXT of another layout, as older recordings wrote them,
// is all that follows its name.
void ReadTextSentence(std::string_view line, std::string& text);

} // namespace korvel

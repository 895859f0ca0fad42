// The file-list pattern made from what the user types into the filter box.
#pragma once

#include <string>

namespace korvel {

// "*" typed: the text and "*"; a "." typed: "*" put before the first "."; otherwise the text
// put before the "*" of every entry of patterns. Surrounding blanks are removed.
std::string TypedPattern(const std::string& typed, const std::string& patterns);

} // namespace korvel

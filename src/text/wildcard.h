// File-name patterns as the file list takes them: "*" any run of characters, "?" any one,
// several patterns separated by ";", letters matched whatever their case.
#pragma once

#include <string_view>

namespace korvel {

bool MatchesPattern(std::string_view name, std::string_view patterns);

} // namespace korvel

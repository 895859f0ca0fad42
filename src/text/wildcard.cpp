#include "text/wildcard.h"

#include <cctype>

namespace korvel {

namespace {

bool sameLetter(char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) ==
           std::tolower(static_cast<unsigned char>(b));
}

// Iterative matching with one backtrack point: linear in practice, never exponential.
bool matchesOne(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || sameLetter(pattern[p], name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace

bool MatchesPattern(std::string_view name, std::string_view patterns) {
    while (true) {
        size_t end = patterns.find(';');
        std::string_view one = patterns.substr(0, end);
        while (!one.empty() && one.front() == ' ')
            one.remove_prefix(1);
        while (!one.empty() && one.back() == ' ')
            one.remove_suffix(1);
        if (!one.empty() && matchesOne(name, one))
            return true;
        if (end == std::string_view::npos)
            return false;
        patterns.remove_prefix(end + 1);
    }
}

} // namespace korvel

#include "files/typed_filter.h"

#include "text/conversions.h"

namespace korvel {

std::string TypedPattern(const std::string& typed, const std::string& patterns) {
    std::string result;
    if (typed.find('*') != std::string::npos) {
        result = typed + "*";
    } else if (size_t dot = typed.find('.'); dot != std::string::npos) {
        result = typed.substr(0, dot) + "*" + typed.substr(dot);
    } else {
        // Each entry's "*" stands before its "."; the typed text goes in front of it.
        size_t start = 0;
        while (start <= patterns.size()) {
            size_t end = patterns.find(';', start);
            std::string entry = patterns.substr(start, end - start);
            size_t dot = entry.find('.');
            if (!typed.empty() && dot != std::string::npos && dot > 0)
                entry.replace(dot - 1, 1, typed + "*");
            result += entry;
            if (end == std::string::npos)
                break;
            result += ";";
            start = end + 1;
        }
    }
    return Trim(result);
}

} // namespace korvel

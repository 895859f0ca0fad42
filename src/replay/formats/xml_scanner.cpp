#include "replay/formats/xml_scanner.h"

#include <algorithm>

namespace korvel {

namespace {

// A tag longer than this is no tag of a track: what follows is kept out of memory.
constexpr size_t kLongestTag = 64 * 1024;

bool blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view withoutPrefix(std::string_view name) {
    size_t colon = name.rfind(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

} // namespace

void XmlScanner::feed(std::string_view bytes, Events& events) {
    size_t i = 0;
    while (i < bytes.size()) {
        std::string_view rest = bytes.substr(i);
        switch (in_) {
        case In::Text: {
            size_t open = rest.find('<');
            if (open != 0)
                events.text(rest.substr(0, open));
            if (open == std::string_view::npos)
                return;
            rest.remove_prefix(open + 1);
            i += open + 1;
            if (rest.starts_with("!--")) {
                in_ = In::Comment;
                i += 3;
            } else if (rest.starts_with("![CDATA[")) {
                in_ = In::CData;
                i += 8;
            } else {
                in_ = In::Tag;
                tag_.clear();
            }
            break;
        }
        case In::Tag: {
            size_t close = rest.find('>');
            std::string_view part = rest.substr(0, close);
            tag_.append(part.substr(0, kLongestTag - std::min(kLongestTag, tag_.size())));
            if (close == std::string_view::npos)
                return;
            i += close + 1;
            in_ = In::Text;
            tag(events);
            break;
        }
        case In::Comment: {
            size_t close = rest.find("-->");
            if (close == std::string_view::npos)
                return;
            i += close + 3;
            in_ = In::Text;
            break;
        }
        case In::CData: {
            size_t close = rest.find("]]>");
            events.text(rest.substr(0, close));
            if (close == std::string_view::npos)
                return;
            i += close + 3;
            in_ = In::Text;
            break;
        }
        }
    }
}

void XmlScanner::tag(Events& events) {
    std::string_view markup = tag_;
    if (markup.empty() || markup[0] == '?' || markup[0] == '!')
        return; // a declaration, a processing instruction, a document type
    if (markup[0] == '/') {
        markup.remove_prefix(1);
        size_t end = 0;
        while (end < markup.size() && !blank(markup[end]))
            ++end;
        events.end(withoutPrefix(markup.substr(0, end)));
        return;
    }
    bool empty = markup.back() == '/';
    if (empty)
        markup.remove_suffix(1);
    size_t end = 0;
    while (end < markup.size() && !blank(markup[end]))
        ++end;
    std::string_view name = withoutPrefix(markup.substr(0, end));
    events.start(name, markup.substr(end));
    if (empty)
        events.end(name);
}

std::string_view Attribute(std::string_view attributes, std::string_view name) {
    for (size_t at = attributes.find(name); at != std::string_view::npos;
         at = attributes.find(name, at + 1)) {
        if (at > 0 && !blank(attributes[at - 1]))
            continue;
        size_t i = at + name.size();
        while (i < attributes.size() && blank(attributes[i]))
            ++i;
        if (i >= attributes.size() || attributes[i] != '=')
            continue;
        ++i;
        while (i < attributes.size() && blank(attributes[i]))
            ++i;
        if (i >= attributes.size() || (attributes[i] != '"' && attributes[i] != '\''))
            continue;
        size_t close = attributes.find(attributes[i], i + 1);
        if (close == std::string_view::npos)
            return {};
        return attributes.substr(i + 1, close - i - 1);
    }
    return {};
}

} // namespace korvel

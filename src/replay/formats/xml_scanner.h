// The elements and character data of an XML document fed to it as a stream of bytes in pieces
// of any size, for the track formats whose points are markup (GPX, KML): an element, a comment
// or a text may run across any number of lines and pieces, and a whole document may stand on
// one line. Entities are left as written; a position, a height or a time holds none.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

class XmlScanner {
  public:
    struct Events {
        virtual ~Events() = default;
        // Names come without their namespace prefix: "gx:coord" is "coord".
        virtual void start(std::string_view name, std::string_view attributes) = 0;
        virtual void end(std::string_view name) = 0;
        // Character data, line ends included, in as many pieces as it came in.
        virtual void text(std::string_view text) = 0;
    };

    void feed(std::string_view bytes, Events& events);

  private:
    void tag(Events& events);

    enum class In { Text, Tag, Comment, CData } in_ = In::Text;
    std::string tag_; // the markup of a tag read so far, without its "<" and ">"
};

// The value of an attribute in a tag's attribute text, in single or double quotes; empty when
// the tag has none of that name.
std::string_view Attribute(std::string_view attributes, std::string_view name);

} // namespace korvel

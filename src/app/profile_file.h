// The settings profile: "[Section]" lines, then "key=value" lines. Sections and keys are found
// whatever their case; every other line of the file, comments included, is kept as it was when
// the file is written back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace korvel {

class ProfileFile {
  public:
    // A missing or unreadable file gives an empty profile.
    static ProfileFile load(const std::string& path);
    // A missing file gives an empty profile; one that cannot be read, is no regular file or is
    // larger than kLargest gives none, and error says why.
    static std::optional<ProfileFile> read(const std::string& path, std::string& error);
    static constexpr size_t kLargest = 1 << 20;
    static ProfileFile parse(const std::string& text);

    // The stored text with surrounding blanks removed, or fallback when the key is missing.
    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) const;
    // The leading number of the stored text, whole (blanks skipped, a sign accepted, 0 when
    // there is none); fallback when the key is missing.
    long readInt(const std::string& section, const std::string& key, long fallback) const;
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    // Numbers are stored with a sign blank: 3 as " 3", -2 as "-2".
    void writeInt(const std::string& section, const std::string& key, long value);

    std::string text() const;
    // Writes a temporary file beside path and renames it over path, so that an interrupted
    // write leaves the previous file whole. On failure returns false and says why in error.
    bool save(const std::string& path, std::string& error) const;

  private:
    struct Line {
        std::string text;               // as found in the file, or as last written
        std::optional<std::string> key; // set for "key=value" lines
    };
    struct Section {
        std::string name;
        std::vector<Line> lines; // the header line first, when there is one
    };
    const Line* find(const std::string& section, const std::string& key) const;
    Section& sectionFor(const std::string& name);

    std::vector<Section> sections_; // the first holds the lines before any header
};

} // namespace korvel

// The track formats in the order in which the loader tells them apart, and the reader of each.
#pragma once

#include "replay/formats/track_reader.h"

#include <memory>
#include <string>
#include <string_view>

namespace korvel {

// Tells a track file's format from its first lines, fed one at a time.
class TrackFormatDetection {
  public:
    // True once the format is decided: at a line that names one, or at the first point line
    // of a fixed-column export (decided then even when its columns match no layout).
    bool look(std::string_view line);
    // The format's name, empty while undecided or when no layout matched.
    const std::string& format() const { return format_; }

  private:
    bool namedKorvel_ = false;
    std::string format_;
};

// A reader for a file of the named format, from its first line; none for an unknown name.
std::unique_ptr<TrackReader> MakeTrackReader(const std::string& format);

} // namespace korvel

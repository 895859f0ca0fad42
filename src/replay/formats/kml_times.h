// The times of a KML file's gx:Track elements, read by a second pass over the file that keeps
// pace with the first: a track gives all its times before its positions, and a file of
// millions of them need not hold them all.
#pragma once

#include "replay/formats/xml_scanner.h"
#include "text/line_reader.h"

#include <deque>
#include <string>
#include <utility>

namespace korvel {

class KmlTimes : private XmlScanner::Events {
  public:
    explicit KmlTimes(std::string path) : path_(std::move(path)) {}
    // The track, counted from 1 in the order of the file, whose times are asked for next.
    void enterTrack(int track);
    // The next time of that track; "" when it has no more.
    std::string next();

  private:
    void start(std::string_view name, std::string_view attributes) override;
    void end(std::string_view name) override;
    void text(std::string_view text) override;

    std::string path_;
    LineReader file_;
    XmlScanner scanner_;
    int entered_ = 0, wanted_ = 0; // the tracks the pass has entered, the one asked for
    bool inTrack_ = false, inWhen_ = false;
    std::string when_;
    // The times the pass has read and the first asked for has not taken, each with its track:
    // those of the track asked for, then at most those of one chunk of the next.
    std::deque<std::pair<int, std::string>> times_;
};

} // namespace korvel

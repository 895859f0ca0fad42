// What the readers of the markup formats (GPX, KML) share: the scanner fed chunk by chunk, the
// points of the current chunk collected, an element's text gathered up to its end.
#pragma once

#include "replay/formats/track_reader.h"
#include "replay/formats/xml_scanner.h"

namespace korvel {

class MarkupReader : public TrackReader, protected XmlScanner::Events {
  public:
    void read(std::string_view chunk, std::vector<TrackPoint>& points) override;
    bool readsChunks() const override { return true; }

  protected:
    // Gathers the text of the element just started, until stopGathering.
    void gather();
    // The text gathered, without white space around it.
    std::string gathered();
    void text(std::string_view text) override;
    // The next point starts a segment.
    void segmentStarts() { newSegment_ = true; }
    // A point of signed degrees, with its altitude in metres and its time when it has them,
    // listed as text; nothing when the degrees are no numbers on the globe.
    void addPoint(std::string_view lat, std::string_view lon, std::string_view altitude,
                  std::string_view time, std::string text);

  private:
    XmlScanner scanner_;
    std::vector<TrackPoint>* points_ = nullptr;
    bool gathering_ = false, newSegment_ = false;
    std::string text_;
};

// Whether a line holds the root element of that name: "<", the name (perhaps after a namespace
// prefix), then a blank, ">", "/" or the line's end.
bool HoldsRoot(std::string_view line, std::string_view name);

} // namespace korvel

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
    void add(TrackPoint point) { points_->push_back(std::move(point)); }

  private:
    XmlScanner scanner_;
    std::vector<TrackPoint>* points_ = nullptr;
    bool gathering_ = false;
    std::string text_;
};

// Whether a line holds the root element of that name: "<" and the name, followed by a blank,
// ">", "/" or the line's end.
bool HoldsRoot(std::string_view line, std::string_view name);
// The altitude text of a height in metres: the number without blanks, empty when it is none.
std::string AltitudeText(std::string_view metres);
// A point of signed degrees, when they are numbers on the globe.
bool SetDegrees(TrackFix& fix, std::string_view lat, std::string_view lon);

} // namespace korvel

// What every track format gives the replay: its points, one file of it read line by line.
// Loading, counting, the tick, the skips, the seeks, the segment jump and the altitude
// profile all take a file's points from its reader, so that a record means the same thing
// everywhere.
#pragma once

#include "replay/track_record.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel {

struct TrackPoint {
    TrackFix fix;
    std::string text; // what the list shows of it: its line, or its coordinates
};

// What the load's count and the altitude profile take of a point: its altitude in whole
// metres, absent when it has none, and whether it starts a segment. A line that only starts
// a segment ("N") is no point.
struct TrackHeight {
    std::optional<double> altitude;
    bool newSegment = false;
    bool point = true;
};

// Each on cache lines of its own: the load reads a large file on two cores with a reader each,
// and what a reader writes at every line would slow the other core down on a shared line.
class alignas(64) TrackReader {
  public:
    virtual ~TrackReader() = default;
    // The next line of the file: the points it holds or completes are appended, valid ones
    // only (a position that is no number or lies off the globe is no point).
    virtual void read(std::string_view line, std::vector<TrackPoint>& points) = 0;
    // Whether it takes the file as a stream instead, in chunks with their line ends
    // (LineReader::nextChunk), as the markup formats do: their lines may be of any length.
    virtual bool readsChunks() const { return false; }
    // The same, as little as the load needs of each point.
    virtual void readHeights(std::string_view line, std::vector<TrackHeight>& heights);
    // A reader that takes up the file at any line after its header, for a large file read
    // in stretches on two cores; none when a point depends on the lines before it.
    virtual std::unique_ptr<TrackReader> resumed() const { return nullptr; }
    // The file whose lines it is given, for a reader that reads ahead in it (the times of a
    // KML track come before their positions); without it, such a reader reads no times.
    virtual void readFrom(const std::string&) {}
    // The name the file gives the track being read, empty while it names none.
    const std::string& trackName() const { return trackName_; }
    // Whether the points carry their texts (the default): only the message list shows them.
    void keepTexts(bool kept) { keepTexts_ = kept; }

  protected:
    std::string trackName_;
    bool keepTexts_ = true;

  private:
    std::vector<TrackPoint> scratch_;
};

// The whole metres of a point's altitude, absent when it has none.
std::optional<double> WholeMetres(const std::optional<double>& altitude);

} // namespace korvel

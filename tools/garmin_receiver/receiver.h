// A Garmin receiver in its binary interface mode, as far as a track-log download needs one: it
// answers the product request, sends its track log packet by packet, each after the host's
// acknowledgement of the one before, and ends with the transfer-complete packet. It knows
// nothing of ports: bytes from the host go in, bytes to the host come out.
#pragma once

#include "garmin_receiver/packets.h"

#include <string>
#include <vector>

namespace korvel::simulated {

struct ReceiverScript {
    int points = 271;     // in two segments
    int pointSize = 21;   // 13 (no altitude), 21 or 24
    int silentAfter = -1; // points after which the receiver falls silent; -1: never
    int damaged = -1;     // the record sent damaged once, intact again when the host refuses it
    int missing = 0;      // records announced but never sent
};

class GarminReceiver {
  public:
    explicit GarminReceiver(const ReceiverScript& script);

    // Takes bytes from the host; returns the bytes the receiver sends in answer.
    std::string hear(const std::string& bytes);
    bool finished() const { return next_ > queue_.size(); }
    // How many DLE bytes went over the wire doubled so far.
    int doubledDles() const { return doubledDles_; }
    int records() const { return static_cast<int>(queue_.size()) - 2; }

    // The lines a host should write from the product description on, with CR LF, computed
    // from the points themselves.
    std::string expectedTrack() const;

    static const char* const kProduct;

  private:
    std::string send(unsigned char id, const std::string& data, int checksumError = 0);
    std::string answer(unsigned char id, const std::string& data);

    ReceiverScript script_;
    std::vector<GarminPoint> points_;
    std::vector<std::string> queue_; // records, header, points, transfer complete: id + data
    size_t next_ = 0;                // the queue's packet to send on the next acknowledgement
    std::string input_;              // the host's bytes not yet a whole packet
    int doubledDles_ = 0;
    bool damageDone_ = false;
};

} // namespace korvel::simulated

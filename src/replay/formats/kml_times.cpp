#include "replay/formats/kml_times.h"

#include "text/conversions.h"

namespace korvel {

namespace {
// What is kept of a time's text, white space around it included, as of any element's.
constexpr size_t kLongestTime = 4096;
} // namespace

void KmlTimes::enterTrack(int track) {
    wanted_ = track;
    if (!file_.isOpen())
        file_.open(path_);
}

std::string KmlTimes::next() {
    for (;;) {
        while (!times_.empty() && times_.front().first < wanted_)
            times_.pop_front();
        if (!times_.empty()) {
            if (times_.front().first > wanted_)
                return ""; // the track asked for has given all its times
            std::string time = std::move(times_.front().second);
            times_.pop_front();
            return time;
        }
        if (entered_ > wanted_ || file_.eof())
            return "";
        scanner_.feed(file_.nextChunk(), *this);
    }
}

void KmlTimes::start(std::string_view name, std::string_view) {
    if (name == "Track") {
        ++entered_;
        inTrack_ = true;
    } else if (name == "when" && inTrack_ && entered_ >= wanted_) {
        inWhen_ = true;
        when_.clear();
    }
}

void KmlTimes::end(std::string_view name) {
    if (name == "Track") {
        inTrack_ = false;
    } else if (name == "when" && inWhen_) {
        times_.emplace_back(entered_, std::string(TrimWhiteSpace(when_)));
        inWhen_ = false;
    }
}

void KmlTimes::text(std::string_view text) {
    if (inWhen_)
        when_.append(text.substr(0, kLongestTime - std::min(kLongestTime, when_.size())));
}

} // namespace korvel

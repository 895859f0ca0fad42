// Where a replay's sentences go as it reads them, and the latest fix sentences that a pause, a
// recording and manual mode take up again.
#pragma once

#include <string>
#include <string_view>

namespace korvel {

class SentenceSink {
  public:
    virtual ~SentenceSink() = default;
    // A sentence of the stream, without its CR LF.
    virtual void send(std::string_view sentence) = 0;
    // A line of what the record shows beside its sentences, for whoever looks.
    virtual void note(std::string_view line) = 0;
};

// The newest sentences of the stream, whoever made them: a log, a track or manual mode.
struct LatestSentences {
    std::string rmc, gga, vtg;
    std::string text; // of the latest TXT sentence, from its fourth field on
};

} // namespace korvel

// Where a run without a window sends its sentences: moved in time where the run says (--now),
// then with their CR LF to every destination. Nothing is shown.
#pragma once

#include "output/outputs.h"
#include "replay/sentence_sink.h"

#include <functional>
#include <string>

namespace korvel {

class OutputSink : public SentenceSink {
  public:
    explicit OutputSink(Outputs& outputs) : outputs_(outputs) {}

    // Given every sentence before it leaves, without its CR LF, to change it; false keeps it
    // from leaving.
    std::function<bool(std::string&)> beforeSend;

    void send(std::string_view sentence) override;
    void note(std::string_view) override {}

  private:
    Outputs& outputs_;
    std::string room_; // of the sentence sent before
};

// A destination that cannot take the stream, on standard error.
void SayFailure(const OutputFailure& failure);
// The destinations that failed since this was last asked, on standard error.
void SayFailures(Outputs& outputs);

} // namespace korvel

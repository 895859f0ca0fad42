#include "cli/output_sink.h"

#include "replay/sentence.h"

#include <iostream>

namespace korvel {

void OutputSink::send(std::string_view sentence) {
    if (beforeSend) {
        room_.assign(sentence);
        if (!beforeSend(room_))
            return;
        room_ += kLineEnd;
    } else {
        PutWithLineEnd(room_, sentence);
    }
    outputs_.send(room_);
}

void SayFailure(const OutputFailure& failure) {
    std::cerr << "korvel: " << failure.title << ": " << failure.text << "\n";
}

void SayFailures(Outputs& outputs) {
    if (outputs.newFailures())
        for (const OutputFailure& failure : outputs.takeFailures())
            SayFailure(failure);
}

} // namespace korvel

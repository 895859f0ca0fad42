#include "cli/progress.h"

#include <cstdio>
#include <unistd.h>

namespace korvel {

Progress::Progress(bool wanted)
    : shown_(wanted && isatty(STDERR_FILENO) == 1), start_(std::chrono::steady_clock::now()),
      last_(start_) {}

void Progress::update(long record, long records) {
    auto now = std::chrono::steady_clock::now();
    if (shown_ && now - last_ >= std::chrono::milliseconds(500)) {
        last_ = now;
        show(record, records);
    }
}

void Progress::end(long record, long records) {
    if (!shown_)
        return;
    show(record, records);
    std::fputs("\n", stderr);
}

void Progress::show(long record, long records) {
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    double rate = seconds > 0 ? static_cast<double>(record) / seconds : 0.0;
    if (records < 0)
        std::fprintf(stderr, "\rkorvel: record %ld, %.0f records/s  ", record, rate);
    else
        std::fprintf(stderr, "\rkorvel: record %ld of %ld (%ld %%), %.0f records/s  ", record,
                     records, records > 0 ? record * 100 / records : 0L, rate);
    std::fflush(stderr);
}

} // namespace korvel

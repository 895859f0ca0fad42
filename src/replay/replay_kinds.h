// The kinds a replay tells apart: the file it plays and why it stops.
#pragma once

namespace korvel {

// What the replay file holds, as its first line that tells says.
enum class FileKind {
    Log,     // an NMEA log
    Track,   // a track file of one of the formats read
    Unknown, // nothing that tells yet: neither
};

enum class StopReason {
    EndOfFile,           // the last record was sent: the replay loops when Lop is checked
    Stop,                // the user or the run ends it: the message list is cleared
    StopKeepingMessages, // it cannot go on: the message list keeps what says why
};

} // namespace korvel

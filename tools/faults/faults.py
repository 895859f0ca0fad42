# Ten deliberate faults in the source, each a replacement of one text by another:
#   faults.py list | apply NAME
import sys

FAULTS = [
    ("checksum", "src/replay/sentence.cpp", "unsigned x = static_cast<unsigned>(wide & 0xFF);",
     "unsigned x = static_cast<unsigned>(wide & 0xFF) + 1u;"),
    ("hemisphere", "src/replay/track_record.cpp",
     'fix.latHemisphere = latDegrees < 0 ? "S" : "N";', 'fix.latHemisphere = latDegrees < 0 ? "N" : "S";'),
    ("skip", "src/form/transport.cpp", "SkipRecords(10);", "SkipRecords(11);"),
    ("crlf", "src/replay/sentence.h", 'kLineEnd = "\\r\\n";', 'kLineEnd = "\\n";'),
    ("garmin-offset", "src/garmin/track_point.cpp", "word(hexText, 5, lon);", "word(hexText, 6, lon);"),
    ("segment", "src/replay/replay_step.cpp", "if (point && point->fix.newSegment)",
     "if (point && point->fix.newSegment && false)"),
    ("summer-day", "src/form/date_time_display.cpp", "if (month == 3 && day - dayOfWeek > 23)",
     "if (month == 3 && day - dayOfWeek > 24)"),
    ("rename-overwrites", "src/form/rename_delete.cpp",
     "name.find('/') != std::string::npos || fs::exists(target, ec)", "name.find('/') != std::string::npos"),
    ("filter-case", "src/text/wildcard.cpp",
     "return std::tolower(static_cast<unsigned char>(a)) ==\n           std::tolower(static_cast<unsigned char>(b));",
     "return a == b;"),
    ("tcp-client", "src/output/tcp_server.cpp",
     "for (size_t k = 0; k < clients_.size();) {", "for (size_t k = 1; k < clients_.size();) {"),
]

if sys.argv[1] == "list":
    print("\n".join(name for name, *_ in FAULTS))
else:
    name, path, old, new = next(f for f in FAULTS if f[0] == sys.argv[2])
    text = open(path).read()
    if old not in text:
        sys.exit(f"faults.py: {name}: the text to change is no longer in {path}")
    open(path, "w").write(text.replace(old, new, 1))

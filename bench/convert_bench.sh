#!/usr/bin/env bash
# Converting a 100,000-record log to standard output with --interval max: the target is about
# a second. Writes the log, times the conversion, checks every record arrived, and fails when
# the time exceeds the budget.
set -euo pipefail
korvel=${1:-build/test/korvel}
budget_ms=${BUDGET_MS:-1500}
log=$(mktemp --suffix=.log)
trap 'rm -f "$log"' EXIT
/usr/bin/python3 - "$log" <<'PY'
import sys
from functools import reduce
def frame(body): return "$%s*%02X" % (body, reduce(lambda a, c: a ^ ord(c), body, 0))
with open(sys.argv[1], "w", newline="") as out:
    for i in range(100000):
        t = "%02d%02d%02d" % (i // 3600 % 24, i // 60 % 60, i % 60)
        out.write(frame("GPRMC," + t + ",A,4807.038,N,01131.000,E,022.4,084.4,230394,,") + "\r\n")
        out.write(frame("GPGGA," + t + ",4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\r\n")
PY
start=$(date +%s%N)
lines=$("$korvel" replay "$log" --port none --interval max --echo --sentences RMC,GGA \
    --ini /nonexistent.ini | wc -l)
ms=$(( ($(date +%s%N) - start) / 1000000 ))
echo "100000 records: $lines sentences in $ms ms (budget $budget_ms ms)"
# Every record's RMC and GGA.
[ "$lines" -eq 200000 ] || { echo "FAILED: expected 200000 sentences"; exit 1; }
[ "$ms" -le "$budget_ms" ]

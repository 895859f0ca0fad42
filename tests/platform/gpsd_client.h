// gpsd, a real NMEA consumer, started on a source the test names; its first position report
// is what the test looks at.
#pragma once

#include <QJsonObject>
#include <QString>
#include <string>

namespace korvel::test {

struct GpsdFix {
    QJsonObject report; // empty when gpsd reported no position in time
    std::string log;    // what gpsd said, for a failure message
};

// Starts gpsd reading source (a device path or tcp://host:port), with its control socket and
// log in folder, and returns its first TPV report with a position (and an altitude, when
// withAltitude). The event loop runs meanwhile, so the form goes on sending.
GpsdFix FirstGpsdFix(const QString& source, const std::string& folder, bool withAltitude);

} // namespace korvel::test

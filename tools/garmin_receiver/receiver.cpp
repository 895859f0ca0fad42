#include "garmin_receiver/receiver.h"

#include <cmath>
#include <cstdio>
#include <ctime>

namespace korvel::simulated {

namespace {

constexpr unsigned char kAck = 0x06, kNak = 0x15, kCommand = 0x0A, kRecords = 0x1B, kPoint = 0x22,
                        kHeader = 0x63, kProductRequest = 0xFE, kProductData = 0xFF,
                        kTransferComplete = 0x0C;
constexpr long kEpoch = 631065600; // 31 December 1989 in seconds since 1970
const std::string kHeaderName("ACTIVE LOG\0", 11);

// One whole packet from the start of bytes, destuffed: id then data; "" while incomplete.
// consumed tells how many bytes it took.
std::string takePacket(const std::string& bytes, size_t& consumed) {
    size_t start = bytes.find('\x10');
    if (start == std::string::npos || start + 1 >= bytes.size()) {
        consumed = start == std::string::npos ? bytes.size() : start;
        return "";
    }
    std::string packet(1, bytes[start + 1]);
    for (size_t i = start + 2; i < bytes.size(); ++i) {
        if (bytes[i] != '\x10') {
            packet += bytes[i];
            continue;
        }
        if (i + 1 >= bytes.size())
            break;
        if (bytes[i + 1] == '\x03') {
            consumed = i + 2;
            // id, size, data, checksum: the data lies between size and checksum.
            return packet.size() >= 3 ? packet.substr(0, 1) + packet.substr(2, packet.size() - 3)
                                      : packet.substr(0, 1);
        }
        packet += '\x10'; // a doubled DLE
        ++i;
    }
    consumed = start;
    return "";
}

std::string position(double degrees, char positive, char negative, int digits) {
    // Back from the semicircles on the wire, as the host sees the position.
    double onWire = Semicircles(degrees) * 180.0 / 2147483648.0;
    long long tenThousandths = std::llround(std::fabs(onWire) * 600000);
    char text[48];
    std::snprintf(text, sizeof text, "%c%0*lld %07.4f", onWire < 0 ? negative : positive, digits,
                  tenThousandths / 600000, (tenThousandths % 600000) / 10000.0);
    return text;
}

} // namespace

const char* const GarminReceiver::kProduct = "eTrex Vista Software Version 3.60";

GarminReceiver::GarminReceiver(const ReceiverScript& script) : script_(script) {
    queue_.push_back(""); // the records packet, once the count is known
    queue_.push_back(std::string(1, static_cast<char>(kHeader)) + "\x01\xFF" + kHeaderName);
    for (int i = 0; i < script.points; ++i) {
        GarminPoint point;
        // Small steps north-east with times 16 s apart, so that DLE bytes turn up in every
        // field; the altitude climbs from below sea level, and one point has none.
        point.lat = 52.5 + i * 0.000731;
        point.lon = 13.25 + i * 0.00113;
        point.time = 660000000 + i * 16;
        point.altitude = i == 5 ? 1.0e25f : -20.0f + static_cast<float>(i) * 0.7f;
        point.newSegment = i == 0 || i == script.points / 2;
        points_.push_back(point);
        queue_.push_back(std::string(1, static_cast<char>(kPoint)) +
                         PointData(point, script.pointSize));
    }
    queue_.push_back(std::string(1, static_cast<char>(kTransferComplete)) + "\x06" + '\0');
    auto count = static_cast<unsigned>(queue_.size() - 2 + script.missing);
    queue_[0] = std::string(1, static_cast<char>(kRecords)) + static_cast<char>(count & 0xFF) +
                static_cast<char>(count >> 8);
}

std::string GarminReceiver::send(unsigned char id, const std::string& data, int checksumError) {
    std::string packet = GarminPacket(id, data, checksumError);
    doubledDles_ += static_cast<int>(packet.size() - data.size() - 6);
    return packet;
}

std::string GarminReceiver::hear(const std::string& bytes) {
    input_ += bytes;
    std::string out;
    size_t consumed = 0;
    for (std::string packet; !(packet = takePacket(input_, consumed)).empty();) {
        input_.erase(0, consumed);
        out += answer(static_cast<unsigned char>(packet[0]), packet.substr(1));
    }
    input_.erase(0, consumed);
    return out;
}

std::string GarminReceiver::answer(unsigned char id, const std::string& data) {
    auto nextPacket = [this] {
        const std::string& packet = queue_[next_++];
        // Records count from 1 after the records packet.
        bool damage = !damageDone_ && static_cast<int>(next_) - 1 == script_.damaged;
        damageDone_ = damageDone_ || damage;
        return send(static_cast<unsigned char>(packet[0]), packet.substr(1), damage ? 1 : 0);
    };
    if (id == kNak && next_ > 0 && next_ <= queue_.size() && !data.empty() &&
        data[0] == queue_[next_ - 1][0]) {
        --next_;
        return nextPacket();
    }
    if (id == kProductRequest) {
        std::string product = std::string("\x45\x01\x68\x01", 4) + kProduct + '\0' +
                              "VERBMAP Americas Autoroute Highway 2.00" + '\0';
        return send(kAck, std::string(1, static_cast<char>(id)) + '\0') +
               send(kProductData, product);
    }
    if (id == kCommand && next_ == 0)
        return send(kAck, std::string(1, static_cast<char>(id)) + '\0') + nextPacket();
    // The host acknowledges the packet sent last: the next one follows, unless the receiver
    // has fallen silent.
    bool acknowledged = id == kAck && next_ > 0 && next_ < queue_.size() && !data.empty() &&
                        data[0] == queue_[next_ - 1][0];
    long sentPoints = static_cast<long>(next_) - 2;
    if (!acknowledged || (script_.silentAfter >= 0 && sentPoints >= script_.silentAfter))
        return "";
    std::string packet = nextPacket();
    if (next_ == queue_.size())
        ++next_; // the transfer-complete packet is not acknowledged
    return packet;
}

std::string GarminReceiver::expectedTrack() const {
    // The host writes the header's printable characters, without its terminating NUL.
    std::string track = std::string(kProduct) +
                        "\r\nL  New Header: " + kHeaderName.substr(0, kHeaderName.find('\0')) +
                        "\r\n";
    for (const GarminPoint& point : points_) {
        if (point.newSegment)
            track += "N  New Track Segment\r\n";
        std::time_t moment = kEpoch + point.time;
        std::tm utc{};
        gmtime_r(&moment, &utc);
        char date[40];
        std::strftime(date, sizeof date, "%a %b %d %H:%M:%S %Y", &utc);
        track += "T  " + position(point.lat, 'N', 'S', 2) + " " + position(point.lon, 'E', 'W', 3) +
                 " " + date;
        if (script_.pointSize != 13) {
            double metres = point.altitude;
            track += metres >= 9.9e24 ? std::string(" ;1e25;")
                                      : " ;" + std::to_string(std::lround(metres)) + ";";
        }
        track += "\r\n";
    }
    return track;
}

} // namespace korvel::simulated

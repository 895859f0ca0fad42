#include "platform/qt/qt_serial_port.h"

#include "text/conversions.h"

#include <QThread>
#include <cerrno>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace korvel {

namespace {

// A device the user may not open: its group (dialout on Debian) may.
std::string howToGetAccess(const std::string& device) {
    struct stat status {};
    if (::access(device.c_str(), R_OK | W_OK) == 0 || errno != EACCES ||
        ::stat(device.c_str(), &status) != 0)
        return "";
    const group* owners = getgrgid(status.st_gid);
    if (!owners || status.st_gid == 0)
        return "";
    return std::string(" (the group ") + owners->gr_name + " may use it: sudo adduser $USER " +
           owners->gr_name + ", then log in again)";
}

} // namespace

QtSerialPort::QtSerialPort(std::function<std::string(int)> deviceFor)
    : deviceFor_(std::move(deviceFor)) {
    QObject::connect(&port_, &QSerialPort::readyRead, [this] {
        if (onReceive)
            onReceive();
    });
}

bool QtSerialPort::open(std::string& error) {
    if (port_.isOpen())
        return true;
    port_.setPortName(QString::fromStdString(deviceName()));
    // The settings are the baud rate followed by ",n,8,1".
    port_.setBaudRate(static_cast<qint32>(Val(settings_)));
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.open(QIODevice::ReadWrite))
        return true;
    error = deviceName() + ": " + port_.errorString().toStdString() + howToGetAccess(deviceName());
    return false;
}

void QtSerialPort::close() {
    if (!port_.isOpen())
        return;
    // The last sentences of a run still go out: closing would drop what waits to be written.
    // A device that takes nothing for a second is given up.
    while (port_.bytesToWrite() > 0 && port_.waitForBytesWritten(1000)) {
    }
    port_.close();
}

bool QtSerialPort::output(const std::string& bytes) {
    if (!port_.isOpen() || port_.error() == QSerialPort::ResourceError)
        return false;
    // A device that takes less than it is given (one that holds its line, or a slow rate)
    // would make what waits ever older and more: past a bound, a sentence is left out whole,
    // and the device gets the current ones once it takes bytes again.
    auto size = static_cast<qint64>(bytes.size());
    if (port_.bytesToWrite() > 0 && port_.bytesToWrite() + size > kMostWaiting)
        return true;
    return port_.write(bytes.data(), size) == size;
}

bool QtSerialPort::transmit(const std::string& bytes, int leadMs, int gapMs) {
    int pause = leadMs;
    for (char byte : bytes) {
        QThread::msleep(static_cast<unsigned long>(pause + gapMs));
        pause = 0;
        // Each byte leaves before the pause after it.
        if (!port_.isOpen() || port_.write(&byte, 1) != 1 || !port_.flush())
            return false;
    }
    return true;
}

bool QtSerialPort::drain(const std::function<bool()>& keepWaiting) {
    while (port_.isOpen() && port_.bytesToWrite() > 0) {
        if (port_.error() == QSerialPort::ResourceError)
            return false;
        if (!port_.waitForBytesWritten(100) && port_.bytesToWrite() > 0 && !keepWaiting())
            return false;
    }
    return port_.isOpen();
}

int QtSerialPort::inBufferCount() const {
    return static_cast<int>(port_.bytesAvailable());
}

int QtSerialPort::inputByte() {
    char byte = 0;
    return port_.getChar(&byte) ? static_cast<unsigned char>(byte) : -1;
}

} // namespace korvel

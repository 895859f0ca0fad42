// korvel_garmin_receiver: a simulated Garmin receiver to try a track-log download by hand.
//
//   korvel_garmin_receiver [--points N] [--size 13|21|24] [--silent-after N] [--damage N]
//                          [--missing N] [--expect FILE] [DEVICE]
//
// Without DEVICE it opens a pseudo-terminal and prints the path of its other end, for example
// /dev/pts/4: name that as COM2 in Korvel.ini ([Devices] COM2=/dev/pts/4), choose COM2 for the
// download and start it. With DEVICE it talks over that serial device. --expect writes the
// lines the downloaded file must hold from its third line on. It ends a second after the
// transfer is complete, printing how many records it sent and how many DLE bytes it doubled.
// --damage N sends record N (the track header is 1) with a wrong checksum once, and intact when
// the host refuses it; --missing N announces N records more than it sends.
#include "garmin_receiver/receiver.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <string>
#include <termios.h>
#include <unistd.h>

using korvel::simulated::GarminReceiver;
using korvel::simulated::ReceiverScript;

namespace {

int usage() {
    std::cerr << "usage: korvel_garmin_receiver [--points N] [--size 13|21|24] "
                 "[--silent-after N] [--damage N] [--missing N] [--expect FILE] [DEVICE]\n";
    return 2;
}

int openLine(const std::string& device) {
    int fd =
        device.empty() ? posix_openpt(O_RDWR | O_NOCTTY) : open(device.c_str(), O_RDWR | O_NOCTTY);
    if (fd < 0 || (device.empty() && (grantpt(fd) != 0 || unlockpt(fd) != 0)))
        return -1;
    termios raw{};
    if (tcgetattr(fd, &raw) == 0) {
        cfmakeraw(&raw);
        cfsetspeed(&raw, B9600);
        tcsetattr(fd, TCSANOW, &raw);
    }
    return fd;
}

bool writeAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return false;
        done += n > 0 ? static_cast<size_t>(n) : 0;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[]) {
    ReceiverScript script;
    std::string device, expect;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        bool valued = argument == "--points" || argument == "--size" ||
                      argument == "--silent-after" || argument == "--damage" ||
                      argument == "--missing" || argument == "--expect";
        if (valued && i + 1 >= argc)
            return usage();
        if (argument == "--points")
            script.points = std::atoi(argv[++i]);
        else if (argument == "--size")
            script.pointSize = std::atoi(argv[++i]);
        else if (argument == "--silent-after")
            script.silentAfter = std::atoi(argv[++i]);
        else if (argument == "--damage")
            script.damaged = std::atoi(argv[++i]);
        else if (argument == "--missing")
            script.missing = std::atoi(argv[++i]);
        else if (argument == "--expect")
            expect = argv[++i];
        else if (argument.starts_with("-") || !device.empty())
            return usage();
        else
            device = argument;
    }
    if (script.points < 1 || script.points > 60000 ||
        (script.pointSize != 13 && script.pointSize != 21 && script.pointSize != 24))
        return usage();
    GarminReceiver receiver(script);
    if (!expect.empty())
        std::ofstream(expect, std::ios::binary) << receiver.expectedTrack();

    int fd = openLine(device);
    if (fd < 0) {
        std::cerr << "korvel_garmin_receiver: " << (device.empty() ? "pseudo-terminal" : device)
                  << ": " << std::strerror(errno) << "\n";
        return 1;
    }
    std::cout << (device.empty() ? ptsname(fd) : device.c_str()) << std::endl;
    // Without a deadline it waits for the host for as long as it takes; after the transfer it
    // gives the host a second to read the last packet.
    int deadline = -1;
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        int ready = poll(&p, 1, deadline);
        if (ready == 0)
            break;
        char buffer[512];
        ssize_t n = ready > 0 ? read(fd, buffer, sizeof buffer) : -1;
        if (n < 0 && errno == EIO) {
            // Nobody has the other end open: not yet, or no more after the transfer.
            if (receiver.finished())
                break;
            usleep(50000);
            continue;
        }
        if (n < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (n <= 0)
            break;
        if (!writeAll(fd, receiver.hear(std::string(buffer, static_cast<size_t>(n)))))
            break;
        if (receiver.finished())
            deadline = 1000;
    }
    std::cout << receiver.records() << " records, " << receiver.doubledDles() << " doubled DLE"
              << std::endl;
    close(fd);
    return receiver.finished() ? 0 : 1;
}

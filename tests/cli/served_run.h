// The built program run to its end, or serving a replay to TCP clients, and clients of it, as
// the command line's tests run them.
#pragma once

#include <QHostAddress>
#include <QProcess>
#include <QStringList>
#include <QTcpSocket>
#include <memory>
#include <string>

namespace korvel::test {

class TempFolder;

// The log that comes with the program.
inline const QString kSample = QString(KORVEL_SOURCE_DIR) + "/Tracks/sample.log";

struct Finished {
    int code;
    std::string out, err;
};
// Runs the program to its end, with a file on its standard input when one is named.
Finished RunKorvel(const QStringList& arguments, const QString& input = {});

// A log of records of an RMC and a GGA each, written into folder; its path.
QString BigLog(const TempFolder& folder, int records);

// Lines with the line ends sentences leave with.
std::string Crlf(const std::string& lines);

// The program replaying file to the port named, echoing what it sent.
struct Replay {
    Replay(const QString& file, const QStringList& options);
    // The echo with the line ends sentences leave with.
    std::string echoed();
    // What it said on standard error so far.
    const std::string& said();
    QProcess process;
    std::string err;
};

// The program serving file to TCP clients, once it listens; a free port that another test took
// meanwhile is given up for the next. The port is in port.
std::unique_ptr<Replay> serving(const QString& file, const QStringList& options, int& port);

// A TCP client of the run; stalled: it reads nothing and takes little into its buffers.
std::unique_ptr<QTcpSocket> client(int port, bool stalled = false,
                                   const QHostAddress& host = QHostAddress::LocalHost);

// Reads from a client until its connection ends.
std::string readToEnd(QTcpSocket& socket, int timeoutMs);

} // namespace korvel::test

#include "cli/served_run.h"

#include "platform/run_until.h"
#include "replay/sentence.h"
#include "support/temp_folder.h"

namespace korvel::test {

Finished RunKorvel(const QStringList& arguments, const QString& input) {
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    process.start(KORVEL_BINARY, arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString()};
}

QString BigLog(const TempFolder& folder, int records) {
    std::string log;
    for (int i = 0; i < records; ++i) {
        std::string t = std::to_string(100000 + i % 60 + i / 60 * 100);
        log += FrameSentence("GPRMC," + t + ",A,3355.010,S,01824.220,W,000.0,084.4,151225,,,A") +
               "\r\n" +
               FrameSentence("GPGGA," + t + ",3355.010,S,01824.220,W,1,08,0.9,545.4,M,46.9,M,,") +
               "\r\n";
    }
    return QString::fromStdString(folder.write("big.log", log));
}

std::string Crlf(const std::string& lines) {
    std::string out;
    for (char ch : lines)
        out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return out;
}

Replay::Replay(const QString& file, const QStringList& options) {
    process.start(KORVEL_BINARY,
                  QStringList{"replay", file, "--echo", "--ini", "/nonexistent.ini"} + options);
}

std::string Replay::echoed() {
    return Crlf(process.readAllStandardOutput().toStdString());
}

const std::string& Replay::said() {
    err += process.readAllStandardError().toStdString();
    return err;
}

std::unique_ptr<Replay> serving(const QString& file, const QStringList& options, int& port) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        port = FreePort();
        auto run = std::make_unique<Replay>(
            file, QStringList{"--port", "TCP", "--tcp-port", QString::number(port)} + options);
        // Once the whole line is there: it says where.
        auto listening = [&] {
            size_t at = run->said().find("serving NMEA");
            return at != std::string::npos && run->said().find('\n', at) != std::string::npos;
        };
        RunUntil([&] { return listening() || run->process.state() == QProcess::NotRunning; },
                 10000);
        if (listening())
            return run;
        run->process.waitForFinished();
    }
    return nullptr;
}

std::unique_ptr<QTcpSocket> client(int port, bool stalled, const QHostAddress& host) {
    auto socket = std::make_unique<QTcpSocket>();
    if (stalled)
        socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    RunUntil(
        [&] {
            if (socket->state() == QAbstractSocket::UnconnectedState)
                socket->connectToHost(host, static_cast<quint16>(port));
            return socket->state() == QAbstractSocket::ConnectedState;
        },
        10000);
    if (stalled)
        socket->setReadBufferSize(1);
    return socket;
}

std::string readToEnd(QTcpSocket& socket, int timeoutMs) {
    std::string got;
    RunUntil(
        [&] {
            got += socket.readAll().toStdString();
            return socket.state() == QAbstractSocket::UnconnectedState;
        },
        timeoutMs);
    return got + socket.readAll().toStdString();
}

} // namespace korvel::test

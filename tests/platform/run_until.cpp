#include "platform/run_until.h"

#include <QTcpServer>

namespace korvel::test {

int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace korvel::test

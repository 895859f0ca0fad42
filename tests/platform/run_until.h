// Waiting for what real sockets, processes and devices do: the event loop runs meanwhile.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

namespace korvel::test {

// Runs the event loop until done() or the time is up; true when done.
template <class F> bool RunUntil(F done, int timeoutMs = 5000) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

// A TCP port that nothing listens on now.
int FreePort();

} // namespace korvel::test

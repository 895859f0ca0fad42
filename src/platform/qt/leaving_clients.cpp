#include "platform/qt/leaving_clients.h"

#include <QTimer>
#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace korvel {

void CloseClient(int descriptor) {
    char unread[4096];
    while (::recv(descriptor, unread, sizeof unread, MSG_DONTWAIT) > 0) {
    }
    ::close(descriptor);
}

LeavingClients::~LeavingClients() {
    for (auto& [descriptor, leaving] : leaving_)
        CloseClient(descriptor);
}

void LeavingClients::add(int descriptor, std::string rest, int withinMs) {
    Leaving& leaving = leaving_[descriptor];
    leaving.rest = std::move(rest);
    leaving.serial = ++added_;
    leaving.writable = std::make_unique<QSocketNotifier>(descriptor, QSocketNotifier::Write);
    QObject::connect(leaving.writable.get(), &QSocketNotifier::activated,
                     [this, descriptor] { writeRest(descriptor); });
    QTimer::singleShot(withinMs, &timers_, [this, descriptor, serial = leaving.serial] {
        if (auto it = leaving_.find(descriptor);
            it != leaving_.end() && it->second.serial == serial)
            close(descriptor);
    });
    writeRest(descriptor);
}

void LeavingClients::writeRest(int descriptor) {
    Leaving& leaving = leaving_.at(descriptor);
    ssize_t n = leaving.rest.empty() ? 0
                                     : ::send(descriptor, leaving.rest.data(), leaving.rest.size(),
                                              MSG_NOSIGNAL | MSG_DONTWAIT);
    if (n > 0)
        leaving.rest.erase(0, static_cast<size_t>(n));
    if (leaving.rest.empty() || (n < 0 && errno != EAGAIN && errno != EINTR))
        close(descriptor);
}

void LeavingClients::close(int descriptor) {
    auto it = leaving_.find(descriptor);
    if (it == leaving_.end())
        return;
    // The notifier may be the one whose signal is being handled.
    QSocketNotifier* notifier = it->second.writable.release();
    notifier->setEnabled(false);
    notifier->deleteLater();
    CloseClient(descriptor);
    leaving_.erase(it);
}

} // namespace korvel

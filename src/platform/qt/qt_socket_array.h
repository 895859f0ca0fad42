// The socket array on Qt: element 0 is a QTcpServer, every other element one client's socket.
#pragma once

#include "platform/socket_array.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <map>

namespace korvel {

class QtSocketArray : public SocketArray {
  public:
    QtSocketArray();
    ~QtSocketArray() override;

    bool listen(int port, std::string& error) override;
    void load(int index) override;
    void unload(int index) override;
    void accept(int index, long requestId) override;
    int state(int index) const override;
    bool sendData(int index, const std::string& bytes) override;
    std::string getData(int index) override;
    void close(int index) override;
    std::string remoteHostIP(int index) const override;

    // Bytes a client may leave unread before it is closed.
    static constexpr qint64 kMaxBacklog = 1 << 20;

  private:
    struct Element {
        QTcpSocket* socket = nullptr;
        bool peerClosed = false;
        std::string peer;    // the client's address, asked for with every sentence sent
        std::string pending; // sent since the last return to the event loop
    };
    void onNewConnection();
    void release(Element& element);
    // Hands what waits for every client to the system in one tight pass.
    void flushPending();
    void writeOut(Element& element);
    // Clients from which the sending is shared by two cores.
    static constexpr size_t kSharedFrom = 64;

    QTcpServer server_;
    std::map<int, Element> elements_;
    std::map<long, QTcpSocket*> requests_;
    long nextRequest_ = 1;
    QTimer flush_; // fires once the handler that sent has returned
};

} // namespace korvel

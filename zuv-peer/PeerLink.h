#pragma once

#include "Connectivity/UDPTransceiver.h"
#include "IncomingDatagram.h"

#include <QJsonObject>
#include <QObject>
#include <QString>

#include <atomic>
#include <thread>

namespace Peer {

// The peer's end of the link: one UDP socket that receives on the peer's port and sends to the
// program's, with the program's framing (4096-byte datagrams: compact JSON text, then NUL bytes).
//
// A receive thread waits for datagrams and hands each one, as it came, to the thread that owns the
// link (datagramReceived); everything else runs in the owner's thread.
class PeerLink : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* loopback = "127.0.0.1";

    explicit PeerLink(QObject* parent = nullptr);
    ~PeerLink() override;

    // Opens the socket, binds `listenPort` (0: any free port) and aims at `targetPort` on the
    // loopback address. Returns an empty text, or what went wrong.
    QString open(int listenPort, int targetPort);
    int listeningPort() const;
    void setTargetPort(int port);

    // Starts and stops the receive thread. stop() is safe to call more than once.
    void start();
    void stop();

    // Sends one document as one datagram. Returns an empty text, or what went wrong.
    QString send(const QJsonObject& document);

signals:
    void datagramReceived(const Peer::IncomingDatagram& datagram);

private:
    void receiveLoop();

    JOLV::Connectivity::UDPTransceiver transceiver;
    bool socketOpen = false;
    std::thread receiver;
    std::atomic<bool> stopRequested{false};
};

// Sends one document to 127.0.0.1:`port` from a socket of its own. Returns an empty text, or what
// went wrong.
QString sendOnce(const QJsonObject& document, int port);

} // namespace Peer

#pragma once

#include "Connectivity/UDPTransceiver.h"
#include "StateDatagram.h"

#include <QJsonObject>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace Peer {

// One end of the link: one UDP socket that receives on its own port and sends to the other end's,
// with the program's framing (4096-byte datagrams: compact JSON text, then NUL bytes). It plays the
// peer's end (receives on 50001, sends to 50000) or, for the checker, the program's.
//
// The socket is watched by the event loop of the thread that opens it: each datagram that arrives
// is judged by the receive rules and handed on (received) in that thread, between its timers.
class PeerLink : public QObject
{
    Q_OBJECT

public:
    static constexpr const char* loopback = "127.0.0.1";
    // Datagrams read in one go before the event loop's timers get their turn.
    static constexpr int readBatch = 64;

    explicit PeerLink(QObject* parent = nullptr);
    ~PeerLink() override;

    // Opens the socket, binds `listenPort` (0: any free port) and aims at `targetPort` on the
    // loopback address; from now on datagrams are received. Returns an empty text, or what went
    // wrong.
    QString open(int listenPort, int targetPort);
    int listeningPort() const;
    void setTargetPort(int port);
    // Stops receiving and closes the socket. Safe to call more than once.
    void close();

    // Sends one document as one datagram. Returns an empty text, or what went wrong.
    QString send(const QJsonObject& document);
    // Sends a datagram as it is.
    QString sendDatagram(const QByteArray& datagram);

    // An arrival stamp of received() on the steady clock (µs since its epoch); the steady clock's
    // present when the system gave no stamp (0).
    static qint64 steadyMicros(qint64 arrivedMicros);

    // Reads the datagrams waiting now, `most` at the most (the event loop reads them on its own as
    // they arrive, a batch at a time).
    void readWaiting(int most = readBatch);

signals:
    // `arrivedMicros`: when the system received it, on its clock (µs), or 0 where it cannot say.
    void received(const StateDatagram::Received& datagram, qint64 arrivedMicros);
    // The same datagram's bytes, for whoever judges them later (a faulty link in between).
    void bytesReceived(const QByteArray& datagram, qint64 arrivedMicros);
    // A receive failed with the socket layer's error number `error`.
    void receiveFailed(int error);

private:
    JOLV::Connectivity::UDPTransceiver transceiver;
    std::unique_ptr<QSocketNotifier> notifier;
    bool socketOpen = false;
};

// Sends one document to 127.0.0.1:`port` from a socket of its own. Returns an empty text, or what
// went wrong.
QString sendOnce(const QJsonObject& document, int port);

} // namespace Peer

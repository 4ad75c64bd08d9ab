#include "PeerLink.h"

#include "StateDatagram.h"

#include <QJsonDocument>

#include <chrono>
#include <cstring>

namespace Peer {

namespace {

// The socket layer's last error number.
int lastError()
{
    return WSAGetLastError();
}

// `what` and the socket layer's error number `error`.
QString socketError(int error, const QString& what)
{
    return QStringLiteral("%1 (error %2: %3)")
        .arg(what)
        .arg(error)
        .arg(QString::fromLocal8Bit(std::strerror(error)));
}

// Frames `document` and sends it through `transceiver`.
QString transmit(JOLV::Connectivity::UDPTransceiver& transceiver, const QJsonObject& document)
{
    char buffer[StateDatagram::size] = {};
    const QByteArray text = StateDatagram::compactText(QJsonDocument(document));
    if (!StateDatagram::frame(text, buffer))
        return QStringLiteral("the document (%1 bytes) does not fit one datagram").arg(text.size());
    if (transceiver.transmit(buffer, StateDatagram::size) != static_cast<int>(StateDatagram::size)) {
        const int error = lastError();
        return socketError(error, QStringLiteral("sending failed"));
    }
    return {};
}

} // namespace

PeerLink::PeerLink(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<Peer::IncomingDatagram>();
}

PeerLink::~PeerLink()
{
    stop();
    if (socketOpen)
        transceiver.deinitSocket();
}

QString PeerLink::open(int listenPort, int targetPort)
{
    if (transceiver.initSocket() != 0) {
        const int error = lastError();
        return socketError(error, QStringLiteral("cannot open a UDP socket"));
    }
    socketOpen = true;
    // No address reuse: a second peer on the same port is refused instead of sharing its traffic.
    if (transceiver.initReceiver(loopback, listenPort) != 0) {
        const int error = lastError();
        return socketError(error, QStringLiteral("cannot listen on UDP port %1").arg(listenPort));
    }
    transceiver.initTransmitter(loopback, targetPort);
    transceiver.setReceiveBufferSize(1 << 20);
    return {};
}

int PeerLink::listeningPort() const
{
    return transceiver.boundPort();
}

void PeerLink::setTargetPort(int port)
{
    transceiver.initTransmitter(loopback, port);
}

void PeerLink::start()
{
    if (receiver.joinable() || !socketOpen)
        return;
    stopRequested = false;
    receiver = std::thread([this] { receiveLoop(); });
}

void PeerLink::stop()
{
    stopRequested = true;
    if (!receiver.joinable())
        return;
    if (socketOpen && transceiver.interruptReceive())
        socketOpen = false;
    receiver.join();
}

QString PeerLink::send(const QJsonObject& document)
{
    if (!socketOpen)
        return QStringLiteral("the link is closed");
    return transmit(transceiver, document);
}

void PeerLink::receiveLoop()
{
    char buffer[StateDatagram::size];
    while (!stopRequested) {
        std::memset(buffer, 0, sizeof(buffer));
        const auto received = transceiver.receiveDatagram(buffer, sizeof(buffer));
        if (stopRequested)
            break;
        IncomingDatagram datagram;
        if (received.bytes < 0) {
            datagram.error = true;
            datagram.errorCode = lastError();
        } else {
            datagram.bytes = QByteArray(buffer, received.bytes);
            datagram.truncated = received.truncated;
            datagram.length = received.length;
            datagram.senderAddress = received.senderAddress;
        }
        QMetaObject::invokeMethod(
            this, [this, datagram] { emit datagramReceived(datagram); }, Qt::QueuedConnection);
        if (datagram.error) {
            // A persistent error must not turn the loop into a busy one.
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }
}

QString sendOnce(const QJsonObject& document, int port)
{
    JOLV::Connectivity::UDPTransceiver transceiver;
    if (transceiver.initSocket() != 0) {
        const int error = lastError();
        return socketError(error, QStringLiteral("cannot open a UDP socket"));
    }
    transceiver.initTransmitter(PeerLink::loopback, port);
    const QString error = transmit(transceiver, document);
    transceiver.deinitSocket();
    return error;
}

} // namespace Peer

#include "link/PeerLink.h"

#include <QJsonDocument>
#include <QMetaMethod>

#include <algorithm>
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

PeerLink::PeerLink(QObject* parent) : QObject(parent) {}

PeerLink::~PeerLink()
{
    close();
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
        close();
        return socketError(error, QStringLiteral("cannot listen on UDP port %1").arg(listenPort));
    }
    transceiver.initTransmitter(loopback, targetPort);
    transceiver.ignoreConnectionResets();
    transceiver.setReceiveBufferSize(1 << 20);
    transceiver.setSocketNonBlocking();
    transceiver.enableArrivalTimes();
    notifier =
        std::make_unique<QSocketNotifier>(static_cast<qintptr>(transceiver.handle()), QSocketNotifier::Read);
    // A batch at a time, so that a flood leaves the event loop's timers their turn.
    connect(notifier.get(), &QSocketNotifier::activated, this, [this] { readWaiting(); });
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

void PeerLink::close()
{
    notifier.reset();
    if (socketOpen)
        transceiver.deinitSocket();
    socketOpen = false;
}

QString PeerLink::send(const QJsonObject& document)
{
    if (!socketOpen)
        return QStringLiteral("the link is closed");
    return transmit(transceiver, document);
}

void PeerLink::readWaiting(int most)
{
    char buffer[StateDatagram::size];
    for (int read = 0; read < most && socketOpen; ++read) {
        const auto datagram = transceiver.receiveDatagram(buffer, sizeof(buffer));
        if (datagram.none)
            return;
        if (datagram.bytes < 0) {
            emit receiveFailed(lastError());
            return;
        }
        if (isSignalConnected(QMetaMethod::fromSignal(&PeerLink::bytesReceived)))
            emit bytesReceived(QByteArray(buffer, datagram.bytes), datagram.arrivedMicros);
        emit received(StateDatagram::receive(buffer, static_cast<std::size_t>(datagram.bytes),
                                             static_cast<std::size_t>(datagram.length),
                                             datagram.senderAddress),
                      datagram.arrivedMicros);
    }
}

QString PeerLink::sendDatagram(const QByteArray& datagram)
{
    if (!socketOpen)
        return QStringLiteral("the link is closed");
    if (transceiver.transmit(const_cast<char*>(datagram.constData()),
                             static_cast<unsigned long long>(datagram.size())) < 0) {
        const int error = lastError();
        return socketError(error, QStringLiteral("sending failed"));
    }
    return {};
}

qint64 PeerLink::steadyMicros(qint64 arrivedMicros)
{
    using namespace std::chrono;
    const qint64 steady = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    if (arrivedMicros <= 0)
        return steady;
    const qint64 system = duration_cast<microseconds>(system_clock::now().time_since_epoch()).count();
    // The system's stamp moved onto the steady clock; never later than now.
    return std::min(steady, arrivedMicros - (system - steady));
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

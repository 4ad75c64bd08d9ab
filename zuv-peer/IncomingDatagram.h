#pragma once

#include <QByteArray>
#include <QMetaType>

namespace Peer {

// One datagram as the peer's socket received it.
struct IncomingDatagram
{
    QByteArray bytes;                   // the bytes received (at most one datagram's worth)
    bool error = false;                 // the receive failed; nothing was received
    int errorCode = 0;                  // the socket layer's error number when it failed
    bool truncated = false;             // the datagram was longer than the receive buffer
    unsigned long long length = 0;      // the datagram's full length
    quint32 senderAddress = 0x7f000001; // IPv4, host byte order
};

} // namespace Peer

Q_DECLARE_METATYPE(Peer::IncomingDatagram)

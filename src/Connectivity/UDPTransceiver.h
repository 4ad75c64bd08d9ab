#pragma once

#include "SocketLayer.h"

#include <cstdint>

namespace JOLV {
namespace Connectivity {

// One IPv4 datagram socket serving both directions of a link: bound to a local port for receiving,
// with one fixed destination for transmitting. Every operation returns an int status (0 success,
// -1 failure) or a byte count; none throws. One thread may receive while another transmits.
//
// The object owns its socket, but nothing closes it implicitly: its owner calls deinitSocket().
class UDPTransceiver
{
public:
    // Outcome of receiveDatagram().
    struct Datagram
    {
        int bytes = -1;                  // bytes stored in the buffer, or -1 on a receive error
        bool truncated = false;          // the datagram was longer than the buffer
        unsigned long long length = 0;   // the datagram's full length where the platform tells it
        std::uint32_t senderAddress = 0; // IPv4 address of the sender, host byte order
        bool none = false;               // no datagram was waiting (non-blocking socket)
        std::int64_t arrivedMicros = 0;  // when it arrived (system clock, µs) where the system tells it
        bool fromLoopback() const { return (senderAddress >> 24) == 127; }
    };

    static constexpr int addressCapacity = 64;

    int initSocket();
    int initReuseAddr();
    int initMulticast();
    int initLimitTTL(int ttl);
    int initReceiver(const char* address, int port);
    int initTransmitter(const char* address, int port);
    int deinitSocket();
    int deinitReceiver();
    int deinitTransmitter();
    int setSocketNonBlocking();
    int setLoopback(int enable);
    int transmit(char* data, unsigned long long length);
    int receive(char* buffer, unsigned long long size);

    // Receives exactly one datagram and tells whether it was cut to the buffer's size and who sent
    // it. On a blocking socket it waits until a datagram arrives (or the receiving side is shut
    // down); on a non-blocking one it returns at once, reporting `none` when no datagram is waiting.
    Datagram receiveDatagram(char* buffer, unsigned long long size);

    // Makes a receive that waits in another thread return at once by shutting the receiving side
    // down; WinSock wakes it only when the socket is closed, so there the socket is closed. Returns
    // true when the socket has been closed.
    bool interruptReceive();

    // On Windows, stops a datagram sent to a port where nobody listens from failing the next
    // receive (WinSock reports the peer's "port unreachable" that way). Elsewhere nothing to do.
    int ignoreConnectionResets();

    // Asks the platform to stamp every datagram with the time it arrived (Datagram::arrivedMicros);
    // returns 0, or -1 where it cannot.
    int enableArrivalTimes();

    // Asks the platform for a receive buffer of `bytes`; returns 0 or -1.
    int setReceiveBufferSize(int bytes);

    // The socket itself, for an event loop to watch (a QSocketNotifier).
    SOCKET handle() const { return sock; }

    // The local port the socket is bound to (the one the platform chose when initReceiver was given
    // port 0), or -1 when it is not bound.
    int boundPort() const;

private:
    char transmitterAddress[addressCapacity];
    int transmitterPort;
    char receiverAddress[addressCapacity];
    int receiverPort;
    SOCKET sock = INVALID_SOCKET;
    sockaddr_in receiverSocketAddress;
    sockaddr_in transmitterSocketAddress;
};

} // namespace Connectivity
} // namespace JOLV

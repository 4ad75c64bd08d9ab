#include "UDPTransceiver.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace JOLV {
namespace Connectivity {

namespace {

constexpr int socketAddressLength = static_cast<int>(sizeof(sockaddr_in)); // 16

int status(int result)
{
    return result < 0 ? -1 : 0;
}

// Copies `text` into a field of `addressCapacity` characters. Refuses (returns false, field
// untouched) a text that does not fit with its terminating NUL.
bool copyAddress(char (&field)[UDPTransceiver::addressCapacity], const char* text)
{
    if (text == nullptr)
        return false;
    const void* end = std::memchr(text, '\0', UDPTransceiver::addressCapacity);
    if (end == nullptr)
        return false;
    std::memcpy(field, text, static_cast<const char*>(end) - text + 1);
    return true;
}

} // namespace

int UDPTransceiver::initSocket()
{
    sock = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (sock == INVALID_SOCKET) {
        std::printf("%d\n\r", WSAGetLastError());
        std::fflush(stdout);
        return -1;
    }
    net::closeOnExec(sock);
    return 0;
}

int UDPTransceiver::initReuseAddr()
{
    const int enable = 1;
    const int result =
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&enable), sizeof(enable));
    if (result < 0) {
        const int error = errno;
        std::printf("Error: %d - %s\n\r", error, std::strerror(error));
        std::fflush(stdout);
        return -1;
    }
    return 0;
}

int UDPTransceiver::initMulticast()
{
    ip_mreq request{};
    request.imr_multiaddr.s_addr = ::inet_addr(receiverAddress);
    request.imr_interface.s_addr = htonl(INADDR_ANY);
    return status(::setsockopt(sock, IPPROTO_IP, IP_ADD_MEMBERSHIP, reinterpret_cast<const char*>(&request),
                               sizeof(request)));
}

int UDPTransceiver::initLimitTTL(int ttl)
{
    return status(
        ::setsockopt(sock, IPPROTO_IP, IP_MULTICAST_TTL, reinterpret_cast<const char*>(&ttl), sizeof(ttl)));
}

int UDPTransceiver::initReceiver(const char* address, int port)
{
    if (!copyAddress(receiverAddress, address))
        return -1;
    receiverPort = port;
    std::memset(&receiverSocketAddress, 0, sizeof(receiverSocketAddress));
    receiverSocketAddress.sin_family = AF_INET;
    receiverSocketAddress.sin_addr.s_addr = htonl(INADDR_ANY);
    receiverSocketAddress.sin_port = htons(static_cast<unsigned short>(port));
    return status(
        ::bind(sock, reinterpret_cast<const sockaddr*>(&receiverSocketAddress), socketAddressLength));
}

int UDPTransceiver::initTransmitter(const char* address, int port)
{
    if (!copyAddress(transmitterAddress, address))
        return -1;
    transmitterPort = port;
    std::memset(&transmitterSocketAddress, 0, sizeof(transmitterSocketAddress));
    transmitterSocketAddress.sin_family = AF_INET;
    transmitterSocketAddress.sin_port = htons(static_cast<unsigned short>(port));
    transmitterSocketAddress.sin_addr.s_addr = ::inet_addr(transmitterAddress);
    return 0;
}

int UDPTransceiver::deinitSocket()
{
    const int result = closesocket(sock);
    if (result == 0)
        sock = INVALID_SOCKET;
    return result;
}

int UDPTransceiver::deinitReceiver()
{
    return ::shutdown(sock, SD_RECEIVE);
}

int UDPTransceiver::deinitTransmitter()
{
    return ::shutdown(sock, SD_SEND);
}

int UDPTransceiver::setSocketNonBlocking()
{
    ioctl_arg enable = 1;
    ioctlsocket(sock, FIONBIO, &enable);
    return 0;
}

int UDPTransceiver::setLoopback(int enable)
{
    ::setsockopt(sock, IPPROTO_IP, IP_MULTICAST_LOOP, reinterpret_cast<const char*>(&enable), sizeof(enable));
    return 0;
}

int UDPTransceiver::transmit(char* data, unsigned long long length)
{
    const int result = static_cast<int>(::sendto(sock, data, static_cast<int>(length), 0,
                                                 reinterpret_cast<const sockaddr*>(&transmitterSocketAddress),
                                                 socketAddressLength));
    return result < 0 ? -1 : result;
}

int UDPTransceiver::receive(char* buffer, unsigned long long size)
{
    socklen_type addressLength = socketAddressLength;
    const int result =
        static_cast<int>(::recvfrom(sock, buffer, static_cast<int>(size), 0,
                                    reinterpret_cast<sockaddr*>(&receiverSocketAddress), &addressLength));
    return result < 0 ? -1 : result;
}

UDPTransceiver::Datagram UDPTransceiver::receiveDatagram(char* buffer, unsigned long long size)
{
    Datagram datagram;
    sockaddr_in sender{};
#ifdef _WIN32
    int addressLength = socketAddressLength;
    const int result = ::recvfrom(sock, buffer, static_cast<int>(size), 0,
                                  reinterpret_cast<sockaddr*>(&sender), &addressLength);
    if (result == SOCKET_ERROR) {
        if (!net::lastErrorIsMessageTooLong()) {
            datagram.none = ::WSAGetLastError() == WSAEWOULDBLOCK;
            return datagram;
        }
        // The datagram did not fit; WinSock filled the buffer and dropped the rest.
        datagram.bytes = static_cast<int>(size);
        datagram.truncated = true;
        datagram.length = size + 1;
    } else {
        datagram.bytes = result;
        datagram.length = static_cast<unsigned long long>(result);
    }
#else
    iovec part{buffer, static_cast<std::size_t>(size)};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof(sender);
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timeval))];
    message.msg_control = control;
    message.msg_controllen = sizeof(control);
#ifdef __linux__
    // With MSG_TRUNC Linux reports the datagram's real length even when it was cut.
    int flags = MSG_TRUNC;
#else
    int flags = 0;
#endif
    const ssize_t result = ::recvmsg(sock, &message, flags);
    if (result < 0) {
        datagram.none = errno == EAGAIN || errno == EWOULDBLOCK;
        return datagram;
    }
    datagram.length = static_cast<unsigned long long>(result);
    datagram.truncated = (message.msg_flags & MSG_TRUNC) != 0 || datagram.length > size;
    if (datagram.truncated && datagram.length <= size)
        datagram.length = size + 1; // length unknown beyond the buffer
    datagram.bytes = static_cast<int>(datagram.truncated ? size : datagram.length);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == SOL_SOCKET && header->cmsg_type == SCM_TIMESTAMP) {
            timeval stamp{};
            std::memcpy(&stamp, CMSG_DATA(header), sizeof(stamp));
            datagram.arrivedMicros = std::int64_t(stamp.tv_sec) * 1000000 + stamp.tv_usec;
        }
    }
#endif
    datagram.senderAddress = ntohl(sender.sin_addr.s_addr);
    return datagram;
}

bool UDPTransceiver::interruptReceive()
{
#ifdef _WIN32
    return deinitSocket() == 0;
#else
    deinitReceiver();
    return false;
#endif
}

int UDPTransceiver::ignoreConnectionResets()
{
#ifdef _WIN32
    BOOL report = FALSE;
    DWORD returned = 0;
    return WSAIoctl(sock, SIO_UDP_CONNRESET, &report, sizeof report, nullptr, 0, &returned, nullptr,
                    nullptr) == 0
               ? 0
               : -1;
#else
    return 0;
#endif
}

int UDPTransceiver::enableArrivalTimes()
{
#ifdef _WIN32
    return -1;
#else
    const int enable = 1;
    return status(::setsockopt(sock, SOL_SOCKET, SO_TIMESTAMP, &enable, sizeof(enable)));
#endif
}

int UDPTransceiver::setReceiveBufferSize(int bytes)
{
    return status(
        ::setsockopt(sock, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes), sizeof(bytes)));
}

int UDPTransceiver::boundPort() const
{
    sockaddr_in local{};
    socklen_type length = sizeof(local);
    if (::getsockname(sock, reinterpret_cast<sockaddr*>(&local), &length) != 0 || local.sin_port == 0)
        return -1;
    return ntohs(local.sin_port);
}

} // namespace Connectivity
} // namespace JOLV

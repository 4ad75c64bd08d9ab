#pragma once

// A thin layer over the platform's socket interface: WinSock 2 on Windows, BSD sockets elsewhere.
// It gives both the names the transceiver is written against.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace JOLV {
namespace Connectivity {
namespace net {

#ifdef _WIN32
using SOCKET = ::SOCKET;
using socklen_type = int;
constexpr SOCKET INVALID_SOCKET = ~static_cast<SOCKET>(0);
constexpr int SD_RECEIVE = 0;
constexpr int SD_SEND = 1;
using ioctl_arg = u_long;

inline int closesocket(SOCKET s) { return ::closesocket(s); }
inline int ioctlsocket(SOCKET s, long command, ioctl_arg* argument) { return ::ioctlsocket(s, command, argument); }
inline int lastError() { return ::WSAGetLastError(); }
inline bool lastErrorIsMessageTooLong() { return ::WSAGetLastError() == WSAEMSGSIZE; }

// Starts the socket library, asking for version 2.2.
inline int startup()
{
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data);
}
#else
using SOCKET = int;
using socklen_type = socklen_t;
constexpr SOCKET INVALID_SOCKET = -1;
constexpr int SD_RECEIVE = SHUT_RD;
constexpr int SD_SEND = SHUT_WR;
using ioctl_arg = int;

inline int closesocket(SOCKET s) { return ::close(s); }
inline int ioctlsocket(SOCKET s, unsigned long command, ioctl_arg* argument) { return ::ioctl(s, command, argument); }
inline int lastError() { return errno; }
inline bool lastErrorIsMessageTooLong() { return errno == EMSGSIZE; }

// Nothing needs starting here.
inline int startup() { return 0; }
#endif

} // namespace net
} // namespace Connectivity
} // namespace JOLV

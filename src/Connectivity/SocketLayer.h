#pragma once

// The socket interface the transceiver is written against: the WinSock 2 names. On Windows they are
// WinSock's own; elsewhere this header supplies them over BSD sockets.

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
// winsock2.h first: the other two build on it.
#include <winsock2.h>

#include <mswsock.h>
#include <ws2tcpip.h>

using socklen_type = int;
using ioctl_arg = u_long;
#else
#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

using SOCKET = int;
constexpr SOCKET INVALID_SOCKET = -1;
constexpr int SOCKET_ERROR = -1;
constexpr int SD_RECEIVE = SHUT_RD;
constexpr int SD_SEND = SHUT_WR;
using socklen_type = socklen_t;
using ioctl_arg = int;

inline int closesocket(SOCKET s)
{
    return ::close(s);
}
inline int ioctlsocket(SOCKET s, unsigned long command, ioctl_arg* argument)
{
    return ::ioctl(s, command, argument);
}
inline int WSAGetLastError()
{
    return errno;
}
#endif

namespace JOLV {
namespace Connectivity {
namespace net {

// Starts the platform's socket library (WinSock 2.2); nothing needs starting elsewhere.
inline int startup()
{
#ifdef _WIN32
    WSADATA data;
    return ::WSAStartup(MAKEWORD(2, 2), &data);
#else
    return 0;
#endif
}

// Keeps a socket out of every process this one starts: a child (a control unit under test, say)
// must not inherit the link's ports.
inline void closeOnExec(SOCKET s)
{
#ifdef _WIN32
    ::SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
#else
    ::fcntl(s, F_SETFD, FD_CLOEXEC);
#endif
}

// The last socket call failed because a datagram did not fit the buffer.
inline bool lastErrorIsMessageTooLong()
{
#ifdef _WIN32
    return ::WSAGetLastError() == WSAEMSGSIZE;
#else
    return errno == EMSGSIZE;
#endif
}

} // namespace net
} // namespace Connectivity
} // namespace JOLV

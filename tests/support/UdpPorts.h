#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

// Binds a UDP socket to `port` on every local address without address reuse, as a program that
// holds the port does; returns its handle (close it with ::close) or -1 when the port is taken.
inline int bindWithoutReuse(int port)
{
    const int handle = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = htons(static_cast<unsigned short>(port));
    if (::bind(handle, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(handle);
        return -1;
    }
    return handle;
}

// Judges one datagram, read from standard input, by the C kit library's receive rules and prints
// the verdict, the count and the assignments (NAME=VALUE), a line each: the C side of
// tests/sdk/receive_rules.py. In C++, so that zuvkit.h is used from C++ as well.
//
// Usage: kit_receive [LENGTH [SENDER]]   (LENGTH: the datagram's full length, default as read)
#include <zuvkit.h>

#include <arpa/inet.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv)
{
    const std::string data{std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>()};
    const std::size_t length = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : data.size();
    in_addr sender{};
    if (inet_pton(AF_INET, argc > 2 ? argv[2] : "127.0.0.1", &sender) != 1)
        return 2;
    zuv_received received;
    zuv_receive(data.data(), std::min<std::size_t>(data.size(), 4096), length, ntohl(sender.s_addr),
                &received);
    static const char* const verdicts[] = {"document", "not a document", "too long", "not loopback"};
    std::printf("%s\n%d\n", verdicts[received.verdict], received.count);
    for (int i = 0; i < received.assigned; ++i)
        std::printf("%s=%d\n", zuv_name(received.assignments[i].value), received.assignments[i].to);
    return 0;
}

// Fuzz target: zuv-peer's receive path. The first input byte chooses how the datagram arrived
// (sender, longer than the buffer, receive error) and how much time passes afterwards; the rest are
// the datagram's bytes. The simulator applies it with the program's rules and runs its control units,
// which may answer with a document; every answer must fit one datagram.
#include "StateDatagram.h"
#include "units/Simulator.h"

#include <QJsonDocument>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    static Peer::ManualClock clock;
    static Peer::Simulator simulator(clock);
    static const bool connected = [] {
        QObject::connect(
            &simulator, &Peer::Simulator::documentSent,
            [](qint64, const QJsonObject& document, const QJsonObject&) {
                char buffer[StateDatagram::size] = {};
                if (!StateDatagram::frame(StateDatagram::compactText(QJsonDocument(document)), buffer))
                    std::abort();
            });
        return true;
    }();
    (void)connected;

    const std::uint8_t how = data[0];
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const std::size_t length = (how & 0x04) != 0 ? size - 1 + StateDatagram::size : size - 1;
    const std::size_t stored = size - 1 < StateDatagram::size ? size - 1 : StateDatagram::size;
    if ((how & 0x03) == 0x03)
        simulator.handleReceiveError(104);
    else
        simulator.handleDatagram(
            StateDatagram::receive(bytes, stored, length, (how & 0x08) ? 0xc0a80105u : 0x7f000001u));
    for (int step = 0; step < (how >> 4); ++step) {
        clock.advance(7);
        simulator.tick();
    }
    return 0;
}

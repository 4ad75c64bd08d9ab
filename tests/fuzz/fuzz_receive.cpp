// Fuzz target: the receive rules and the application of what they take, as the program runs them
// for one datagram: the datagram's bytes (a longer one than 4096 bytes is dropped), the text cut at
// the first NUL, the JSON parse and the assignments applied to a state model. Afterwards the model
// must still serialise into a document that fits one datagram.
#include "StateDatagram.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static VirtualPlatformDataModel model;
    const std::size_t stored = size < StateDatagram::size ? size : StateDatagram::size;
    const auto received =
        StateDatagram::receive(reinterpret_cast<const char*>(data), stored, size, 0x7f000001);
    if (received.textLength < 0 || static_cast<std::size_t>(received.textLength) > stored)
        std::abort();
    const auto& assignments = received.assignments;
    if (assignments.count < 0 || assignments.count > StateValues::count ||
        assignments.list.size() > static_cast<std::size_t>(assignments.count))
        std::abort();
    for (std::size_t i = 0; i < assignments.list.size(); ++i) {
        const auto& assignment = assignments.list[i];
        if (assignment.index < 0 || assignment.index >= StateValues::count ||
            (i > 0 && assignment.index <= assignments.list[i - 1].index))
            std::abort();
    }
    if (!received.dropped())
        model.apply(assignments);

    QJsonObject state;
    model.serializeJson(state);
    const QByteArray text = StateDatagram::compactText(QJsonDocument(state));
    char out[StateDatagram::size] = {};
    if (state.size() != StateValues::count || !StateDatagram::frame(text, out))
        std::abort();
    return 0;
}

// Fuzz target: the link thread's receive path, as it runs for one datagram: the datagram's bytes
// (at most 4096 are kept, a longer datagram is dropped), the text cut at the first NUL, the JSON
// parse and the application to a state model. Afterwards the model must still serialise into a
// document that fits one datagram.
#include "StateDatagram.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > StateDatagram::size)
        return 0; // dropped by the link before any parsing
    static VirtualPlatformDataModel model;
    char buffer[StateDatagram::size] = {};
    std::memcpy(buffer, data, size);
    const auto applied = StateDatagram::apply(model, buffer, size);
    if (applied.textLength < 0 || static_cast<std::size_t>(applied.textLength) > size)
        std::abort();
    if (applied.count < 0 || applied.count > 49)
        std::abort();

    QJsonObject state;
    model.serializeJson(state);
    const QByteArray text = StateDatagram::compactText(QJsonDocument(state));
    char out[StateDatagram::size] = {};
    if (state.size() != 49 || !StateDatagram::frame(text, out))
        std::abort();
    return 0;
}

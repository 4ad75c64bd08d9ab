#pragma once

#include <QByteArray>
#include <QJsonDocument>

#include <cstddef>

class VirtualPlatformDataModel;

// The framing of the link, the same in both directions: every datagram is 4096 bytes; from its
// first byte it holds the state document as compact JSON text, NUL bytes after it.
namespace StateDatagram {

constexpr std::size_t size = 4096;

// The compact text of a document (no spaces, no line end).
QByteArray compactText(const QJsonDocument& document);

// Writes `text` to the start of `buffer` (which must hold `size` zeroed bytes). Returns false and
// writes nothing when the text does not leave room for at least one NUL after it.
bool frame(const QByteArray& text, char* buffer);

// The text of a received datagram: its bytes up to the first NUL, or all of them.
QByteArray textOf(const char* data, std::size_t length);

// What one received datagram did.
struct Applied
{
    int textLength = 0;
    QJsonDocument document; // null when the text is not a JSON object
    int count = 0;          // members applied
};

// Cuts, parses and applies one datagram's bytes to `model`. Text that is not a JSON object is
// applied as an empty object.
Applied apply(VirtualPlatformDataModel& model, const char* data, std::size_t length);

} // namespace StateDatagram

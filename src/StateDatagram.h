#pragma once

#include "StateValues.h"

#include <QByteArray>
#include <QJsonDocument>

#include <cstddef>
#include <cstdint>
#include <string>

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

// The rules by which one received datagram becomes changes of the state, for the program and for
// everything that plays its side. A datagram longer than `size` bytes, or one from a sender outside
// the loopback network, is dropped. Otherwise its text runs to the first NUL; a text that is not a
// JSON object applies nothing (and still counts as a received document); a JSON object assigns
// its members by StateValues::assignmentsOf. A number beyond the range of a double (1e400) is read
// as the largest number of its sign, one too small to tell from 0 (1e-400) as 0, so that the other
// members of its document still count.
struct Received
{
    enum class Verdict
    {
        Document,     // a JSON object: its assignments apply
        NotADocument, // not a JSON object: nothing applies
        TooLong,      // dropped: longer than `size` bytes
        NotLoopback   // dropped: from a sender outside the loopback network
    };

    Verdict verdict = Verdict::NotADocument;
    std::size_t length = 0;   // the datagram's length
    std::uint32_t sender = 0; // the sender's IPv4 address, host byte order
    int textLength = 0;       // bytes before the first NUL
    QJsonDocument document;   // the object as parsed; null unless verdict is Document
    StateValues::Assignments assignments;

    bool dropped() const { return verdict == Verdict::TooLong || verdict == Verdict::NotLoopback; }
    // Why the datagram was dropped or applies nothing ("dropped a datagram longer than ..."), or
    // empty for a document.
    std::string reason() const;
};

// `stored` bytes of the datagram are at `data` (at most `size`); `length` is its full length as
// the socket reported it.
Received receive(const char* data, std::size_t stored, std::size_t length, std::uint32_t sender);

// The same for a datagram held whole, from a loopback sender.
inline Received receive(const QByteArray& datagram)
{
    const std::size_t length = static_cast<std::size_t>(datagram.size());
    return receive(datagram.constData(), length < size ? length : size, length, 0x7f000001);
}

// A dotted IPv4 address, from host byte order.
std::string dottedAddress(std::uint32_t address);

} // namespace StateDatagram

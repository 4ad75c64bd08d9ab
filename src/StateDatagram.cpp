#include "StateDatagram.h"

#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <cstring>

namespace StateDatagram {

namespace {

bool isNumberCharacter(char c)
{
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether `token` is a number as JSON writes it: -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJsonNumber(const QByteArray& token)
{
    int at = 0;
    const int n = token.size();
    const auto digits = [&] {
        const int from = at;
        while (at < n && isDigit(token.at(at)))
            ++at;
        return at - from;
    };
    if (at < n && token.at(at) == '-')
        ++at;
    if (at < n && token.at(at) == '0')
        ++at;
    else if (digits() == 0)
        return false;
    if (at < n && token.at(at) == '.') {
        ++at;
        if (digits() == 0)
            return false;
    }
    if (at < n && (token.at(at) == 'e' || token.at(at) == 'E')) {
        ++at;
        if (at < n && (token.at(at) == '+' || token.at(at) == '-'))
            ++at;
        if (digits() == 0)
            return false;
    }
    return at == n;
}

// `text` with every number outside strings that a double cannot hold replaced by the nearest one
// it can: the largest of its sign for 1e400, 0 of its sign for 1e-400.
QByteArray withNumbersInRange(const QByteArray& text)
{
    QByteArray result;
    result.reserve(text.size());
    bool inString = false;
    for (int at = 0; at < text.size();) {
        const char c = text.at(at);
        if (inString) {
            result.append(c);
            if (c == '\\' && at + 1 < text.size())
                result.append(text.at(++at));
            else if (c == '"')
                inString = false;
            ++at;
            continue;
        }
        if (c == '"')
            inString = true;
        if (c != '-' && (c < '0' || c > '9')) {
            result.append(c);
            ++at;
            continue;
        }
        int end = at;
        while (end < text.size() && isNumberCharacter(text.at(end)))
            ++end;
        const QByteArray token = text.mid(at, end - at);
        bool ok = false;
        const double number = token.toDouble(&ok);
        if (ok || !isJsonNumber(token))
            result.append(token); // in range, or no number at all: the parser judges it
        else if (std::isinf(number))
            result.append(number < 0 ? "-1.7976931348623157e308" : "1.7976931348623157e308");
        else
            result.append(token.startsWith('-') ? "-0" : "0");
        at = end;
    }
    return result;
}

} // namespace

QByteArray compactText(const QJsonDocument& document)
{
    return document.toJson(QJsonDocument::Compact);
}

bool frame(const QByteArray& text, char* buffer)
{
    if (static_cast<std::size_t>(text.size()) >= size)
        return false;
    std::memcpy(buffer, text.constData(), static_cast<std::size_t>(text.size()));
    return true;
}

QByteArray textOf(const char* data, std::size_t length)
{
    const void* nul = std::memchr(data, '\0', length);
    const std::size_t textLength =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - data) : length;
    return QByteArray(data, static_cast<int>(textLength));
}

Received receive(const char* data, std::size_t stored, std::size_t length, std::uint32_t sender)
{
    Received received;
    received.length = length;
    received.sender = sender;
    if (length > size || stored > size) {
        received.verdict = Received::Verdict::TooLong;
        return received;
    }
    if ((sender >> 24) != 127) {
        received.verdict = Received::Verdict::NotLoopback;
        return received;
    }
    const QByteArray text = textOf(data, stored);
    received.textLength = text.size();
    QJsonParseError error{};
    QJsonDocument document = QJsonDocument::fromJson(text, &error);
    if (error.error == QJsonParseError::IllegalNumber)
        document = QJsonDocument::fromJson(withNumbersInRange(text));
    if (!document.isObject())
        return received;
    received.verdict = Received::Verdict::Document;
    received.document = document;
    received.assignments = StateValues::assignmentsOf(document.object());
    return received;
}

std::string Received::reason() const
{
    switch (verdict) {
    case Verdict::TooLong:
        return "dropped a datagram longer than " + std::to_string(size) + " bytes (" +
               std::to_string(length) + " bytes)";
    case Verdict::NotLoopback:
        return "dropped a datagram from " + dottedAddress(sender) + ", not a loopback address";
    case Verdict::NotADocument:
        return "not a JSON object (" + std::to_string(textLength) + " bytes of text): nothing applied";
    case Verdict::Document:
        break;
    }
    return {};
}

std::string dottedAddress(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xff) + '.' +
           std::to_string((address >> 8) & 0xff) + '.' + std::to_string(address & 0xff);
}

} // namespace StateDatagram

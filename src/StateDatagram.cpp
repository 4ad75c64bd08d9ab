#include "StateDatagram.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonObject>
#include <QJsonParseError>

#include <cmath>
#include <cstring>
#include <vector>

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

// A top-level member of an object's text: its key as written and where the whole member lies.
struct Member
{
    QByteArray key;
    int from;
    int to;
};

// Where the string that opens at `at` ends (after its closing quote), or -1.
int stringEnd(const QByteArray& text, int at)
{
    for (++at; at < text.size(); ++at) {
        if (text.at(at) == '\\')
            ++at;
        else if (text.at(at) == '"')
            return at + 1;
    }
    return -1;
}

// The top-level members of the object `text` holds, in order; empty where it cannot follow them
// (the parser has judged the text a document already).
std::vector<Member> topLevelMembers(const QByteArray& text)
{
    std::vector<Member> members;
    int at = text.indexOf('{');
    if (at < 0)
        return {};
    ++at;
    const auto skipSpace = [&] {
        while (at < text.size() &&
               (text.at(at) == ' ' || text.at(at) == '\t' || text.at(at) == '\n' || text.at(at) == '\r'))
            ++at;
    };
    for (;;) {
        skipSpace();
        if (at >= text.size() || text.at(at) == '}')
            return members;
        if (text.at(at) != '"')
            return {};
        const int from = at;
        const int keyEnd = stringEnd(text, at);
        if (keyEnd < 0)
            return {};
        // The value runs to the comma or brace that ends the member, outside strings and nesting.
        int depth = 0;
        for (at = keyEnd; at < text.size(); ++at) {
            const char c = text.at(at);
            if (c == '"') {
                at = stringEnd(text, at) - 1;
                if (at < 0)
                    return {};
            } else if (c == '{' || c == '[') {
                ++depth;
            } else if ((c == '}' || c == ']') && depth > 0) {
                --depth;
            } else if ((c == ',' || c == '}') && depth == 0) {
                break;
            }
        }
        members.push_back({text.mid(from, keyEnd - from), from, at});
        if (at >= text.size() || text.at(at) == '}')
            return members;
        ++at;
    }
}

// The object's text with only the last member of each key, when a key comes more than once: the
// parser's own choice among duplicates is not the last one in larger objects.
QByteArray lastOfEachKey(const QByteArray& text)
{
    const std::vector<Member> members = topLevelMembers(text);
    QHash<QString, std::size_t> last;
    for (std::size_t index = 0; index < members.size(); ++index) {
        const QString key = QJsonDocument::fromJson("[" + members[index].key + "]").array().at(0).toString();
        last.insert(key, index);
    }
    QByteArray kept = "{";
    for (auto entry = last.begin(); entry != last.end(); ++entry) {
        const Member& member = members[entry.value()];
        kept += (kept.size() > 1 ? "," : "") + text.mid(member.from, member.to - member.from);
    }
    return kept + "}";
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
    if (std::size_t(document.object().size()) < topLevelMembers(text).size()) {
        const QByteArray kept = lastOfEachKey(text);
        document = QJsonDocument::fromJson(kept, &error);
        if (error.error == QJsonParseError::IllegalNumber)
            document = QJsonDocument::fromJson(withNumbersInRange(kept));
    }
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

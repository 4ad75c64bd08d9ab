#include "StateDatagram.h"

#include "VirtualPlatformDataModel.h"

#include <QJsonObject>

#include <cstring>

namespace StateDatagram {

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

Applied apply(VirtualPlatformDataModel& model, const char* data, std::size_t length)
{
    Applied applied;
    const QByteArray text = textOf(data, length);
    applied.textLength = text.size();
    QJsonDocument document = QJsonDocument::fromJson(text);
    if (document.isObject())
        applied.document = document;
    applied.count = model.deserializeJson(applied.document.object());
    return applied;
}

} // namespace StateDatagram

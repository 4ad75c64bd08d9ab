#include "DocumentBuilder.h"

namespace Peer {

void DocumentBuilder::noteReported(const QJsonObject& document)
{
    for (auto member = document.constBegin(); member != document.constEnd(); ++member)
        belief.insert(member.key(), member.value());
}

QJsonObject DocumentBuilder::changes(const QJsonObject& driven)
{
    QJsonObject document;
    for (auto member = driven.constBegin(); member != driven.constEnd(); ++member) {
        const auto held = belief.constFind(member.key());
        if (held == belief.constEnd() || held.value() != member.value()) {
            document.insert(member.key(), member.value());
            belief.insert(member.key(), member.value());
        }
    }
    return document;
}

} // namespace Peer

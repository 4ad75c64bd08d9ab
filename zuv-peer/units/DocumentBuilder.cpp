#include "units/DocumentBuilder.h"

#include "StateValues.h"

namespace Peer {

void DocumentBuilder::noteReported(const QJsonObject& document, Millis now)
{
    for (auto member = document.constBegin(); member != document.constEnd(); ++member) {
        const int index = StateValues::indexOf(member.key());
        const auto sent = sentAt.constFind(member.key());
        const bool crossed = index >= 0 && !StateValues::isInput(index) && sent != sentAt.constEnd() &&
                             now - sent.value() <= inFlight && belief.value(member.key()) != member.value();
        if (!crossed)
            belief.insert(member.key(), member.value());
    }
}

QJsonObject DocumentBuilder::changes(const QJsonObject& driven, Millis now)
{
    QJsonObject document;
    for (auto member = driven.constBegin(); member != driven.constEnd(); ++member) {
        const auto held = belief.constFind(member.key());
        if (held == belief.constEnd() || held.value() != member.value()) {
            document.insert(member.key(), member.value());
            belief.insert(member.key(), member.value());
            sentAt.insert(member.key(), now);
        }
    }
    return document;
}

} // namespace Peer

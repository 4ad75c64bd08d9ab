#pragma once

#include "units/Clock.h"

#include <QHash>
#include <QJsonObject>

namespace Peer {

// Decides what goes into the next document to the program: the driven values that the program is
// not known to hold. It believes what it last sent and, for the values a received document lists,
// what the program reported; so a program that was restarted, or that reports a value the peer
// drives differently (the cockpit's alarm acknowledgement), is set right with its next report.
//
// A report can cross a document of the peer's on the way: the program sent it before it applied
// the peer's latest values. So for an output sent a moment before (inFlight), a report that
// contradicts it is not believed; the program will apply what was sent, and what is driven now is
// sent again if it differs from that.
class DocumentBuilder
{
public:
    static constexpr Millis inFlight = 100;

    // A document from the program: the values it lists replace what is believed.
    void noteReported(const QJsonObject& document, Millis now);

    // The members of `driven` whose values the program is not believed to hold. From now on they
    // are believed held. Empty when nothing needs sending.
    QJsonObject changes(const QJsonObject& driven, Millis now);

    const QJsonObject& believed() const { return belief; }

private:
    QJsonObject belief;
    QHash<QString, Millis> sentAt;
};

} // namespace Peer

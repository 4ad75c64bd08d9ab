#pragma once

#include <QJsonObject>

namespace Peer {

// Decides what goes into the next document to the program: the driven values that the program is
// not known to hold. It believes what it last sent and, for the values a received document lists,
// what the program reported; so a program that was restarted, or that reports a value the peer
// drives differently (the cockpit's alarm acknowledgement), is set right with its next report.
class DocumentBuilder
{
public:
    // A document from the program: the values it lists replace what is believed.
    void noteReported(const QJsonObject& document);

    // The members of `driven` whose values the program is not believed to hold. From now on they
    // are believed held. Empty when nothing needs sending.
    QJsonObject changes(const QJsonObject& driven);

    const QJsonObject& believed() const { return belief; }

private:
    QJsonObject belief;
};

} // namespace Peer

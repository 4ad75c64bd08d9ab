#pragma once

#include "StateDatagram.h"
#include "VirtualPlatformDataModel.h"
#include "units/AlarmUnit.h"
#include "units/Clock.h"
#include "units/DocumentBuilder.h"
#include "units/GenericBoardUnit.h"
#include "units/LightsUnit.h"
#include "units/WindshieldUnit.h"

#include <QJsonObject>
#include <QObject>

#include <vector>

namespace Peer {

// The peer's heart: it keeps the platform state as last received, runs the control units on it and
// on the passing time, and asks for a document whenever a driven value changes (only the changed
// values, never a periodic repeat). Every tick makes at most one document, so a wiper step is
// always a document of its own.
//
// It owns no socket: datagrams are handed to handleDatagram(), and documents leave through the
// signal documentSent(). With driving off it only watches.
class Simulator : public QObject
{
    Q_OBJECT

public:
    explicit Simulator(const Clock& clock, QObject* parent = nullptr);

    void setDriving(bool driving) { isDriving = driving; }

    // Applies one received datagram as judged by the program's receive rules: a dropped datagram or
    // a text that is not a JSON object changes nothing and is reported (datagramRejected).
    void handleDatagram(const StateDatagram::Received& datagram);
    // A receive failed with the socket layer's error number `error`.
    void handleReceiveError(int error);

    // Lets time pass for the control units; sends what changed.
    void tick();
    // When a control unit next has something to do on its own (now: at once), or -1 for none.
    Millis nextDue() const;

    const VirtualPlatformDataModel& state() const { return received; }

signals:
    // A document was applied. `changedTo` holds the values it changed, `changedFrom` their values
    // before, leaving out values that only confirm what this peer had sent; `document` is the
    // document as received.
    void documentReceived(qint64 at, const QJsonObject& document, const QJsonObject& changedTo,
                          const QJsonObject& changedFrom);
    // A datagram was not applied, or not whole (`reason` says why).
    void datagramRejected(qint64 at, const QString& reason);
    // A document for the program. `previous` holds the values the program was believed to hold
    // for its keys, where known.
    void documentSent(qint64 at, const QJsonObject& document, const QJsonObject& previous);

private:
    void runUnits(Millis now, bool documentArrived);
    void sendChanges(Millis now);

    const Clock& time;
    bool isDriving = true;
    VirtualPlatformDataModel received;
    DocumentBuilder builder;

    LightsUnit lights;
    AlarmUnit alarm;
    WindshieldUnit windshield;
    GenericBoardUnit alarmBoard{QStringLiteral("alarm")};
    GenericBoardUnit lightBoard{QStringLiteral("light")};
    GenericBoardUnit windshieldBoard{QStringLiteral("windshield")};
    std::vector<ControlUnit*> units;
};

} // namespace Peer

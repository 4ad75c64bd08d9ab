#pragma once

#include <QHostAddress>
#include <QUdpSocket>

// A UDP port that is free at the moment of asking (for tests that must not use the link's fixed
// ports).
inline int freeUdpPort()
{
    QUdpSocket probe;
    probe.bind(QHostAddress(QHostAddress::LocalHost), 0);
    return probe.localPort();
}

#pragma once

#include <QJsonObject>
#include <QString>
#include <QStringList>

namespace Peer {

// Turns command-line arguments "key=value ..." into one document. A key must name a value of the
// platform (case-sensitive); an integer value takes a whole number (32 bits), a truth value true,
// false, 1 or 0. Each key may be given once.
struct Assignments
{
    QJsonObject document;
    QString error; // empty when every argument was good
};

Assignments parseAssignments(const QStringList& arguments);

} // namespace Peer

#pragma once

#include "link/SessionFile.h"

#include <QString>

namespace Check {

// A scenario (YAML text) from a recording of a reference solution (the record format): the program's
// documents become set steps, the solution's settled answers expect steps, values that toggle
// steadily blinks steps and the wiper's phases wiper steps, paced as the recording was.
// `error` tells why no scenario could be made.
QString scenarioFrom(const QVector<Peer::SessionFile::Entry>& entries, const QString& name, QString& error);

} // namespace Check

#pragma once

#include <QStringList>

// The commands of zuv-peer. Each takes the arguments after its command word and returns the exit
// status: 0 done, 1 failed while running, 2 bad usage.
namespace Commands {

enum class Units
{
    Simulate, // no command word: the control units with a compact trace
    Monitor,  // every changed value as old -> new
    Record    // the compact trace, and every document written to a file
};

int runUnits(const QStringList& arguments, Units mode);
int send(const QStringList& arguments);
int replay(const QStringList& arguments);
int check(const QStringList& arguments);
int grade(const QStringList& arguments);
int scenarioFrom(const QStringList& arguments);

} // namespace Commands

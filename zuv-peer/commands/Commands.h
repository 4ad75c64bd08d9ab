#pragma once

#include <QStringList>

#include <vector>

// The commands of zuv-peer, in one list: main dispatches on it, and `zuv-peer --help`, the error for
// an unknown command and every command's usage line are made from it. Each command takes the
// arguments after its command word and returns the exit status: 0 done, 1 failed while running,
// 2 bad usage (the checker adds 3, inconclusive).
namespace Commands {

struct Command
{
    const char* name;      // the command word; empty for the control units, which need none
    const char* arguments; // what follows the word in the overview ("FILE", "KEY=VALUE ...")
    const char* summary;   // what it does, for the overview (lines end in \n)
    int (*run)(const QStringList& arguments);
};

// Every command in the order the overview lists them; the first is the one without a word.
const std::vector<Command>& all();
// The overview: what zuv-peer is, and every command with its summary.
QString overview();
// "monitor, record, ...": the command words, for the error of an unknown one.
QString words();
// Runs the command named by the first argument that names one, or the control units.
int dispatch(QStringList arguments);

int units(const QStringList& arguments);
int monitor(const QStringList& arguments);
int record(const QStringList& arguments);
int send(const QStringList& arguments);
int replay(const QStringList& arguments);
int check(const QStringList& arguments);
int grade(const QStringList& arguments);
int scenarioFrom(const QStringList& arguments);
int newUnit(const QStringList& arguments);

} // namespace Commands

#pragma once

#include <QFile>
#include <QJsonObject>
#include <QObject>
#include <QString>
#include <QVector>

namespace Peer {

// A recorded session: one JSON object per line,
//   {"t":12.345678,"dir":"in","doc":{...}}
// with the time in seconds (to the microsecond) since the recording started, the direction seen
// from the peer ("in": from the program to the peer, "out": from the peer to the program) and the
// document. A datagram that was no document carries "rejected" (why) and an empty document. The
// checker's traces also mark where each scenario begins: {"t":...,"scenario":NAME,"file":PATH},
// and where a limit stopped the unit under test: {"t":...,"stopped":WHY}.
namespace SessionFile {

enum class Direction
{
    In,
    Out,
    Scenario, // a scenario begins
    Stopped   // the unit under test was stopped (a limit it reached)
};

struct Entry
{
    qint64 atMicros = 0;
    Direction direction = Direction::In;
    QJsonObject document;
    QString rejected; // Out: why the datagram was no document
    QString scenario; // Scenario: its name and file
    QString file;
    QString stopped; // Stopped: why
};

QString directionName(Direction direction);

// One line of the file, ending in a line feed.
QByteArray line(const Entry& entry);

struct Parsed
{
    QVector<Entry> entries;
    QString error; // empty when every line was read; else names the line and what is wrong with it
};

// Reads a whole file's contents. Empty lines are skipped; any other line that is not an entry is
// an error.
Parsed parse(const QByteArray& contents);

} // namespace SessionFile

// Appends every document in and out to a session file, one line each, flushed at once so that
// nothing is lost when the peer is stopped.
class SessionRecorder : public QObject
{
    Q_OBJECT

public:
    explicit SessionRecorder(QObject* parent = nullptr);

    // Creates the file. Refuses a file that exists and is not empty. Returns an empty text, or
    // what went wrong.
    QString open(const QString& path);

public slots:
    void recordReceived(qint64 at, const QJsonObject& document);
    void recordSent(qint64 at, const QJsonObject& document);

signals:
    void writeFailed(const QString& reason);

private:
    void write(const SessionFile::Entry& entry);

    QFile file;
    bool failed = false;
};

} // namespace Peer

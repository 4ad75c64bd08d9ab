#pragma once

#include <QJsonObject>
#include <QObject>
#include <QString>

namespace Peer {

// How documents are written on the console.
namespace Format {

// Seconds with milliseconds: "12.345".
QString timestamp(qint64 milliseconds);
// A JSON value as it is written in the trace: true, false, 3, "text".
QString value(const QJsonValue& value);
// "key=value key=value", in key order.
QString assignments(const QJsonObject& values);
// "key old -> new, key old -> new", in key order; a key missing from `from` shows "?".
QString transitions(const QJsonObject& from, const QJsonObject& to);
// The keys of `document` that name no value of the platform, in key order.
QStringList unknownNames(const QJsonObject& document);

} // namespace Format

// Writes one line per datagram in and out on the console. The compact style lists the values a
// document changed (key=value); the monitor style lists them as old -> new.
class TrafficPrinter : public QObject
{
    Q_OBJECT

public:
    enum class Style
    {
        Compact,
        Monitor
    };

    explicit TrafficPrinter(Style style, QObject* parent = nullptr);

    // The lines, also for tests.
    QString receivedLine(qint64 at, const QJsonObject& document, const QJsonObject& changedTo,
                         const QJsonObject& changedFrom) const;
    QString sentLine(qint64 at, const QJsonObject& document, const QJsonObject& previous) const;
    static QString rejectedLine(qint64 at, const QString& reason);

public slots:
    void printReceived(qint64 at, const QJsonObject& document, const QJsonObject& changedTo,
                       const QJsonObject& changedFrom);
    void printSent(qint64 at, const QJsonObject& document, const QJsonObject& previous);
    void printRejected(qint64 at, const QString& reason);
    void printSendFailure(qint64 at, const QString& reason);

private:
    Style style;
};

} // namespace Peer

#include "link/TrafficPrinter.h"

#include "StateValues.h"
#include "Trace.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace Peer {

namespace Format {

QString timestamp(qint64 milliseconds)
{
    return QStringLiteral("%1.%2").arg(milliseconds / 1000).arg(milliseconds % 1000, 3, 10, QLatin1Char('0'));
}

QString value(const QJsonValue& value)
{
    switch (value.type()) {
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double: {
        const double number = value.toDouble();
        if (std::floor(number) == number && std::fabs(number) < 1e15)
            return QString::number(static_cast<qint64>(number));
        return QString::number(number, 'g', 17);
    }
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::String:
    case QJsonValue::Array:
    case QJsonValue::Object: {
        // Written as JSON, so that the trace shows what arrived.
        QJsonArray wrapper{value};
        const QByteArray text = QJsonDocument(wrapper).toJson(QJsonDocument::Compact);
        return QString::fromUtf8(text.mid(1, text.size() - 2));
    }
    default:
        return QStringLiteral("?");
    }
}

QString assignments(const QJsonObject& values)
{
    QStringList parts;
    for (auto member = values.constBegin(); member != values.constEnd(); ++member)
        parts << member.key() + QLatin1Char('=') + value(member.value());
    return parts.join(QLatin1Char(' '));
}

QString transitions(const QJsonObject& from, const QJsonObject& to)
{
    QStringList parts;
    for (auto member = to.constBegin(); member != to.constEnd(); ++member) {
        const auto old = from.constFind(member.key());
        const QString oldText = old == from.constEnd() ? QStringLiteral("?") : value(old.value());
        parts << member.key() + QLatin1Char(' ') + oldText + QStringLiteral(" -> ") + value(member.value());
    }
    return parts.join(QStringLiteral(", "));
}

QStringList unknownNames(const QJsonObject& document)
{
    QStringList unknown;
    for (auto member = document.constBegin(); member != document.constEnd(); ++member) {
        if (StateValues::indexOf(member.key()) < 0)
            unknown << member.key();
    }
    return unknown;
}

} // namespace Format

TrafficPrinter::TrafficPrinter(Style style, QObject* parent) : QObject(parent), style(style) {}

QString TrafficPrinter::receivedLine(qint64 at, const QJsonObject& document, const QJsonObject& changedTo,
                                     const QJsonObject& changedFrom) const
{
    QString line = Format::timestamp(at) + QStringLiteral(" in  ");
    if (changedTo.isEmpty())
        line += QStringLiteral("(no change)");
    else if (style == Style::Monitor)
        line += Format::transitions(changedFrom, changedTo);
    else
        line += Format::assignments(changedTo);
    const QStringList unknown = Format::unknownNames(document);
    if (!unknown.isEmpty())
        line += QStringLiteral("  [ignored, no such value: ") + unknown.join(QStringLiteral(", ")) +
                QLatin1Char(']');
    return line;
}

QString TrafficPrinter::sentLine(qint64 at, const QJsonObject& document, const QJsonObject& previous) const
{
    const QString values =
        style == Style::Monitor ? Format::transitions(previous, document) : Format::assignments(document);
    return Format::timestamp(at) + QStringLiteral(" out ") + values;
}

QString TrafficPrinter::rejectedLine(qint64 at, const QString& reason)
{
    return Format::timestamp(at) + QStringLiteral(" in  ") + reason;
}

void TrafficPrinter::printReceived(qint64 at, const QJsonObject& document, const QJsonObject& changedTo,
                                   const QJsonObject& changedFrom)
{
    Trace::line(receivedLine(at, document, changedTo, changedFrom).toStdString());
}

void TrafficPrinter::printSent(qint64 at, const QJsonObject& document, const QJsonObject& previous)
{
    Trace::line(sentLine(at, document, previous).toStdString());
}

void TrafficPrinter::printRejected(qint64 at, const QString& reason)
{
    Trace::line(rejectedLine(at, reason).toStdString());
}

void TrafficPrinter::printSendFailure(qint64 at, const QString& reason)
{
    Trace::line((Format::timestamp(at) + QStringLiteral(" out not sent: ") + reason).toStdString());
}

} // namespace Peer

#include "link/SessionFile.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

#include <cmath>

namespace Peer {

namespace SessionFile {

QString directionName(Direction direction)
{
    return direction == Direction::In ? QStringLiteral("in") : QStringLiteral("out");
}

QByteArray line(const Entry& entry)
{
    QJsonObject object;
    if (entry.direction == Direction::Scenario) {
        object.insert(QStringLiteral("scenario"), entry.scenario);
        object.insert(QStringLiteral("file"), entry.file);
    } else if (entry.direction == Direction::Stopped) {
        object.insert(QStringLiteral("stopped"), entry.stopped);
    } else {
        object.insert(QStringLiteral("dir"), directionName(entry.direction));
        object.insert(QStringLiteral("doc"), entry.document);
        if (!entry.rejected.isEmpty())
            object.insert(QStringLiteral("rejected"), entry.rejected);
    }
    // The time first, to the microsecond.
    const qint64 micros = qMax<qint64>(0, entry.atMicros);
    const QByteArray seconds = QByteArray::number(micros / 1000000) + '.' +
                               QByteArray::number(micros % 1000000).rightJustified(6, '0');
    const QByteArray rest = QJsonDocument(object).toJson(QJsonDocument::Compact);
    return "{\"t\":" + seconds + ',' + rest.mid(1) + '\n';
}

Parsed parse(const QByteArray& contents)
{
    Parsed parsed;
    const QList<QByteArray> lines = contents.split('\n');
    for (int index = 0; index < lines.size(); ++index) {
        const QByteArray text = lines.at(index).trimmed();
        if (text.isEmpty())
            continue;
        const auto fail = [&](const QString& what) {
            parsed.entries.clear();
            parsed.error = QStringLiteral("line %1: %2").arg(index + 1).arg(what);
            return parsed;
        };
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError)
            return fail(QStringLiteral("not JSON (%1)").arg(error.errorString()));
        if (!document.isObject())
            return fail(QStringLiteral("not a JSON object"));
        const QJsonObject object = document.object();
        const QJsonValue time = object.value(QLatin1String("t"));
        const double seconds = time.toDouble(-1);
        if (!time.isDouble() || !std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
            return fail(QStringLiteral("\"t\" must be a number of seconds, 0 or more"));
        Entry entry;
        entry.atMicros = std::llround(seconds * 1e6);
        if (object.contains(QLatin1String("scenario"))) {
            entry.direction = Direction::Scenario;
            entry.scenario = object.value(QLatin1String("scenario")).toString();
            entry.file = object.value(QLatin1String("file")).toString();
            parsed.entries.append(entry);
            continue;
        }
        if (object.contains(QLatin1String("stopped"))) {
            entry.direction = Direction::Stopped;
            entry.stopped = object.value(QLatin1String("stopped")).toString();
            parsed.entries.append(entry);
            continue;
        }
        const QString direction = object.value(QLatin1String("dir")).toString();
        if (direction != QLatin1String("in") && direction != QLatin1String("out"))
            return fail(QStringLiteral("\"dir\" must be \"in\" or \"out\""));
        const QJsonValue content = object.value(QLatin1String("doc"));
        if (!content.isObject())
            return fail(QStringLiteral("\"doc\" must be a JSON object"));
        entry.direction = direction == QLatin1String("in") ? Direction::In : Direction::Out;
        entry.document = content.toObject();
        entry.rejected = object.value(QLatin1String("rejected")).toString();
        parsed.entries.append(entry);
    }
    return parsed;
}

} // namespace SessionFile

SessionRecorder::SessionRecorder(QObject* parent) : QObject(parent) {}

QString SessionRecorder::open(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || info.size() > 0))
        return QStringLiteral("%1 exists already; choose another name or remove it first").arg(path);
    file.setFileName(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

void SessionRecorder::recordReceived(qint64 at, const QJsonObject& document)
{
    write({at * 1000, SessionFile::Direction::In, document, {}, {}, {}, {}});
}

void SessionRecorder::recordSent(qint64 at, const QJsonObject& document)
{
    write({at * 1000, SessionFile::Direction::Out, document, {}, {}, {}, {}});
}

void SessionRecorder::write(const SessionFile::Entry& entry)
{
    if (failed || !file.isOpen())
        return;
    const QByteArray text = SessionFile::line(entry);
    if (file.write(text) != text.size() || !file.flush()) {
        failed = true;
        emit writeFailed(QStringLiteral("writing %1 failed: %2").arg(file.fileName(), file.errorString()));
    }
}

} // namespace Peer

#include "check/sandbox/Limits.h"

#include <QRegularExpression>

namespace Check {

namespace {

// "256M", "1G", "4096" (bytes); -1 when it is none.
qint64 sizeOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+)\\s*([KMG]?)(i?B)?$"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return -1;
    const int shift = QStringLiteral(" KMG").indexOf(match.captured(2).toUpper()) * 10;
    const qint64 value = match.captured(1).toLongLong();
    return value > (qint64(1) << (62 - shift)) ? -1 : value << shift;
}

// "120s", "500ms"; -1 when it is none.
qint64 millisOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]+)\\s*(ms|s)$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return -1;
    return match.captured(1).toLongLong() * (match.captured(2) == QLatin1String("s") ? 1000 : 1);
}

} // namespace

QString sizeText(qint64 bytes)
{
    const char* const units[] = {"B", "KiB", "MiB", "GiB"};
    int unit = 0;
    double value = double(bytes);
    while (value >= 1024 && unit < 3) {
        value /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(QString::number(value, 'g', 4), QLatin1String(units[unit]));
}

QString Limits::set(const QString& assignment)
{
    const QString name = assignment.section(QLatin1Char('='), 0, 0).trimmed();
    const QString value = assignment.section(QLatin1Char('='), 1);
    const auto positive = [&](qint64 parsed, auto& field, const char* what) -> QString {
        if (parsed <= 0)
            return QStringLiteral("--limit %1 takes %2, not '%3'").arg(name, QLatin1String(what), value);
        field = static_cast<std::remove_reference_t<decltype(field)>>(parsed);
        return {};
    };
    bool ok = false;
    const int number = value.trimmed().toInt(&ok);
    if (name == QLatin1String("memory"))
        return positive(sizeOf(value), memory, "a size such as 256M");
    if (name == QLatin1String("processes"))
        return positive(ok ? number : -1, processes, "a number of processes such as 64");
    if (name == QLatin1String("cpus"))
        return positive(ok ? number : -1, cpus, "a number of cores such as 1");
    if (name == QLatin1String("file-size"))
        return positive(sizeOf(value), fileSize, "a size such as 16M");
    if (name == QLatin1String("open-files"))
        return positive(ok && number >= 16 ? number : -1, openFiles, "a number of 16 or more");
    if (name == QLatin1String("output"))
        return positive(sizeOf(value), output, "a size such as 1M");
    if (name == QLatin1String("disk"))
        return positive(sizeOf(value), disk, "a size such as 64M");
    if (name == QLatin1String("prepare-time"))
        return positive(millisOf(value), prepareMillis, "a duration such as 120s");
    return QStringLiteral("--limit knows memory, processes, cpus, file-size, open-files, output, disk and "
                          "prepare-time, not '%1'")
        .arg(name);
}

QString Limits::describe() const
{
    return QStringLiteral("memory %1, %2 processes, %3 CPU, files up to %4, %5 open files, output %6 per "
                          "stream, disk %7, prepare %8 s")
        .arg(sizeText(memory))
        .arg(processes)
        .arg(cpus)
        .arg(sizeText(fileSize))
        .arg(openFiles)
        .arg(sizeText(output), sizeText(disk))
        .arg(prepareMillis / 1000.0);
}

QJsonObject Limits::toJson() const
{
    return {{QStringLiteral("memory"), double(memory)},
            {QStringLiteral("processes"), processes},
            {QStringLiteral("cpus"), cpus},
            {QStringLiteral("file_size"), double(fileSize)},
            {QStringLiteral("open_files"), openFiles},
            {QStringLiteral("output"), double(output)},
            {QStringLiteral("disk"), double(disk)},
            {QStringLiteral("prepare_seconds"), prepareMillis / 1000.0}};
}

} // namespace Check

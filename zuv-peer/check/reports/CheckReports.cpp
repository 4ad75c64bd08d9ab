#include "check/reports/CheckReports.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace Check::Reports {

QString verdictName(CheckResult::Verdict verdict)
{
    switch (verdict) {
    case CheckResult::Verdict::Pass:
        return QStringLiteral("pass");
    case CheckResult::Verdict::Fail:
        return QStringLiteral("fail");
    case CheckResult::Verdict::NotRun:
        break;
    }
    return QStringLiteral("not-run");
}

QString verdictMark(CheckResult::Verdict verdict)
{
    return verdict == CheckResult::Verdict::Pass   ? QStringLiteral("✓")
           : verdict == CheckResult::Verdict::Fail ? QStringLiteral("✗")
                                                   : QStringLiteral("-");
}

namespace {

QString xmlEscaped(const QString& text)
{
    QString escaped = text.toHtmlEscaped();
    escaped.replace(QLatin1Char('\''), QStringLiteral("&apos;"));
    // Characters XML 1.0 does not allow at all.
    for (QChar& c : escaped) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\n') && c != QLatin1Char('\t') && c != QLatin1Char('\r'))
            c = QLatin1Char('?');
    }
    return escaped;
}

QString message(const CheckResult& check)
{
    if (check.verdict == CheckResult::Verdict::NotRun)
        return QStringLiteral("not run");
    if (check.verdict == CheckResult::Verdict::Pass)
        return check.measured;
    return check.measured + QStringLiteral(", expected ") + check.expected;
}

} // namespace

QString consoleLine(const CheckResult& check, const QString& file)
{
    const QString mark = verdictMark(check.verdict);
    const QString where = check.verdict == CheckResult::Verdict::Fail && !file.isEmpty()
                              ? QStringLiteral(" (%1:%2)").arg(file).arg(check.line)
                              : QString();
    return mark + QLatin1Char(' ') + check.name + QStringLiteral(": ") + message(check) + where;
}

Totals totals(const std::vector<ScenarioReport>& reports)
{
    Totals sum;
    for (const ScenarioReport& report : reports) {
        sum.passed += report.count(CheckResult::Verdict::Pass);
        sum.failed += report.count(CheckResult::Verdict::Fail);
        sum.notRun += report.count(CheckResult::Verdict::NotRun);
        sum.points += report.points;
        sum.maximum += report.maxPoints;
        sum.inconclusive += report.inconclusive.isEmpty() ? 0 : 1;
    }
    return sum;
}

QString summary(const std::vector<ScenarioReport>& reports)
{
    const auto [passed, failed, notRun, points, maximum, inconclusive] = totals(reports);
    Q_UNUSED(inconclusive)
    QString text = QStringLiteral("%1 passed, %2 failed").arg(passed).arg(failed);
    if (notRun > 0)
        text += QStringLiteral(", %1 not run").arg(notRun);
    return text + QStringLiteral("; %1 of %2 points").arg(points).arg(maximum);
}

QJsonObject RunRecord::toJson() const
{
    QJsonObject object{{"version", version}, {"seed", QString::number(seed)}};
    const std::pair<const char*, QJsonValue> parts[] = {{"sandbox", sandbox},       {"limits", limits},
                                                        {"submission", submission}, {"files", files},
                                                        {"scenarios", scenarios},   {"prepare", prepare}};
    for (const auto& [key, value] : parts) {
        const bool empty = (value.isString() && value.toString().isEmpty()) ||
                           (value.isObject() && value.toObject().isEmpty()) ||
                           (value.isArray() && value.toArray().isEmpty());
        if (!empty)
            object.insert(QLatin1String(key), value);
    }
    return object;
}

QStringList RunRecord::lines() const
{
    QStringList text;
    if (!clock.isEmpty())
        text << QStringLiteral("clock: ") + clock;
    if (!sandbox.isEmpty())
        text << QStringLiteral("sandbox: ") + sandbox;
    if (!prepare.isEmpty())
        text << QStringLiteral("prepare: '%1' %2")
                    .arg(prepare.value("command").toString(), prepare.value("result").toString());
    return text;
}

QByteArray json(const std::vector<ScenarioReport>& reports, const RunRecord& record)
{
    QJsonArray scenarios;
    int passed = 0, failed = 0, notRun = 0;
    for (const ScenarioReport& report : reports) {
        QJsonArray checks;
        for (const CheckResult& check : report.results) {
            checks.append(QJsonObject{{"name", check.name},
                                      {"kind", check.kind},
                                      {"verdict", verdictName(check.verdict)},
                                      {"points", check.points()},
                                      {"max_points", check.maxPoints},
                                      {"expected", check.expected},
                                      {"measured", check.measured},
                                      {"t", check.at < 0 ? QJsonValue() : QJsonValue(double(check.at) / 1e6)},
                                      {"line", check.line}});
        }
        passed += report.count(CheckResult::Verdict::Pass);
        failed += report.count(CheckResult::Verdict::Fail);
        notRun += report.count(CheckResult::Verdict::NotRun);
        QJsonObject scenario{{"name", report.scenario.name},
                             {"file", report.scenario.file},
                             {"points", report.points},
                             {"max_points", report.maxPoints},
                             {"duration", double(report.duration) / 1e6},
                             {"seed", QString::number(report.seed)},
                             {"checks", checks}};
        if (!report.inconclusive.isEmpty())
            scenario.insert("inconclusive", report.inconclusive);
        if (!report.peerOutput.isEmpty())
            scenario.insert("output", QString::fromUtf8(report.peerOutput));
        if (!report.peerErrors.isEmpty())
            scenario.insert("errors", QString::fromUtf8(report.peerErrors));
        if (report.outputTruncated || report.errorsTruncated)
            scenario.insert("truncated",
                            QStringLiteral("%1 beyond the output limit was dropped")
                                .arg(report.outputTruncated && report.errorsTruncated ? "output and errors"
                                     : report.outputTruncated                         ? "output"
                                                                                      : "errors"));
        if (!report.stopped.isEmpty())
            scenario.insert("stopped", report.stopped);
        if (!report.notes.isEmpty())
            scenario.insert("notes", QJsonArray::fromStringList(report.notes));
        if (report.leftBehind > 0)
            scenario.insert("left_behind", report.leftBehind);
        if (report.survivors > 0)
            scenario.insert("survivors", report.survivors);
        scenarios.append(scenario);
    }
    QJsonObject root{{"scenarios", scenarios}, {"passed", passed}, {"failed", failed}, {"not_run", notRun}};
    if (!record.version.isEmpty())
        root.insert("checked", record.toJson());
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray junit(const std::vector<ScenarioReport>& reports, const RunRecord& record)
{
    QString xml = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n");
    for (const QString& line : record.lines())
        xml += QStringLiteral("<!-- %1 -->\n")
                   .arg(xmlEscaped(line).replace(QStringLiteral("--"), QStringLiteral("- -")));
    xml += QStringLiteral("<testsuites>\n");
    for (const ScenarioReport& report : reports) {
        xml += QStringLiteral(
                   "  <testsuite name=\"%1\" tests=\"%2\" failures=\"%3\" skipped=\"%4\" time=\"%5\">\n")
                   .arg(xmlEscaped(report.scenario.name))
                   .arg(report.results.size())
                   .arg(report.count(CheckResult::Verdict::Fail))
                   .arg(report.count(CheckResult::Verdict::NotRun))
                   .arg(double(report.duration) / 1e6, 0, 'f', 3);
        if (!report.inconclusive.isEmpty())
            xml += QStringLiteral(
                       "    <properties><property name=\"inconclusive\" value=\"%1\"/></properties>\n")
                       .arg(xmlEscaped(report.inconclusive));
        for (const CheckResult& check : report.results) {
            xml += QStringLiteral("    <testcase classname=\"%1\" name=\"%2\" time=\"%3\"")
                       .arg(xmlEscaped(report.scenario.file), xmlEscaped(check.name))
                       .arg(check.at < 0 ? 0.0 : double(check.at) / 1e6, 0, 'f', 3);
            if (check.verdict == CheckResult::Verdict::Pass) {
                xml += QStringLiteral("/>\n");
            } else if (check.verdict == CheckResult::Verdict::Fail) {
                xml += QStringLiteral(">\n      <failure message=\"%1\"/>\n    </testcase>\n")
                           .arg(xmlEscaped(message(check)));
            } else {
                xml += QStringLiteral(">\n      <skipped message=\"not run\"/>\n    </testcase>\n");
            }
        }
        if (!report.peerOutput.isEmpty())
            xml += QStringLiteral("    <system-out>%1</system-out>\n")
                       .arg(xmlEscaped(QString::fromUtf8(report.peerOutput)));
        if (!report.peerErrors.isEmpty())
            xml += QStringLiteral("    <system-err>%1</system-err>\n")
                       .arg(xmlEscaped(QString::fromUtf8(report.peerErrors)));
        xml += QStringLiteral("  </testsuite>\n");
    }
    xml += QStringLiteral("</testsuites>\n");
    return xml.toUtf8();
}

QString write(const QString& path, const QByteArray& contents)
{
    // QSaveFile writes to the target of a link: a link planted at `path` goes first.
    if (QFileInfo(path).isSymLink() && !QFile::remove(path))
        return QStringLiteral("cannot replace the link %1").arg(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() || !file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return {};
}

} // namespace Check::Reports

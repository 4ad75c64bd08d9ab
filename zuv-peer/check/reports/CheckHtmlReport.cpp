// The HTML report of the checker: one self-contained page (inline style and SVG, nothing fetched)
// that is also well-formed XML, so that any browser shows it offline and a tool can read it.

#include "check/reports/CheckHtmlTimeline.h"
#include "check/reports/CheckReports.h"

#include <QFileInfo>

#include <algorithm>

namespace Check::Reports {

namespace {

const char* const style = R"(
body{font:16px/1.5 system-ui,"Segoe UI",Roboto,"DejaVu Sans",Arial,sans-serif;color:#1f2328;background:#fff;
max-width:1320px;margin:0 auto;padding:0 20px 48px}
h1{font-size:28px;margin:24px 0 4px}
h2{font-size:22px;margin:14px 0 4px}
h3{font-size:17px;margin:18px 0 6px}
a{color:#0550ae}
.summary{font-size:18px;margin:4px 0 12px}
.totals{display:flex;flex-wrap:wrap;gap:12px;margin:0 0 16px}
.total{border:2px solid #d0d7de;border-radius:8px;padding:6px 18px;min-width:90px}
.total b{display:block;font-size:28px;line-height:1.2}
.total.fail{border-color:#cf222e;color:#a40e26}
.total.pass{border-color:#1a7f37;color:#116329}
.total.notrun{border-color:#6e7781;color:#424a53}
.total.points{border-color:#0969da;color:#0550ae}
nav ol{margin:0;padding-left:24px}
nav li{margin:2px 0}
.badge{display:inline-block;border-radius:12px;padding:0 10px;font-size:14px;font-weight:600;color:#fff;
vertical-align:2px;margin-right:6px}
.badge.fail{background:#cf222e}
.badge.pass{background:#1a7f37}
.badge.inconclusive{background:#9a6700}
.badge.notrun{background:#6e7781}
section.scenario{border:1px solid #d0d7de;border-top:6px solid #1a7f37;border-radius:10px;margin:28px 0;
padding:4px 20px 16px}
section.scenario.fail{border-top-color:#cf222e}
section.scenario.inconclusive{border-top-color:#9a6700}
section.scenario.notrun{border-top-color:#6e7781}
.facts{color:#424a53;margin:0 0 10px}
.checked{color:#424a53;margin:2px 0}
details.checked pre{font-size:11px;overflow-x:auto}
.inconclusive-reason{background:#fff8c5;border:1px solid #d4a72c;border-radius:6px;padding:8px 12px}
table.checks{border-collapse:collapse;width:100%;font-size:15px}
table.checks th{text-align:left;white-space:nowrap;background:#f6f8fa;border-bottom:2px solid #d0d7de;padding:6px 10px}
table.checks td{border-bottom:1px solid #d8dee4;padding:6px 10px;vertical-align:top}
table.checks tr.fail td{background:#ffebe9}
table.checks td.number{color:#57606a;text-align:right}
.kind{color:#57606a;font-size:13px;margin-left:6px}
.value{font-family:ui-monospace,"DejaVu Sans Mono",Consolas,monospace;font-size:14px}
.verdict{font-weight:700;white-space:nowrap}
.verdict.fail{color:#a40e26}
.verdict.pass{color:#116329}
.verdict.notrun{color:#57606a}
.nowrap{white-space:nowrap}
.legend{font-size:14px;color:#424a53;margin:0 0 6px}
.legend span{display:inline-block;margin-right:16px}
.swatch{display:inline-block;width:14px;height:10px;border:1.5px solid;border-radius:2px;margin-right:5px}
.swatch.sent{background:#ddf4ff;border-color:#0969da}
.swatch.peer{background:#fff8c5;border-color:#1f2328}
.swatch.passmark{background:#1a7f37;border-color:#1a7f37;width:3px}
.swatch.failmark{background:#cf222e;border-color:#cf222e;width:3px}
.swatch.band{background:#8c959f;border-color:#8c959f}
.wave{overflow-x:auto;border:1px solid #d8dee4;border-radius:6px}
svg.timeline{display:block;max-width:100%;height:auto}
svg.timeline text{font-family:ui-monospace,"DejaVu Sans Mono",Consolas,monospace}
.stripe{fill:#f6f8fa}
.grid{stroke:#d8dee4}
.axis{stroke:#57606a}
.tick{font-size:12px;fill:#424a53;text-anchor:middle}
.end{stroke:#57606a;stroke-dasharray:5 4}
.endtext{font-size:11px;fill:#57606a}
.name{font-size:13px;text-anchor:end;fill:#1f2328}
.name.sent{fill:#0550ae}
.name.both{fill:#6639ba}
.tag{stroke-width:1}
.tag.sent{fill:#ddf4ff;stroke:#0969da}
.tag.peer{fill:#fff8c5;stroke:#57606a}
.tag.both{fill:#fbefff;stroke:#8250df}
.tagtext{font-size:10px;fill:#1f2328;text-anchor:middle}
.lit{fill:#1f2328;fill-opacity:.12}
.row.sent .lit{fill:#0969da}
.row.both .lit{fill:#8250df}
.trace{fill:none;stroke:#1f2328;stroke-width:2;stroke-linejoin:round}
.row.sent .trace{stroke:#0969da}
.row.both .trace{stroke:#8250df}
.bus{fill:#fff8c5;stroke:#1f2328;stroke-width:1.5}
.row.sent .bus{fill:#ddf4ff;stroke:#0969da}
.row.both .bus{fill:#fbefff;stroke:#8250df}
.busvalue{font-size:11px;fill:#1f2328;text-anchor:middle}
.band{fill:#8c959f}
.mark line{stroke-width:2;opacity:.8}
.mark.pass line,.mark.pass rect{stroke:#1a7f37;fill:#1a7f37}
.mark.fail line,.mark.fail rect{stroke:#cf222e;fill:#cf222e}
.mark line.hit{stroke:transparent;stroke-width:10;opacity:1}
.mark text{font-size:11px;font-weight:700;fill:#fff;text-anchor:middle}
.mark:hover line{opacity:1;stroke-width:3}
.mark:hover line.hit{stroke:transparent;stroke-width:10}
details{margin-top:14px}
summary{cursor:pointer;font-weight:600}
pre{background:#f6f8fa;border:1px solid #d8dee4;border-radius:6px;padding:10px;overflow:auto;max-height:480px;
font:13px/1.45 ui-monospace,"DejaVu Sans Mono",Consolas,monospace;white-space:pre-wrap}
@media print{.wave{overflow:visible}details{display:none}}
)";

bool failedOrInconclusive(const ScenarioReport& report)
{
    return !report.inconclusive.isEmpty() || report.count(CheckResult::Verdict::Fail) > 0;
}

// The scenario's state as a CSS class and as its badge says it.
std::pair<QString, QString> statusOf(const ScenarioReport& report)
{
    if (!report.inconclusive.isEmpty())
        return {QStringLiteral("inconclusive"), QStringLiteral("inconclusive")};
    if (report.count(CheckResult::Verdict::Fail) > 0)
        return {QStringLiteral("fail"), QStringLiteral("failed")};
    if (!report.results.empty() && report.count(CheckResult::Verdict::Pass) == 0)
        return {QStringLiteral("notrun"), QStringLiteral("not run")};
    return {QStringLiteral("pass"), QStringLiteral("passed")};
}

int rank(CheckResult::Verdict verdict)
{
    switch (verdict) {
    case CheckResult::Verdict::Fail:
        return 0;
    case CheckResult::Verdict::NotRun:
        return 1;
    case CheckResult::Verdict::Pass:
        break;
    }
    return 2;
}

QString pointsText(int points, int maximum)
{
    return QStringLiteral("%1 of %2 point%3").arg(points).arg(maximum).arg(maximum == 1 ? "" : "s");
}

QString total(const QString& kind, const QString& figure, const QString& what)
{
    return QStringLiteral("<div class=\"total ") + kind + QStringLiteral("\"><b>") + figure +
           QStringLiteral("</b>") + what + QStringLiteral("</div>");
}

// How the run was made (sandbox, limits, what was checked), below the title.
QString checked(const RunRecord& record)
{
    if (record.version.isEmpty())
        return {};
    QString text;
    for (const QString& line : record.lines())
        text += QStringLiteral("<p class=\"checked\">") + htmlText(line) + QStringLiteral("</p>\n");
    QString files;
    for (const QJsonValue& file : record.files)
        files += htmlText(file.toObject().value("sha256").toString() + QStringLiteral("  ") +
                          file.toObject().value("path").toString()) +
                 QLatin1Char('\n');
    for (const QJsonValue& scenario : record.scenarios)
        files += htmlText(scenario.toObject().value("sha256").toString() + QStringLiteral("  ") +
                          scenario.toObject().value("file").toString()) +
                 QLatin1Char('\n');
    return text +
           QStringLiteral("<details class=\"checked\"><summary>zuv-peer %1, seed %2: what was checked "
                          "(SHA-256)</summary><pre>")
               .arg(htmlText(record.version))
               .arg(record.seed) +
           files + QStringLiteral("</pre></details>\n");
}

QString header(const std::vector<ScenarioReport>& reports, const std::vector<std::size_t>& order,
               const RunRecord& record)
{
    const auto [passed, failed, notRun, points, maximum, inconclusive] = totals(reports);
    QString text = QStringLiteral("<header>\n<h1>Check report</h1>\n") + checked(record) +
                   QStringLiteral("<p class=\"summary\">") + htmlText(summary(reports)) +
                   QStringLiteral("</p>\n<div class=\"totals\">");
    text += total(QStringLiteral("fail"), QString::number(failed), QStringLiteral("failed"));
    text += total(QStringLiteral("notrun"), QString::number(notRun), QStringLiteral("not run"));
    text += total(QStringLiteral("pass"), QString::number(passed), QStringLiteral("passed"));
    text += total(QStringLiteral("points"), QStringLiteral("%1 / %2").arg(points).arg(maximum),
                  QStringLiteral("points"));
    if (inconclusive > 0)
        text +=
            total(QStringLiteral("notrun"), QString::number(inconclusive), QStringLiteral("inconclusive"));
    text += QStringLiteral("</div>\n<nav><ol>\n");
    for (const std::size_t index : order) {
        const ScenarioReport& report = reports[index];
        const auto [kind, word] = statusOf(report);
        text += QStringLiteral("<li><a href=\"#scenario-%1\"><span class=\"badge %2\">%3</span>")
                    .arg(index + 1)
                    .arg(kind, word) +
                htmlText(report.scenario.name) + QStringLiteral("</a> ") +
                pointsText(report.points, report.maxPoints) + QStringLiteral("</li>\n");
    }
    return text + QStringLiteral("</ol></nav>\n</header>\n");
}

QString verdictCell(CheckResult::Verdict verdict)
{
    const QString name = verdictName(verdict);
    return QStringLiteral("<span class=\"verdict %1\">%2 %3</span>")
        .arg(QString(name).remove(QLatin1Char('-')), verdictMark(verdict),
             QString(name).replace(QLatin1Char('-'), QLatin1Char(' ')));
}

QString cell(const QString& text, const QString& kind = {})
{
    return (kind.isEmpty() ? QStringLiteral("<td>")
                           : QStringLiteral("<td class=\"") + kind + QStringLiteral("\">")) +
           text + QStringLiteral("</td>");
}

QString checksTable(const ScenarioReport& report)
{
    if (report.results.empty())
        return QStringLiteral("<p>This scenario has no checks.</p>\n");
    std::vector<std::size_t> order(report.results.size());
    for (std::size_t index = 0; index < order.size(); ++index)
        order[index] = index;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return rank(report.results[a].verdict) < rank(report.results[b].verdict);
    });
    const QString file = htmlText(QFileInfo(report.scenario.file).fileName());
    QString text =
        QStringLiteral("<table class=\"checks\">\n<thead><tr><th>#</th><th>Verdict</th><th>Check</th>"
                       "<th>Expected</th><th>Measured</th><th>Decided at</th><th>Line</th>"
                       "<th>Points</th></tr></thead>\n<tbody>\n");
    for (const std::size_t index : order) {
        const CheckResult& check = report.results[index];
        const QString kind = check.verdict == CheckResult::Verdict::Fail   ? QStringLiteral("fail")
                             : check.verdict == CheckResult::Verdict::Pass ? QStringLiteral("pass")
                                                                           : QStringLiteral("notrun");
        text +=
            QStringLiteral("<tr class=\"") + kind + QStringLiteral("\">") +
            cell(QString::number(index + 1), QStringLiteral("number")) + cell(verdictCell(check.verdict)) +
            cell(QStringLiteral("<span class=\"check\">") + htmlText(check.name) +
                 QStringLiteral("</span><span class=\"kind\">") + htmlText(check.kind) +
                 QStringLiteral("</span>")) +
            cell(htmlText(check.expected), QStringLiteral("value")) +
            cell(htmlText(check.measured), QStringLiteral("value")) +
            cell(secondsText(check.at), QStringLiteral("nowrap")) +
            cell(file + QLatin1Char(':') + QString::number(check.line), QStringLiteral("nowrap")) +
            cell(QStringLiteral("%1/%2").arg(check.points()).arg(check.maxPoints), QStringLiteral("nowrap")) +
            QStringLiteral("</tr>\n");
    }
    return text + QStringLiteral("</tbody></table>\n");
}

QString timeline(const ScenarioReport& report)
{
    const QString svg = timelineSvg(report);
    if (svg.isEmpty())
        return QStringLiteral("<h3>Timeline</h3>\n<p>No value changed and no check was decided.</p>\n");
    return QStringLiteral(
               "<h3>Timeline</h3>\n<p class=\"legend\">"
               "<span><i class=\"swatch sent\"></i>sent: set by the checker (the program's side)</span>"
               "<span><i class=\"swatch peer\"></i>peer: set by the control unit under test</span>"
               "<span><i class=\"swatch passmark\"></i>check passed</span>"
               "<span><i class=\"swatch failmark\"></i>check failed</span>"
               "<span><i class=\"swatch band\"></i>changes too close to draw one by one</span>"
               "<span>Hover a line or a segment for details.</span></p>\n<div class=\"wave\">\n") +
           svg + QStringLiteral("</div>\n");
}

QString peerOutput(const QByteArray& bytes, bool truncated, const char* what)
{
    if (bytes.isEmpty())
        return {};
    const QString output = QString::fromUtf8(bytes);
    const int lines = output.count(QLatin1Char('\n')) + (output.endsWith(QLatin1Char('\n')) ? 0 : 1);
    return QStringLiteral("<details><summary>%1 of the peer (%2 line%3%4)</summary><pre>")
               .arg(QLatin1String(what))
               .arg(lines)
               .arg(lines == 1 ? "" : "s")
               .arg(truncated ? ", truncated: the rest was dropped" : "") +
           htmlText(output) + QStringLiteral("</pre></details>\n");
}

QString section(const ScenarioReport& report, std::size_t index)
{
    const auto [kind, word] = statusOf(report);
    QString text =
        QStringLiteral(
            "<section class=\"scenario %1\" id=\"scenario-%2\">\n<h2><span class=\"badge %1\">%3</span>")
            .arg(kind)
            .arg(index + 1)
            .arg(word) +
        htmlText(report.scenario.name) + QStringLiteral("</h2>\n<p class=\"facts\">") +
        htmlText(report.scenario.file) + QStringLiteral(" · ") + pointsText(report.points, report.maxPoints) +
        (report.duration > 0 ? QStringLiteral(" · ran ") + secondsText(report.duration) : QString()) +
        QStringLiteral(" · %1 datagrams from the peer · seed %2</p>\n")
            .arg(report.datagramsFromPeer)
            .arg(report.seed);
    if (!report.inconclusive.isEmpty())
        text += QStringLiteral("<p class=\"inconclusive-reason\"><strong>Inconclusive:</strong> ") +
                htmlText(report.inconclusive) +
                QStringLiteral(". The checks below say nothing about the control unit.</p>\n");
    if (!report.stopped.isEmpty())
        text += QStringLiteral("<p class=\"inconclusive-reason\"><strong>Stopped:</strong> ") +
                htmlText(report.stopped) + QStringLiteral(".</p>\n");
    if (report.leftBehind > 0)
        text += QStringLiteral(
                    "<p class=\"facts\">The checker ended %1 process%2 the peer had left running.</p>\n")
                    .arg(report.leftBehind)
                    .arg(report.leftBehind == 1 ? "" : "es");
    return text + checksTable(report) + timeline(report) +
           peerOutput(report.peerOutput, report.outputTruncated, "Output") +
           peerOutput(report.peerErrors, report.errorsTruncated, "Errors") + QStringLiteral("</section>\n");
}

} // namespace

QByteArray html(const std::vector<ScenarioReport>& reports, const RunRecord& record)
{
    // Scenarios that failed or said nothing first, each group in the order they ran.
    std::vector<std::size_t> order(reports.size());
    for (std::size_t index = 0; index < order.size(); ++index)
        order[index] = index;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return failedOrInconclusive(reports[a]) && !failedOrInconclusive(reports[b]);
    });
    QString page = QStringLiteral("<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"/>"
                                  "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\"/>"
                                  "<title>Check report</title><style>") +
                   QString::fromUtf8(style) + QStringLiteral("</style></head>\n<body>\n") +
                   header(reports, order, record) + QStringLiteral("<main>\n");
    for (const std::size_t index : order)
        page += section(reports[index], index);
    return (page + QStringLiteral("</main>\n</body></html>\n")).toUtf8();
}

} // namespace Check::Reports

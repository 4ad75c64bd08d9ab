// The HTML report of the checker: one self-contained page.

#include "CheckReports.h"

namespace Check::Reports {

QByteArray html(const std::vector<ScenarioReport>& reports)
{
    QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Check report</title></head><body>\n");
    for (const ScenarioReport& report : reports) {
        page += QStringLiteral("<h2>%1</h2>\n<ul>\n").arg(report.scenario.name.toHtmlEscaped());
        for (const CheckResult& check : report.results)
            page += QStringLiteral("<li>%1</li>\n").arg(consoleLine(check).toHtmlEscaped());
        page += QStringLiteral("</ul>\n");
    }
    return (page + QStringLiteral("</body></html>\n")).toUtf8();
}

} // namespace Check::Reports

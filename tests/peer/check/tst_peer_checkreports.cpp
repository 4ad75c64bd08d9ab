// The checker's HTML report: a page an XML reader takes as it is (so every text is escaped), the
// scenarios and checks that failed first, a waveform row per value that changed, a mark per decided
// check, and dense toggling kept to a small page.

#include "check/reports/CheckReports.h"

#include <QXmlStreamReader>
#include <QtTest>

using namespace Check;
using Verdict = CheckResult::Verdict;

namespace {

CheckResult check(const QString& name, Verdict verdict, Micros at)
{
    CheckResult result;
    result.name = name;
    result.kind = QStringLiteral("expect");
    result.line = 7;
    result.verdict = verdict;
    result.expected = QStringLiteral("lightLowerBeamHeadlight=true within 200 ms");
    result.measured = verdict == Verdict::Pass ? QStringLiteral("after 50 ms") : QString();
    result.at = at;
    return result;
}

ScenarioReport scenario(const QString& name, std::vector<CheckResult> results, std::vector<Change> changes)
{
    ScenarioReport report;
    report.scenario.name = name;
    report.scenario.file = QStringLiteral("scenarios/lights.yaml");
    report.results = std::move(results);
    report.changes = std::move(changes);
    report.duration = 2'000'000;
    report.datagramsFromPeer = 3;
    for (const CheckResult& result : report.results) {
        report.points += result.points();
        report.maxPoints += result.maxPoints;
    }
    return report;
}

// What an XML reader finds in the page, section by section.
struct Section
{
    QString id;
    QStringList checks; // "verdict class:name", in the table's order
    QStringList rows;   // the values of the waveform's rows
    int marks = 0;
    int bands = 0; // changes merged because they are too close to draw one by one
    QString output;
};

struct Page
{
    QString error;
    QVector<Section> sections;
};

QString classOf(const QXmlStreamReader& xml)
{
    return xml.attributes().value(QLatin1String("class")).toString();
}

Page read(const QByteArray& html)
{
    Page page;
    QXmlStreamReader xml(html);
    QString row;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringList classes = classOf(xml).split(QLatin1Char(' '));
        if (xml.name() == QLatin1String("section"))
            page.sections.append({xml.attributes().value(QLatin1String("id")).toString(), {}, {}, 0, 0, {}});
        if (page.sections.isEmpty())
            continue;
        Section& section = page.sections.last();
        if (xml.name() == QLatin1String("tr"))
            row = classOf(xml);
        else if (xml.name() == QLatin1String("span") && classes.contains(QLatin1String("check")))
            section.checks.append(row + QLatin1Char(':') + xml.readElementText());
        else if (xml.name() == QLatin1String("g") && classes.contains(QLatin1String("row")))
            section.rows.append(xml.attributes().value(QLatin1String("data-value")).toString());
        else if (xml.name() == QLatin1String("g") && classes.contains(QLatin1String("mark")))
            ++section.marks;
        else if (xml.name() == QLatin1String("rect") && classes.contains(QLatin1String("band")))
            ++section.bands;
        else if (xml.name() == QLatin1String("pre"))
            section.output = xml.readElementText();
    }
    if (xml.hasError())
        page.error = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
    return page;
}

} // namespace

class TestPeerCheckReports : public QObject
{
    Q_OBJECT

private slots:
    void pageReadsBackFailuresFirst();
    void denseChangesStaySmall_data();
    void denseChangesStaySmall();
};

void TestPeerCheckReports::pageReadsBackFailuresFirst()
{
    const QString tricky = QStringLiteral("expect <b>\"low\" & 'high'</b> %1 beam");
    const ScenarioReport passing = scenario(
        QStringLiteral("Backlight"), {check("backlight on", Verdict::Pass, 80'000)},
        {{0, StateValues::cockpitLightSwitch, 2, false}, {80'000, StateValues::lightBacklight, 1, true}});
    ScenarioReport failing = scenario(QStringLiteral("Low <beam> & co"),
                                      {check(QStringLiteral("beam on"), Verdict::Pass, 150'000),
                                       check(tricky, Verdict::Fail, 1'200'000),
                                       check(QStringLiteral("indicator blinks"), Verdict::NotRun, -1)},
                                      {{100'000, StateValues::cockpitLightSwitch, 3, false},
                                       {150'000, StateValues::lightLowerBeamHeadlight, 1, true},
                                       {400'000, StateValues::lightIndicatorLeft, 1, true},
                                       {733'000, StateValues::lightIndicatorLeft, 0, true},
                                       {1'066'000, StateValues::lightIndicatorLeft, 1, true},
                                       {1'500'000, StateValues::cockpitLightSwitch, 0, false}});
    failing.peerOutput = "ready\n</pre><script>alert(1)</script> & done\n";

    const Page page = read(Reports::html({passing, failing}));
    QVERIFY2(page.error.isEmpty(), qPrintable(page.error));
    QCOMPARE(page.sections.size(), 2);
    const Section& first = page.sections.at(0);
    QCOMPARE(first.id, QStringLiteral("scenario-2"));
    QCOMPARE(first.checks,
             QStringList({QStringLiteral("fail:") + tricky, QStringLiteral("notrun:indicator blinks"),
                          QStringLiteral("pass:beam on")}));
    QCOMPARE(first.rows,
             QStringList({"cockpitLightSwitch", "lightIndicatorLeft", "lightLowerBeamHeadlight"}));
    QCOMPARE(first.marks, 2);
    QCOMPARE(first.bands, 0);
    QCOMPARE(first.output, QString::fromUtf8(failing.peerOutput));
    const Section& second = page.sections.at(1);
    QCOMPARE(second.id, QStringLiteral("scenario-1"));
    QCOMPARE(second.rows, QStringList({"cockpitLightSwitch", "lightBacklight"}));
    QCOMPARE(second.marks, 1);
}

void TestPeerCheckReports::denseChangesStaySmall_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<Micros>("gap");
    QTest::addColumn<int>("burst"); // changes in a row at `gap`, then a pause of 0.5 s
    QTest::newRow("truth value, evenly") << int(StateValues::lightIndicatorLeft) << Micros(6'000) << 10'000;
    QTest::newRow("truth value, bursts") << int(StateValues::windshieldWiperA) << Micros(500) << 80;
    QTest::newRow("whole number, evenly") << int(StateValues::cockpitVelocity) << Micros(6'000) << 10'000;
}

void TestPeerCheckReports::denseChangesStaySmall()
{
    QFETCH(int, index);
    QFETCH(Micros, gap);
    QFETCH(int, burst);
    std::vector<Change> changes;
    Micros at = 0;
    for (int count = 1; count <= 10'000; ++count) {
        at += count % burst == 0 ? 500'000 : gap;
        changes.push_back(
            {at, index, StateValues::table[index].kind == StateValues::Kind::Bool ? count % 2 : count, true});
    }
    ScenarioReport report = scenario(QStringLiteral("Dense"), {check("blinks", Verdict::Pass, at)}, changes);
    report.duration = at;

    const QByteArray html = Reports::html({report});
    const Page page = read(html);
    QVERIFY2(page.error.isEmpty(), qPrintable(page.error));
    QCOMPARE(page.sections.value(0).rows.size(), 1);
    QVERIFY(page.sections.value(0).bands > 0);
    QVERIFY2(html.size() < 50'000, qPrintable(QStringLiteral("%1 bytes").arg(html.size())));
}

QTEST_GUILESS_MAIN(TestPeerCheckReports)
#include "tst_peer_checkreports.moc"

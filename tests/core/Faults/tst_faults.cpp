// Instructor faults: reading fault files (and refusing bad ones), the value faults on what is sent
// and what is shown, and the faulty link.

#include "Faults/LinkConditioner.h"
#include "Faults/ValueFaults.h"
#include "StateDatagram.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

constexpr qint64 second = 1'000'000;

ValueFaults loaded(const QByteArray& text, qint64 at = 0)
{
    const FaultsLoaded file = parseFaults("faults.yaml", text);
    if (!file.errors.isEmpty())
        qFatal("%s", qPrintable(file.errors.join('\n')));
    ValueFaults faults;
    faults.load(file.faults, at);
    return faults;
}

int valueIn(const StateValues::Assignments& assignments, int index)
{
    for (const auto& assignment : assignments.list) {
        if (assignment.index == index)
            return assignment.value;
    }
    return -1; // not assigned
}

// Which of `count` datagrams get through `conditions`, with `seed`.
QList<int> passing(const LinkConditions& conditions, quint64 seed, int count)
{
    LinkConditioner link;
    link.start(conditions, seed);
    QList<int> through;
    QObject::connect(&link, &LinkConditioner::delivered,
                     [&through](const QByteArray& datagram) { through << datagram.toInt(); });
    for (int index = 0; index < count; ++index)
        link.submit(QByteArray::number(index));
    return through;
}

} // namespace

class FaultsTest : public QObject
{
    Q_OBJECT

private slots:
    void badFilesAreRefused_data();
    void badFilesAreRefused();
    void theExerciseFilesAreValid();
    void inputFaultsChangeWhatIsSent_data();
    void inputFaultsChangeWhatIsSent();
    void outputFaultsChangeWhatIsShown_data();
    void outputFaultsChangeWhatIsShown();
    void faultsStartAndEndOnTime();
    void theSameSeedLosesTheSameDatagrams();
    void lossesComeInRunsOfTheirMeanLength();
    void lateDatagramsComeInTheirOrder();
    void damagedDatagramsAreHandledByTheReceiveRules();
    void anOutageIsDarkForItsTime();
};

void FaultsTest::badFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("error");

    QTest::newRow("not YAML") << QByteArray("faults: [\n") << "faults.yaml:2:1: not valid YAML";
    QTest::newRow("empty file") << QByteArray("") << "a fault file is a map";
    QTest::newRow("neither faults nor link")
        << QByteArray("fault: []\n")
        << "faults.yaml:1:1: a fault file has no key 'fault'; did you mean 'faults'?";
    QTest::newRow("unknown name with the nearest")
        << QByteArray("faults:\n  - dead: lightIndicatorLft\n")
        << "faults.yaml:2:11: no value is named 'lightIndicatorLft'; did you mean lightIndicatorLeft?";
    QTest::newRow("unknown kind")
        << QByteArray("faults:\n  - stuk: {lightBrakelight: true}\n")
        << "faults.yaml:2:5: a fault is one of dead, stuck, offset, swap, flicker; did you mean 'stuck'?";
    QTest::newRow("wrong kind of value")
        << QByteArray("faults:\n  - stuck: {cockpitTemperature: warm}\n")
        << "faults.yaml:2:33: cockpitTemperature takes a whole number, not 'warm'";
    QTest::newRow("truth value as a number")
        << QByteArray("faults:\n  - stuck: {lightBrakelight: 1}\n") << "lightBrakelight takes true or false";
    QTest::newRow("negative duration") << QByteArray("faults:\n  - dead: lightBacklight\n    after: -5s\n")
                                       << "faults.yaml:3:12: after must be a duration of 0 or more";
    QTest::newRow("percentage above 100") << QByteArray("faults:\n  - flicker: {alarmLockButton: 110%}\n")
                                          << "flicker must be a percentage from 0% to 100%";
    QTest::newRow("swap of an input with an output")
        << QByteArray("faults:\n  - swap: [cockpitIgnition, lightBacklight]\n")
        << "swap crosses two inputs or two outputs; cockpitIgnition is an input, lightBacklight an output";
    QTest::newRow("swap of one value")
        << QByteArray("faults:\n  - swap: [lightBacklight]\n") << "swap takes two values";
    QTest::newRow("offset of a truth value")
        << QByteArray("faults:\n  - offset: {lightBacklight: 3}\n")
        << "offset is for whole numbers; lightBacklight is true or false";
    QTest::newRow("two faults in one")
        << QByteArray("faults:\n  - dead: lightBacklight\n    stuck: {lightDaylight: true}\n")
        << "a fault is one thing";
    QTest::newRow("unknown link key") << QByteArray("link:\n  to-peer: {drop: 10%, delai: 20ms}\n")
                                      << "to-peer has no key 'delai'; did you mean 'delay'?";
    QTest::newRow("jitter beyond the delay") << QByteArray("link:\n  to-peer: {delay: 5ms, jitter: 10ms}\n")
                                             << "jitter (more or less) cannot exceed the delay";
    QTest::newRow("an outage without end")
        << QByteArray("link:\n  to-program: {outage: {every: 2s, for: 3s}}\n")
        << "for must be shorter than every";
    QTest::newRow("burst below one")
        << QByteArray("link:\n  to-peer: {drop: 10%, burst: 0}\n")
        << "burst (the mean length of a run of drops) must be a whole number from 1";
}

void FaultsTest::badFilesAreRefused()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, error);
    const FaultsLoaded file = parseFaults("faults.yaml", text);
    QVERIFY2(file.errors.join('\n').contains(error), qPrintable(file.errors.join('\n')));
    QVERIFY(file.faults.values.empty());
}

void FaultsTest::theExerciseFilesAreValid()
{
    const QDir folder(QStringLiteral(ZUV_FAULTS_DIR));
    const QStringList files = folder.entryList({"*.yaml"}, QDir::Files);
    QVERIFY(files.size() >= 3);
    for (const QString& file : files) {
        const FaultsLoaded loaded = loadFaults(folder.filePath(file));
        QVERIFY2(loaded.errors.isEmpty(), qPrintable(loaded.errors.join('\n')));
        QVERIFY(!loaded.faults.values.empty() || loaded.faults.link.any());
    }
}

void FaultsTest::inputFaultsChangeWhatIsSent_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("value"); // what the model holds
    QTest::addColumn<int>("sent");  // what goes out

    QTest::newRow("dead button") << QByteArray("dead: alarmLockButton") << "alarmLockButton" << 1 << 0;
    QTest::newRow("stuck sensor") << QByteArray("stuck: {cockpitTemperature: 20}") << "cockpitTemperature"
                                  << -5 << 20;
    QTest::newRow("offset sensor") << QByteArray("offset: {windshieldDistanceSensor: 500}")
                                   << "windshieldDistanceSensor" << 1200 << 1700;
    QTest::newRow("flicker always") << QByteArray("flicker: {alarmLockButton: 100%}") << "alarmLockButton"
                                    << 1 << 0;
    QTest::newRow("flicker never") << QByteArray("flicker: {alarmLockButton: 0%}") << "alarmLockButton" << 1
                                   << 1;
    QTest::newRow("crossed buttons") << QByteArray("swap: [alarmLockButton, alarmAlarmButton]")
                                     << "alarmAlarmButton" << 0 << 1;
    QTest::newRow("an output fault leaves what is sent")
        << QByteArray("dead: lightBacklight") << "lightBacklight" << 1 << 1;
}

void FaultsTest::inputFaultsChangeWhatIsSent()
{
    QFETCH(QByteArray, fault);
    QFETCH(QString, name);
    QFETCH(int, value);
    QFETCH(int, sent);
    ValueFaults faults = loaded("faults:\n  - " + fault + "\n");
    std::array<int, StateValues::count> values{};
    values[StateValues::indexOf(name)] = value;
    if (name == "alarmAlarmButton") // crossed with the lock button, which is held
        values[StateValues::alarmLockButton] = 1;
    faults.sending(values, 0);
    QCOMPARE(values[StateValues::indexOf(name)], sent);
}

void FaultsTest::outputFaultsChangeWhatIsShown_data()
{
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<QByteArray>("document"); // received
    QTest::addColumn<QString>("shown");       // name=value pairs as shown, -1 for not assigned

    QTest::newRow("dead lamp") << QByteArray("dead: lightIndicatorLeft")
                               << QByteArray(R"({"lightIndicatorLeft":true})") << "lightIndicatorLeft=0";
    QTest::newRow("stuck lamp") << QByteArray("stuck: {lightBrakelight: true}")
                                << QByteArray(R"({"lightBrakelight":false,"lightDaylight":true})")
                                << "lightBrakelight=1 lightDaylight=1";
    QTest::newRow("crossed lamps, both shown")
        << QByteArray("swap: [lightIndicatorLeft, lightIndicatorRight]")
        << QByteArray(R"({"lightIndicatorLeft":true})") << "lightIndicatorLeft=0 lightIndicatorRight=1";
    QTest::newRow("broken phase wire") << QByteArray("dead: windshieldWiperC")
                                       << QByteArray(R"({"windshieldWiperB":true,"windshieldWiperC":true})")
                                       << "windshieldWiperB=1 windshieldWiperC=0";
    QTest::newRow("flickering lamp") << QByteArray("flicker: {lightBacklight: 100%}")
                                     << QByteArray(R"({"lightBacklight":true})") << "lightBacklight=0";
    QTest::newRow("an input fault leaves what is shown")
        << QByteArray("dead: cockpitAlarmReset")
        << QByteArray(R"({"cockpitAlarmReset":0,"lightBacklight":true})")
        << "cockpitAlarmReset=0 lightBacklight=1";
}

void FaultsTest::outputFaultsChangeWhatIsShown()
{
    QFETCH(QByteArray, fault);
    QFETCH(QByteArray, document);
    QFETCH(QString, shown);
    ValueFaults faults = loaded("faults:\n  - " + fault + "\n");
    const StateValues::Assignments received = StateDatagram::receive(document).assignments;
    const StateValues::Assignments showing = faults.receiving(received, 0);
    QCOMPARE(showing.count, received.count);
    for (const QString& pair : shown.split(' ')) {
        const QString name = pair.section('=', 0, 0);
        QCOMPARE(valueIn(showing, StateValues::indexOf(name)), pair.section('=', 1).toInt());
    }
}

void FaultsTest::faultsStartAndEndOnTime()
{
    // A broken phase wire from 60 s for 30 s after loading (at 1000 s on the clock); a stuck lamp lit
    // from the start, before any document.
    ValueFaults faults = loaded("faults:\n  - dead: windshieldWiperC\n    after: 60s\n    for: 30s\n"
                                "  - stuck: {lightBrakelight: true}\n",
                                1000 * second);
    QCOMPARE(valueIn(faults.shownNow(1000 * second), StateValues::lightBrakelight), 1);
    const StateValues::Assignments phase =
        StateDatagram::receive(QByteArray(R"({"windshieldWiperC":true})")).assignments;
    QCOMPARE(valueIn(faults.receiving(phase, 1059 * second), StateValues::windshieldWiperC), 1);
    QCOMPARE(faults.nextChange(1059 * second), 1060 * second);
    QCOMPARE(valueIn(faults.receiving(phase, 1060 * second), StateValues::windshieldWiperC), 0);
    QCOMPARE(faults.activeAt(1070 * second).size(), std::size_t(2));
    QCOMPARE(faults.nextChange(1070 * second), 1090 * second);
    QCOMPARE(valueIn(faults.shownNow(1090 * second), StateValues::windshieldWiperC), 1); // it ends
    QCOMPARE(faults.nextChange(1090 * second), qint64(-1));
}

void FaultsTest::theSameSeedLosesTheSameDatagrams()
{
    LinkConditions lossy;
    lossy.drop = 0.1;
    lossy.duplicate = 0.01;
    const QList<int> first = passing(lossy, 7, 10000);
    QCOMPARE(passing(lossy, 7, 10000), first);
    QVERIFY(passing(lossy, 8, 10000) != first);
    // Lost: a tenth, within a point; duplicated: about one in a hundred.
    const int lost = 10000 - int(QSet<int>(first.begin(), first.end()).size());
    QVERIFY2(lost >= 900 && lost <= 1100, qPrintable(QString::number(lost)));
    const int twice = first.size() - (10000 - lost);
    QVERIFY2(twice >= 50 && twice <= 150, qPrintable(QString::number(twice)));
}

void FaultsTest::lossesComeInRunsOfTheirMeanLength()
{
    LinkConditions bursty;
    bursty.drop = 0.2;
    bursty.burst = 4;
    const QList<int> through = passing(bursty, 3, 20000);
    int runs = 0, lost = 0;
    for (int index = 0, previous = -1; index < through.size(); previous = through[index++]) {
        const int gap = through[index] - previous - 1;
        runs += gap > 0;
        lost += gap;
    }
    const double share = double(lost) / 20000.0;
    const double mean = double(lost) / runs;
    QVERIFY2(share > 0.18 && share < 0.22, qPrintable(QString::number(share)));
    QVERIFY2(mean > 3.5 && mean < 4.5, qPrintable(QString::number(mean)));
}

void FaultsTest::lateDatagramsComeInTheirOrder()
{
    LinkConditions late;
    late.delay = 30'000;
    LinkConditioner link;
    link.start(late, 1);
    QSignalSpy delivered(&link, &LinkConditioner::delivered);
    QElapsedTimer timer;
    timer.start();
    for (int index = 0; index < 5; ++index)
        link.submit(QByteArray::number(index));
    QCOMPARE(delivered.count(), 0);
    QTRY_COMPARE(delivered.count(), 5);
    QVERIFY(timer.elapsed() >= 30);
    for (int index = 0; index < 5; ++index)
        QCOMPARE(delivered.at(index).at(0).toByteArray(), QByteArray::number(index));
}

void FaultsTest::damagedDatagramsAreHandledByTheReceiveRules()
{
    // Every kind of damage, on a framed document: the rules judge the result; none is lost unseen.
    char framed[StateDatagram::size] = {};
    StateDatagram::frame(R"({"cockpitVelocity":42,"lightBacklight":true,"windshieldWiperA":false})", framed);
    const QByteArray datagram(framed, int(StateDatagram::size));
    std::mt19937_64 random(11);
    int changed = 0;
    for (int round = 0; round < 300; ++round) {
        const QByteArray damaged = LinkConditioner::damaged(datagram, random);
        changed += damaged != datagram;
        const StateDatagram::Received received = StateDatagram::receive(damaged);
        QVERIFY(received.assignments.count <= 3);
    }
    QVERIFY(changed > 280);
}

void FaultsTest::anOutageIsDarkForItsTime()
{
    LinkConditions dark;
    dark.outageEvery = 60'000; // dark from 60 ms to 90 ms
    dark.outageFor = 30'000;
    LinkConditioner link;
    link.start(dark, 1);
    QSignalSpy delivered(&link, &LinkConditioner::delivered);
    link.submit("before", 10'000);
    link.submit("inside", 70'000);
    link.submit("after", 95'000);
    link.submit("next time", 125'000);
    QCOMPARE(delivered.count(), 2);
    QCOMPARE(delivered.at(1).at(0).toByteArray(), QByteArray("after"));
    QCOMPARE(link.counts().dropped, 2L);
}

QTEST_GUILESS_MAIN(FaultsTest)
#include "tst_faults.moc"

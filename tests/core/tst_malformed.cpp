#include "ModelFacts.h"
#include "StateDatagram.h"
#include "StdoutCapture.h"
#include "UdpPorts.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QDir>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

using Values = QVariantMap;

// Malformed and unusual datagrams reaching a running link: the link survives each one, the model
// holds exactly what the rules give, and the next valid document is applied.
class MalformedDatagramTest : public QObject
{
    Q_OBJECT

private slots:
    void datagram_data();
    void datagram();
    void everySeedOfTheFuzzCorpus_data();
    void everySeedOfTheFuzzCorpus();
};

namespace {

QByteArray nested(int depth)
{
    return QByteArray("{\"a\":").repeated(depth) + "1" + QByteArray("}").repeated(depth);
}

// Sends `datagram` to a running link, then a marker document, and returns the model's values once
// the marker has been applied.
Values deliver(const QByteArray& datagram, QByteArray* trace = nullptr)
{
    VirtualPlatformDataModel model;
    QUdpSocket peer;
    peer.bind(QHostAddress(QHostAddress::LocalHost), 0);
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = freeUdpPort();
    endpoints.transmitPort = peer.localPort();
    StdoutCapture capture;
    VirtualPlatformDataManager manager(&model, endpoints);
    manager.start();
    peer.writeDatagram(datagram, QHostAddress::LocalHost, quint16(endpoints.receivePort));
    peer.writeDatagram(R"({"cockpitAlarmReset":9})", QHostAddress::LocalHost, quint16(endpoints.receivePort));
    QElapsedTimer timer;
    timer.start();
    while (model.getCockpitAlarmReset() != 9 && timer.elapsed() < 5000)
        QTest::qWait(5);
    manager.stop();
    capture.restore();
    if (trace)
        *trace = capture.text();
    Values values;
    for (const QString& name : ModelFacts::propertyNames())
        values.insert(name, model.property(qPrintable(name)));
    return values;
}

} // namespace

void MalformedDatagramTest::datagram_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<Values>("changed"); // values that differ from a new model's

    const QByteArray valid = R"({"cockpitVelocity":42})";
    const Values applied{{"cockpitVelocity", 42}};
    QTest::newRow("empty") << QByteArray() << Values{};
    QTest::newRow("all NUL") << QByteArray(4096, '\0') << Values{};
    QTest::newRow("no NUL within 4096 bytes") << valid + QByteArray(4096 - valid.size(), ' ') << applied;
    QTest::newRow("longer than 4096 bytes") << valid + QByteArray(4097 - valid.size(), ' ') << Values{};
    QTest::newRow("65507 bytes") << valid + QByteArray(65507 - valid.size(), ' ') << Values{};
    QTest::newRow("invalid UTF-8 in a key")
        << QByteArray("{\"cockpitVelocity\":42,\"\xff\xfe\":1}") << Values{};
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf") + valid << applied;
    QTest::newRow("top-level array") << QByteArray("[") + valid + "]" << Values{};
    QTest::newRow("top-level number") << QByteArray("42") << Values{};
    QTest::newRow("top-level string") << QByteArray("\"cockpitVelocity\"") << Values{};
    QTest::newRow("top-level null") << QByteArray("null") << Values{};
    QTest::newRow("nesting 2000 deep") << nested(2000) << Values{};
    QTest::newRow("nesting 500 deep, valid member beside")
        << QByteArray("{\"cockpitBrake\":2,\"x\":") + nested(500) + "}" << Values{{"cockpitBrake", 2}};
    QTest::newRow("truncated text") << valid.left(valid.size() - 1) << Values{};
    QTest::newRow("trailing garbage") << valid + "x" << Values{};
    QTest::newRow("two documents in one datagram") << valid + valid << Values{};
    QTest::newRow("text ends at the first NUL")
        << valid + QByteArray("\0{\"cockpitBrake\":2}", 19) << applied;
    QTest::newRow("duplicate keys: the last counts")
        << QByteArray(R"({"cockpitBrake":1,"cockpitBrake":3})") << Values{{"cockpitBrake", 3}};
    QTest::newRow("huge numbers") << QByteArray(R"({"cockpitVelocity":1e308,"lightDaylight":1e308})")
                                  << Values{{"lightDaylight", true}};
    QTest::newRow("beyond 32 bits") << QByteArray(R"({"cockpitVelocity":4294967338})") << Values{};
    QTest::newRow("tiny numbers") << QByteArray(R"({"cockpitVelocity":1e-320,"lightDaylight":1e-320})")
                                  << Values{{"lightDaylight", true}};
    QTest::newRow("negative zero") << QByteArray(R"({"cockpitVelocity":-0,"lightDaylight":-0.0})")
                                   << Values{};
    QTest::newRow("halves round up") << QByteArray(R"({"cockpitVelocity":2.5,"cockpitBrake":-2.5})")
                                     << Values{{"cockpitVelocity", 3}, {"cockpitBrake", -2}};
    QTest::newRow("exponent") << QByteArray(R"({"cockpitVelocity":4.2e1})") << applied;
    QTest::newRow("strings as values")
        << QByteArray(R"({"cockpitVelocity":"42","lightDaylight":"true"})") << Values{};
    QTest::newRow("null as values") << QByteArray(R"({"cockpitVelocity":null,"lightDaylight":null})")
                                    << Values{};
    QTest::newRow("arrays as values")
        << QByteArray(R"({"cockpitVelocity":[42],"lightDaylight":[true]})") << Values{};
    QTest::newRow("objects as values")
        << QByteArray(R"({"cockpitVelocity":{"v":42},"lightDaylight":{}})") << Values{};
    QTest::newRow("wrong-case keys") << QByteArray(R"({"CockpitVelocity":42,"lightdaylight":true})")
                                     << Values{};
    QTest::newRow("unknown keys") << QByteArray(R"({"speed":42,"objectName":"x","":1})") << Values{};
    QTest::newRow("escaped key") << QByteArray(R"({"cockpit\u0056elocity":42})") << applied;
    QTest::newRow("NaN literal") << QByteArray(R"({"cockpitVelocity":NaN})") << Values{};
    QTest::newRow("leading zero") << QByteArray(R"({"cockpitVelocity":042})") << Values{};
    QTest::newRow("single quotes") << QByteArray("{'cockpitVelocity':42}") << Values{};
    QTest::newRow("comment") << QByteArray(R"({"cockpitVelocity":42 /* km/h */})") << Values{};
    QTest::newRow("member only nested") << QByteArray(R"({"x":{"cockpitVelocity":42}})") << Values{};
    QTest::newRow("whitespace around") << QByteArray(" \r\n\t") + valid + "\n" << applied;
    QTest::newRow("booleans for integers")
        << QByteArray(R"({"cockpitIgnition":true,"cockpitBrake":false})") << Values{{"cockpitIgnition", 1}};
}

void MalformedDatagramTest::datagram()
{
    QFETCH(QByteArray, datagram);
    QFETCH(Values, changed);
    QByteArray trace;
    const Values values = deliver(datagram, &trace);
    QCOMPARE(values.value("cockpitAlarmReset").toInt(), 9); // the next valid document was applied
    for (const QString& name : ModelFacts::propertyNames()) {
        if (name == "cockpitAlarmReset")
            continue;
        const QVariant expected = changed.contains(name)
                                      ? changed.value(name)
                                      : (ModelFacts::isInt(name) ? QVariant(0) : QVariant(false));
        QVERIFY2(values.value(name) == expected,
                 qPrintable(QString("%1 is %2, expected %3")
                                .arg(name, values.value(name).toString(), expected.toString())));
    }
    QCOMPARE(trace.count("Valid elements found: "), datagram.size() > 4096 ? 1 : 2);
}

void MalformedDatagramTest::everySeedOfTheFuzzCorpus_data()
{
    QTest::addColumn<QString>("path");
    const QDir corpus(QStringLiteral(ZUV_FUZZ_CORPUS));
    const QStringList files = corpus.entryList(QDir::Files, QDir::Name);
    QVERIFY(files.size() >= 30);
    for (const QString& file : files)
        QTest::newRow(qPrintable(file)) << corpus.filePath(file);
}

void MalformedDatagramTest::everySeedOfTheFuzzCorpus()
{
    // y_ seeds are documents, n_ seeds are not (they apply nothing), i_ seeds may be either.
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    VirtualPlatformDataModel model;
    const auto applied = StateDatagram::apply(model, bytes.constData(), std::size_t(bytes.size()));
    const QString name = QFileInfo(path).fileName();
    if (name.startsWith("y_"))
        QVERIFY2(applied.document.isObject(), "must be read as a document");
    else if (name.startsWith("n_"))
        QVERIFY2(applied.document.isNull() && applied.count == 0, "must not be read as a document");
}

QTEST_GUILESS_MAIN(MalformedDatagramTest)
#include "tst_malformed.moc"

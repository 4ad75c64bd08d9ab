#include "ModelFacts.h"
#include "SignalRecorder.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

using Values = QVariantMap;

class StateDocumentTest : public QObject
{
    Q_OBJECT

private slots:
    void newModelWritesAllMembersInKeyOrder();
    void serializingKeepsForeignMembersAndReplacesOwn();
    void apply_data();
    void apply();
    void applyingTheSameDocumentTwice();
    void roundTripCarriesEveryValue();
};

void StateDocumentTest::newModelWritesAllMembersInKeyOrder()
{
    VirtualPlatformDataModel model;
    QJsonObject object;
    model.serializeJson(object);
    QCOMPARE(object.size(), 49);

    QStringList sorted = ModelFacts::propertyNames();
    std::sort(sorted.begin(), sorted.end()); // byte order: upper case before lower case
    QCOMPARE(object.keys(), sorted);

    const QByteArray text = QJsonDocument(object).toJson(QJsonDocument::Compact);
    QVERIFY(text.startsWith("{\"alarmAlarmButton\":false,\"alarmAlarmLight\":false,"));
    QVERIFY(text.endsWith("\"windshieldWiperD\":false}"));
    QVERIFY(!text.contains(' ') && !text.contains('\n'));
    for (const QString& key : object.keys()) {
        if (ModelFacts::isInt(key))
            QVERIFY2(object.value(key).isDouble() && object.value(key).toInt() == 0, qPrintable(key));
        else
            QVERIFY2(object.value(key).isBool() && !object.value(key).toBool(), qPrintable(key));
    }
}

void StateDocumentTest::serializingKeepsForeignMembersAndReplacesOwn()
{
    VirtualPlatformDataModel model;
    model.setCockpitVelocity(50);
    QJsonObject object{{"somethingElse", "kept"}, {"cockpitVelocity", "replaced"}};
    model.serializeJson(object);
    QCOMPARE(object.size(), 50);
    QCOMPARE(object.value("somethingElse").toString(), QString("kept"));
    QCOMPARE(object.value("cockpitVelocity").toInt(), 50);
}

void StateDocumentTest::apply_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<int>("count");
    QTest::addColumn<Values>("expected"); // values after applying to a new model
    QTest::addColumn<QStringList>("signalNames");

    const QString remote = "remoteBasedDataChanged";
    QTest::newRow("empty") << QByteArray("{}") << 0 << Values{} << QStringList{remote};
    QTest::newRow("one int") << QByteArray(R"({"cockpitVelocity":50})") << 1
                             << Values{{"cockpitVelocity", 50}}
                             << QStringList{"cockpitVelocityChanged", remote};
    QTest::newRow("wrong case") << QByteArray(R"({"CockpitVelocity":50})") << 0
                                << Values{{"cockpitVelocity", 0}} << QStringList{remote};
    QTest::newRow("unknown key") << QByteArray(R"({"speed":5,"cockpitBrake":2})") << 1
                                 << Values{{"cockpitBrake", 2}} << QStringList{"cockpitBrakeChanged", remote};
    QTest::newRow("0 for bool") << QByteArray(R"({"lightDaylight":0})") << 1
                                << Values{{"lightDaylight", false}} << QStringList{remote};
    QTest::newRow("a value that cannot be taken counts")
        << QByteArray(R"({"cockpitVelocity":"7"})") << 1 << Values{{"cockpitVelocity", 0}}
        << QStringList{remote};
    QTest::newRow("upper beam announces itself")
        << QByteArray(R"({"lightUpperBeamHeadlight":true})") << 1 << Values{{"lightUpperBeamHeadlight", true}}
        << QStringList{"lightUpperBeamHeadlightChanged", remote, remote};
    QTest::newRow("module input asks for a transmission")
        << QByteArray(R"({"alarmAlarmButton":true})") << 1 << Values{{"alarmAlarmButton", true}}
        << QStringList{"alarmAlarmButtonChanged", "localBasedDataChanged", remote};
    QTest::newRow("text order does not matter")
        << QByteArray(R"({"windshieldWiperA":true,"lightDaylight":true,"cockpitBrake":3})") << 3
        << Values{{"windshieldWiperA", true}, {"lightDaylight", true}, {"cockpitBrake", 3}}
        << QStringList{"cockpitBrakeChanged", "lightDaylightChanged", "windshieldWiperAChanged", remote};
}

void StateDocumentTest::apply()
{
    QFETCH(QByteArray, document);
    QFETCH(int, count);
    QFETCH(Values, expected);
    QFETCH(QStringList, signalNames);

    const QJsonDocument parsed = QJsonDocument::fromJson(document);
    QVERIFY(parsed.isObject());
    VirtualPlatformDataModel model;
    SignalRecorder recorder(&model);
    QCOMPARE(model.deserializeJson(parsed.object()), count);
    QCOMPARE(recorder.names(), signalNames);
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(model.property(qPrintable(it.key())), it.value());
}

void StateDocumentTest::applyingTheSameDocumentTwice()
{
    const QJsonObject document{{"cockpitVelocity", 50}, {"alarmAlarmLight", true}, {"nothing", 1}};
    VirtualPlatformDataModel model;
    QCOMPARE(model.deserializeJson(document), 2);
    SignalRecorder recorder(&model);
    QCOMPARE(model.deserializeJson(document), 2);
    QCOMPARE(recorder.names(), QStringList{"remoteBasedDataChanged"});
}

void StateDocumentTest::roundTripCarriesEveryValue()
{
    VirtualPlatformDataModel source;
    int n = 0;
    for (const QString& name : ModelFacts::propertyNames()) {
        ++n;
        source.setProperty(qPrintable(name),
                           ModelFacts::isInt(name) ? QVariant(n * 37 - 600) : QVariant(n % 3 != 0));
    }
    QJsonObject object;
    source.serializeJson(object);
    const QJsonObject reparsed =
        QJsonDocument::fromJson(QJsonDocument(object).toJson(QJsonDocument::Compact)).object();

    VirtualPlatformDataModel target;
    QCOMPARE(target.deserializeJson(reparsed), 49);
    for (const QString& name : ModelFacts::propertyNames())
        QCOMPARE(target.property(qPrintable(name)), source.property(qPrintable(name)));
}

QTEST_GUILESS_MAIN(StateDocumentTest)
#include "tst_statedocument.moc"

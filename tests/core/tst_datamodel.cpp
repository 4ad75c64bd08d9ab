#include "ModelFacts.h"
#include "SignalRecorder.h"
#include "VirtualPlatformDataModel.h"

#include <QMetaProperty>
#include <QSignalSpy>
#include <QtTest>

#include <atomic>
#include <climits>
#include <thread>

class DataModelTest : public QObject
{
    Q_OBJECT

private slots:
    void propertiesInDeclarationOrderStartAtZero();
    void signalsAreDeclaredInTheirOrder();
    void setterSignals_data();
    void setterSignals();
    void extremeAndNegativeValuesAreStoredUnchanged_data();
    void extremeAndNegativeValuesAreStoredUnchanged();
    void handlerMayReadAndWriteTheModel();
    void concurrentWritersKeepEveryValue();
};

void DataModelTest::propertiesInDeclarationOrderStartAtZero()
{
    VirtualPlatformDataModel model;
    const QMetaObject* meta = model.metaObject();
    QStringList names;
    int ints = 0;
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        names << property.name();
        QVERIFY(property.isWritable() && property.hasNotifySignal());
        QCOMPARE(QString(property.notifySignal().name()), QString(property.name()) + "Changed");
        if (property.userType() == QMetaType::Int) {
            ++ints;
            QCOMPARE(property.read(&model).toInt(), 0);
        } else {
            QCOMPARE(property.userType(), int(QMetaType::Bool));
            QCOMPARE(property.read(&model).toBool(), false);
        }
        QCOMPARE(property.userType() == QMetaType::Int, ModelFacts::isInt(property.name()));
    }
    QCOMPARE(names, ModelFacts::propertyNames());
    QCOMPARE(ints, 13);
    QCOMPARE(ModelFacts::moduleInputs().size(), 7);
}

void DataModelTest::signalsAreDeclaredInTheirOrder()
{
    // The change signals follow the property order except the generic lamps (Left, Right, Up, Down)
    // and the first three light-module lamps (Daylight, Backlight, Brakelight).
    QStringList expected = {"localBasedDataChanged", "remoteBasedDataChanged", "requestTransmit"};
    QStringList changes;
    for (const QString& name : ModelFacts::propertyNames())
        changes << name + "Changed";
    for (const QString prefix : {"alarm", "light", "windshield"}) {
        const int left = changes.indexOf(prefix + "GenericLightLeftChanged");
        changes.move(left + 2, left + 1); // Right before Up
    }
    const int back = changes.indexOf("lightBacklightChanged");
    changes.move(back + 2, back); // Daylight before Backlight and Brakelight
    expected << changes;

    VirtualPlatformDataModel model;
    QStringList declared;
    const QMetaObject* meta = model.metaObject();
    for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
        if (meta->method(i).methodType() == QMetaMethod::Signal)
            declared << meta->method(i).name();
    }
    QCOMPARE(declared, expected);
}

void DataModelTest::setterSignals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("expected");
    for (const QString& name : ModelFacts::propertyNames()) {
        QStringList signalNames = {name + "Changed"};
        if (ModelFacts::moduleInputs().contains(name))
            signalNames << "localBasedDataChanged";
        if (name == "lightUpperBeamHeadlight")
            signalNames << "remoteBasedDataChanged";
        QTest::newRow(qPrintable(name)) << name << signalNames;
    }
}

void DataModelTest::setterSignals()
{
    QFETCH(QString, name);
    QFETCH(QStringList, expected);
    VirtualPlatformDataModel model;
    SignalRecorder recorder(&model);
    const QVariant value = ModelFacts::isInt(name) ? QVariant(7) : QVariant(true);

    QVERIFY(model.setProperty(qPrintable(name), value));
    QCOMPARE(recorder.names(), expected);
    QCOMPARE(model.property(qPrintable(name)), value);

    // The same value again emits nothing at all.
    recorder.clear();
    model.setProperty(qPrintable(name), value);
    QCOMPARE(recorder.names(), QStringList());
}

void DataModelTest::extremeAndNegativeValuesAreStoredUnchanged_data()
{
    QTest::addColumn<int>("value");
    QTest::newRow("-45") << -45;
    QTest::newRow("-2") << -2;
    QTest::newRow("INT_MIN") << INT_MIN;
    QTest::newRow("INT_MAX") << INT_MAX;
}

void DataModelTest::extremeAndNegativeValuesAreStoredUnchanged()
{
    QFETCH(int, value);
    VirtualPlatformDataModel model;
    QSignalSpy spy(&model, &VirtualPlatformDataModel::cockpitSteeringAngleDegChanged);
    model.setCockpitSteeringAngleDeg(value);
    model.setCockpitIndicator(value);
    QCOMPARE(model.getCockpitSteeringAngleDeg(), value);
    QCOMPARE(model.getCockpitIndicator(), value);
    QCOMPARE(spy.count(), 1);
}

void DataModelTest::handlerMayReadAndWriteTheModel()
{
    VirtualPlatformDataModel model;
    int seen = -1;
    connect(&model, &VirtualPlatformDataModel::cockpitVelocityChanged, &model, [&] {
        seen = model.getCockpitVelocity();
        model.setCockpitBrake(model.getCockpitVelocity() / 10);
    });
    connect(&model, &VirtualPlatformDataModel::localBasedDataChanged, &model,
            [&] { model.setWindshieldHeater(model.getAlarmLockButton()); });
    model.setCockpitVelocity(80);
    model.setAlarmLockButton(true);
    QCOMPARE(seen, 80);
    QCOMPARE(model.getCockpitBrake(), 8);
    QVERIFY(model.getWindshieldHeater());
}

void DataModelTest::concurrentWritersKeepEveryValue()
{
    // The link thread writes received values while the main thread writes user input: every single
    // value stays intact.
    VirtualPlatformDataModel model;
    std::atomic<int> changes{0};
    connect(
        &model, &VirtualPlatformDataModel::cockpitTemperatureChanged, &model, [&] { ++changes; },
        Qt::DirectConnection);
    std::thread other([&] {
        for (int i = 1; i <= 20000; ++i)
            model.setCockpitVelocity(i);
    });
    for (int i = 1; i <= 20000; ++i) {
        model.setCockpitTemperature(i % 2);
        QVERIFY(model.getCockpitVelocity() >= 0);
    }
    other.join();
    QCOMPARE(model.getCockpitVelocity(), 20000);
    QCOMPARE(changes.load(), 20000);
}

QTEST_GUILESS_MAIN(DataModelTest)
#include "tst_datamodel.moc"

#pragma once

#include <QJsonObject>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>

#include "ThreadSanitizer.h"

// The whole state of the virtual platform: 49 named values, one per input or output line of the
// simulated modules. The scene binds to them by name, and they are the keys of the state document
// exchanged with the peer process.
//
// Three groups by who writes them: cockpit inputs (written by the cockpit, which then asks for a
// transmission itself), module inputs (buttons and sensors on the board: their setters also emit
// localBasedDataChanged, upon which the link transmits the whole state) and module outputs (set by
// documents received from the peer).
//
// Every value is guarded by one non-recursive mutex, held only while a single value is compared and
// stored or read. Signals are emitted after the mutex is released, so a receiver may call any
// accessor at once.
class VirtualPlatformDataModel : public QObject
{
    Q_OBJECT
    // ---- properties, in declaration order (also the order of the state document's application)
    Q_PROPERTY(int cockpitWarnLight READ getCockpitWarnLight WRITE setCockpitWarnLight NOTIFY
                   cockpitWarnLightChanged)
    Q_PROPERTY(int cockpitIndicator READ getCockpitIndicator WRITE setCockpitIndicator NOTIFY
                   cockpitIndicatorChanged)
    Q_PROPERTY(int cockpitLightSwitch READ getCockpitLightSwitch WRITE setCockpitLightSwitch NOTIFY
                   cockpitLightSwitchChanged)
    Q_PROPERTY(int cockpitWindshieldHeater READ getCockpitWindshieldHeater WRITE setCockpitWindshieldHeater
                   NOTIFY cockpitWindshieldHeaterChanged)
    Q_PROPERTY(int cockpitWindshieldWasherPump READ getCockpitWindshieldWasherPump WRITE
                   setCockpitWindshieldWasherPump NOTIFY cockpitWindshieldWasherPumpChanged)
    Q_PROPERTY(int cockpitWindshieldWasherMode READ getCockpitWindshieldWasherMode WRITE
                   setCockpitWindshieldWasherMode NOTIFY cockpitWindshieldWasherModeChanged)
    Q_PROPERTY(int cockpitTemperature READ getCockpitTemperature WRITE setCockpitTemperature NOTIFY
                   cockpitTemperatureChanged)
    Q_PROPERTY(int cockpitAlarmReset READ getCockpitAlarmReset WRITE setCockpitAlarmReset NOTIFY
                   cockpitAlarmResetChanged)
    Q_PROPERTY(
        int cockpitIgnition READ getCockpitIgnition WRITE setCockpitIgnition NOTIFY cockpitIgnitionChanged)
    Q_PROPERTY(int cockpitBrake READ getCockpitBrake WRITE setCockpitBrake NOTIFY cockpitBrakeChanged)
    Q_PROPERTY(
        int cockpitVelocity READ getCockpitVelocity WRITE setCockpitVelocity NOTIFY cockpitVelocityChanged)
    Q_PROPERTY(int cockpitSteeringAngleDeg READ getCockpitSteeringAngleDeg WRITE setCockpitSteeringAngleDeg
                   NOTIFY cockpitSteeringAngleDegChanged)
    Q_PROPERTY(bool alarmGenericButton READ getAlarmGenericButton WRITE setAlarmGenericButton NOTIFY
                   alarmGenericButtonChanged)
    Q_PROPERTY(bool alarmGenericLightLeft READ getAlarmGenericLightLeft WRITE setAlarmGenericLightLeft NOTIFY
                   alarmGenericLightLeftChanged)
    Q_PROPERTY(bool alarmGenericLightUp READ getAlarmGenericLightUp WRITE setAlarmGenericLightUp NOTIFY
                   alarmGenericLightUpChanged)
    Q_PROPERTY(bool alarmGenericLightRight READ getAlarmGenericLightRight WRITE setAlarmGenericLightRight
                   NOTIFY alarmGenericLightRightChanged)
    Q_PROPERTY(bool alarmGenericLightDown READ getAlarmGenericLightDown WRITE setAlarmGenericLightDown NOTIFY
                   alarmGenericLightDownChanged)
    Q_PROPERTY(bool alarmAlarmButton READ getAlarmAlarmButton WRITE setAlarmAlarmButton NOTIFY
                   alarmAlarmButtonChanged)
    Q_PROPERTY(
        bool alarmAlarmLight READ getAlarmAlarmLight WRITE setAlarmAlarmLight NOTIFY alarmAlarmLightChanged)
    Q_PROPERTY(
        bool alarmLockButton READ getAlarmLockButton WRITE setAlarmLockButton NOTIFY alarmLockButtonChanged)
    Q_PROPERTY(
        bool alarmLockLight READ getAlarmLockLight WRITE setAlarmLockLight NOTIFY alarmLockLightChanged)
    Q_PROPERTY(bool lightGenericButton READ getLightGenericButton WRITE setLightGenericButton NOTIFY
                   lightGenericButtonChanged)
    Q_PROPERTY(bool lightGenericLightLeft READ getLightGenericLightLeft WRITE setLightGenericLightLeft NOTIFY
                   lightGenericLightLeftChanged)
    Q_PROPERTY(bool lightGenericLightUp READ getLightGenericLightUp WRITE setLightGenericLightUp NOTIFY
                   lightGenericLightUpChanged)
    Q_PROPERTY(bool lightGenericLightRight READ getLightGenericLightRight WRITE setLightGenericLightRight
                   NOTIFY lightGenericLightRightChanged)
    Q_PROPERTY(bool lightGenericLightDown READ getLightGenericLightDown WRITE setLightGenericLightDown NOTIFY
                   lightGenericLightDownChanged)
    Q_PROPERTY(
        bool lightBacklight READ getLightBacklight WRITE setLightBacklight NOTIFY lightBacklightChanged)
    Q_PROPERTY(
        bool lightBrakelight READ getLightBrakelight WRITE setLightBrakelight NOTIFY lightBrakelightChanged)
    Q_PROPERTY(bool lightDaylight READ getLightDaylight WRITE setLightDaylight NOTIFY lightDaylightChanged)
    Q_PROPERTY(bool lightFoglightLeft READ getLightFoglightLeft WRITE setLightFoglightLeft NOTIFY
                   lightFoglightLeftChanged)
    Q_PROPERTY(bool lightFoglightRight READ getLightFoglightRight WRITE setLightFoglightRight NOTIFY
                   lightFoglightRightChanged)
    Q_PROPERTY(bool lightIndicatorLeft READ getLightIndicatorLeft WRITE setLightIndicatorLeft NOTIFY
                   lightIndicatorLeftChanged)
    Q_PROPERTY(bool lightIndicatorRight READ getLightIndicatorRight WRITE setLightIndicatorRight NOTIFY
                   lightIndicatorRightChanged)
    Q_PROPERTY(bool lightLowerBeamHeadlight READ getLightLowerBeamHeadlight WRITE setLightLowerBeamHeadlight
                   NOTIFY lightLowerBeamHeadlightChanged)
    Q_PROPERTY(bool lightReverselight READ getLightReverselight WRITE setLightReverselight NOTIFY
                   lightReverselightChanged)
    Q_PROPERTY(bool lightUpperBeamHeadlight READ getLightUpperBeamHeadlight WRITE setLightUpperBeamHeadlight
                   NOTIFY lightUpperBeamHeadlightChanged)
    Q_PROPERTY(bool windshieldGenericButton READ getWindshieldGenericButton WRITE setWindshieldGenericButton
                   NOTIFY windshieldGenericButtonChanged)
    Q_PROPERTY(bool windshieldGenericLightLeft READ getWindshieldGenericLightLeft WRITE
                   setWindshieldGenericLightLeft NOTIFY windshieldGenericLightLeftChanged)
    Q_PROPERTY(bool windshieldGenericLightUp READ getWindshieldGenericLightUp WRITE
                   setWindshieldGenericLightUp NOTIFY windshieldGenericLightUpChanged)
    Q_PROPERTY(bool windshieldGenericLightRight READ getWindshieldGenericLightRight WRITE
                   setWindshieldGenericLightRight NOTIFY windshieldGenericLightRightChanged)
    Q_PROPERTY(bool windshieldGenericLightDown READ getWindshieldGenericLightDown WRITE
                   setWindshieldGenericLightDown NOTIFY windshieldGenericLightDownChanged)
    Q_PROPERTY(int windshieldDistanceSensor READ getWindshieldDistanceSensor WRITE setWindshieldDistanceSensor
                   NOTIFY windshieldDistanceSensorChanged)
    Q_PROPERTY(bool windshieldLightSensor READ getWindshieldLightSensor WRITE setWindshieldLightSensor NOTIFY
                   windshieldLightSensorChanged)
    Q_PROPERTY(bool windshieldHeater READ getWindshieldHeater WRITE setWindshieldHeater NOTIFY
                   windshieldHeaterChanged)
    Q_PROPERTY(bool windshieldWasherPump READ getWindshieldWasherPump WRITE setWindshieldWasherPump NOTIFY
                   windshieldWasherPumpChanged)
    Q_PROPERTY(bool windshieldWiperA READ getWindshieldWiperA WRITE setWindshieldWiperA NOTIFY
                   windshieldWiperAChanged)
    Q_PROPERTY(bool windshieldWiperB READ getWindshieldWiperB WRITE setWindshieldWiperB NOTIFY
                   windshieldWiperBChanged)
    Q_PROPERTY(bool windshieldWiperC READ getWindshieldWiperC WRITE setWindshieldWiperC NOTIFY
                   windshieldWiperCChanged)
    Q_PROPERTY(bool windshieldWiperD READ getWindshieldWiperD WRITE setWindshieldWiperD NOTIFY
                   windshieldWiperDChanged)

public:
    VirtualPlatformDataModel() = default;
    ~VirtualPlatformDataModel() override = default;

    // Writes one member per property (key = property name) into `target`, replacing members of the
    // same key and leaving others untouched.
    void serializeJson(QJsonObject& target) const;

    // Applies every member of `source` whose key names a property, in property order, through the
    // write accessors; emits remoteBasedDataChanged once at the end. Returns the number of members
    // whose key named a property.
    int deserializeJson(const QJsonObject& source);

    int getCockpitWarnLight() const { return read(m_cockpitWarnLight); }
    void setCockpitWarnLight(int value)
    {
        write(m_cockpitWarnLight, value, &VirtualPlatformDataModel::cockpitWarnLightChanged);
    }
    int getCockpitIndicator() const { return read(m_cockpitIndicator); }
    void setCockpitIndicator(int value)
    {
        write(m_cockpitIndicator, value, &VirtualPlatformDataModel::cockpitIndicatorChanged);
    }
    int getCockpitLightSwitch() const { return read(m_cockpitLightSwitch); }
    void setCockpitLightSwitch(int value)
    {
        write(m_cockpitLightSwitch, value, &VirtualPlatformDataModel::cockpitLightSwitchChanged);
    }
    int getCockpitWindshieldHeater() const { return read(m_cockpitWindshieldHeater); }
    void setCockpitWindshieldHeater(int value)
    {
        write(m_cockpitWindshieldHeater, value, &VirtualPlatformDataModel::cockpitWindshieldHeaterChanged);
    }
    int getCockpitWindshieldWasherPump() const { return read(m_cockpitWindshieldWasherPump); }
    void setCockpitWindshieldWasherPump(int value)
    {
        write(m_cockpitWindshieldWasherPump, value,
              &VirtualPlatformDataModel::cockpitWindshieldWasherPumpChanged);
    }
    int getCockpitWindshieldWasherMode() const { return read(m_cockpitWindshieldWasherMode); }
    void setCockpitWindshieldWasherMode(int value)
    {
        write(m_cockpitWindshieldWasherMode, value,
              &VirtualPlatformDataModel::cockpitWindshieldWasherModeChanged);
    }
    int getCockpitTemperature() const { return read(m_cockpitTemperature); }
    void setCockpitTemperature(int value)
    {
        write(m_cockpitTemperature, value, &VirtualPlatformDataModel::cockpitTemperatureChanged);
    }
    int getCockpitAlarmReset() const { return read(m_cockpitAlarmReset); }
    void setCockpitAlarmReset(int value)
    {
        write(m_cockpitAlarmReset, value, &VirtualPlatformDataModel::cockpitAlarmResetChanged);
    }
    int getCockpitIgnition() const { return read(m_cockpitIgnition); }
    void setCockpitIgnition(int value)
    {
        write(m_cockpitIgnition, value, &VirtualPlatformDataModel::cockpitIgnitionChanged);
    }
    int getCockpitBrake() const { return read(m_cockpitBrake); }
    void setCockpitBrake(int value)
    {
        write(m_cockpitBrake, value, &VirtualPlatformDataModel::cockpitBrakeChanged);
    }
    int getCockpitVelocity() const { return read(m_cockpitVelocity); }
    void setCockpitVelocity(int value)
    {
        write(m_cockpitVelocity, value, &VirtualPlatformDataModel::cockpitVelocityChanged);
    }
    int getCockpitSteeringAngleDeg() const { return read(m_cockpitSteeringAngleDeg); }
    void setCockpitSteeringAngleDeg(int value)
    {
        write(m_cockpitSteeringAngleDeg, value, &VirtualPlatformDataModel::cockpitSteeringAngleDegChanged);
    }
    bool getAlarmGenericButton() const { return read(m_alarmGenericButton); }
    void setAlarmGenericButton(bool value)
    {
        write(m_alarmGenericButton, value, &VirtualPlatformDataModel::alarmGenericButtonChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getAlarmGenericLightLeft() const { return read(m_alarmGenericLightLeft); }
    void setAlarmGenericLightLeft(bool value)
    {
        write(m_alarmGenericLightLeft, value, &VirtualPlatformDataModel::alarmGenericLightLeftChanged);
    }
    bool getAlarmGenericLightUp() const { return read(m_alarmGenericLightUp); }
    void setAlarmGenericLightUp(bool value)
    {
        write(m_alarmGenericLightUp, value, &VirtualPlatformDataModel::alarmGenericLightUpChanged);
    }
    bool getAlarmGenericLightRight() const { return read(m_alarmGenericLightRight); }
    void setAlarmGenericLightRight(bool value)
    {
        write(m_alarmGenericLightRight, value, &VirtualPlatformDataModel::alarmGenericLightRightChanged);
    }
    bool getAlarmGenericLightDown() const { return read(m_alarmGenericLightDown); }
    void setAlarmGenericLightDown(bool value)
    {
        write(m_alarmGenericLightDown, value, &VirtualPlatformDataModel::alarmGenericLightDownChanged);
    }
    bool getAlarmAlarmButton() const { return read(m_alarmAlarmButton); }
    void setAlarmAlarmButton(bool value)
    {
        write(m_alarmAlarmButton, value, &VirtualPlatformDataModel::alarmAlarmButtonChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getAlarmAlarmLight() const { return read(m_alarmAlarmLight); }
    void setAlarmAlarmLight(bool value)
    {
        write(m_alarmAlarmLight, value, &VirtualPlatformDataModel::alarmAlarmLightChanged);
    }
    bool getAlarmLockButton() const { return read(m_alarmLockButton); }
    void setAlarmLockButton(bool value)
    {
        write(m_alarmLockButton, value, &VirtualPlatformDataModel::alarmLockButtonChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getAlarmLockLight() const { return read(m_alarmLockLight); }
    void setAlarmLockLight(bool value)
    {
        write(m_alarmLockLight, value, &VirtualPlatformDataModel::alarmLockLightChanged);
    }
    bool getLightGenericButton() const { return read(m_lightGenericButton); }
    void setLightGenericButton(bool value)
    {
        write(m_lightGenericButton, value, &VirtualPlatformDataModel::lightGenericButtonChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getLightGenericLightLeft() const { return read(m_lightGenericLightLeft); }
    void setLightGenericLightLeft(bool value)
    {
        write(m_lightGenericLightLeft, value, &VirtualPlatformDataModel::lightGenericLightLeftChanged);
    }
    bool getLightGenericLightUp() const { return read(m_lightGenericLightUp); }
    void setLightGenericLightUp(bool value)
    {
        write(m_lightGenericLightUp, value, &VirtualPlatformDataModel::lightGenericLightUpChanged);
    }
    bool getLightGenericLightRight() const { return read(m_lightGenericLightRight); }
    void setLightGenericLightRight(bool value)
    {
        write(m_lightGenericLightRight, value, &VirtualPlatformDataModel::lightGenericLightRightChanged);
    }
    bool getLightGenericLightDown() const { return read(m_lightGenericLightDown); }
    void setLightGenericLightDown(bool value)
    {
        write(m_lightGenericLightDown, value, &VirtualPlatformDataModel::lightGenericLightDownChanged);
    }
    bool getLightBacklight() const { return read(m_lightBacklight); }
    void setLightBacklight(bool value)
    {
        write(m_lightBacklight, value, &VirtualPlatformDataModel::lightBacklightChanged);
    }
    bool getLightBrakelight() const { return read(m_lightBrakelight); }
    void setLightBrakelight(bool value)
    {
        write(m_lightBrakelight, value, &VirtualPlatformDataModel::lightBrakelightChanged);
    }
    bool getLightDaylight() const { return read(m_lightDaylight); }
    void setLightDaylight(bool value)
    {
        write(m_lightDaylight, value, &VirtualPlatformDataModel::lightDaylightChanged);
    }
    bool getLightFoglightLeft() const { return read(m_lightFoglightLeft); }
    void setLightFoglightLeft(bool value)
    {
        write(m_lightFoglightLeft, value, &VirtualPlatformDataModel::lightFoglightLeftChanged);
    }
    bool getLightFoglightRight() const { return read(m_lightFoglightRight); }
    void setLightFoglightRight(bool value)
    {
        write(m_lightFoglightRight, value, &VirtualPlatformDataModel::lightFoglightRightChanged);
    }
    bool getLightIndicatorLeft() const { return read(m_lightIndicatorLeft); }
    void setLightIndicatorLeft(bool value)
    {
        write(m_lightIndicatorLeft, value, &VirtualPlatformDataModel::lightIndicatorLeftChanged);
    }
    bool getLightIndicatorRight() const { return read(m_lightIndicatorRight); }
    void setLightIndicatorRight(bool value)
    {
        write(m_lightIndicatorRight, value, &VirtualPlatformDataModel::lightIndicatorRightChanged);
    }
    bool getLightLowerBeamHeadlight() const { return read(m_lightLowerBeamHeadlight); }
    void setLightLowerBeamHeadlight(bool value)
    {
        write(m_lightLowerBeamHeadlight, value, &VirtualPlatformDataModel::lightLowerBeamHeadlightChanged);
    }
    bool getLightReverselight() const { return read(m_lightReverselight); }
    void setLightReverselight(bool value)
    {
        write(m_lightReverselight, value, &VirtualPlatformDataModel::lightReverselightChanged);
    }
    bool getLightUpperBeamHeadlight() const { return read(m_lightUpperBeamHeadlight); }
    void setLightUpperBeamHeadlight(bool value)
    {
        write(m_lightUpperBeamHeadlight, value, &VirtualPlatformDataModel::lightUpperBeamHeadlightChanged,
              &VirtualPlatformDataModel::remoteBasedDataChanged);
    }
    bool getWindshieldGenericButton() const { return read(m_windshieldGenericButton); }
    void setWindshieldGenericButton(bool value)
    {
        write(m_windshieldGenericButton, value, &VirtualPlatformDataModel::windshieldGenericButtonChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getWindshieldGenericLightLeft() const { return read(m_windshieldGenericLightLeft); }
    void setWindshieldGenericLightLeft(bool value)
    {
        write(m_windshieldGenericLightLeft, value,
              &VirtualPlatformDataModel::windshieldGenericLightLeftChanged);
    }
    bool getWindshieldGenericLightUp() const { return read(m_windshieldGenericLightUp); }
    void setWindshieldGenericLightUp(bool value)
    {
        write(m_windshieldGenericLightUp, value, &VirtualPlatformDataModel::windshieldGenericLightUpChanged);
    }
    bool getWindshieldGenericLightRight() const { return read(m_windshieldGenericLightRight); }
    void setWindshieldGenericLightRight(bool value)
    {
        write(m_windshieldGenericLightRight, value,
              &VirtualPlatformDataModel::windshieldGenericLightRightChanged);
    }
    bool getWindshieldGenericLightDown() const { return read(m_windshieldGenericLightDown); }
    void setWindshieldGenericLightDown(bool value)
    {
        write(m_windshieldGenericLightDown, value,
              &VirtualPlatformDataModel::windshieldGenericLightDownChanged);
    }
    int getWindshieldDistanceSensor() const { return read(m_windshieldDistanceSensor); }
    void setWindshieldDistanceSensor(int value)
    {
        write(m_windshieldDistanceSensor, value, &VirtualPlatformDataModel::windshieldDistanceSensorChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getWindshieldLightSensor() const { return read(m_windshieldLightSensor); }
    void setWindshieldLightSensor(bool value)
    {
        write(m_windshieldLightSensor, value, &VirtualPlatformDataModel::windshieldLightSensorChanged,
              &VirtualPlatformDataModel::localBasedDataChanged);
    }
    bool getWindshieldHeater() const { return read(m_windshieldHeater); }
    void setWindshieldHeater(bool value)
    {
        write(m_windshieldHeater, value, &VirtualPlatformDataModel::windshieldHeaterChanged);
    }
    bool getWindshieldWasherPump() const { return read(m_windshieldWasherPump); }
    void setWindshieldWasherPump(bool value)
    {
        write(m_windshieldWasherPump, value, &VirtualPlatformDataModel::windshieldWasherPumpChanged);
    }
    bool getWindshieldWiperA() const { return read(m_windshieldWiperA); }
    void setWindshieldWiperA(bool value)
    {
        write(m_windshieldWiperA, value, &VirtualPlatformDataModel::windshieldWiperAChanged);
    }
    bool getWindshieldWiperB() const { return read(m_windshieldWiperB); }
    void setWindshieldWiperB(bool value)
    {
        write(m_windshieldWiperB, value, &VirtualPlatformDataModel::windshieldWiperBChanged);
    }
    bool getWindshieldWiperC() const { return read(m_windshieldWiperC); }
    void setWindshieldWiperC(bool value)
    {
        write(m_windshieldWiperC, value, &VirtualPlatformDataModel::windshieldWiperCChanged);
    }
    bool getWindshieldWiperD() const { return read(m_windshieldWiperD); }
    void setWindshieldWiperD(bool value)
    {
        write(m_windshieldWiperD, value, &VirtualPlatformDataModel::windshieldWiperDChanged);
    }

signals:
    void localBasedDataChanged();
    void remoteBasedDataChanged();
    void requestTransmit();
    void cockpitWarnLightChanged();
    void cockpitIndicatorChanged();
    void cockpitLightSwitchChanged();
    void cockpitWindshieldHeaterChanged();
    void cockpitWindshieldWasherPumpChanged();
    void cockpitWindshieldWasherModeChanged();
    void cockpitTemperatureChanged();
    void cockpitAlarmResetChanged();
    void cockpitIgnitionChanged();
    void cockpitBrakeChanged();
    void cockpitVelocityChanged();
    void cockpitSteeringAngleDegChanged();
    void alarmGenericButtonChanged();
    void alarmGenericLightLeftChanged();
    void alarmGenericLightRightChanged();
    void alarmGenericLightUpChanged();
    void alarmGenericLightDownChanged();
    void alarmAlarmButtonChanged();
    void alarmAlarmLightChanged();
    void alarmLockButtonChanged();
    void alarmLockLightChanged();
    void lightGenericButtonChanged();
    void lightGenericLightLeftChanged();
    void lightGenericLightRightChanged();
    void lightGenericLightUpChanged();
    void lightGenericLightDownChanged();
    void lightDaylightChanged();
    void lightBacklightChanged();
    void lightBrakelightChanged();
    void lightFoglightLeftChanged();
    void lightFoglightRightChanged();
    void lightIndicatorLeftChanged();
    void lightIndicatorRightChanged();
    void lightLowerBeamHeadlightChanged();
    void lightReverselightChanged();
    void lightUpperBeamHeadlightChanged();
    void windshieldGenericButtonChanged();
    void windshieldGenericLightLeftChanged();
    void windshieldGenericLightRightChanged();
    void windshieldGenericLightUpChanged();
    void windshieldGenericLightDownChanged();
    void windshieldDistanceSensorChanged();
    void windshieldLightSensorChanged();
    void windshieldHeaterChanged();
    void windshieldWasherPumpChanged();
    void windshieldWiperAChanged();
    void windshieldWiperBChanged();
    void windshieldWiperCChanged();
    void windshieldWiperDChanged();

private:
    using Signal = void (VirtualPlatformDataModel::*)();

    // Holds the model's mutex for one value. Qt's mutex is not built for ThreadSanitizer, so under
    // it the lock tells the sanitizer what it orders.
    class ValueLock
    {
    public:
        explicit ValueLock(QMutex& mutex) : locker(&mutex) { ZUV_HAPPENS_AFTER(&mutex); }
        ~ValueLock() { ZUV_HAPPENS_BEFORE(locker.mutex()); }
        ValueLock(const ValueLock&) = delete;
        ValueLock& operator=(const ValueLock&) = delete;

    private:
        QMutexLocker locker;
    };

    template <typename T> T read(const T& field) const
    {
        ValueLock lock(m_mutex);
        return field;
    }

    // Compare and store under the mutex; emit outside it. `extra` is the group signal of the
    // property (localBasedDataChanged for module inputs), if any.
    template <typename T> void write(T& field, T value, Signal changed, Signal extra = nullptr)
    {
        {
            ValueLock lock(m_mutex);
            if (field == value)
                return;
            field = value;
        }
        emit(this->*changed)();
        if (extra)
            emit(this->*extra)();
    }

    mutable QMutex m_mutex;

    int m_cockpitWarnLight{0};
    int m_cockpitIndicator{0};
    int m_cockpitLightSwitch{0};
    int m_cockpitWindshieldHeater{0};
    int m_cockpitWindshieldWasherPump{0};
    int m_cockpitWindshieldWasherMode{0};
    int m_cockpitTemperature{0};
    int m_cockpitAlarmReset{0};
    int m_cockpitIgnition{0};
    int m_cockpitBrake{0};
    int m_cockpitVelocity{0};
    int m_cockpitSteeringAngleDeg{0};
    bool m_alarmGenericButton{false};
    bool m_alarmGenericLightLeft{false};
    bool m_alarmGenericLightUp{false};
    bool m_alarmGenericLightRight{false};
    bool m_alarmGenericLightDown{false};
    bool m_alarmAlarmButton{false};
    bool m_alarmAlarmLight{false};
    bool m_alarmLockButton{false};
    bool m_alarmLockLight{false};
    bool m_lightGenericButton{false};
    bool m_lightGenericLightLeft{false};
    bool m_lightGenericLightUp{false};
    bool m_lightGenericLightRight{false};
    bool m_lightGenericLightDown{false};
    bool m_lightBacklight{false};
    bool m_lightBrakelight{false};
    bool m_lightDaylight{false};
    bool m_lightFoglightLeft{false};
    bool m_lightFoglightRight{false};
    bool m_lightIndicatorLeft{false};
    bool m_lightIndicatorRight{false};
    bool m_lightLowerBeamHeadlight{false};
    bool m_lightReverselight{false};
    bool m_lightUpperBeamHeadlight{false};
    bool m_windshieldGenericButton{false};
    bool m_windshieldGenericLightLeft{false};
    bool m_windshieldGenericLightUp{false};
    bool m_windshieldGenericLightRight{false};
    bool m_windshieldGenericLightDown{false};
    int m_windshieldDistanceSensor{0};
    bool m_windshieldLightSensor{false};
    bool m_windshieldHeater{false};
    bool m_windshieldWasherPump{false};
    bool m_windshieldWiperA{false};
    bool m_windshieldWiperB{false};
    bool m_windshieldWiperC{false};
    bool m_windshieldWiperD{false};
};

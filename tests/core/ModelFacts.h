#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// What the peer and the scene rely on: the property names in declaration order and the groups.
namespace ModelFacts {

inline const QStringList& propertyNames()
{
    static const QStringList names = {"cockpitWarnLight",
                                      "cockpitIndicator",
                                      "cockpitLightSwitch",
                                      "cockpitWindshieldHeater",
                                      "cockpitWindshieldWasherPump",
                                      "cockpitWindshieldWasherMode",
                                      "cockpitTemperature",
                                      "cockpitAlarmReset",
                                      "cockpitIgnition",
                                      "cockpitBrake",
                                      "cockpitVelocity",
                                      "cockpitSteeringAngleDeg",
                                      "alarmGenericButton",
                                      "alarmGenericLightLeft",
                                      "alarmGenericLightUp",
                                      "alarmGenericLightRight",
                                      "alarmGenericLightDown",
                                      "alarmAlarmButton",
                                      "alarmAlarmLight",
                                      "alarmLockButton",
                                      "alarmLockLight",
                                      "lightGenericButton",
                                      "lightGenericLightLeft",
                                      "lightGenericLightUp",
                                      "lightGenericLightRight",
                                      "lightGenericLightDown",
                                      "lightBacklight",
                                      "lightBrakelight",
                                      "lightDaylight",
                                      "lightFoglightLeft",
                                      "lightFoglightRight",
                                      "lightIndicatorLeft",
                                      "lightIndicatorRight",
                                      "lightLowerBeamHeadlight",
                                      "lightReverselight",
                                      "lightUpperBeamHeadlight",
                                      "windshieldGenericButton",
                                      "windshieldGenericLightLeft",
                                      "windshieldGenericLightUp",
                                      "windshieldGenericLightRight",
                                      "windshieldGenericLightDown",
                                      "windshieldDistanceSensor",
                                      "windshieldLightSensor",
                                      "windshieldHeater",
                                      "windshieldWasherPump",
                                      "windshieldWiperA",
                                      "windshieldWiperB",
                                      "windshieldWiperC",
                                      "windshieldWiperD"};
    return names;
}

inline const QSet<QString>& moduleInputs()
{
    static const QSet<QString> names = {
        "alarmGenericButton",      "alarmAlarmButton",         "alarmLockButton",      "lightGenericButton",
        "windshieldGenericButton", "windshieldDistanceSensor", "windshieldLightSensor"};
    return names;
}

inline bool isInt(const QString& name)
{
    return name.startsWith("cockpit") || name == "windshieldDistanceSensor";
}

} // namespace ModelFacts

#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <cstring>
#include <vector>

// The 49 values of the platform's state, written once. Each line is one value:
//
//   X(type, name, Name, group, pass, also)
//
//   type   int or bool
//   name   the value's name: the model's property and the state document's key
//   Name   the same with its first letter upper-cased, for the accessors getName and setName
//   group  CockpitInput (written by the cockpit, which then asks for a transmission),
//          ModuleInput (a button or sensor on the board) or ModuleOutput (set by the peer)
//   pass   in which of a module's passes its change signal is declared (the signals of a module
//          are declared pass by pass, each pass in table order: this keeps the declared order of the
//          generic lamps' signals Left, Right, Up, Down and of Daylight before Backlight, Brakelight)
//   also   the signal the setter emits after the change signal, or none
//
// The class VirtualPlatformDataModel, the table below and the document's conversions are generated
// from these lines; adding a value is one line here (and its picture).

// clang-format off
#define ZUV_COCKPIT_VALUES(X) \
    X(int,  cockpitWarnLight,            CockpitWarnLight,            CockpitInput, 1, none) \
    X(int,  cockpitIndicator,            CockpitIndicator,            CockpitInput, 1, none) \
    X(int,  cockpitLightSwitch,          CockpitLightSwitch,          CockpitInput, 1, none) \
    X(int,  cockpitWindshieldHeater,     CockpitWindshieldHeater,     CockpitInput, 1, none) \
    X(int,  cockpitWindshieldWasherPump, CockpitWindshieldWasherPump, CockpitInput, 1, none) \
    X(int,  cockpitWindshieldWasherMode, CockpitWindshieldWasherMode, CockpitInput, 1, none) \
    X(int,  cockpitTemperature,          CockpitTemperature,          CockpitInput, 1, none) \
    X(int,  cockpitAlarmReset,           CockpitAlarmReset,           CockpitInput, 1, none) \
    X(int,  cockpitIgnition,             CockpitIgnition,             CockpitInput, 1, none) \
    X(int,  cockpitBrake,                CockpitBrake,                CockpitInput, 1, none) \
    X(int,  cockpitVelocity,             CockpitVelocity,             CockpitInput, 1, none) \
    X(int,  cockpitSteeringAngleDeg,     CockpitSteeringAngleDeg,     CockpitInput, 1, none)

#define ZUV_ALARM_VALUES(X) \
    X(bool, alarmGenericButton,          AlarmGenericButton,          ModuleInput,  1, localBasedDataChanged) \
    X(bool, alarmGenericLightLeft,       AlarmGenericLightLeft,       ModuleOutput, 1, none) \
    X(bool, alarmGenericLightUp,         AlarmGenericLightUp,         ModuleOutput, 2, none) \
    X(bool, alarmGenericLightRight,      AlarmGenericLightRight,      ModuleOutput, 1, none) \
    X(bool, alarmGenericLightDown,       AlarmGenericLightDown,       ModuleOutput, 2, none) \
    X(bool, alarmAlarmButton,            AlarmAlarmButton,            ModuleInput,  2, localBasedDataChanged) \
    X(bool, alarmAlarmLight,             AlarmAlarmLight,             ModuleOutput, 2, none) \
    X(bool, alarmLockButton,             AlarmLockButton,             ModuleInput,  2, localBasedDataChanged) \
    X(bool, alarmLockLight,              AlarmLockLight,              ModuleOutput, 2, none)

#define ZUV_LIGHT_VALUES(X) \
    X(bool, lightGenericButton,          LightGenericButton,          ModuleInput,  1, localBasedDataChanged) \
    X(bool, lightGenericLightLeft,       LightGenericLightLeft,       ModuleOutput, 1, none) \
    X(bool, lightGenericLightUp,         LightGenericLightUp,         ModuleOutput, 2, none) \
    X(bool, lightGenericLightRight,      LightGenericLightRight,      ModuleOutput, 1, none) \
    X(bool, lightGenericLightDown,       LightGenericLightDown,       ModuleOutput, 2, none) \
    X(bool, lightBacklight,              LightBacklight,              ModuleOutput, 3, none) \
    X(bool, lightBrakelight,             LightBrakelight,             ModuleOutput, 3, none) \
    X(bool, lightDaylight,               LightDaylight,               ModuleOutput, 2, none) \
    X(bool, lightFoglightLeft,           LightFoglightLeft,           ModuleOutput, 3, none) \
    X(bool, lightFoglightRight,          LightFoglightRight,          ModuleOutput, 3, none) \
    X(bool, lightIndicatorLeft,          LightIndicatorLeft,          ModuleOutput, 3, none) \
    X(bool, lightIndicatorRight,         LightIndicatorRight,         ModuleOutput, 3, none) \
    X(bool, lightLowerBeamHeadlight,     LightLowerBeamHeadlight,     ModuleOutput, 3, none) \
    X(bool, lightReverselight,           LightReverselight,           ModuleOutput, 3, none) \
    X(bool, lightUpperBeamHeadlight,     LightUpperBeamHeadlight,     ModuleOutput, 3, remoteBasedDataChanged)

#define ZUV_WINDSHIELD_VALUES(X) \
    X(bool, windshieldGenericButton,     WindshieldGenericButton,     ModuleInput,  1, localBasedDataChanged) \
    X(bool, windshieldGenericLightLeft,  WindshieldGenericLightLeft,  ModuleOutput, 1, none) \
    X(bool, windshieldGenericLightUp,    WindshieldGenericLightUp,    ModuleOutput, 2, none) \
    X(bool, windshieldGenericLightRight, WindshieldGenericLightRight, ModuleOutput, 1, none) \
    X(bool, windshieldGenericLightDown,  WindshieldGenericLightDown,  ModuleOutput, 2, none) \
    X(int,  windshieldDistanceSensor,    WindshieldDistanceSensor,    ModuleInput,  2, localBasedDataChanged) \
    X(bool, windshieldLightSensor,       WindshieldLightSensor,       ModuleInput,  2, localBasedDataChanged) \
    X(bool, windshieldHeater,            WindshieldHeater,            ModuleOutput, 2, none) \
    X(bool, windshieldWasherPump,        WindshieldWasherPump,        ModuleOutput, 2, none) \
    X(bool, windshieldWiperA,            WindshieldWiperA,            ModuleOutput, 2, none) \
    X(bool, windshieldWiperB,            WindshieldWiperB,            ModuleOutput, 2, none) \
    X(bool, windshieldWiperC,            WindshieldWiperC,            ModuleOutput, 2, none) \
    X(bool, windshieldWiperD,            WindshieldWiperD,            ModuleOutput, 2, none)

// Every value, in declaration order: the order in which documents are applied.
#define ZUV_STATE_VALUES(X) ZUV_COCKPIT_VALUES(X) ZUV_ALARM_VALUES(X) ZUV_LIGHT_VALUES(X) ZUV_WINDSHIELD_VALUES(X)
// clang-format on

namespace StateValues {

enum class Kind
{
    Int,
    Bool
};

enum class Group
{
    CockpitInput,
    ModuleInput,
    ModuleOutput
};

// A value's position in the table.
enum Index : int
{
#define ZUV_VALUE_INDEX(type, name, Name, group, pass, also) name,
    ZUV_STATE_VALUES(ZUV_VALUE_INDEX)
#undef ZUV_VALUE_INDEX
        count
};

struct Value
{
    const char* name;
    Kind kind;
    Group group;
};

namespace detail {
constexpr Kind kindOf(int*)
{
    return Kind::Int;
}
constexpr Kind kindOf(bool*)
{
    return Kind::Bool;
}
} // namespace detail

inline constexpr Value table[count] = {
#define ZUV_VALUE_ROW(type, name, Name, group, pass, also)                                                   \
    {#name, detail::kindOf(static_cast<type*>(nullptr)), Group::group},
    ZUV_STATE_VALUES(ZUV_VALUE_ROW)
#undef ZUV_VALUE_ROW
};

// The index of the value named `name` (case-sensitive), or -1.
inline int indexOf(const char* name)
{
    for (int index = 0; index < count; ++index) {
        if (std::strcmp(table[index].name, name) == 0)
            return index;
    }
    return -1;
}
int indexOf(const QString& name);

inline bool isInput(int index)
{
    return table[index].group != Group::ModuleOutput;
}

// One value to store: for a truth value 0 or 1.
struct Assignment
{
    int index;
    int value;
};

// What a received document asks of the state: its assignments in table order, and how many of its
// members name a value (a member whose value cannot be taken still counts).
struct Assignments
{
    std::vector<Assignment> list;
    int count = 0;
};

// The conversion of a received member's value to a value of `kind`: a number for an int is rounded
// to the nearest integer (halves up), true/false gives 1/0; a number for a truth value is true
// unless it is 0. Returns false for what cannot be taken: null, strings, arrays, objects, and
// integers beyond 32 bits.
bool convert(const QJsonValue& member, Kind kind, int& value);

// The assignments that `document` makes.
Assignments assignmentsOf(const QJsonObject& document);

// A value as the state document writes it: a number or true/false.
inline QJsonValue toJson(int index, int value)
{
    return table[index].kind == Kind::Bool ? QJsonValue(value != 0) : QJsonValue(value);
}

} // namespace StateValues

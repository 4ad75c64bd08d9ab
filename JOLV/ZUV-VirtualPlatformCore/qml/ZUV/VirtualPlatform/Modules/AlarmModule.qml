import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../Components"

// The alarm module: the generic board with an alarm lamp, a lock lamp and two push buttons, alarm
// and lock. A button's property is true for as long as its press area is held.
GenericModule {
    id: alarmModule

    property real alarmModulePressAreaSizeRelative: 0.15

    property bool alarmModuleLightAlarm: false
    property bool alarmModuleLightLock: false
    readonly property bool alarmModuleButtonAlarm: alarmModuleButtonAlarmArea.clickAreaPressed
    readonly property bool alarmModuleButtonLock: alarmModuleButtonLockArea.clickAreaPressed

    property VectorImage alarmModuleAlarmImage: null
    property VectorImage alarmModuleLightAlarmImage: null
    property VectorImage alarmModuleLightLockImage: null
    property VectorImage alarmModuleButtonAlarmPressedImage: null
    property VectorImage alarmModuleButtonLockPressedImage: null

    ClickArea {
        id: alarmModuleButtonAlarmArea
        objectName: "alarmModuleButtonAlarmArea"
        z: 3
        width: alarmModule.alarmModulePressAreaSizeRelative * alarmModule.width
        height: width
        centeredItemCenterX: 0.577 * alarmModule.width
        centeredItemCenterY: 0.662 * alarmModule.height
    }

    ClickArea {
        id: alarmModuleButtonLockArea
        objectName: "alarmModuleButtonLockArea"
        z: 3
        width: alarmModule.alarmModulePressAreaSizeRelative * alarmModule.width
        height: width
        centeredItemCenterX: 0.780 * alarmModule.width
        centeredItemCenterY: 0.662 * alarmModule.height
    }

    Component.onCompleted: {
        alarmModuleAlarmImage = genericModuleAddLayer("zuv-modules_alarm.svg", 1)
        alarmModuleLightAlarmImage = genericModuleAddLayer("zuv-modules_alarm_light_alarm.svg", 2,
                                                           function() { return alarmModule.alarmModuleLightAlarm })
        alarmModuleLightLockImage = genericModuleAddLayer("zuv-modules_alarm_light_lock.svg", 2,
                                                          function() { return alarmModule.alarmModuleLightLock })
        alarmModuleButtonAlarmPressedImage = genericModuleAddLayer("zuv-modules_alarm_button_alarm_pressed.svg", 2,
                                                                   function() { return alarmModule.alarmModuleButtonAlarm })
        alarmModuleButtonLockPressedImage = genericModuleAddLayer("zuv-modules_alarm_button_lock_pressed.svg", 2,
                                                                  function() { return alarmModule.alarmModuleButtonLock })
    }
}

pragma Singleton
import QtQuick 2.5

// What the scene's documents share of their look: where the pictures and the typeface lie in the
// resource tree, and the colours that recur across the views.
QtObject {
    readonly property string themeResourceRoot: "qrc:/JOLV/ZUV-VirtualPlatformCore/"
    // The picture layers of the modules and controls; the cockpit's menu and tab icons and its
    // steering wheel.
    readonly property string themeImagePath: themeResourceRoot + "images/svg-multilayer-extracted/"
    readonly property string themeIconPath: themeResourceRoot + "images/svg/"
    readonly property string themeFontSource: themeResourceRoot + "fonts/OpenSans-Regular.ttf"

    // Window and content background, cockpit panels, and the faces of the cockpit's menu buttons
    // and tabs.
    readonly property color themeBackgroundColor: "#212121"
    readonly property color themePanelColor: "#515151"
    readonly property color themeButtonColor: "#a0a0a0"
    readonly property color themeButtonPressedColor: "#4b4b4b"

    // The picture buttons' face: a vertical gradient between these two, dark at the top while
    // released, light at the top while pressed.
    readonly property color themeButtonGradientLightColor: "#575757"
    readonly property color themeButtonGradientDarkColor: "#2b2b2b"

    // Every other row of the bus table.
    readonly property color themeTableAlternateRowColor: "#1a1a1a"

    // The gauges' red zone and their light marks, needle and hub.
    readonly property color themeGaugeRedColor: "#e34c22"
    readonly property color themeGaugeMarkColor: "#e5e5e5"

    // Where the module layers that light up or show a press draw, in the units of the module
    // page's view box (x, y, width, height), a unit of margin included. Such a layer is drawn
    // within its area only, so that switching it repaints the lamp and not the whole module.
    readonly property size themeModulePageSize: Qt.size(677, 514)
    readonly property var themeModuleLayerAreas: ({
        "zuv-modules_generic_button_pressed.svg": [139, 293, 41, 41],
        "zuv-modules_generic_light_left.svg": [105, 373, 62, 66],
        "zuv-modules_generic_light_up.svg": [126, 352, 66, 62],
        "zuv-modules_generic_light_right.svg": [151, 373, 62, 66],
        "zuv-modules_generic_light_down.svg": [126, 398, 66, 62],
        "zuv-modules_alarm_button_alarm_pressed.svg": [365, 314, 52, 52],
        "zuv-modules_alarm_button_lock_pressed.svg": [502, 314, 52, 52],
        "zuv-modules_alarm_light_alarm.svg": [352, 211, 78, 78],
        "zuv-modules_alarm_light_lock.svg": [489, 211, 78, 78],
        "zuv-modules_lights_backlight.svg": [334, 456, 247, 26],
        "zuv-modules_lights_brakelight.svg": [336, 349, 243, 131],
        "zuv-modules_lights_daylight.svg": [330, 62, 255, 36],
        "zuv-modules_lights_foglight_left.svg": [393, 75, 62, 62],
        "zuv-modules_lights_foglight_right.svg": [461, 75, 62, 62],
        "zuv-modules_lights_indicator_left.svg": [315, 31, 52, 449],
        "zuv-modules_lights_indicator_right.svg": [549, 31, 52, 449],
        "zuv-modules_lights_lowerbeamlight.svg": [347, 18, 222, 94],
        "zuv-modules_lights_reverselight.svg": [412, 427, 92, 50],
        "zuv-modules_lights_upperbeamlight.svg": [319, 16, 277, 90],
        "zuv-modules_windshield_heater_light.svg": [567, 31, 69, 70],
        "zuv-modules_windshield_pump_light.svg": [567, 129, 69, 70],
        "zuv-modules_windshield_wiper_light_A.svg": [256, 367, 50, 50],
        "zuv-modules_windshield_wiper_light_B.svg": [278, 367, 50, 50],
        "zuv-modules_windshield_wiper_light_C.svg": [300, 367, 50, 50],
        "zuv-modules_windshield_wiper_light_D.svg": [322, 367, 50, 50]
    })

    // The area of a module layer as fractions of the page, or undefined for a layer drawn whole.
    function themeModuleLayerArea(fileName) {
        var area = themeModuleLayerAreas[fileName]
        if (!area)
            return undefined
        var page = themeModulePageSize
        return Qt.rect(area[0] / page.width, area[1] / page.height, area[2] / page.width, area[3] / page.height)
    }
}

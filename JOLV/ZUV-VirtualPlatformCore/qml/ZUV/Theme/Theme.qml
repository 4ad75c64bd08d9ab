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
}

import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "ZUV/Theme"

// A window for trying one control on its own; it holds the velocity control.
ApplicationWindow {
    id: componentTestfieldWindow

    visible: true
    title: qsTr("ZUV-ComponentTestfield")
    color: Theme.themeBackgroundColor
    width: 800
    height: 480

    FontLoader {
        objectName: "componentTestfieldFontLoader"
        source: Theme.themeFontSource
    }

    VelocityControl {
        objectName: "componentTestfieldVelocityControl"
        anchors.fill: parent
    }
}

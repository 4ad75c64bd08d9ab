import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// The ignition key: every click turns it on or off.
MouseArea {
    id: ignitionSwitch

    property bool activated: false

    onClicked: activated = !activated

    VectorImage {
        objectName: "ignitionSwitchBaseImage"
        anchors.fill: parent
        source: Theme.themeImagePath + "ignition_switch_base.svg"
        vectorImageAutoResize: true
    }

    VectorImage {
        objectName: "ignitionSwitchOnImage"
        anchors.fill: parent
        source: Theme.themeImagePath + "ignition_switch_on.svg"
        visible: ignitionSwitch.activated
        vectorImageAutoResize: true
    }

    VectorImage {
        objectName: "ignitionSwitchOffImage"
        anchors.fill: parent
        source: Theme.themeImagePath + "ignition_switch_off.svg"
        visible: !ignitionSwitch.activated
        vectorImageAutoResize: true
    }
}

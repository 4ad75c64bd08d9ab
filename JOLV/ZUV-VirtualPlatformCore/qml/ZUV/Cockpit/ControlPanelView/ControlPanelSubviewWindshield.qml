import QtQuick 2.5
import QtQuick.Layouts 1.3
import "ControlPanelViewComponents"
import "../../Theme"

// The wiper and washer controls: the wiper stalk on the left; on the right the single-wipe and the
// wash button, and below them the manual and the automatic heater button, of which at most one is
// latched.
GridLayout {
    id: controlPanelSubviewWindshield

    // cockpitWindshieldWasherMode for each stalk position, -2 to 2.
    readonly property var controlPanelSubviewWindshieldStalkModes: ({ "-2": 3, "-1": 2, "0": 0, "1": 4, "2": 5 })

    // Runs for either heater button when its latch changes. Latching one unlatches the other,
    // which runs this for the other button at once; each run asks for a transmission.
    function controlPanelSubviewWindshieldHeaterChanged(button, otherButton) {
        if (button.snaped)
            otherButton.snaped = false
        if (manualHeaterButton.snaped && virtualPlatformDataModel.cockpitWindshieldHeater !== 2)
            virtualPlatformDataModel.cockpitWindshieldHeater = 2
        else if (autoHeaterButton.snaped && virtualPlatformDataModel.cockpitWindshieldHeater !== 1)
            virtualPlatformDataModel.cockpitWindshieldHeater = 1
        if (!manualHeaterButton.snaped && !autoHeaterButton.snaped)
            virtualPlatformDataModel.cockpitWindshieldHeater = 0
        virtualPlatformDataModel.requestTransmit()
    }

    columns: 3
    rows: 3

    // The stalk's picture is square and stretched to the stalk's size: it fills the width of its
    // column only up to its height.
    ControlStalk {
        id: windshieldwasherControlStalk
        objectName: "windshieldwasherControlStalk"
        Layout.rowSpan: 3
        Layout.fillWidth: true
        Layout.maximumWidth: Layout.preferredHeight
        Layout.preferredHeight: 0.7 * controlPanelSubviewWindshield.height
        mirrored: false
        autoReturn: false
        controlStalkConsoleImageUrl: Theme.themeImagePath + "control_stalk_console.svg"
        controlStalkGhostlinesImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_ghostlines.svg"
        controlStalkLeverImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever.svg"
        controlStalkIconImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_icon_windshieldwasher.svg"
        Component.onCompleted: controlStalkAddPositionAreas()
        // While the single-wipe button is held it sends for itself.
        onLeverPositionChanged: {
            virtualPlatformDataModel.cockpitWindshieldWasherMode = controlPanelSubviewWindshield.controlPanelSubviewWindshieldStalkModes[position]
            if (!windshieldwasherOnceGradientButton.buttonPressed)
                virtualPlatformDataModel.requestTransmit()
        }
    }

    // Held, it wipes once: the stalk goes back to 0 and the mode is 1 until the release.
    GradientButton {
        id: windshieldwasherOnceGradientButton
        objectName: "windshieldwasherOnceGradientButton"
        Layout.columnSpan: 2
        Layout.fillWidth: true
        Layout.maximumWidth: 0.5 * controlPanelSubviewWindshield.width
        buttonPressedImageSource: Theme.themeImagePath + "windshieldwasher_once_active.svg"
        buttonReleasedImageSource: Theme.themeImagePath + "windshieldwasher_once_inactive.svg"
        onButtonPressedChanged: {
            if (buttonPressed) {
                windshieldwasherControlStalk.setControlStalkPosition(0)
                virtualPlatformDataModel.cockpitWindshieldWasherMode = 1
            } else {
                virtualPlatformDataModel.cockpitWindshieldWasherMode = 0
            }
            virtualPlatformDataModel.requestTransmit()
        }
    }

    GradientButton {
        objectName: "windshieldwasherWashGradientButton"
        Layout.columnSpan: 2
        Layout.fillWidth: true
        Layout.maximumWidth: 0.5 * controlPanelSubviewWindshield.width
        buttonPressedImageSource: Theme.themeImagePath + "windshieldwasher_wash_active.svg"
        buttonReleasedImageSource: Theme.themeImagePath + "windshieldwasher_wash_inactive.svg"
        onButtonPressedChanged: {
            virtualPlatformDataModel.cockpitWindshieldWasherPump = buttonPressed ? 1 : 0
            virtualPlatformDataModel.requestTransmit()
        }
    }

    SnapableGradientButton {
        id: manualHeaterButton
        objectName: "windshieldheaterManualButton"
        Layout.fillWidth: true
        Layout.maximumWidth: 0.25 * controlPanelSubviewWindshield.width
        buttonPressedImageSource: Theme.themeImagePath + "windshieldheater_manuell_active.svg"
        buttonReleasedImageSource: Theme.themeImagePath + "windshieldheater_manuell_inactive.svg"
        onButtonPressedChanged: controlPanelSubviewWindshield.controlPanelSubviewWindshieldHeaterChanged(manualHeaterButton, autoHeaterButton)
    }

    SnapableGradientButton {
        id: autoHeaterButton
        objectName: "windshieldheaterAutoButton"
        Layout.fillWidth: true
        Layout.maximumWidth: 0.25 * controlPanelSubviewWindshield.width
        buttonPressedImageSource: Theme.themeImagePath + "windshieldheater_auto_active.svg"
        buttonReleasedImageSource: Theme.themeImagePath + "windshieldheater_auto_inactive.svg"
        onButtonPressedChanged: controlPanelSubviewWindshield.controlPanelSubviewWindshieldHeaterChanged(autoHeaterButton, manualHeaterButton)
    }
}

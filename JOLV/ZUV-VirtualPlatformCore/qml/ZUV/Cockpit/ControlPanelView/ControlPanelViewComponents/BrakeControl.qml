import QtQuick 2.5
import QtQuick.Layouts 1.3
import "../../../Theme"

// Three momentary brake buttons, top to bottom: normal (mode 1), emergency (2) and extreme
// emergency braking (3). brakeControlBrakeMode holds the mode of the button held, 0 when released.
Item {
    id: brakeControl

    property int brakeControlBrakeMode: 0

    function brakeControlButtonChanged(pressed, mode) {
        brakeControlBrakeMode = pressed ? mode : 0
    }

    ColumnLayout {
        anchors.fill: parent

        GradientButton {
            objectName: "brakeControlNormalButton"
            Layout.fillWidth: true
            buttonPressedImageSource: Theme.themeImagePath + "braking_normal_active.svg"
            buttonReleasedImageSource: Theme.themeImagePath + "braking_normal_inactive.svg"
            onButtonPressedChanged: brakeControl.brakeControlButtonChanged(buttonPressed, 1)
        }

        GradientButton {
            objectName: "brakeControlEmergencyButton"
            Layout.fillWidth: true
            buttonPressedImageSource: Theme.themeImagePath + "braking_emergency_active.svg"
            buttonReleasedImageSource: Theme.themeImagePath + "braking_emergency_inactive.svg"
            onButtonPressedChanged: brakeControl.brakeControlButtonChanged(buttonPressed, 2)
        }

        GradientButton {
            objectName: "brakeControlExtremeEmergencyButton"
            Layout.fillWidth: true
            buttonPressedImageSource: Theme.themeImagePath + "braking_extreme_emergency_active.svg"
            buttonReleasedImageSource: Theme.themeImagePath + "braking_extreme_emergency_inactive.svg"
            onButtonPressedChanged: brakeControl.brakeControlButtonChanged(buttonPressed, 3)
        }
    }
}

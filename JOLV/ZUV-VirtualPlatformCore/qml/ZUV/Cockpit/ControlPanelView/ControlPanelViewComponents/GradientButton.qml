import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Layouts 1.3
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// A picture button of the cockpit: a rounded face whose gradient turns over while the button counts
// as pressed, with one picture for the pressed and one for the released look. With
// buttonImageAnimated the pressed picture blinks every 500 ms for as long as the button is pressed.
Button {
    id: gradientButton

    property bool buttonImageAnimated: false
    property url buttonPressedImageSource
    property url buttonReleasedImageSource
    // Whether the button counts as pressed; derived buttons may bind it to something else.
    property bool buttonPressed: pressed
    // Which picture is shown: the pressed one while true.
    property bool buttonImageActive: false

    Layout.columnSpan: 1
    Layout.fillWidth: true
    Layout.fillHeight: true

    style: ButtonStyle {
        background: Rectangle {
            color: "transparent"
        }
        label: Item {
        }
    }

    onButtonPressedChanged: {
        if (buttonImageAnimated) {
            if (buttonPressed)
                gradientButtonBlinkTimer.start()
            else
                gradientButtonBlinkTimer.stop()
        }
        buttonImageActive = buttonPressed
    }

    Rectangle {
        id: gradientButtonFace
        objectName: "gradientButtonFace"
        anchors.fill: parent
        // Corners of 30 pixels, or of a quarter of the shorter side on a small button, which 30
        // would round into a pill.
        radius: Math.min(30, 0.25 * Math.min(width, height))
        gradient: Gradient {
            GradientStop {
                position: 0.0
                color: gradientButton.buttonPressed ? Theme.themeButtonGradientLightColor : Theme.themeButtonGradientDarkColor
            }
            GradientStop {
                position: 1.0
                color: gradientButton.buttonPressed ? Theme.themeButtonGradientDarkColor : Theme.themeButtonGradientLightColor
            }
        }

        VectorImage {
            objectName: "gradientButtonPressedImage"
            anchors.fill: parent
            source: gradientButton.buttonPressedImageSource
            visible: gradientButton.buttonImageActive
            vectorImageAutoResize: true
        }

        VectorImage {
            objectName: "gradientButtonReleasedImage"
            anchors.fill: parent
            source: gradientButton.buttonReleasedImageSource
            visible: !gradientButton.buttonImageActive
            vectorImageAutoResize: true
        }
    }

    Timer {
        id: gradientButtonBlinkTimer
        objectName: "gradientButtonBlinkTimer"
        interval: 500
        repeat: true
        running: false
        onTriggered: gradientButton.buttonImageActive = !gradientButton.buttonImageActive
    }
}

import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// A tab of the control panel: a rounded face covered by its icon, without text.
Button {
    id: controlPanelButton

    property url icon: ""

    style: ButtonStyle {
        background: Rectangle {
            radius: 10
            color: control.pressed ? Theme.themeButtonPressedColor : Theme.themeButtonColor

            VectorImage {
                objectName: "controlPanelButtonIcon"
                anchors.fill: parent
                source: controlPanelButton.icon
                vectorImageAutoResize: true
            }
        }
        label: Item {
        }
    }
}

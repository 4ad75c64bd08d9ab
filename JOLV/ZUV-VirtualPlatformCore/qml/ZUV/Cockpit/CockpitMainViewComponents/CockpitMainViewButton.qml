import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// A button of the cockpit's menu column: a rounded face with a square icon as high as the button.
// A click puts onClickView in place of the view shown in cockpitMainViewButtonStackView. A button
// without a view looks and presses like the others and leaves the display as it is.
Button {
    id: cockpitMainViewButton

    property var onClickView: null
    property var icon
    property StackView cockpitMainViewButtonStackView: null

    anchors.left: parent ? parent.left : undefined
    anchors.right: parent ? parent.right : undefined
    anchors.leftMargin: 2
    anchors.rightMargin: 2
    height: 0.7 * width

    style: ButtonStyle {
        background: Rectangle {
            radius: 10
            color: control.pressed ? Theme.themeButtonPressedColor : Theme.themeButtonColor

            VectorImage {
                objectName: "cockpitMainViewButtonIcon"
                anchors.horizontalCenter: parent.horizontalCenter
                width: height
                height: parent.height
                source: cockpitMainViewButton.icon
                vectorImageAutoResize: true
            }
        }
        label: Item {
        }
    }

    onClicked: {
        if (onClickView && cockpitMainViewButtonStackView)
            cockpitMainViewButtonStackView.push({ item: onClickView, replace: true })
    }
}

import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// A small window inside a module view that shows a submodule (a sensor simulator). It is dragged by
// its header bar, only within its parent, and hidden by the close icon at the bar's right end;
// hiding keeps its position and its content's state. Its user gives the first position by bindings;
// the first drag replaces them.
Rectangle {
    id: submoduleFrame

    property var submoduleFrameSubmodule
    property int submoduleFrameWidth: 0
    property int submoduleFrameHeight: 0

    readonly property int submoduleFrameHeaderHeight: 20

    color: "#C0888888"
    border.color: "black"
    border.width: 1
    radius: 5
    width: submoduleFrameWidth
    height: submoduleFrameHeight + submoduleFrameHeaderHeight

    // Takes every press on the frame that its content leaves, so that presses on the frame do not
    // reach what lies below it.
    MouseArea {
        anchors.fill: parent
    }

    Column {
        spacing: 0

        Rectangle {
            id: submoduleFrameHeader
            color: "#222222"
            border.color: "black"
            border.width: 1
            radius: 5
            width: submoduleFrame.width
            height: submoduleFrame.submoduleFrameHeaderHeight

            MouseArea {
                id: submoduleFrameDragArea
                anchors.fill: parent
                drag.target: submoduleFrame
                drag.axis: Drag.XAndYAxis
                drag.smoothed: false
                drag.minimumX: submoduleFrame.parent ? 0.05 * submoduleFrame.parent.width : 0
                drag.maximumX: submoduleFrame.parent ? 0.95 * (submoduleFrame.parent.width - submoduleFrame.width) : 0
                drag.minimumY: 0
                drag.maximumY: submoduleFrame.parent ? submoduleFrame.parent.height - submoduleFrame.height : 0
                // From the first drag on the frame stays where it is dropped: the position is no
                // longer bound to what its user first gave.
                drag.onActiveChanged: {
                    if (drag.active) {
                        submoduleFrame.x = submoduleFrame.x
                        submoduleFrame.y = submoduleFrame.y
                    }
                }
            }

            VectorImage {
                anchors.right: parent.right
                anchors.verticalCenter: parent.verticalCenter
                height: 0.9 * parent.height
                width: height
                source: Theme.themeImagePath + "icon_close_icon.svg"
                vectorImageAutoResize: true

                MouseArea {
                    anchors.fill: parent
                    onClicked: submoduleFrame.visible = false
                }
            }
        }

        Item {
            id: submoduleFrameContent
            width: submoduleFrame.width
            height: submoduleFrame.submoduleFrameHeight
        }

        Component.onCompleted: {
            var submodule = submoduleFrame.submoduleFrameSubmodule
            if (!submodule)
                return
            submodule.parent = submoduleFrameContent
            submodule.x = 0
            submodule.y = 0
            submodule.width = Qt.binding(function() { return submoduleFrameContent.width })
            submodule.height = Qt.binding(function() { return submoduleFrameContent.height })
        }
    }
}

import QtQuick 2.5
import QtQuick.Layouts 1.3
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// Holds one module view on the board, with the menu below it that moves the frame one slot left or
// right or lets the user drag it. The frame does not move itself: it asks its user through
// requestMove, requestDrag and requestDrop, and its user slides it into a slot with
// moveModuleFrame().
Item {
    id: moduleFrame

    property var moduleFrameCustomModule
    property int moduleFrameItemSize: 75
    property int moduleFramePositionX: 0
    property int moduleFramePositionZ: 0
    property bool moduleFrameBorderEnabled: false
    property alias moduleFrameContainerItem: moduleFrameContainer

    // The module view that has been moved into the container, once the frame is complete.
    property Item moduleFrameHeldModule: null
    // The pointer's x within the drag button when it went down.
    property real moduleFrameDragStartX: 0

    signal requestMove(var component, int direction)
    signal requestDrag(var component, int delta)
    signal requestDrop(var component)

    // Slides the frame to x; its z becomes z when the slide ends. A call during a running slide
    // ends that slide first, which applies the new z at once, and slides on from where the frame is.
    function moveModuleFrame(positionX, positionZ) {
        moduleFramePositionX = positionX
        moduleFramePositionZ = positionZ
        moduleFrameMoveAnimation.stop()
        moduleFrameMoveAnimation.from = moduleFrame.x
        moduleFrameMoveAnimation.to = positionX
        moduleFrameMoveAnimation.start()
    }

    function moduleFrameTakeModule() {
        var module = moduleFrameCustomModule
        if (!module || module === moduleFrameHeldModule)
            return
        if (moduleFrameHeldModule)
            moduleFrameHeldModule.parent = null
        module.parent = moduleFrameContainer
        module.width = Qt.binding(function() { return 1.05 * moduleFrameContainer.width })
        module.x = Qt.binding(function() { return (moduleFrameContainer.width - module.width) / 2 })
        module.y = Qt.binding(function() { return (moduleFrameContainer.height - module.height) / 2 })
        moduleFrameHeldModule = module
    }

    onModuleFrameCustomModuleChanged: {
        if (moduleFrameHeldModule)
            moduleFrameTakeModule()
    }

    Component.onCompleted: moduleFrameTakeModule()

    PropertyAnimation {
        id: moduleFrameMoveAnimation
        target: moduleFrame
        property: "x"
        duration: 250
        easing.type: Easing.Linear
        onRunningChanged: {
            if (!running)
                moduleFrame.z = moduleFrame.moduleFramePositionZ
        }
    }

    Item {
        id: moduleFrameContainer
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        height: moduleFrame.moduleFrameHeldModule ? moduleFrame.moduleFrameHeldModule.height : 0
    }

    RowLayout {
        id: moduleFrameMenu
        anchors.top: moduleFrameContainer.bottom
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter

        MenuItem {
            Layout.preferredWidth: moduleFrame.moduleFrameItemSize
            Layout.preferredHeight: moduleFrame.moduleFrameItemSize
            menuItemIcon: Theme.themeImagePath + "menu_item_icon_move_left.svg"
            onMenuItemClicked: moduleFrame.requestMove(moduleFrame, -1)
        }

        MenuItem {
            id: moduleFrameDragItem
            Layout.preferredWidth: moduleFrame.moduleFrameItemSize
            Layout.preferredHeight: moduleFrame.moduleFrameItemSize
            menuItemIcon: Theme.themeImagePath + "menu_item_icon_move_drag.svg"

            Connections {
                target: moduleFrameDragItem.menuItemMouseArea

                // Grabbing a frame that is still sliding ends the slide, so that the frame follows
                // the pointer from where it is and keeps the raised z that its user gives it.
                function onPressed(mouse) {
                    moduleFrameMoveAnimation.stop()
                    moduleFrame.moduleFrameDragStartX = mouse.x
                    moduleFrame.requestDrag(moduleFrame, 0)
                }

                function onPositionChanged(mouse) {
                    moduleFrame.requestDrag(moduleFrame, mouse.x - moduleFrame.moduleFrameDragStartX)
                }

                function onReleased(mouse) {
                    moduleFrame.requestDrop(moduleFrame)
                }

                // A press taken away (e.g. by a window losing the grab) ends the drag like a release,
                // so the frame does not stay lifted between the slots.
                function onCanceled() {
                    moduleFrame.requestDrop(moduleFrame)
                }
            }
        }

        MenuItem {
            Layout.preferredWidth: moduleFrame.moduleFrameItemSize
            Layout.preferredHeight: moduleFrame.moduleFrameItemSize
            menuItemIcon: Theme.themeImagePath + "menu_item_icon_move_right.svg"
            onMenuItemClicked: moduleFrame.requestMove(moduleFrame, 1)
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: "white"
        border.width: 1
        visible: moduleFrame.moduleFrameBorderEnabled
    }
}

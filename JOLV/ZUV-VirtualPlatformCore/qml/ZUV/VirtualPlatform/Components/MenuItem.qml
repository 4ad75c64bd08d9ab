import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// One round button of a module frame's menu: a face, a white overlay while it is held, and an
// icon. It fires as soon as it goes down, not on release. Users attach further handlers (press,
// release, pointer movement) through menuItemMouseArea.
CenteredItem {
    id: menuItem

    property alias menuItemIcon: menuItemIconImage.source
    property alias menuItemMouseArea: menuItemMouseAreaItem

    signal menuItemClicked()

    VectorImage {
        anchors.fill: parent
        source: Theme.themeImagePath + "menu_item_background.svg"
        vectorImageAutoResize: true
    }

    VectorImage {
        anchors.fill: parent
        source: Theme.themeImagePath + "menu_item_pressed_white.svg"
        vectorImageAutoResize: true
        visible: menuItemMouseAreaItem.pressed
    }

    VectorImage {
        id: menuItemIconImage
        anchors.fill: parent
        vectorImageAutoResize: true
    }

    MouseArea {
        id: menuItemMouseAreaItem
        anchors.fill: parent
        hoverEnabled: false
        onPressed: menuItem.menuItemClicked()
    }
}

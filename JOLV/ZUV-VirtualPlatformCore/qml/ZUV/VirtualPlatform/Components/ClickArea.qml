import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// The press area that a module view lays over a button or sensor of its picture. While the pointer
// is over it a ring marks it (with a dark ring background where enabled). It reports only whether
// it is held: from press to release, also while a held press is dragged off it.
CenteredItem {
    id: clickArea

    property alias clickAreaPressed: clickAreaMouseArea.pressed
    property bool clickAreaRingBackgroundEnabled: false
    // A switched-off area shows no ring, also when it is switched off under the pointer.
    readonly property bool clickAreaHovered: clickAreaMouseArea.containsMouse && clickArea.enabled

    VectorImage {
        anchors.fill: parent
        source: Theme.themeImagePath + "press-label_ring_background.svg"
        vectorImageAutoResize: true
        visible: clickArea.clickAreaHovered && clickArea.clickAreaRingBackgroundEnabled
    }

    VectorImage {
        anchors.fill: parent
        source: Theme.themeImagePath + "press-label_ring.svg"
        vectorImageAutoResize: true
        visible: clickArea.clickAreaHovered
    }

    MouseArea {
        id: clickAreaMouseArea
        anchors.fill: parent
        hoverEnabled: true
    }
}

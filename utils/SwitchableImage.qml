import QtQuick 2.5

// Shows one of two pictures: activeSource while active, inactiveSource otherwise. Starts inactive.
Item {
    id: switchableImage

    property url activeSource
    property url inactiveSource
    property bool drawBorder: false
    property bool switchableImageActive: false

    function setActive(active) {
        switchableImageActive = active
    }

    VectorImage {
        anchors.fill: parent
        source: switchableImage.activeSource
        visible: switchableImage.switchableImageActive
        vectorImageAutoResize: true
    }

    VectorImage {
        anchors.fill: parent
        source: switchableImage.inactiveSource
        visible: !switchableImage.switchableImageActive
        vectorImageAutoResize: true
    }

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: "white"
        border.width: 1
        visible: switchableImage.drawBorder
    }
}

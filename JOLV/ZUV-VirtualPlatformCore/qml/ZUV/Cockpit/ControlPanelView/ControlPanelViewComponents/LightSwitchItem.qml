import QtQuick 2.5
import de.quandrel.jolv.utils 0.1

// One position of a LightSwitch: its lit and unlit symbol, drawn over the whole switch, and a click
// area that lies at angle degrees (0 right, growing clockwise) and radiusRelative from the centre.
SwitchableImage {
    id: lightSwitchItem

    property int angle: 0
    property int itemNumber: -1
    property real sizeRelative: 0
    property real radiusRelative: 0
    property alias clickableArea: lightSwitchItemClickableArea

    signal itemSelected(var item)

    function lightSwitchItemPlaceClickableArea() {
        var a = angle * Math.PI / 180
        lightSwitchItemClickableArea.xRelative = 0.5 + Math.cos(a) * radiusRelative
        lightSwitchItemClickableArea.yRelative = 0.5 + Math.sin(a) * radiusRelative
        lightSwitchItemClickableArea.updatePositionAndSize(false)
    }

    drawBorder: false
    anchors.fill: parent

    onWidthChanged: lightSwitchItemPlaceClickableArea()
    onHeightChanged: lightSwitchItemPlaceClickableArea()
    onRadiusRelativeChanged: lightSwitchItemPlaceClickableArea()
    onSizeRelativeChanged: lightSwitchItemPlaceClickableArea()
    onAngleChanged: lightSwitchItemPlaceClickableArea()
    Component.onCompleted: lightSwitchItemPlaceClickableArea()

    ClickableArea {
        id: lightSwitchItemClickableArea
        widthRelative: lightSwitchItem.sizeRelative
        heightRelative: lightSwitchItem.sizeRelative
        onClickableAreaClicked: lightSwitchItem.itemSelected(lightSwitchItem)
    }
}

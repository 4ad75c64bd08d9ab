import QtQuick 2.5
import de.quandrel.jolv.utils 0.1

// A rotary switch: a dial, a needle and a ring of positions (LightSwitchItems). A click on a
// position turns the needle to it, lights its symbol and reports its number through
// selectedItemChanged. Position 0 is active from the start, without a report.
Item {
    id: lightSwitch

    property url backgroundImage
    property url needleImage
    property list<LightSwitchItem> lightSwitchItemsList
    property real lightSwitchItemsRadius: 0
    property real lightSwitchItemsSize: 0
    property LightSwitchItem activeLightSwitchItem: null

    signal selectedItemChanged(int selection)

    function lightSwitchActivate(n) {
        if (n < 0 || n >= lightSwitchItemsList.length)
            return
        if (activeLightSwitchItem)
            activeLightSwitchItem.setActive(false)
        var item = lightSwitchItemsList[n]
        activeLightSwitchItem = item
        lightSwitchNeedleAnimation.stop()
        lightSwitchNeedleAnimation.to = item.angle + 90
        lightSwitchNeedleAnimation.start()
        item.setActive(true)
    }

    function lightSwitchItemSelected(item) {
        var n = item.itemNumber
        if (n < 0 || n >= lightSwitchItemsList.length)
            return
        lightSwitchActivate(n)
        selectedItemChanged(n)
    }

    Component.onCompleted: {
        for (var i = 0; i < lightSwitchItemsList.length; ++i) {
            var item = lightSwitchItemsList[i]
            item.itemNumber = i
            item.parent = lightSwitchSquare
            item.z = 1
            item.clickableArea.parent = lightSwitchSquare
            item.clickableArea.z = 3
            if (lightSwitchItemsRadius !== 0)
                item.radiusRelative = lightSwitchItemsRadius
            if (lightSwitchItemsSize !== 0)
                item.sizeRelative = lightSwitchItemsSize
            item.lightSwitchItemPlaceClickableArea()
            item.itemSelected.connect(lightSwitchItemSelected)
        }
        lightSwitchActivate(0)
    }

    AspectRatioItem {
        id: lightSwitchSquare
        objectName: "lightSwitchSquare"
        aspectRatio: 1

        VectorImage {
            objectName: "lightSwitchBackground"
            z: 0
            anchors.fill: parent
            source: lightSwitch.backgroundImage
            vectorImageAutoResize: true
        }

        // Points straight up at rotation 0; turned about the square's centre.
        VectorImage {
            id: lightSwitchNeedle
            objectName: "lightSwitchNeedle"
            z: 2
            anchors.fill: parent
            source: lightSwitch.needleImage
            vectorImageAutoResize: true
            rotation: 0
        }
    }

    RotationAnimation {
        id: lightSwitchNeedleAnimation
        target: lightSwitchNeedle
        property: "rotation"
        direction: RotationAnimation.Shortest
        duration: 250
    }
}

import QtQuick 2.5
import de.quandrel.jolv.utils 0.1

// A steering-column lever with five positions: 2 and 1 up, 0 in the centre, -1 and -2 down. Its
// click areas are added at run time with addClickableArea(), or all five of the lever picture's at
// once with controlStalkAddPositionAreas(); a click turns the lever to the area's position and
// reports it through leverPositionChanged. Mirrored, every picture, the lever's motion and the
// click areas are mirrored left to right. With autoReturn, positions 1 and -1 spring back to 0
// 1000 ms after the last click on either of them, unless another position is chosen first.
Item {
    id: controlStalk

    property url controlStalkConsoleImageUrl
    property url controlStalkGhostlinesImageUrl
    property url controlStalkLeverImageUrl
    property url controlStalkIconImageUrl
    property bool mirrored: false
    property bool autoReturn: false
    property var clickableAreaList: []

    // The lever picture's positions, unmirrored: the lever's angle at each (degrees, negative up)
    // and the click area that selects it, in fractions of the stalk's size, centred on the lever
    // there and turned by the same angle.
    readonly property var controlStalkPositions: [
        { itemNumber: 2, angleDeg: -36, xRelative: 0.60, yRelative: 0.19, widthRelative: 0.375, heightRelative: 0.18 },
        { itemNumber: 1, angleDeg: -18, xRelative: 0.71, yRelative: 0.31, widthRelative: 0.375, heightRelative: 0.18 },
        { itemNumber: 0, angleDeg: 0, xRelative: 0.75, yRelative: 0.47, widthRelative: 0.375, heightRelative: 0.18 },
        { itemNumber: -1, angleDeg: 18, xRelative: 0.75, yRelative: 0.63, widthRelative: 0.375, heightRelative: 0.18 },
        { itemNumber: -2, angleDeg: 36, xRelative: 0.70, yRelative: 0.78, widthRelative: 0.375, heightRelative: 0.18 }
    ]

    signal leverPositionChanged(int position)

    function addClickableArea(xRelative, yRelative, widthRelative, heightRelative, angleDeg, itemNumber) {
        var area = controlStalkItemComponent.createObject(controlStalk, {
            "itemNumber": itemNumber,
            "xRelative": xRelative,
            "yRelative": yRelative,
            "widthRelative": widthRelative,
            "heightRelative": heightRelative,
            "rotation": mirrored ? -angleDeg : angleDeg,
            "z": 3
        })
        area.updatePositionAndSize(mirrored)
        area.clickableAreaClicked.connect(function(clicked) {
            controlStalk.setControlStalkPosition(clicked.itemNumber)
        })
        var list = clickableAreaList
        list.push(area)
        clickableAreaList = list
        return area
    }

    function controlStalkAddPositionAreas() {
        controlStalkPositions.forEach(function(p) {
            addClickableArea(p.xRelative, p.yRelative, p.widthRelative, p.heightRelative, p.angleDeg, p.itemNumber)
        })
    }

    // Positions 1 and -1 (re)start the return to 0 where autoReturn is set; the others cancel a
    // pending return. A position the lever does not have moves nothing.
    function setControlStalkPosition(position) {
        leverPositionChanged(position)
        var drawn = mirrored ? -position : position
        var target = controlStalkPositions.filter(function(p) { return p.itemNumber === drawn })[0]
        if (!target)
            return
        if (Math.abs(drawn) !== 1)
            controlStalkReturnTimer.stop()
        else if (autoReturn)
            controlStalkReturnTimer.restart()
        controlStalkLeverAnimation.stop()
        controlStalkLeverAnimation.to = target.angleDeg
        controlStalkLeverAnimation.start()
    }

    function controlStalkPlaceClickableAreas() {
        for (var i = 0; i < clickableAreaList.length; ++i)
            clickableAreaList[i].updatePositionAndSize(mirrored)
    }

    onWidthChanged: controlStalkPlaceClickableAreas()
    onHeightChanged: controlStalkPlaceClickableAreas()

    VectorImage {
        objectName: "controlStalkGhostlinesImage"
        z: 0
        anchors.fill: parent
        source: controlStalk.controlStalkGhostlinesImageUrl
        mirror: controlStalk.mirrored
        vectorImageAutoResize: true
    }

    // The lever and its symbol, turned together about the lever's pivot.
    Item {
        id: controlStalkLever
        objectName: "controlStalkLever"
        z: 1
        anchors.fill: parent
        transform: Rotation {
            id: controlStalkLeverRotation
            origin.x: controlStalk.width * (controlStalk.mirrored ? 1.0 - 0.242 : 0.242)
            origin.y: controlStalk.height * (1.0 - 0.448)
            angle: 0
        }

        VectorImage {
            objectName: "controlStalkLeverImage"
            anchors.fill: parent
            source: controlStalk.controlStalkLeverImageUrl
            mirror: controlStalk.mirrored
            vectorImageAutoResize: true
        }

        VectorImage {
            objectName: "controlStalkIconImage"
            anchors.fill: parent
            source: controlStalk.controlStalkIconImageUrl
            mirror: controlStalk.mirrored
            vectorImageAutoResize: true
        }
    }

    VectorImage {
        objectName: "controlStalkConsoleImage"
        z: 2
        anchors.fill: parent
        source: controlStalk.controlStalkConsoleImageUrl
        mirror: controlStalk.mirrored
        vectorImageAutoResize: true
    }

    RotationAnimation {
        id: controlStalkLeverAnimation
        objectName: "controlStalkLeverAnimation"
        target: controlStalkLeverRotation
        property: "angle"
        direction: RotationAnimation.Shortest
        duration: 300
    }

    Timer {
        id: controlStalkReturnTimer
        objectName: "controlStalkReturnTimer"
        interval: 1000
        repeat: false
        onTriggered: controlStalk.setControlStalkPosition(0)
    }

    Component {
        id: controlStalkItemComponent
        ControlStalkItem {
        }
    }
}

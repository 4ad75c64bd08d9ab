import QtQuick 2.5

// A mouse area placed by its centre and sized in fractions of its parent's width and height.
// updatePositionAndSize() applies the fractions to the parent's current size; callers call it
// after every size change. Mirrored, the centre lies at 1 - xRelative.
MouseArea {
    id: clickableArea

    property real xRelative: 0.5
    property real yRelative: 0.5
    property real widthRelative: 0.1
    property real heightRelative: 0.1

    signal clickableAreaClicked(var area)

    function updatePositionAndSize(mirrored) {
        if (!parent)
            return
        var centerX = (mirrored ? 1.0 - xRelative : xRelative) * parent.width
        var centerY = yRelative * parent.height
        width = widthRelative * parent.width
        height = heightRelative * parent.height
        x = centerX - width / 2
        y = centerY - height / 2
    }

    onClicked: clickableAreaClicked(clickableArea)
}

import QtQuick 2.5

// An item placed by its centre, in its parent's coordinates. Users give width and height. A layout
// that manages the item may place it instead.
Item {
    property real centeredItemCenterX: 0
    property real centeredItemCenterY: 0

    x: centeredItemCenterX - width / 2
    y: centeredItemCenterY - height / 2
}

import QtQuick 2.5

// Counts the presses that reach it; it fills its parent.
MouseArea {
    property int presses: 0
    anchors.fill: parent
    onPressed: ++presses
}

import QtQuick 2.5

// Prints where it was clicked, in fractions of its size, for reading positions off a picture.
// Disabled, it lets every click pass to what lies below.
MouseArea {
    id: mouseClickDebugArea

    enabled: false

    onClicked: console.log("clicked at", (mouse.x / width).toFixed(4), (mouse.y / height).toFixed(4))
}

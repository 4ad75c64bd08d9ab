import QtQuick 2.5

// Takes the largest size of a given aspect ratio that fits inside its parent, centred in it.
// Either set aspectRatioWidth and aspectRatioHeight, or aspectRatio (width over height) directly.
Item {
    property real aspectRatioWidth: 1
    property real aspectRatioHeight: 1
    property real aspectRatio: aspectRatioHeight > 0 ? aspectRatioWidth / aspectRatioHeight : 1

    anchors.centerIn: parent
    width: parent && aspectRatio > 0 ? Math.min(parent.width, parent.height * aspectRatio) : 0
    height: aspectRatio > 0 ? width / aspectRatio : 0
}

import QtQuick 2.5
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// A square cell of the gallery with a caption above it; its children fill the area below the caption.
Item {
    id: galleryCell

    property string galleryCellTitle: ""
    property real galleryCellSize: 200
    property real galleryCellWidth: galleryCellSize
    default property alias galleryCellContent: galleryCellArea.data

    width: galleryCellWidth
    height: galleryCellSize + galleryCellCaption.height

    Text {
        id: galleryCellCaption
        width: parent.width
        text: galleryCell.galleryCellTitle
        color: "white"
        font.pixelSize: 11
        elide: Text.ElideRight
    }

    Rectangle {
        id: galleryCellArea
        y: galleryCellCaption.height
        width: galleryCell.galleryCellWidth
        height: galleryCell.galleryCellSize
        color: Theme.themeBackgroundColor
    }
}

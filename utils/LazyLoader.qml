import QtQuick 2.5
import QtQuick.Window 2.2

// A loader that makes its item the first time it is shown (visible, in a window) and keeps it from
// then on, also while it is hidden: a view that is never opened costs nothing, and one that has been
// opened keeps its state. Its item fills it.
Loader {
    id: lazyLoader

    readonly property bool lazyLoaderShown: visible && Window.window !== null

    active: false

    onLazyLoaderShownChanged: {
        if (lazyLoaderShown)
            active = true
    }
    Component.onCompleted: {
        if (lazyLoaderShown)
            active = true
    }
}

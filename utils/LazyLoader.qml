import QtQuick 2.5
import QtQuick.Window 2.2

// A loader that makes its item the first time it is shown (visible, in a window) and keeps it from
// then on, also while it is hidden: a view that is never opened costs nothing, and one that has been
// opened keeps its state. Its item fills it.
Loader {
    id: lazyLoader

    // Every item up the tree is asked, because while an item is being moved into a hidden one, the
    // items below it still tell of where they were.
    function lazyLoaderLoadIfShown() {
        if (active || Window.window === null)
            return
        for (var item = lazyLoader; item; item = item.parent) {
            if (!item.visible)
                return
        }
        active = true
    }

    active: false

    onVisibleChanged: lazyLoaderLoadIfShown()
    Window.onWindowChanged: lazyLoaderLoadIfShown()
    Component.onCompleted: lazyLoaderLoadIfShown()
}

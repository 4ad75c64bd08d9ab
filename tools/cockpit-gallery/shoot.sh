#!/usr/bin/env bash
# Screenshots of the cockpit gallery under a virtual X server, written to build/cockpit-gallery/.
# Needs the test runner: cmake -S . -B build && cmake --build build --target tst_qml
#   tools/cockpit-gallery/shoot.sh          take the screenshots
#   tools/cockpit-gallery/shoot.sh view     open the gallery on the current display for ten minutes
#   tools/cockpit-gallery/shoot.sh cockpit  screenshots of the whole stand-alone cockpit, every view
#   tools/cockpit-gallery/shoot.sh board    the main window at 800 x 800 with the cockpit in view
set -euo pipefail
cd "$(dirname "$0")/../.."
runner=build/tests/qml/tst_qml
mkdir -p build/cockpit-gallery build/test-runtime
chmod 700 build/test-runtime
# The software scene graph unless the caller chose a renderer (QT_QUICK_BACKEND= for OpenGL).
export XDG_RUNTIME_DIR="$PWD/build/test-runtime" QT_QUICK_BACKEND="${QT_QUICK_BACKEND-software}"
if [ "${1:-}" = view ]; then
    exec "$runner" -input tools/cockpit-gallery/view_gallery.qml
fi
document=tools/cockpit-gallery/shoot_gallery.qml
case "${1:-}" in
    cockpit) document=tools/cockpit-gallery/shoot_cockpit.qml ;;
    board) document=tools/cockpit-gallery/shoot_board.qml ;;
esac
xvfb-run -a -s "-screen 0 1600x1200x24" "$runner" -platform xcb -input "$document"
ls -1 build/cockpit-gallery/*.png

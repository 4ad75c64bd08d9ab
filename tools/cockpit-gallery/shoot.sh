#!/usr/bin/env bash
# Screenshots of the cockpit gallery under a virtual X server, written to build/cockpit-gallery/.
# Needs the test runner: cmake -S . -B build && cmake --build build --target tst_qml
#   tools/cockpit-gallery/shoot.sh          take the screenshots
#   tools/cockpit-gallery/shoot.sh view     open the gallery on the current display for ten minutes
#   tools/cockpit-gallery/shoot.sh cockpit  screenshots of the whole stand-alone cockpit, every view
set -euo pipefail
cd "$(dirname "$0")/../.."
runner=build/tests/qml/tst_qml
mkdir -p build/cockpit-gallery build/test-runtime
chmod 700 build/test-runtime
export XDG_RUNTIME_DIR="$PWD/build/test-runtime" QT_QUICK_BACKEND=software
if [ "${1:-}" = view ]; then
    exec "$runner" -input tools/cockpit-gallery/view_gallery.qml
fi
document=tools/cockpit-gallery/shoot_gallery.qml
if [ "${1:-}" = cockpit ]; then
    document=tools/cockpit-gallery/shoot_cockpit.qml
fi
xvfb-run -a -s "-screen 0 1600x1200x24" "$runner" -platform xcb -input "$document"
ls -1 build/cockpit-gallery/*.png

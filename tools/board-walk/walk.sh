#!/usr/bin/env bash
# Runs board_walk.qml in the QML test runner under a virtual X server, with the default (OpenGL)
# renderer unless QT_QUICK_BACKEND says otherwise. Needs the test runner:
#   cmake --build build --target tst_qml
set -euo pipefail
cd "$(dirname "$0")/../.."
mkdir -p build/test-runtime
chmod 700 build/test-runtime
export XDG_RUNTIME_DIR="$PWD/build/test-runtime" QML_XHR_ALLOW_FILE_READ=1
xvfb-run -a -s "-screen 0 1600x1200x24" build/tests/qml/tst_qml -platform xcb -input tools/board-walk/board_walk.qml 2>&1 |
    grep -E "resident memory|FAIL|Totals" | sed 's/^.*qml: //'

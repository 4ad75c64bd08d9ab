#!/bin/sh
# Builds the C unit of the kit libraries' README (its ```c block) in WORK with a student's Makefile.
# Usage: student-build.sh README WORK
set -eu
mkdir -p "$2"
sed -n '/^```c$/,/^```$/{/^```/d;p;}' "$1" > "$2/unit.c"
test -s "$2/unit.c"
rm -f "$2/unit"
make -s -C "$2" -f "$(cd "$(dirname "$0")" && pwd)/Makefile" unit
test -x "$2/unit"

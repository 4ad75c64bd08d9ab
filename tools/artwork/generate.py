#!/usr/bin/env python3
"""Regenerates every picture of the resource tree.

Each drawing family lives in a `draw_*.py` module of this folder with a `main()` that
writes its files; this script runs them all. The output is committed: the build never
runs this script.
"""

import importlib
import pathlib
import sys

HERE = pathlib.Path(__file__).resolve().parent
sys.path.insert(0, str(HERE))


def main(names):
    modules = sorted(p.stem for p in HERE.glob("draw_*.py"))
    if names:
        modules = [m for m in modules if any(n in m for n in names)]
    for name in modules:
        print(f"drawing {name} ...")
        importlib.import_module(name).main()


if __name__ == "__main__":
    main(sys.argv[1:])

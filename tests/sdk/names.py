"""The kit libraries and the README know the 49 values of src/StateValues.h: the same names, kinds and
groups in the same order (the Python module's VALUES, the C header's ZUV_VALUES list that makes its
constants, the README's table for students)."""
import os
import re
import sys
import unittest

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
sys.path.insert(0, os.path.join(ROOT, "sdk", "python"))
import zuvkit  # noqa: E402


def rows(path, pattern):
    with open(os.path.join(ROOT, path), encoding="utf-8") as file:
        return [match.groups() for match in re.finditer(pattern, file.read(), re.M)]


class Names(unittest.TestCase):
    def test_both_kits_follow_the_values_table(self):
        program = [(name, kind, group) for kind, name, group in
                   rows("src/StateValues.h", r"^\s*X\((int|bool),\s*(\w+),\s*\w+,\s*(\w+),")]
        self.assertEqual(len(program), 49)
        writers = {"the program (cockpit)": "CockpitInput", "the program (board)": "ModuleInput",
                   "your unit": "ModuleOutput", "the program (cockpit) and your unit": "CockpitInput"}
        kits = {
            "python": [(name, kind.__name__, group) for name, kind, group in zuvkit.VALUES],
            "c": rows("sdk/c/zuvkit.h", r"^\s*X\((\w+),\s*(int|bool),\s*(\w+)\)"),
            "README": [(name, kind, writers.get(writer)) for name, kind, writer in
                       rows("README.md", r"^\| `(\w+)` \| (int|bool) \| ([^|]+?) \|")],
        }
        for kit, values in kits.items():
            with self.subTest(kit):
                self.assertEqual(values, program)


if __name__ == "__main__":
    unittest.main()

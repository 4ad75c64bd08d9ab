"""Every case of tests/core/receive-rules.json, the program's own table of the receive rules,
against a kit library's receive rules: the Python module's receive() in this process, or the C
library's through a tool that judges one datagram.

Usage: receive_rules.py [--tool PATH_OF_kit_receive]
"""
import json
import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TABLES = (os.path.join(HERE, "..", "core", "receive-rules.json"),)
TOOL = sys.argv.pop(sys.argv.index("--tool") + 1) if "--tool" in sys.argv else None
if TOOL:
    sys.argv.remove("--tool")


def datagram(case):
    data = case["text"].encode("latin-1")
    if "pad_to" in case:
        data += case["pad"].encode("latin-1") * (case["pad_to"] - len(data))
    return data


def judge(data, length, sender):
    """(verdict, count, ["name=value", ...]) of one datagram."""
    if TOOL:
        lines = subprocess.run([TOOL, str(length), sender], input=data, stdout=subprocess.PIPE,
                               check=True).stdout.decode().splitlines()
        return lines[0], int(lines[1]), lines[2:]
    import zuvkit
    received = zuvkit.receive(data[:4096], sender, length)
    return received.verdict, received.count, ["%s=%d" % pair for pair in received.assignments]


class ReceiveRules(unittest.TestCase):
    def test_every_case(self):
        cases = []
        for table in TABLES:
            with open(table, encoding="utf-8") as file:
                cases += json.load(file)["cases"]
        self.assertGreaterEqual(len(cases), 67 + 22)
        for case in cases:
            with self.subTest(case["name"]):
                data = datagram(case)
                self.assertEqual(judge(data, case.get("length", len(data)), case.get("sender", "127.0.0.1")),
                                 (case["verdict"], case["count"], case["assignments"]))


if __name__ == "__main__":
    unittest.main()

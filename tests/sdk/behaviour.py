"""The kit libraries' behaviour, one suite for both: it starts a probe unit (tests/sdk/python/probe.py,
or tests/sdk/c/probe.c as built) as a process on free ports and plays the program over loopback UDP.
Waits are for datagrams, with generous timeouts; the probes report their own clock, so timing is
checked exactly where the library promises it and only loosely against the wall clock. The lock-step
cases play the checker of docs/lockstep.md as well: they move the unit's clock with "$time" and
take its "$done" and "$next".

Environment: ZUV_KIT=python (default) or c; ZUV_KIT_PROBE, the C probe's executable.
"""
import json
import os
import select
import signal
import socket
import subprocess
import sys
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "sdk", "python"))
import zuvkit  # noqa: E402

KIT = os.environ.get("ZUV_KIT", "python")
PROBE = [sys.executable, os.path.join(HERE, "python", "probe.py")] if KIT == "python" else \
    [os.environ.get("ZUV_KIT_PROBE", "kit_probe")]
WAIT = 5.0  # seconds for a datagram that must come
WIPER = ("windshieldWiperA", "windshieldWiperB", "windshieldWiperC", "windshieldWiperD")


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Program:
    """Plays the program: keeps the state, applies the unit's documents, sends the whole state."""

    def __init__(self, test):
        self.test = test
        self.socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        self.socket.bind(("127.0.0.1", 0))
        self.port = self.socket.getsockname()[1]
        self.state = {name: kind(0) for name, kind, _ in zuvkit.VALUES}
        self.arrivals = []

    def receive(self, timeout):
        """The next document from the unit (checked for its framing), or None after `timeout`."""
        if not select.select([self.socket], [], [], timeout)[0]:
            return None
        data = self.socket.recv(65536)
        self.arrivals.append(time.monotonic())
        text = data.split(b"\0", 1)[0]
        self.test.assertEqual(len(data), 4096, "one datagram is 4096 bytes")
        self.test.assertEqual(data[len(text):], bytes(4096 - len(text)), "NUL bytes after the text")
        document = json.loads(text)
        self.test.assertEqual(json.dumps(document, separators=(",", ":")).encode(), text, "compact JSON")
        self.state.update((name, value) for name, value in document.items() if not name.startswith("$"))
        return document

    def expect(self):
        document = self.receive(WAIT)
        self.test.assertIsNotNone(document, "no document came")
        return document

    def quiet(self, seconds):
        self.test.assertIsNone(self.receive(seconds), "a document came where none should")

    def send(self, to, report=None, **changes):
        """The whole state with `changes` applied, and `report` sent without being applied."""
        self.state.update(changes)
        document = dict(self.state, **(report or {}))
        self.socket.sendto(json.dumps(document).encode().ljust(4096, b"\0"), to)

    def pattern(self):
        return sum(8 >> i for i, name in enumerate(WIPER) if self.state[name])


class KitBehaviour(unittest.TestCase):
    def start(self, ports_from_environment=False):
        """Starts the probe and takes what it drives at its start: the parked wiper (B C), then its
        start callback's lamp. Then sends the program's whole state."""
        self.program = Program(self)
        self.addCleanup(self.program.socket.close)
        self.started = time.monotonic()
        peer_port = free_port()
        self.peer = ("127.0.0.1", peer_port)
        ports = {"ZUV_PROGRAM_PORT": str(self.program.port), "ZUV_PEER_PORT": str(peer_port)}
        if ports_from_environment:
            self.unit = subprocess.Popen(PROBE, env=dict(os.environ, **ports))
        else:
            self.unit = subprocess.Popen(PROBE + ["--program-port", ports["ZUV_PROGRAM_PORT"],
                                                  "--peer-port", ports["ZUV_PEER_PORT"]])
        self.addCleanup(self.stop, self.unit)
        self.assertEqual(self.program.expect(), dict(zip(WIPER, (False, True, True, False))))
        self.assertEqual(self.program.expect(), {"alarmLockLight": True})
        self.send()

    @staticmethod
    def stop(unit):
        if unit.poll() is None:
            unit.kill()
        unit.wait()

    def send(self, report=None, **changes):
        self.program.send(self.peer, report, **changes)

    def step(self, at, state=False, **changes):
        """Lock-step time: sends "$time" `at` alone, or with the whole state and `changes`, and takes
        the unit's answer up to its "$done": (its documents' values, "$next" or None)."""
        if state or changes:
            self.send({"$time": at}, **changes)
        else:
            self.program.socket.sendto(json.dumps({"$time": at}).encode().ljust(4096, b"\0"), self.peer)
        documents = []
        while True:
            document = self.program.expect()
            values = {name: value for name, value in document.items() if not name.startswith("$")}
            documents += [values] if values else []
            if "$done" in document:
                self.assertEqual(document["$done"], at)
                self.assertEqual(set(document) - set(values), {"$done"} | ({"$next"} & set(document)))
                return documents, document.get("$next")

    def test_sends_only_what_changed_one_document_per_callback(self):
        self.start()
        self.send(cockpitIgnition=1)  # the lamps stay off: nothing to send
        self.send(cockpitLightSwitch=2)
        self.assertEqual(self.program.expect(), {"lightDaylight": True})
        self.send(cockpitLightSwitch=3, cockpitBrake=1)  # two callbacks, in the order registered
        self.assertEqual(self.program.expect(), {"lightDaylight": False, "lightLowerBeamHeadlight": True})
        self.assertEqual(self.program.expect(), {"lightBrakelight": True})
        self.send()
        self.program.quiet(0.3)

    def test_press_is_false_to_true(self):
        self.start()
        steps = (  # (changes, what the unit answers or None)
            ({"alarmLockButton": True}, {"alarmLockLight": False}),
            ({"alarmLockButton": True, "cockpitBrake": 2}, {"lightBrakelight": True}),  # held: no press
            ({"alarmLockButton": False}, None),
            ({"alarmLockButton": True}, {"alarmLockLight": True}),
        )
        for changes, answer in steps:
            self.send(**changes)
            if answer:
                self.assertEqual(self.program.expect(), answer)
        self.program.quiet(0.3)

    def test_timers_run_at_their_due_times_in_due_order(self):
        self.start()
        self.send(lightGenericButton=True)  # every 100 ms five times; two after 250 ms; one cancelled
        documents = [self.program.expect() for _ in range(7)]
        self.assertEqual([sorted(document) for document in documents],
                         [["cockpitTemperature"]] * 2 + [["lightGenericLightLeft"], ["lightGenericLightRight"]]
                         + [["cockpitTemperature"]] * 3)
        ticks = [document["cockpitTemperature"] for document in documents if "cockpitTemperature" in document]
        for k, at in enumerate(ticks):
            self.assertAlmostEqual(at - ticks[0], 100000 * k, delta=1)  # on the grid: no drift
        self.assertGreater(self.program.arrivals[-1] - self.program.arrivals[-7], 0.3)
        self.program.quiet(0.5)

    def test_blinker_starts_lit_keeps_its_rhythm_and_ends_unlit(self):
        self.start()
        self.send(cockpitIndicator=1)
        edges = [self.program.expect() for _ in range(3)]
        self.send(cockpitIndicator=2)  # switched on again while it runs: changes nothing
        edges += [self.program.expect() for _ in range(2)]
        self.assertEqual([edge.get("lightIndicatorLeft") for edge in edges], [True, False, True, False, True])
        since = edges[0]["cockpitVelocity"]
        for k, edge in enumerate(edges):
            self.assertAlmostEqual(edge["cockpitVelocity"] - since, 250000 * k, delta=1)
        self.assertGreater(self.program.arrivals[-1] - self.program.arrivals[-5], 0.5)
        self.send(cockpitIndicator=0)
        self.assertIsNotNone(self.program.receive(WAIT))  # the last tick
        while self.program.receive(0.6):
            pass
        self.assertIs(self.program.state["lightIndicatorLeft"], False)

    def test_stepper_takes_one_step_per_document(self):
        self.start()
        self.send(windshieldGenericButton=True)  # five steps clockwise, five back, at 50 a second
        self.assertEqual(self.program.expect(), {"windshieldGenericLightDown": True})  # moving
        patterns = [self.program.pattern()]
        for _ in range(10):
            changed = set(self.program.expect())
            patterns.append(self.program.pattern())
            self.assertEqual(changed, {name for i, name in enumerate(WIPER) if (patterns[-1] ^ patterns[-2]) & 8 >> i})
        self.assertEqual(patterns, [6, 3, 9, 12, 6, 3, 6, 12, 9, 3, 6])
        self.assertEqual(self.program.expect(), {"cockpitSteeringAngleDeg": 100})  # idle at 0, not moving
        self.assertGreater(self.program.arrivals[-2] - self.program.arrivals[-11], 0.1)  # not in a burst

    def test_lockstep_runs_timers_in_due_order_when_the_checker_says(self):
        self.start()
        at = 7000000
        self.assertEqual(self.step(at), ([], None))  # the switch; no timer armed: no "$next"
        # The same $time again, with a press: every 100 ms five times; two after 250 ms; one cancelled.
        self.assertEqual(self.step(at, lightGenericButton=True), ([], at + 100000))
        self.program.quiet(0.3)  # time stands still between $times
        documents, next_due = self.step(at + 300000)  # three periods at once, each timer at its due time
        self.assertEqual(next_due, at + 400000)
        base = documents[0]["cockpitTemperature"] - 100000  # now() when pressed
        self.assertEqual(documents, [{"cockpitTemperature": base + 100000},
                                     {"cockpitTemperature": base + 200000},
                                     {"lightGenericLightLeft": True}, {"lightGenericLightRight": True},
                                     {"cockpitTemperature": base + 300000}])
        # now() went on from the wall-clock time the unit had run before the switch
        self.assertTrue(0 < base <= (time.monotonic() - self.started) * 1e6, base)
        self.assertEqual(self.step(at + 500000), ([{"cockpitTemperature": base + 400000},
                                                   {"cockpitTemperature": base + 500000}], None))
        # A unit started by hand meets the next check run at an earlier $time: the clock goes on from there.
        self.assertEqual(self.step(1000, lightGenericButton=False), ([], None))
        self.assertEqual(self.step(1000, lightGenericButton=True), ([], 101000))
        self.assertEqual(self.step(101000), ([{"cockpitTemperature": base + 600000}], 201000))

    def test_lockstep_blinker_made_before_the_switch_keeps_its_place_and_rhythm(self):
        self.start()
        self.send(cockpitIndicator=1)  # on the wall clock
        edges = [self.program.expect()]
        at = 3000000
        documents, next_due = self.step(at)  # the switch, with any edge that fell due before it
        edges += documents
        self.assertTrue(at < next_due <= at + 250000, next_due)
        self.program.quiet(0.6)  # no edge on the wall clock any more
        for _ in range(4):  # each edge on its period, on the unit's clock and the checker's
            documents, following = self.step(next_due)
            self.assertEqual(documents, [{"lightIndicatorLeft": len(edges) % 2 == 0,
                                          "cockpitVelocity": edges[-1]["cockpitVelocity"] + 250000}])
            self.assertEqual(following, next_due + 250000)
            edges += documents
            next_due = following
        documents, next_due = self.step(next_due - 150000, cockpitIndicator=0)  # the last tick, unlit
        self.assertEqual(documents[-1]["cockpitVelocity"], edges[-1]["cockpitVelocity"] + 100000)
        self.assertIsNone(next_due)
        self.assertIs(self.program.state["lightIndicatorLeft"], False)

    def test_lockstep_stepper_steps_exactly_at_its_rate(self):
        self.start()
        at = 1000000
        self.step(at)  # the switch
        # The first step falls due at once: "$next" is this $time, and the same $time again takes it.
        self.assertEqual(self.step(at, windshieldGenericButton=True),
                         ([{"windshieldGenericLightDown": True}], at))
        patterns, next_due = [self.program.pattern()], at
        while next_due is not None:
            self.assertEqual(next_due, at + 20000 * (len(patterns) - 1))  # 50 steps a second
            documents, next_due = self.step(next_due)
            patterns.append(self.program.pattern())
            changed = patterns[-1] ^ patterns[-2]
            self.assertEqual(set(documents[0]), {name for i, name in enumerate(WIPER) if changed & 8 >> i})
        self.assertEqual(patterns, [6, 3, 9, 12, 6, 3, 6, 12, 9, 3, 6])
        self.assertEqual(documents[1:], [{"cockpitSteeringAngleDeg": 100}])  # idle at 0, with the last step

    def test_resends_a_lost_value_but_not_one_in_flight(self):
        self.start()
        self.send(cockpitIgnition=1, cockpitLightSwitch=2)
        self.assertEqual(self.program.expect(), {"lightDaylight": True})
        self.send(report={"lightDaylight": False})  # crosses the document just sent
        self.program.quiet(0.3)
        self.send(report={"lightDaylight": False})  # lost: sent again
        self.assertEqual(self.program.expect(), {"lightDaylight": True})

    def test_signals_end_it_with_status_0(self):
        for number in (signal.SIGTERM, signal.SIGINT):
            with self.subTest(signal=number.name):
                self.start(ports_from_environment=True)
                self.unit.send_signal(number)
                self.assertEqual(self.unit.wait(WAIT), 0)

    def test_a_port_in_use_is_an_error_naming_it(self):
        with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as taken:
            taken.bind(("127.0.0.1", 0))
            port = taken.getsockname()[1]
            unit = subprocess.run(PROBE + ["--peer-port", str(port), "--program-port", str(free_port())],
                                  stderr=subprocess.PIPE, timeout=WAIT * 2)
        self.assertNotEqual(unit.returncode, 0)
        self.assertIn("cannot receive on 127.0.0.1:%d" % port, unit.stderr.decode())

    @unittest.skipUnless(KIT == "python", "in C the names are constants: a typo does not compile")
    def test_a_misspelt_name_names_the_nearest(self):
        unit = zuvkit.Unit(["unit", "--peer-port", "0"])
        self.addCleanup(unit.close)
        message = "^no value lightsIndicatorLeft - did you mean lightIndicatorLeft\\?$"
        for use in (lambda: unit.state.lightsIndicatorLeft, lambda: unit.set(lightsIndicatorLeft=True)):
            with self.assertRaisesRegex(AttributeError, message):
                use()


if __name__ == "__main__":
    unittest.main()

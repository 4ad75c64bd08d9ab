"""zuvkit: a control unit of the ZUV training kit in a few lines.

A unit reacts to what the platform reports and drives the values it owns; the library owns the
socket, the framing, the receive rules, the clock, the timers and the loop::

    import zuvkit

    unit = zuvkit.Unit()

    @unit.on("cockpitIgnition", "cockpitLightSwitch")
    def lights(s):
        unit.set(lightDaylight=s.cockpitIgnition and s.cockpitLightSwitch == 2)

    unit.run()

Every callback gets the state as its last argument (a blinker's tick gets ``(lit, s)``); at its end
the driven values that the program is not believed to hold go out as one document, and a ``set``
outside any callback goes out at once. ``unit.now()`` is the time in seconds since the unit started
(in a timer's callback: its due time). From the first document that holds ``"$time"`` on, the unit
keeps lock-step time (docs/lockstep.md): its clock moves only with the ``$time`` it is sent, and it
answers each with ``"$done"`` and ``"$next"``. The unit receives on 127.0.0.1:50001 and sends to
127.0.0.1:50000; ``--peer-port N`` and ``--program-port N`` on the command line change them, or else
the environment's ``ZUV_PEER_PORT`` and ``ZUV_PROGRAM_PORT``. ``receive(data, sender)`` judges one
datagram by the receive rules. Python 3.9 or newer, standard library only.
"""

import collections
import difflib
import heapq
import itertools
import json
import math
import os
import re
import select
import signal
import socket
import sys
import time

__all__ = ["Unit", "State", "Timer", "Blinker", "Stepper", "Received", "receive", "VALUES", "DATAGRAM_SIZE"]

DATAGRAM_SIZE = 4096
# A report that contradicts a value sent less than this long before (microseconds) crossed it.
IN_FLIGHT = 100_000
# Documents nested deeper are not documents to the program.
NESTING_LIMIT = 1024
# The largest $time taken (microseconds): whole numbers up to it are exact in a double.
TIME_LIMIT = 2 ** 53

# The 49 values in the order in which a document is applied: (name, kind, group). The group tells
# who writes a value: the cockpit, a button or sensor of a module, or a control unit (an output).
_COCKPIT, _INPUT, _OUTPUT = "CockpitInput", "ModuleInput", "ModuleOutput"
VALUES = (
    ("cockpitWarnLight", int, _COCKPIT), ("cockpitIndicator", int, _COCKPIT),
    ("cockpitLightSwitch", int, _COCKPIT), ("cockpitWindshieldHeater", int, _COCKPIT),
    ("cockpitWindshieldWasherPump", int, _COCKPIT), ("cockpitWindshieldWasherMode", int, _COCKPIT),
    ("cockpitTemperature", int, _COCKPIT), ("cockpitAlarmReset", int, _COCKPIT),
    ("cockpitIgnition", int, _COCKPIT), ("cockpitBrake", int, _COCKPIT),
    ("cockpitVelocity", int, _COCKPIT), ("cockpitSteeringAngleDeg", int, _COCKPIT),
    ("alarmGenericButton", bool, _INPUT), ("alarmGenericLightLeft", bool, _OUTPUT),
    ("alarmGenericLightUp", bool, _OUTPUT), ("alarmGenericLightRight", bool, _OUTPUT),
    ("alarmGenericLightDown", bool, _OUTPUT), ("alarmAlarmButton", bool, _INPUT),
    ("alarmAlarmLight", bool, _OUTPUT), ("alarmLockButton", bool, _INPUT),
    ("alarmLockLight", bool, _OUTPUT), ("lightGenericButton", bool, _INPUT),
    ("lightGenericLightLeft", bool, _OUTPUT), ("lightGenericLightUp", bool, _OUTPUT),
    ("lightGenericLightRight", bool, _OUTPUT), ("lightGenericLightDown", bool, _OUTPUT),
    ("lightBacklight", bool, _OUTPUT), ("lightBrakelight", bool, _OUTPUT),
    ("lightDaylight", bool, _OUTPUT), ("lightFoglightLeft", bool, _OUTPUT),
    ("lightFoglightRight", bool, _OUTPUT), ("lightIndicatorLeft", bool, _OUTPUT),
    ("lightIndicatorRight", bool, _OUTPUT), ("lightLowerBeamHeadlight", bool, _OUTPUT),
    ("lightReverselight", bool, _OUTPUT), ("lightUpperBeamHeadlight", bool, _OUTPUT),
    ("windshieldGenericButton", bool, _INPUT), ("windshieldGenericLightLeft", bool, _OUTPUT),
    ("windshieldGenericLightUp", bool, _OUTPUT), ("windshieldGenericLightRight", bool, _OUTPUT),
    ("windshieldGenericLightDown", bool, _OUTPUT), ("windshieldDistanceSensor", int, _INPUT),
    ("windshieldLightSensor", bool, _INPUT), ("windshieldHeater", bool, _OUTPUT),
    ("windshieldWasherPump", bool, _OUTPUT), ("windshieldWiperA", bool, _OUTPUT),
    ("windshieldWiperB", bool, _OUTPUT), ("windshieldWiperC", bool, _OUTPUT),
    ("windshieldWiperD", bool, _OUTPUT),
)
_INDEX = {name: index for index, (name, _, _) in enumerate(VALUES)}


def _index(name):
    """The position of the value `name`; an AttributeError naming the nearest name otherwise."""
    try:
        return _INDEX[name]
    except (KeyError, TypeError):
        nearest = difflib.get_close_matches(str(name), _INDEX, n=1, cutoff=0.0)
        raise AttributeError("no value %s - did you mean %s?" % (name, nearest[0])) from None


# --- The receive rules -------------------------------------------------------------------------

DOCUMENT, NOT_A_DOCUMENT, TOO_LONG, NOT_LOOPBACK = "document", "not a document", "too long", "not loopback"
_STRING = r'"(?:[^"\\]|\\.)*"'
# A string, or what the program reads as a number: digits before or after an optional point.
_TOKEN = re.compile((_STRING + r"|[-.0-9][-+.0-9eE]*").encode(), re.S)
_NUMBER = re.compile(rb"-?(0|[1-9][0-9]*)?(\.[0-9]*)?([eE][-+]?[0-9]+)?")
_JSON_NUMBER = re.compile(rb"-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?")

# What one datagram asks of the state: its verdict, how many of its members name a value (one that
# cannot be taken still counts) and its assignments (name, value) in table order, truth values 1, 0.
Received = collections.namedtuple("Received", "verdict count assignments", defaults=(0, ()))


def _reject_constant(name):
    raise ValueError(name)


def _unescape(match):
    """An escape of a character that JSON does not escape stands for the character (a byte of its
    own, Latin-1), as the program reads it."""
    character = match.group(1)
    return match.group(0) if character in b'"\\/bfnrtu' else character.decode("latin-1").encode()


def _mend(match):
    """A string or number token as Python's json reads what the program reads."""
    token = match.group(0)
    if token.startswith(b'"'):
        return re.sub(rb"\\(.)", _unescape, token, flags=re.S)
    if _JSON_NUMBER.fullmatch(token):
        return token
    number = _NUMBER.fullmatch(token)
    if not number or not (number.group(1) or (number.group(2) or b"")[1:]):
        raise ValueError(token)
    # Beyond a double's range, or too small to tell from 0 with a digit but 0 before the point, a
    # number not written as JSON writes it is none to the program.
    value = float(token)
    if math.isinf(value) or (value == 0 and (number.group(1) or b"").strip(b"0")):
        raise ValueError(token)
    return repr(value).encode()


def _parse(text):
    """The JSON value of `text` (bytes) as the program reads it, or None where it reads no JSON."""
    try:
        text = _TOKEN.sub(_mend, text).decode("utf-8")
    except ValueError:  # including UnicodeDecodeError
        return None
    if text.startswith("\ufeff"):
        text = text[1:]
    if text.count("[") + text.count("{") > NESTING_LIMIT:
        outside = re.sub(_STRING, "", text, flags=re.S)
        if max(itertools.accumulate((c in "[{") - (c in "]}") for c in outside)) > NESTING_LIMIT:
            return None
    limit = sys.getrecursionlimit()
    sys.setrecursionlimit(limit + NESTING_LIMIT + 100)  # json's reader recurses once per level
    try:
        # Every number as a double, as the program reads it; control characters in strings pass.
        return json.loads(text, parse_int=float, parse_constant=_reject_constant, strict=False)
    except (ValueError, RecursionError):
        return None
    finally:
        sys.setrecursionlimit(limit)


def _convert(value, kind):
    """A member's value as a value of `kind`, or None where it cannot be taken."""
    if isinstance(value, bool):
        return int(value)
    if isinstance(value, float) and kind is bool:
        return int(value != 0)
    if isinstance(value, float) and -2147483648.0 <= value + 0.5 < 2147483648.0:
        return math.floor(value + 0.5)  # halves up
    return None


def receive(data, sender="127.0.0.1", length=None):
    """Judges one datagram by the program's receive rules. `data` holds its bytes (at most the
    first 4096 of them), `length` its full length (default: as held), `sender` its IPv4 address."""
    return _receive(data, sender, length)[0]


def _receive(data, sender="127.0.0.1", length=None):
    """(Received, $time) of one datagram: its $time a whole number of microseconds from 0 to
    TIME_LIMIT, or None where it holds none (or none such)."""
    length = len(data) if length is None else length
    if length > DATAGRAM_SIZE or len(data) > DATAGRAM_SIZE:
        return Received(TOO_LONG), None
    if sender.split(".")[0] != "127":
        return Received(NOT_LOOPBACK), None
    document = _parse(bytes(data).split(b"\0", 1)[0])
    if not isinstance(document, dict):
        return Received(NOT_A_DOCUMENT), None
    count, assignments = 0, []
    for name, kind, _ in VALUES:
        if name in document:
            count += 1
            value = _convert(document[name], kind)
            if value is not None:
                assignments.append((name, value))
    clock = document.get("$time")  # every number is a float here
    if not (isinstance(clock, float) and 0 <= clock <= TIME_LIMIT and clock == math.floor(clock)):
        clock = None
    return Received(DOCUMENT, count, assignments), None if clock is None else int(clock)


# --- The unit ------------------------------------------------------------------------------------

class _Stop(Exception):
    """Raised by the handler of SIGINT and SIGTERM to end the loop."""


def _stop(signum, frame):
    raise _Stop()


def _ports(argv, environ):
    """(program port, peer port) from the command line, else the environment, else the defaults."""
    ports = []
    for option, variable, default in (("--program-port", "ZUV_PROGRAM_PORT", 50000),
                                      ("--peer-port", "ZUV_PEER_PORT", 50001)):
        value = environ.get(variable) or None
        for at, argument in enumerate(argv[1:], 1):
            if argument == option and at + 1 < len(argv):
                value = argv[at + 1]
            elif argument.startswith(option + "="):
                value = argument[len(option) + 1:]
        if value is None:
            ports.append(default)
        elif value.isdigit() and int(value) <= 65535:
            ports.append(int(value))
        else:
            raise ValueError("zuvkit: %s must be a port number from 0 to 65535, not %r" % (option, value))
    return ports


class State:
    """The 49 values as last reported by the program or set by the unit: ``s.cockpitBrake`` is an
    int, ``s.lightDaylight`` a bool. Read-only; write with ``unit.set``."""

    __slots__ = ("_values",)

    def __init__(self):
        object.__setattr__(self, "_values", [0] * len(VALUES))

    def __getattr__(self, name):
        if name.startswith("__"):
            raise AttributeError(name)
        index = _index(name)
        return VALUES[index][1](self._values[index])

    def __setattr__(self, name, value):
        raise AttributeError("the state is read-only: use unit.set(%s=...)" % name)

    def __repr__(self):
        return "State(%s)" % ", ".join("%s=%r" % (name, getattr(self, name)) for name, _, _ in VALUES)


class Timer:
    """A timer made by ``unit.after`` or ``unit.every``; ``cancel()`` stops it."""

    def __init__(self, unit, action, start=0, period=0):
        self._unit, self._action, self._start, self._period, self._count = unit, action, start, period, 1
        self._entry = None  # (due, order) while armed

    def cancel(self):
        self._entry = None

    def _fire(self):
        if self._period:
            self._count += 1
            self._unit._arm(self, self._start + self._count * self._period)
        else:
            self._entry = None
        self._action()


class Blinker:
    """A rhythm of `hz` periods a second, lit for `duty` of each; see ``Unit.blinker``."""

    def __init__(self, unit, hz, duty):
        if not hz > 0 or not 0 < duty < 1:
            raise ValueError("a blinker needs hz > 0 and 0 < duty < 1")
        self._unit, self.hz, self.duty = unit, float(hz), float(duty)
        self._ticks, self._timer = [], Timer(unit, self._edge)
        self._since = self._edges = 0
        self.running = self.lit = False

    def on_tick(self, fn):
        """Decorator: ``fn(lit, s)`` is called at every edge."""
        self._ticks.append(fn)
        return fn

    def run(self, on=True):
        """Switches the blinker on (it starts lit) or off (with one last tick of lit = False)."""
        if on and not self.running:
            self.running, self._since, self._edges = True, self._unit._time(), 0
            self._unit._arm(self._timer, self._since)
        elif not on and self.running:
            self.running = False
            self._unit._time()
            self._timer.cancel()
            self._tick(False)

    def _edge(self):
        lit = self._edges % 2 == 0
        self._edges += 1
        periods, rest = divmod(self._edges, 2)
        self._unit._arm(self._timer, self._since + round((periods + rest * self.duty) * 1e6 / self.hz))
        self._tick(lit)

    def _tick(self, lit):
        self.lit = lit
        for fn in self._ticks:
            self._unit._call(fn, lit, self._unit.state)


class Stepper:
    """The wiper's stepper drive on windshieldWiperA to D; see ``Unit.stepper``."""

    PATTERNS = (6, 3, 9, 12)  # A = 8, B = 4, C = 2, D = 1; position 0 holds B C

    def __init__(self, unit, rate):
        self._unit, self.rate, self.position = unit, rate, 0  # rate: steps per second
        self._queue = collections.deque()  # [direction, steps left]
        self._idle, self._timer, self._last = [], Timer(unit, self._step), None
        unit._time()
        unit._call(self._drive)  # parked

    @property
    def moving(self):
        """True while steps are queued."""
        return bool(self._queue)

    def on_idle(self, fn):
        """Decorator: ``fn(s)`` is called when the queue is empty again."""
        self._idle.append(fn)
        return fn

    def move(self, steps):
        """Queues `steps` steps clockwise (negative: back), taken one at a time at `rate`."""
        steps = int(steps)
        if steps == 0:
            return
        if not self._queue:
            due = self._unit._time()
            if self._last is not None:
                due = max(due, self._last + self._period())
            self._unit._arm(self._timer, due)
        self._queue.append([1 if steps > 0 else -1, abs(steps)])

    def _period(self):
        if not self.rate > 0:
            raise ValueError("a stepper's rate must be above 0")
        return round(1e6 / self.rate)

    def _step(self):
        unit, segment = self._unit, self._queue[0]
        self.position += segment[0]
        segment[1] -= 1
        if not segment[1]:
            self._queue.popleft()
        self._last = unit._now
        if self._queue:
            due = self._last + self._period()
            if due <= unit._clock:  # stalled: start over rather than catch up in a burst
                due = unit._clock + self._period()
            unit._arm(self._timer, due)
        unit._call(self._drive)
        if not self._queue:
            for fn in self._idle:
                unit._call(fn, unit.state)

    def _drive(self):
        pattern = self.PATTERNS[self.position % 4]
        self._unit.set(windshieldWiperA=pattern & 8, windshieldWiperB=pattern & 4,
                       windshieldWiperC=pattern & 2, windshieldWiperD=pattern & 1)


class Unit:
    """One control unit: the socket, the state, the callbacks and the timers.

    `argv` (default ``sys.argv``) and `environ` (default ``os.environ``) give the ports."""

    def __init__(self, argv=None, environ=None):
        program_port, peer_port = _ports(sys.argv if argv is None else argv,
                                         os.environ if environ is None else environ)
        self._program = ("127.0.0.1", program_port)
        self._socket = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        try:
            self._socket.bind(("127.0.0.1", peer_port))
        except OSError as error:
            self._socket.close()
            raise OSError(error.errno, "zuvkit: cannot receive on 127.0.0.1:%d (%s): is another unit or "
                                       "zuv-peer running?" % (peer_port, error.strerror)) from None
        self._socket.setblocking(False)
        self.state = State()
        self._driven, self._believed, self._sent_at = {}, {}, {}
        self._watchers, self._starters = [], []  # watchers: (indices or None, press, fn)
        self._timers, self._order = [], 0  # heap of (due, order, timer)
        self._depth = 0  # callbacks under way
        self._origin = time.monotonic_ns() // 1000
        self._now = self._clock = 0  # microseconds since the start
        # Lock-step time: the checker's time (microseconds) is the unit's plus _offset, and the
        # clock reads _clock until the next $time moves it. None before the first $time.
        self._offset = None

    # -- time: the clock is read in _read_clock only; the loop hands each reading to _advance. On
    # the wall clock that is the monotonic clock; in lock-step time the last $time received.
    def _read_clock(self):
        if self._offset is not None:
            return self._clock
        return time.monotonic_ns() // 1000 - self._origin

    def _time(self):
        if not self._depth:
            self._now = max(self._now, self._read_clock())
        return self._now

    def now(self):
        """Seconds since the unit started (in a timer's callback: its due time). In lock-step time
        only the checker's $time moves it, on from where the wall clock was at the first $time."""
        return self._time() / 1e6

    def _advance(self, clock):
        """Moves the clock to `clock` and runs every timer due by then, in due order."""
        self._clock = clock
        while self._timers and self._timers[0][0] <= clock:
            due, order, timer = heapq.heappop(self._timers)
            if timer._entry == (due, order):
                self._now = max(self._now, due)
                timer._fire()
        self._now = max(self._now, clock)

    def _arm(self, timer, due):
        self._order += 1
        timer._entry = (due, self._order)
        heapq.heappush(self._timers, (due, self._order, timer))

    def _next_due(self):
        while self._timers and self._timers[0][2]._entry != self._timers[0][:2]:
            heapq.heappop(self._timers)
        return self._timers[0][0] if self._timers else None

    # -- registration
    def on(self, *names):
        """Decorator: ``fn(s)`` is called once per received document that changed any of the
        named values (with no names: any value), after the whole document is applied."""
        if len(names) == 1 and callable(names[0]):
            self._watchers.append((None, False, names[0]))
            return names[0]
        indices = frozenset(_index(name) for name in names) or None
        return self._register(indices, False)

    def on_press(self, name):
        """Decorator: ``fn(s)`` is called when the value `name` goes from false to true."""
        return self._register(frozenset((_index(name),)), True)

    def _register(self, indices, press):
        def register(fn):
            self._watchers.append((indices, press, fn))
            return fn
        return register

    def on_start(self, fn):
        """Decorator: ``fn(s)`` is called once when ``run`` starts."""
        self._starters.append(fn)
        return fn

    def after(self, seconds, fn):
        """Calls ``fn(s)`` once, `seconds` from now. Returns the Timer."""
        timer = Timer(self, lambda: self._call(fn, self.state))
        self._arm(timer, self._time() + max(0, round(seconds * 1e6)))
        return timer

    def every(self, seconds, fn):
        """Calls ``fn(s)`` at now + p, now + 2p, ... (p = `seconds`). Returns the Timer."""
        period = round(seconds * 1e6)
        if period <= 0:
            raise ValueError("every() needs a period above 0")
        timer = Timer(self, lambda: self._call(fn, self.state), self._time(), period)
        self._arm(timer, timer._start + period)
        return timer

    def cancel(self, timer):
        """Stops `timer`; nothing happens when it already ran."""
        timer.cancel()

    def blinker(self, hz, duty=0.5):
        """A Blinker: lit for `duty` / `hz` seconds of every period, off until ``run(True)``."""
        return Blinker(self, hz, duty)

    def stepper(self, rate=24):
        """A Stepper driving the wiper's phases, parked at position 0, `rate` steps a second."""
        return Stepper(self, rate)

    # -- what the unit drives
    def set(self, **values):
        """Drives the named values. Truth values take anything (by its truth); integers take ints,
        and numbers rounded halves up."""
        changes = []
        for name, value in values.items():
            index, kind = _index(name), VALUES[_index(name)][1]
            if kind is int and not isinstance(value, (int, float)):
                raise TypeError("%s takes a number, not %r" % (name, value))
            value = int(bool(value)) if kind is bool else value if isinstance(value, int) else math.floor(value + 0.5)
            if not -2147483648 <= value <= 2147483647:
                raise ValueError("%s must fit 32 bits, not %d" % (name, value))
            changes.append((index, value))
        for index, value in changes:
            self._driven[index] = self.state._values[index] = value
        if not self._depth:
            self._time()
            self._flush()

    def _call(self, fn, *args):
        self._depth += 1
        try:
            fn(*args)
        finally:
            self._depth -= 1
        if not self._depth:
            self._flush()

    def _flush(self):
        """Sends the driven values that the program is not believed to hold, as one document."""
        members = []
        for index in sorted(self._driven):
            value = self._driven[index]
            if self._believed.get(index) != value:
                self._believed[index], self._sent_at[index] = value, self._now
                name, kind, _ = VALUES[index]
                members.append('"%s":%s' % (name, ("true" if value else "false") if kind is bool else value))
        if members:
            self._send("{" + ",".join(members) + "}")

    def _send(self, text):
        try:
            self._socket.sendto(text.encode("ascii").ljust(DATAGRAM_SIZE, b"\0"), self._program)
        except OSError:
            pass  # like a datagram lost on the way: the program's next report tells

    def _handle(self, data, sender):
        """Applies one received datagram, calls the callbacks it concerns and sends what is due. A
        document with $time first moves the clock to it and runs the timers due by then, and is
        answered with $done (and $next) after everything else it causes."""
        received, clock = _receive(data[:DATAGRAM_SIZE], sender, len(data))
        if received.verdict != DOCUMENT:
            return
        if clock is not None:
            self._step(clock)
        self._apply(received)
        if clock is not None:  # a timer the callbacks made due at once: "$next" is this $time
            due = self._next_due()
            following = "" if due is None else ',"$next":%d' % (due + self._offset)
            self._send('{"$done":%d%s}' % (clock, following))

    def _step(self, clock):
        """Moves the clock to the checker's `clock` (switching to lock-step time at the first) and
        runs the timers due by then. Time never goes back: a $time before the last one holds the
        clock where it is."""
        if self._offset is None:
            self._offset = clock - self._read_clock()  # now() goes on from where the wall clock was
        if clock - self._offset < self._clock:
            self._offset = clock - self._clock
        self._advance(clock - self._offset)

    def _apply(self, received):
        changed, pressed = set(), set()
        for name, value in received.assignments:
            index = _INDEX[name]
            # A report that contradicts an output sent a moment ago crossed it on the way.
            if (VALUES[index][2] == _OUTPUT and index in self._sent_at
                    and self._now - self._sent_at[index] < IN_FLIGHT and self._believed.get(index) != value):
                continue
            self._believed[index] = value
            old = self.state._values[index]
            if old != value:
                changed.add(index)
                if not old:
                    pressed.add(index)
            self.state._values[index] = value
        for indices, press, fn in list(self._watchers):
            hits = pressed if press else changed
            if hits and (indices is None or not hits.isdisjoint(indices)):
                self._call(fn, self.state)
        self._flush()

    # -- the loop
    def run(self):
        """Runs the unit until Ctrl+C or SIGTERM, then closes its socket and returns."""
        previous = {}
        for number in (signal.SIGINT, signal.SIGTERM):
            try:
                previous[number] = signal.signal(number, _stop)
            except ValueError:  # not the main thread: no signal handling
                pass
        try:
            self._advance(self._read_clock())
            for fn in self._starters:
                self._call(fn, self.state)
            while True:
                self._advance(self._read_clock())
                self._receive_all()
                due = self._next_due()
                # In lock-step time only a $time moves the clock: wait for datagrams alone.
                lockstep = self._offset is not None
                timeout = None if due is None or lockstep else max(0, due - self._read_clock()) / 1e6
                select.select([self._socket], [], [], timeout)
        except (_Stop, KeyboardInterrupt):
            pass
        finally:
            for number, handler in previous.items():
                signal.signal(number, handler)
            self.close()

    def _receive_all(self):
        while True:
            try:
                data, address = self._socket.recvfrom(65536)
            except OSError:  # nothing more to read (or an error report, which tells nothing)
                return
            self._handle(data, address[0])

    def close(self):
        """Closes the unit's socket."""
        self._socket.close()

/* zuvkit: a control unit of the ZUV training kit in a few lines (C99, also usable from C++); see
 * sdk/README.md for a first unit. The library owns the socket, the framing, the receive rules, the
 * clock, the timers and the loop; a unit registers callbacks, sets what it drives and runs:
 *
 *     zuv_unit* unit = zuv_open(argc, argv);
 *     zuv_on_change(unit, lights, NULL, ZUV_cockpitIgnition, ZUV_cockpitLightSwitch, ZUV_NONE);
 *     return zuv_run(unit);
 *
 * Build with `cc unit.c $(pkg-config --cflags --libs zuvkit)`. At the end of every callback the
 * driven values that the program is not believed to hold go out as one document; a zuv_set outside
 * any callback goes out at once. The unit receives on 127.0.0.1:50001 and sends to 127.0.0.1:50000;
 * `--peer-port N` and `--program-port N` on the command line change them, or else the environment's
 * ZUV_PEER_PORT and ZUV_PROGRAM_PORT. A document with "$time" switches the unit to lock-step time
 * (docs/lockstep.md): it answers each $time with "$done" and "$next". */
#ifndef ZUVKIT_H
#define ZUVKIT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The 49 values in the order in which a document is applied, each as X(name, kind, group): the
 * name on the wire, int or bool (a truth value, read as 0 or 1), and who writes it: the cockpit, a
 * module's button or sensor (ModuleInput), or a control unit (ModuleOutput). Each value is the
 * constant ZUV_name: ZUV_cockpitWarnLight, ZUV_cockpitIndicator, ..., ZUV_windshieldWiperD. */
/* clang-format off */
#define ZUV_VALUES(X) \
    X(cockpitWarnLight,            int,  CockpitInput) \
    X(cockpitIndicator,            int,  CockpitInput) \
    X(cockpitLightSwitch,          int,  CockpitInput) \
    X(cockpitWindshieldHeater,     int,  CockpitInput) \
    X(cockpitWindshieldWasherPump, int,  CockpitInput) \
    X(cockpitWindshieldWasherMode, int,  CockpitInput) \
    X(cockpitTemperature,          int,  CockpitInput) \
    X(cockpitAlarmReset,           int,  CockpitInput) \
    X(cockpitIgnition,             int,  CockpitInput) \
    X(cockpitBrake,                int,  CockpitInput) \
    X(cockpitVelocity,             int,  CockpitInput) \
    X(cockpitSteeringAngleDeg,     int,  CockpitInput) \
    X(alarmGenericButton,          bool, ModuleInput) \
    X(alarmGenericLightLeft,       bool, ModuleOutput) \
    X(alarmGenericLightUp,         bool, ModuleOutput) \
    X(alarmGenericLightRight,      bool, ModuleOutput) \
    X(alarmGenericLightDown,       bool, ModuleOutput) \
    X(alarmAlarmButton,            bool, ModuleInput) \
    X(alarmAlarmLight,             bool, ModuleOutput) \
    X(alarmLockButton,             bool, ModuleInput) \
    X(alarmLockLight,              bool, ModuleOutput) \
    X(lightGenericButton,          bool, ModuleInput) \
    X(lightGenericLightLeft,       bool, ModuleOutput) \
    X(lightGenericLightUp,         bool, ModuleOutput) \
    X(lightGenericLightRight,      bool, ModuleOutput) \
    X(lightGenericLightDown,       bool, ModuleOutput) \
    X(lightBacklight,              bool, ModuleOutput) \
    X(lightBrakelight,             bool, ModuleOutput) \
    X(lightDaylight,               bool, ModuleOutput) \
    X(lightFoglightLeft,           bool, ModuleOutput) \
    X(lightFoglightRight,          bool, ModuleOutput) \
    X(lightIndicatorLeft,          bool, ModuleOutput) \
    X(lightIndicatorRight,         bool, ModuleOutput) \
    X(lightLowerBeamHeadlight,     bool, ModuleOutput) \
    X(lightReverselight,           bool, ModuleOutput) \
    X(lightUpperBeamHeadlight,     bool, ModuleOutput) \
    X(windshieldGenericButton,     bool, ModuleInput) \
    X(windshieldGenericLightLeft,  bool, ModuleOutput) \
    X(windshieldGenericLightUp,    bool, ModuleOutput) \
    X(windshieldGenericLightRight, bool, ModuleOutput) \
    X(windshieldGenericLightDown,  bool, ModuleOutput) \
    X(windshieldDistanceSensor,    int,  ModuleInput) \
    X(windshieldLightSensor,       bool, ModuleInput) \
    X(windshieldHeater,            bool, ModuleOutput) \
    X(windshieldWasherPump,        bool, ModuleOutput) \
    X(windshieldWiperA,            bool, ModuleOutput) \
    X(windshieldWiperB,            bool, ModuleOutput) \
    X(windshieldWiperC,            bool, ModuleOutput) \
    X(windshieldWiperD,            bool, ModuleOutput)

enum zuv_value
{
    ZUV_NONE = -1, /* ends the list of values of zuv_on_change */
#define ZUV_CONSTANT(name, kind, group) ZUV_##name,
    ZUV_VALUES(ZUV_CONSTANT)
#undef ZUV_CONSTANT
    ZUV_COUNT
};
/* clang-format on */

typedef struct zuv_unit zuv_unit;
typedef struct zuv_blink zuv_blink; /* a blinker, made by zuv_blinker */
typedef struct zuv_motor zuv_motor; /* the wiper's stepper drive, made by zuv_stepper */
typedef void (*zuv_callback)(zuv_unit* unit, void* data);
typedef void (*zuv_tick_callback)(zuv_unit* unit, int lit, void* data);

/* Opens a unit on the ports of the command line or the environment; NULL with a message on
 * standard error when its socket cannot be bound or a port is not a number. */
zuv_unit* zuv_open(int argc, char** argv);
/* Runs the unit until Ctrl+C or SIGTERM, then closes it. Returns 0 (1 for no unit). */
int zuv_run(zuv_unit* unit);
/* Closes the socket and frees the unit with its blinkers and steppers. */
void zuv_close(zuv_unit* unit);

/* The wire name of a value ("lightIndicatorLeft"), or NULL. */
const char* zuv_name(int value);
/* A value as last reported by the program or set by the unit. */
int zuv_get(const zuv_unit* unit, int value);
/* Drives a value (a truth value: true unless 0). */
void zuv_set(zuv_unit* unit, int value, int to);

/* Calls fn once per received document that changed any of the values listed before ZUV_NONE (none
 * listed: any value), after the whole document is applied, in the order of registration. */
void zuv_on_change(zuv_unit* unit, zuv_callback fn, void* data, ...);
/* Calls fn when `button` goes from false to true. */
void zuv_on_press(zuv_unit* unit, zuv_callback fn, void* data, int button);
/* Calls fn once when zuv_run starts. */
void zuv_on_start(zuv_unit* unit, zuv_callback fn, void* data);

/* fn runs `seconds` from now (zuv_after), or at now + p, now + 2p, ... without drift (zuv_every).
 * Both return the timer's number (above 0) for zuv_cancel, which ignores one that already ran.
 * Timers due at the same time run in the order they were made. */
int zuv_after(zuv_unit* unit, double seconds, zuv_callback fn, void* data);
int zuv_every(zuv_unit* unit, double seconds, zuv_callback fn, void* data);
void zuv_cancel(zuv_unit* unit, int timer);
/* Seconds since the unit was opened (in a timer's callback: the timer's due time). From the first
 * document with "$time" on, the unit keeps lock-step time (sdk/README.md): the clock moves only with
 * the $time the checker sends, going on from where the wall clock was. */
double zuv_now(zuv_unit* unit);

/* A blinker, lit for duty / hz seconds of every period (0 < duty < 1); NULL for a bad hz or duty.
 * Switched on, it starts lit and calls tick at every edge; switched off, it ticks once more with
 * lit = 0. Switching it on while it runs changes nothing. */
zuv_blink* zuv_blinker(zuv_unit* unit, double hz, double duty, zuv_tick_callback tick, void* data);
void zuv_blinker_run(zuv_blink* blinker, int on);

/* The wiper's stepper drive on windshieldWiperA to D, parked at position 0 (B and C energised).
 * zuv_stepper_move queues steps (negative: back), taken one at a time at `rate` steps per second,
 * each as a document of its own; the idle callback runs when the queue is empty again. */
zuv_motor* zuv_stepper(zuv_unit* unit, double rate);
void zuv_stepper_move(zuv_motor* stepper, int steps);
void zuv_stepper_set_rate(zuv_motor* stepper, double rate);
int zuv_stepper_position(const zuv_motor* stepper);
int zuv_stepper_moving(const zuv_motor* stepper);
void zuv_stepper_on_idle(zuv_motor* stepper, zuv_callback fn, void* data);

/* The receive rules, as the unit applies them to every datagram. */
enum zuv_verdict
{
    ZUV_DOCUMENT,       /* a JSON object: its assignments apply */
    ZUV_NOT_A_DOCUMENT, /* not a JSON object: nothing applies */
    ZUV_TOO_LONG,       /* dropped: longer than 4096 bytes */
    ZUV_NOT_LOOPBACK    /* dropped: from a sender outside 127.0.0.0/8 */
};

typedef struct zuv_received
{
    enum zuv_verdict verdict;
    int count;    /* members that name a value (one that cannot be taken still counts) */
    int assigned; /* entries of assignments, in table order */
    struct
    {
        int value, to;
    } assignments[ZUV_COUNT];
} zuv_received;

/* Judges one datagram: `stored` of its bytes are at `data` (at most 4096), `length` is its full
 * length, `sender` its IPv4 address in host byte order. */
void zuv_receive(const char* data, size_t stored, size_t length, uint32_t sender, zuv_received* out);

#ifdef __cplusplus
}
#endif

#endif

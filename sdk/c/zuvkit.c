/* zuvkit: the C kit library (see zuvkit.h). A unit owns a UDP socket on the loopback network, the
 * state, what it drives, its callbacks and its timers; zuv_run is the loop that feeds them. */
#ifndef _WIN32
#define _POSIX_C_SOURCE 200809L
#endif

#include "zuvkit.h"

#include <cJSON.h>

#include <errno.h>
#include <math.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>
typedef SOCKET zuv_socket;
typedef int zuv_socklen;
#define NO_SOCKET INVALID_SOCKET
#define close_socket closesocket
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>
typedef int zuv_socket;
typedef socklen_t zuv_socklen;
#define NO_SOCKET (-1)
#define close_socket close
#endif

#define DATAGRAM 4096
#define RECEIVE_BUFFER 65536
#define IN_FLIGHT 100000    /* microseconds: a report this soon after a send may have crossed it */
#define CJSON_NUMBER_MAX 63 /* the longest number cJSON reads whole */
#define DIGITS "0123456789"
/* The largest $time taken, in microseconds (2^53: whole numbers up to it are exact in a double). */
#define TIME_LIMIT 9007199254740992.0

/* Each value's name, whether it is a truth value, and whether control units drive it (an output). */
enum
{
    IS_int,
    IS_bool,
    IS_CockpitInput = 0,
    IS_ModuleInput = 0,
    IS_ModuleOutput
};
static const struct
{
    const char* name;
    char truth, output;
} values[ZUV_COUNT] = {
#define ZUV_ROW(name, kind, group) {#name, IS_##kind, IS_##group},
    ZUV_VALUES(ZUV_ROW)
#undef ZUV_ROW
};

const char* zuv_name(int value)
{
    return value >= 0 && value < ZUV_COUNT ? values[value].name : NULL;
}

/* ---- The receive rules ------------------------------------------------------------------------
 * cJSON reads the JSON. The text is first checked and mended, so that it takes what the program
 * takes and refuses what the program refuses: invalid UTF-8, control characters between tokens,
 * numbers such as 042 or 1e, \u escapes without four hex digits. The program also reads numbers such
 * as 1. or .5, and an escaped character that JSON does not escape as the character itself. */

/* The length of the valid UTF-8 sequence at s (no overlong form, no surrogate, nothing beyond
 * U+10FFFF), or 0. */
static size_t utf8_length(const unsigned char* s)
{
    const unsigned char c = *s, low = c == 0xE0 ? 0xA0 : c == 0xF0 ? 0x90 : 0x80;
    const unsigned char high = c == 0xED ? 0x9F : c == 0xF4 ? 0x8F : 0xBF;
    const size_t more = c < 0x80 ? 0 : c < 0xC2 ? 4 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : c < 0xF5 ? 3 : 4;
    size_t k;
    if (more == 4 || (more && (s[1] < low || s[1] > high)))
        return 0;
    for (k = 2; k <= more; ++k) {
        if ((s[k] & 0xC0) != 0x80)
            return 0;
    }
    return more + 1;
}

/* The length of the number at s as the program reads it, -?(0|[1-9][0-9]*)?(.[0-9]*)?([eE][+-]?[0-9]+)?
 * with a digit before or after the point, or 0 for none. *json tells whether JSON writes it so, with
 * digits before and after a point, as cJSON reads it. */
static size_t number_length(const char* s, int* json)
{
    size_t at = *s == '-', whole = strspn(s + at, DIGITS), fraction = 0, sign, digits;
    int point;
    whole = whole > 1 && s[at] == '0' ? 1 : whole; /* a 0 leads no digit */
    at += whole + (point = s[at + whole] == '.');
    at += fraction = point ? strspn(s + at, DIGITS) : 0;
    *json = whole && (!point || fraction);
    if (s[at] == 'e' || s[at] == 'E') {
        sign = s[at + 1] == '+' || s[at + 1] == '-';
        digits = strspn(s + at + 1 + sign, DIGITS);
        at = digits ? at + 1 + sign + digits : 0;
    }
    return whole || fraction ? at : 0;
}

/* A number of n characters (valid) written as cJSON reads it whatever its length: its first 40
 * significant digits and an exponent, without a decimal point (cJSON's is the locale's). */
static size_t short_number(const char* s, size_t n, char* out)
{
    size_t at = 0, o = 0;
    long exponent = 0, written = 0, e = 0;
    int point = 0, negative;
    if (s[at] == '-')
        out[o++] = s[at++];
    for (; at < n && s[at] != 'e' && s[at] != 'E'; ++at) {
        if (s[at] == '.')
            point = 1;
        else if (written == 0 && s[at] == '0')
            exponent -= point;
        else if (written < 40)
            out[o++] = s[at], ++written, exponent -= point;
        else
            exponent += !point;
    }
    if (at < n) { /* the exponent, held far beyond the range of a double */
        negative = s[++at] == '-';
        for (at += s[at] == '+' || s[at] == '-'; at < n; ++at)
            e = e < 100000 ? e * 10 + (s[at] - '0') : e;
        exponent += negative ? -e : e;
    }
    return o + (size_t)(written ? sprintf(out + o, "e%ld", exponent) : sprintf(out + o, "0"));
}

/* The code of the four hex digits at s, or -1. */
static long hex4(const char* s)
{
    char digits[5] = {0};
    return strspn(s, DIGITS "abcdefABCDEF") >= 4 ? (long)strtoul(memcpy(digits, s, 4), NULL, 16) : -1;
}

/* The text `in` made ready for cJSON in `out`, or 0 when the program reads no JSON in it. An escape
 * that cJSON refuses or cuts a string at (an unpaired surrogate, \u0000) becomes \uFFFD, which like
 * it names no value. */
static int mend(const char* in, char* out)
{
    size_t o = 0, n, m;
    int string = 0, json = 0;
    long code, low;
    double number;
    unsigned char latin[2];
    for (; *in; in += n, o += m) {
        const char* from = in;
        n = m = 1;
        string ^= *in == '"';
        if (string && in[0] == '\\' && in[1] == 'u') {
            if ((code = hex4(in + 2)) < 0)
                return 0;
            n = m = 6;
            if (code >= 0xD800 && code <= 0xDBFF && in[6] == '\\' && in[7] == 'u' &&
                (low = hex4(in + 8)) >= 0xDC00 && low <= 0xDFFF)
                n = m = 12;
            else if (code == 0 || (code >= 0xD800 && code <= 0xDFFF))
                from = "\\uFFFD";
        } else if (string && in[0] == '\\' && (unsigned char)in[1] >= 0x80) { /* a byte: Latin-1 */
            latin[0] = (unsigned char)(0xC0 | (unsigned char)in[1] >> 6);
            latin[1] = (unsigned char)(0x80 | (in[1] & 0x3F));
            from = (const char*)latin;
            n = m = 2;
        } else if (string && in[0] == '\\' && in[1]) {
            n = 2;
            m = strchr("\"\\/bfnrt", in[1]) ? 2 : 1;
            from = in + n - m;
        } else if (!string && (*in == '-' || *in == '.' || (*in >= '0' && *in <= '9'))) {
            if (number_length(in, &json) != (n = m = strspn(in, DIGITS "+-.eE")))
                return 0;
            if (json && n <= CJSON_NUMBER_MAX) {
                memcpy(out + o, in, n);
                continue;
            }
            m = short_number(in, n, out + o);
            out[o + m] = '\0';
            /* Beyond a double's range the program takes only a number written as JSON writes it,
             * and one too small to tell from 0 only with no digit but 0 before the point. */
            number = strtod(out + o, NULL); /* without a decimal point: alike in every locale */
            from = in + (*in == '-');       /* the digits before the point */
            if (!json && (isinf(number) || (number == 0 && strspn(from, "0") < strspn(from, DIGITS))))
                return 0;
            continue;
        } else if (!string && (unsigned char)*in < 0x20 && !strchr("\t\n\r", *in)) {
            return 0;
        } else if (!(n = m = utf8_length((const unsigned char*)in))) {
            return 0;
        }
        memcpy(out + o, from, m);
    }
    out[o] = '\0';
    return 1;
}

/* A member's value as a value of its kind; 0 where it cannot be taken. */
static int convert(const cJSON* member, int truth, int* to)
{
    const double rounded = cJSON_IsNumber(member) ? floor(member->valuedouble + 0.5) : 0; /* halves up */
    if (cJSON_IsBool(member))
        *to = cJSON_IsTrue(member) ? 1 : 0;
    else if (cJSON_IsNumber(member) && truth)
        *to = member->valuedouble != 0.0;
    else if (cJSON_IsNumber(member) && rounded >= -2147483648.0 && rounded <= 2147483647.0)
        *to = (int)rounded;
    else
        return 0;
    return 1;
}

/* Judges one datagram as zuv_receive does. Returns 1 with *simulated set where it is a document whose
 * "$time" (the last of equal keys) is a whole number of microseconds from 0 to TIME_LIMIT, else 0. */
static int judge(const char* data, size_t stored, size_t length, uint32_t sender, zuv_received* out,
                 long long* simulated)
{
    char raw[DATAGRAM + 1], text[2 * DATAGRAM]; /* numbers mended may grow by a half */
    const cJSON* member[ZUV_COUNT] = {0};
    const char* nul = stored <= DATAGRAM ? (const char*)memchr(data, '\0', stored) : NULL;
    const size_t n = nul ? (size_t)(nul - data) : stored; /* the text ends at the first NUL */
    const cJSON *child, *clock = NULL;
    cJSON* root = NULL;
    int value, to, timed;

    memset(out, 0, sizeof *out);
    out->verdict = length > DATAGRAM || stored > DATAGRAM ? ZUV_TOO_LONG
                   : (sender >> 24) != 127                ? ZUV_NOT_LOOPBACK
                                                          : ZUV_NOT_A_DOCUMENT;
    if (out->verdict == ZUV_NOT_A_DOCUMENT) {
        memcpy(raw, data, n);
        raw[n] = '\0';
        root = mend(raw, text) ? cJSON_ParseWithOpts(text, NULL, 1) : NULL;
    }
    if (!cJSON_IsObject(root)) {
        cJSON_Delete(root);
        return 0;
    }
    out->verdict = ZUV_DOCUMENT;
    for (child = root->child; child; child = child->next) { /* the last of equal keys counts */
        for (value = 0; value < ZUV_COUNT && strcmp(values[value].name, child->string) != 0; ++value)
            continue;
        if (value < ZUV_COUNT)
            member[value] = child;
        else if (strcmp(child->string, "$time") == 0)
            clock = child;
    }
    for (value = 0; value < ZUV_COUNT; ++value) {
        if (member[value] && ++out->count && convert(member[value], values[value].truth, &to)) {
            out->assignments[out->assigned].value = value;
            out->assignments[out->assigned++].to = to;
        }
    }
    timed = cJSON_IsNumber(clock) && clock->valuedouble >= 0 && clock->valuedouble <= TIME_LIMIT &&
            clock->valuedouble == floor(clock->valuedouble);
    if (timed)
        *simulated = (long long)clock->valuedouble;
    cJSON_Delete(root);
    return timed;
}

void zuv_receive(const char* data, size_t stored, size_t length, uint32_t sender, zuv_received* out)
{
    long long simulated;
    judge(data, stored, length, sender, out, &simulated);
}

/* ---- The unit ---------------------------------------------------------------------------------- */

enum watch
{
    ON_CHANGE,
    ON_PRESS,
    ON_START
};

struct watcher
{
    enum watch watch;
    zuv_callback fn;
    void* data;
    unsigned char values[ZUV_COUNT];
};

/* A timer of the unit's (fn) or of a blinker or stepper (step, with the blinker or stepper as data),
 * due at `due` microseconds; a periodic one next at start + count * period. */
struct timer
{
    long long due, order, start, period, count;
    int id;
    zuv_callback fn;
    void (*step)(void* owner);
    void* data;
};

struct zuv_blink
{
    zuv_unit* unit;
    double hz, duty;
    zuv_tick_callback tick;
    void* data;
    int running, timer;
    long long since, edges;
    zuv_blink* next;
};

struct zuv_motor
{
    zuv_unit* unit;
    double rate;
    int position, timer, stepped;
    int *queue, head, count, capacity; /* moves still to take, from queue[head] */
    long long last;                    /* when the last step was taken */
    zuv_callback idle;
    void* idle_data;
    zuv_motor* next;
};

struct zuv_unit
{
    zuv_socket socket;
    struct sockaddr_in program;
    int state[ZUV_COUNT], driven[ZUV_COUNT], believed[ZUV_COUNT];
    unsigned char is_driven[ZUV_COUNT], is_believed[ZUV_COUNT], was_sent[ZUV_COUNT];
    long long sent_at[ZUV_COUNT];
    long long origin, now, clock; /* microseconds since zuv_open */
    /* In lock-step time (from the first $time on) the clock reads `clock` until the next $time moves
     * it, and the checker's time in microseconds is the unit's plus `offset`. */
    int lockstep;
    long long offset;
    int depth; /* callbacks under way */
    struct watcher* watchers;
    int watcher_count, watcher_capacity;
    struct timer* timers;
    int timer_count, timer_capacity, last_id;
    long long order;
    zuv_blink* blinks;
    zuv_motor* motors;
#ifndef _WIN32
    sigset_t run_mask; /* the signal mask while the loop waits */
#endif
    char buffer[RECEIVE_BUFFER];
};

static void* checked(void* memory)
{
    if (!memory) {
        fputs("zuvkit: out of memory\n", stderr);
        abort();
    }
    return memory;
}

static void* room_for_one(void* array, int count, int* capacity, size_t size)
{
    if (count < *capacity)
        return array;
    *capacity = *capacity ? 2 * *capacity : 8;
    return checked(realloc(array, (size_t)*capacity * size));
}

/* ---- Time: read in read_clock only. The loop hands each reading to advance(), which runs the
 * timers due by then in due order, each seeing its due time as the time. On the wall clock that is
 * the monotonic clock; in lock-step time the last $time received. */

static long long read_clock(const zuv_unit* unit)
{
#ifdef _WIN32
    LARGE_INTEGER count, frequency;
    if (unit->lockstep)
        return unit->clock;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return (long long)(count.QuadPart / frequency.QuadPart * 1000000 +
                       count.QuadPart % frequency.QuadPart * 1000000 / frequency.QuadPart) -
           unit->origin;
#else
    struct timespec now;
    if (unit->lockstep)
        return unit->clock;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000 + now.tv_nsec / 1000 - unit->origin;
#endif
}

/* The time of what runs now: outside callbacks the clock's, inside them the event's. */
static long long current(zuv_unit* unit)
{
    const long long clock = unit->depth ? unit->now : read_clock(unit);
    return unit->now = clock > unit->now ? clock : unit->now;
}

double zuv_now(zuv_unit* unit)
{
    return (double)current(unit) / 1e6;
}

static long long microseconds(double seconds)
{
    return seconds > 0 ? llround(seconds * 1e6) : 0;
}

static int add_timer(zuv_unit* unit, long long due, long long period, zuv_callback fn, void (*step)(void*),
                     void* data)
{
    const struct timer timer = {due, ++unit->order, due - period, period, 1, ++unit->last_id, fn, step, data};
    unit->timers = room_for_one(unit->timers, unit->timer_count, &unit->timer_capacity, sizeof timer);
    unit->timers[unit->timer_count++] = timer;
    return timer.id;
}

/* The index of the timer due first (of those due together, the first made), or -1. */
static int earliest(const zuv_unit* unit)
{
    int first = -1, i;
    for (i = 0; i < unit->timer_count; ++i) {
        const struct timer* t = &unit->timers[i];
        if (first < 0 || t->due < unit->timers[first].due ||
            (t->due == unit->timers[first].due && t->order < unit->timers[first].order))
            first = i;
    }
    return first;
}

/* ---- Sending ---- */

static void send_datagram(zuv_unit* unit, const char* datagram)
{
    /* A failed send is like a datagram lost on the way: the program's next report tells. */
    (void)sendto(unit->socket, datagram, DATAGRAM, 0, (const struct sockaddr*)&unit->program,
                 sizeof unit->program);
}

/* Sends the driven values that the program is not believed to hold, as one document. */
static void flush(zuv_unit* unit)
{
    char datagram[DATAGRAM] = {'{'};
    size_t at = 1;
    int value;
    for (value = 0; value < ZUV_COUNT; ++value) {
        const int to = unit->driven[value];
        if (!unit->is_driven[value] || (unit->is_believed[value] && unit->believed[value] == to))
            continue;
        unit->believed[value] = to;
        unit->is_believed[value] = unit->was_sent[value] = 1;
        unit->sent_at[value] = unit->now;
        at += (size_t)snprintf(datagram + at, sizeof datagram - at, "%s\"%s\":", at > 1 ? "," : "",
                               values[value].name);
        at += (size_t)(values[value].truth ? snprintf(datagram + at, 6, "%s", to ? "true" : "false")
                                           : snprintf(datagram + at, 12, "%d", to));
    }
    if (at == 1)
        return;
    datagram[at] = '}';
    send_datagram(unit, datagram);
}

static void end_callback(zuv_unit* unit)
{
    if (--unit->depth == 0)
        flush(unit);
}

static void call(zuv_unit* unit, zuv_callback fn, void* data)
{
    ++unit->depth;
    fn(unit, data);
    end_callback(unit);
}

int zuv_get(const zuv_unit* unit, int value)
{
    return unit && value >= 0 && value < ZUV_COUNT ? unit->state[value] : 0;
}

void zuv_set(zuv_unit* unit, int value, int to)
{
    if (!unit || value < 0 || value >= ZUV_COUNT) {
        fprintf(stderr, "zuvkit: zuv_set: no value %d\n", value);
        return;
    }
    unit->state[value] = unit->driven[value] = values[value].truth ? to != 0 : to;
    unit->is_driven[value] = 1;
    if (!unit->depth) {
        current(unit);
        flush(unit);
    }
}

/* ---- Callbacks and timers ---- */

static struct watcher* add_watcher(zuv_unit* unit, enum watch watch, zuv_callback fn, void* data)
{
    struct watcher* watcher;
    unit->watchers =
        room_for_one(unit->watchers, unit->watcher_count, &unit->watcher_capacity, sizeof *watcher);
    watcher = memset(&unit->watchers[unit->watcher_count++], 0, sizeof *watcher);
    watcher->watch = watch;
    watcher->fn = fn;
    watcher->data = data;
    return watcher;
}

void zuv_on_change(zuv_unit* unit, zuv_callback fn, void* data, ...)
{
    struct watcher* watcher;
    va_list list;
    int value, any = 1;
    if (!unit || !fn)
        return;
    watcher = add_watcher(unit, ON_CHANGE, fn, data);
    va_start(list, data);
    while ((value = va_arg(list, int)) >= 0 && value < ZUV_COUNT)
        watcher->values[value] = 1, any = 0;
    va_end(list);
    if (any)
        memset(watcher->values, 1, sizeof watcher->values);
}

void zuv_on_press(zuv_unit* unit, zuv_callback fn, void* data, int button)
{
    if (unit && fn && button >= 0 && button < ZUV_COUNT)
        add_watcher(unit, ON_PRESS, fn, data)->values[button] = 1;
}

void zuv_on_start(zuv_unit* unit, zuv_callback fn, void* data)
{
    if (unit && fn)
        add_watcher(unit, ON_START, fn, data);
}

int zuv_after(zuv_unit* unit, double seconds, zuv_callback fn, void* data)
{
    return unit && fn ? add_timer(unit, current(unit) + microseconds(seconds), 0, fn, NULL, data) : 0;
}

int zuv_every(zuv_unit* unit, double seconds, zuv_callback fn, void* data)
{
    const long long period = microseconds(seconds);
    return unit && fn && period > 0 ? add_timer(unit, current(unit) + period, period, fn, NULL, data) : 0;
}

void zuv_cancel(zuv_unit* unit, int timer)
{
    int i;
    for (i = 0; unit && i < unit->timer_count; ++i) {
        if (unit->timers[i].id == timer) {
            unit->timers[i] = unit->timers[--unit->timer_count];
            return;
        }
    }
}

/* Moves the clock to `clock` and runs every timer due by then, in due order. */
static void advance(zuv_unit* unit, long long clock)
{
    int first;
    unit->clock = clock;
    while ((first = earliest(unit)) >= 0 && unit->timers[first].due <= clock) {
        struct timer timer = unit->timers[first], *again = &unit->timers[first];
        if (timer.period > 0) {
            again->due = again->start + ++again->count * again->period;
            again->order = ++unit->order;
        } else {
            *again = unit->timers[--unit->timer_count];
        }
        unit->now = timer.due > unit->now ? timer.due : unit->now;
        if (timer.fn)
            call(unit, timer.fn, timer.data);
        else
            timer.step(timer.data);
    }
    unit->now = clock > unit->now ? clock : unit->now;
}

/* ---- Blinkers ---- */

zuv_blink* zuv_blinker(zuv_unit* unit, double hz, double duty, zuv_tick_callback tick, void* data)
{
    zuv_blink* blinker;
    if (!unit || !(hz > 0) || !(duty > 0 && duty < 1)) {
        fputs("zuvkit: a blinker needs hz > 0 and 0 < duty < 1\n", stderr);
        return NULL;
    }
    blinker = checked(calloc(1, sizeof *blinker));
    blinker->unit = unit;
    blinker->hz = hz;
    blinker->duty = duty;
    blinker->tick = tick;
    blinker->data = data;
    blinker->next = unit->blinks;
    return unit->blinks = blinker;
}

static void blink_tick(zuv_blink* blinker, int lit)
{
    if (!blinker->tick)
        return;
    ++blinker->unit->depth;
    blinker->tick(blinker->unit, lit, blinker->data);
    end_callback(blinker->unit);
}

/* An edge: lit at the even ones, since + (k + duty) / hz after the odd ones. */
static void blink_edge(void* owner)
{
    zuv_blink* blinker = owner;
    const int lit = blinker->edges % 2 == 0;
    const long long periods = ++blinker->edges / 2;
    const double rest = (double)(blinker->edges % 2) * blinker->duty;
    const long long next = blinker->since + llround(((double)periods + rest) * 1e6 / blinker->hz);
    blinker->timer = add_timer(blinker->unit, next, 0, NULL, blink_edge, blinker);
    blink_tick(blinker, lit);
}

void zuv_blinker_run(zuv_blink* blinker, int on)
{
    if (blinker && on && !blinker->running) {
        blinker->running = 1;
        blinker->since = current(blinker->unit);
        blinker->edges = 0;
        blinker->timer = add_timer(blinker->unit, blinker->since, 0, NULL, blink_edge, blinker);
    } else if (blinker && !on && blinker->running) {
        blinker->running = 0;
        current(blinker->unit);
        zuv_cancel(blinker->unit, blinker->timer);
        blink_tick(blinker, 0);
    }
}

/* ---- The stepper ---- */

static long long step_period(const zuv_motor* stepper)
{
    return llround(1e6 / stepper->rate);
}

/* Sets the phases for the position: A = 8, B = 4, C = 2, D = 1; B C at 0, C D at 1, ... */
static void drive(zuv_motor* stepper)
{
    static const int patterns[4] = {6, 3, 9, 12};
    const int pattern = patterns[((stepper->position % 4) + 4) % 4];
    zuv_unit* unit = stepper->unit;
    ++unit->depth;
    zuv_set(unit, ZUV_windshieldWiperA, pattern & 8);
    zuv_set(unit, ZUV_windshieldWiperB, pattern & 4);
    zuv_set(unit, ZUV_windshieldWiperC, pattern & 2);
    zuv_set(unit, ZUV_windshieldWiperD, pattern & 1);
    end_callback(unit);
}

static void take_step(void* owner)
{
    zuv_motor* stepper = owner;
    zuv_unit* unit = stepper->unit;
    int* move = &stepper->queue[stepper->head];
    const int direction = *move > 0 ? 1 : -1;
    long long due;
    stepper->position += direction;
    *move -= direction;
    if (*move == 0 && ++stepper->head == stepper->count)
        stepper->head = stepper->count = 0;
    stepper->last = unit->now;
    stepper->stepped = 1;
    if (stepper->count) {
        due = stepper->last + step_period(stepper);
        if (due <= unit->clock) /* stalled: start over rather than catch up in a burst */
            due = unit->clock + step_period(stepper);
        stepper->timer = add_timer(unit, due, 0, NULL, take_step, stepper);
    }
    drive(stepper);
    if (!stepper->count && stepper->idle)
        call(unit, stepper->idle, stepper->idle_data);
}

zuv_motor* zuv_stepper(zuv_unit* unit, double rate)
{
    zuv_motor* stepper;
    if (!unit || !(rate > 0)) {
        fputs("zuvkit: a stepper needs a rate above 0\n", stderr);
        return NULL;
    }
    stepper = checked(calloc(1, sizeof *stepper));
    stepper->unit = unit;
    stepper->rate = rate;
    stepper->next = unit->motors;
    unit->motors = stepper;
    current(unit);
    drive(stepper); /* parked */
    return stepper;
}

void zuv_stepper_move(zuv_motor* stepper, int steps)
{
    long long due;
    if (!stepper || !steps)
        return;
    if (!stepper->count) { /* the first step at once, or a step period after the last */
        due = current(stepper->unit);
        if (stepper->stepped && stepper->last + step_period(stepper) > due)
            due = stepper->last + step_period(stepper);
        stepper->timer = add_timer(stepper->unit, due, 0, NULL, take_step, stepper);
    }
    stepper->queue = room_for_one(stepper->queue, stepper->count, &stepper->capacity, sizeof(int));
    stepper->queue[stepper->count++] = steps;
}

void zuv_stepper_set_rate(zuv_motor* stepper, double rate)
{
    if (stepper && rate > 0)
        stepper->rate = rate;
}

int zuv_stepper_position(const zuv_motor* stepper)
{
    return stepper ? stepper->position : 0;
}

int zuv_stepper_moving(const zuv_motor* stepper)
{
    return stepper && stepper->count > 0;
}

void zuv_stepper_on_idle(zuv_motor* stepper, zuv_callback fn, void* data)
{
    if (stepper)
        stepper->idle = fn, stepper->idle_data = data;
}

/* ---- Opening, receiving, the loop ---- */

/* The port from `option` on the command line, else from the environment's `variable`, else
 * `fallback`; 0 with a message for one that is not a number from 0 to 65535. */
static int find_port(int argc, char** argv, const char* option, const char* variable, int fallback, int* port)
{
    const char* text = getenv(variable);
    const size_t n = strlen(option);
    char* end = NULL;
    long number = 0;
    int i;
    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], option) == 0 && i + 1 < argc)
            text = argv[i + 1];
        else if (strncmp(argv[i], option, n) == 0 && argv[i][n] == '=')
            text = argv[i] + n + 1;
    }
    if (text && *text >= '0' && *text <= '9')
        number = strtol(text, &end, 10);
    if (text && *text && (!end || *end || number > 65535)) {
        fprintf(stderr, "zuvkit: %s must be a port number from 0 to 65535, not \"%s\"\n", option, text);
        return 0;
    }
    *port = end ? (int)number : fallback;
    return 1;
}

zuv_unit* zuv_open(int argc, char** argv)
{
    int program_port, peer_port;
    zuv_unit* unit;
    struct sockaddr_in address;
#ifdef _WIN32
    WSADATA wsa;
    u_long nonblocking = 1;
#endif
    if (!find_port(argc, argv, "--program-port", "ZUV_PROGRAM_PORT", 50000, &program_port) ||
        !find_port(argc, argv, "--peer-port", "ZUV_PEER_PORT", 50001, &peer_port))
        return NULL;
#ifdef _WIN32
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) {
        fputs("zuvkit: WinSock 2 is not available\n", stderr);
        return NULL;
    }
#endif
    unit = checked(calloc(1, sizeof *unit));
    memset(&address, 0, sizeof address);
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons((unsigned short)peer_port);
    unit->socket = socket(AF_INET, SOCK_DGRAM, 0);
    if (unit->socket == NO_SOCKET || bind(unit->socket, (struct sockaddr*)&address, sizeof address) != 0 ||
#ifdef _WIN32
        ioctlsocket(unit->socket, FIONBIO, &nonblocking) != 0) {
        fprintf(stderr, "zuvkit: cannot receive on 127.0.0.1:%d (WinSock error %d)", peer_port,
                WSAGetLastError());
#else
        fcntl(unit->socket, F_SETFL, fcntl(unit->socket, F_GETFL) | O_NONBLOCK) != 0) {
        fprintf(stderr, "zuvkit: cannot receive on 127.0.0.1:%d (%s)", peer_port, strerror(errno));
#endif
        fputs(": is another unit or zuv-peer running?\n", stderr);
        zuv_close(unit);
        return NULL;
    }
    unit->program = address;
    unit->program.sin_port = htons((unsigned short)program_port);
    unit->origin = read_clock(unit); /* the monotonic clock's reading, origin being 0 so far */
    return unit;
}

void zuv_close(zuv_unit* unit)
{
    if (!unit)
        return;
    if (unit->socket != NO_SOCKET)
        close_socket(unit->socket);
    while (unit->blinks) {
        zuv_blink* next = unit->blinks->next;
        free(unit->blinks);
        unit->blinks = next;
    }
    while (unit->motors) {
        zuv_motor* next = unit->motors->next;
        free(unit->motors->queue);
        free(unit->motors);
        unit->motors = next;
    }
    free(unit->watchers);
    free(unit->timers);
    free(unit);
#ifdef _WIN32
    WSACleanup();
#endif
}

/* Moves the clock to the checker's time `simulated` (switching to lock-step time at the first $time)
 * and runs the timers due by then. Time never goes back: a $time before the last one holds the clock. */
static void step(zuv_unit* unit, long long simulated)
{
    if (!unit->lockstep) {
        unit->offset = simulated - read_clock(unit); /* now() goes on from where the wall clock was */
        unit->lockstep = 1;
    }
    if (simulated - unit->offset < unit->clock)
        unit->offset = simulated - unit->clock;
    advance(unit, simulated - unit->offset);
}

/* Answers the checker's time `simulated` with $done and, while a timer is armed, $next: its earliest
 * due time on the checker's clock (this very time for one that the state's callbacks made due). */
static void answer(zuv_unit* unit, long long simulated)
{
    char datagram[DATAGRAM] = {0};
    const int first = earliest(unit);
    int at = snprintf(datagram, sizeof datagram, "{\"$done\":%lld", simulated);
    if (first >= 0)
        at += snprintf(datagram + at, sizeof datagram - (size_t)at, ",\"$next\":%lld",
                       unit->timers[first].due + unit->offset);
    datagram[at] = '}';
    send_datagram(unit, datagram);
}

/* Applies one received datagram (in unit->buffer), calls the callbacks it concerns and sends what
 * is due. A document with $time first moves the clock to it, and is answered with $done after all
 * else it causes. */
static void handle(zuv_unit* unit, size_t length, uint32_t sender)
{
    zuv_received received;
    unsigned char changed[ZUV_COUNT] = {0}, pressed[ZUV_COUNT] = {0};
    const int watchers = unit->watcher_count;
    long long simulated = 0;
    const int timed =
        judge(unit->buffer, length < DATAGRAM ? length : DATAGRAM, length, sender, &received, &simulated);
    int i, value, to, hit;
    if (received.verdict != ZUV_DOCUMENT)
        return;
    if (timed)
        step(unit, simulated);
    for (i = 0; i < received.assigned; ++i) {
        value = received.assignments[i].value;
        to = received.assignments[i].to;
        /* A report that contradicts an output sent a moment ago crossed it on the way. */
        if (values[value].output && unit->was_sent[value] && unit->now - unit->sent_at[value] < IN_FLIGHT &&
            unit->believed[value] != to)
            continue;
        unit->believed[value] = to;
        unit->is_believed[value] = 1;
        changed[value] = unit->state[value] != to;
        pressed[value] = changed[value] && !unit->state[value];
        unit->state[value] = to;
    }
    for (i = 0; i < watchers; ++i) {
        const struct watcher* watcher = &unit->watchers[i];
        const unsigned char* which = watcher->watch == ON_PRESS ? pressed : changed;
        for (hit = 0, value = 0; watcher->watch != ON_START && value < ZUV_COUNT && !hit; ++value)
            hit = which[value] && watcher->values[value];
        if (hit)
            call(unit, watcher->fn, watcher->data);
    }
    flush(unit);
    if (timed)
        answer(unit, simulated);
}

static void receive_all(zuv_unit* unit)
{
    for (;;) {
        struct sockaddr_in from;
        zuv_socklen size = sizeof from;
        const long length =
            (long)recvfrom(unit->socket, unit->buffer, RECEIVE_BUFFER, 0, (struct sockaddr*)&from, &size);
        if (length < 0) /* nothing more to read, or an error report, which tells nothing */
            return;
        handle(unit, (size_t)length, ntohl(from.sin_addr.s_addr));
    }
}

static volatile sig_atomic_t stopping;

static void request_stop(int number)
{
    (void)number;
    stopping = 1;
}

/* Waits for a datagram until the next timer is due, or a signal comes. In lock-step time only a
 * $time moves the clock: then it waits for datagrams alone. */
static void wait_for_datagram(zuv_unit* unit)
{
    const int first = unit->lockstep ? -1 : earliest(unit);
    long long wait = first < 0 ? -1 : unit->timers[first].due - read_clock(unit);
    fd_set readable;
#ifdef _WIN32
    struct timeval timeout;
    wait = wait < 0 || wait > 100000 ? 100000 : wait; /* Ctrl+C only sets the flag: look every 100 ms */
    timeout.tv_sec = (long)(wait / 1000000);
    timeout.tv_usec = (long)(wait % 1000000);
#else
    struct timespec timeout;
    wait = first >= 0 && wait < 0 ? 0 : wait;
    timeout.tv_sec = (time_t)(wait / 1000000);
    timeout.tv_nsec = (long)(wait % 1000000) * 1000;
#endif
    FD_ZERO(&readable);
    FD_SET(unit->socket, &readable);
#ifdef _WIN32
    select(0, &readable, NULL, NULL, &timeout);
#else
    /* The signals are blocked but while waiting here, so that none slips in before the wait. */
    pselect(unit->socket + 1, &readable, NULL, NULL, wait < 0 ? NULL : &timeout, &unit->run_mask);
#endif
}

int zuv_run(zuv_unit* unit)
{
    int i;
#ifdef _WIN32
    void (*old_interrupt)(int), (*old_terminate)(int);
#else
    struct sigaction action, old_interrupt, old_terminate;
    sigset_t blocked;
#endif
    if (!unit)
        return 1;
    stopping = 0;
#ifdef _WIN32
    old_interrupt = signal(SIGINT, request_stop);
    old_terminate = signal(SIGTERM, request_stop);
#else
    memset(&action, 0, sizeof action);
    action.sa_handler = request_stop;
    sigaction(SIGINT, &action, &old_interrupt);
    sigaction(SIGTERM, &action, &old_terminate);
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigprocmask(SIG_BLOCK, &blocked, &unit->run_mask);
#endif
    advance(unit, read_clock(unit));
    for (i = 0; i < unit->watcher_count; ++i) {
        if (unit->watchers[i].watch == ON_START)
            call(unit, unit->watchers[i].fn, unit->watchers[i].data);
    }
    while (!stopping) {
        advance(unit, read_clock(unit));
        receive_all(unit);
        wait_for_datagram(unit);
    }
#ifdef _WIN32
    signal(SIGINT, old_interrupt);
    signal(SIGTERM, old_terminate);
#else
    sigprocmask(SIG_SETMASK, &unit->run_mask, NULL); /* first, so that a signal pending sets the flag */
    sigaction(SIGINT, &old_interrupt, NULL);
    sigaction(SIGTERM, &old_terminate, NULL);
#endif
    zuv_close(unit);
    return 0;
}

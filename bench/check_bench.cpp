// Figures of the checker (zuv-peer check, grade):
//   check_bench stamps [n]                      how exactly received datagrams are timed: the system's
//       arrival stamps against the sender's clock, with the event loop idle and busy;
//   check_bench suite <zuv-peer> <scenarios> [--sandbox-too] [--lockstep-too] [--unit COMMAND]
//       the reference suite against the bundled control units (or --unit's, with {} for a folder
//       holding a copy of zuv-peer): wall time against the scenarios' summed durations, and with
//       --sandbox-too once more in the sandbox, with --lockstep-too once more on lock-step time,
//       each against the first run;
//   check_bench hour <zuv-peer> [minutes]       an hour (or minutes) of the fast wiper and the
//       blinkers on lock-step time;
//   check_bench starts [n]                      what the sandbox adds to the start of a unit, over n
//       starts each way (default 50);
//   check_bench regrade <zuv-peer> [hours]      --from-trace on a trace of an hour of the fast wiper
//       and the heartbeats;
//   check_bench grade <zuv-peer> <scenarios> [n] [--lockstep-too]   grading n submissions (default 30;
//       every third a mutant) with --jobs 1 and 2, and with --lockstep-too once more on lock-step time;
//   check_bench link [n]                        the faulty link over real sockets: drop: 10% and
//       delay: 20ms, jitter: 10ms, each over n datagrams (default 10,000).
#include "BenchStats.h"
#include "Faults/LinkConditioner.h"
#include "check/sandbox/UnitProcess.h"
#include "link/PeerLink.h"
#include "link/SessionFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>

#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

qint64 steadyMicros()
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

int stamps(int count)
{
    for (const bool busy : {false, true}) {
        Peer::PeerLink link;
        link.open(0, 9);
        const int port = link.listeningPort();
        std::vector<qint64> sentAt(static_cast<std::size_t>(count), 0);
        BenchStats system, read;
        QEventLoop loop;
        QObject::connect(&link, &Peer::PeerLink::received, &loop,
                         [&](const StateDatagram::Received& datagram, qint64 arrived) {
                             const qint64 now = steadyMicros();
                             const int index = datagram.document.object().value("n").toInt();
                             if (index < 0 || index >= count)
                                 return;
                             const qint64 sent = sentAt[static_cast<std::size_t>(index)];
                             system.samples.push_back(double(Peer::PeerLink::steadyMicros(arrived) - sent));
                             read.samples.push_back(double(now - sent));
                             if (busy) // the checker's loop busy with something else for 3 ms
                                 QThread::usleep(3000);
                             if (index == count - 1)
                                 loop.quit();
                         });
        std::thread sender([&] {
            QUdpSocket socket;
            std::mt19937 random(1);
            for (int index = 0; index < count; ++index) {
                std::this_thread::sleep_for(std::chrono::microseconds(500 + random() % 4000));
                sentAt[static_cast<std::size_t>(index)] = steadyMicros();
                socket.writeDatagram("{\"n\":" + QByteArray::number(index) + "}", QHostAddress::LocalHost,
                                     quint16(port));
            }
        });
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        loop.exec();
        sender.join();
        std::printf("event loop %s:\n", busy ? "busy 3 ms after each datagram" : "idle");
        system.print("  system's arrival stamp - send time");
        read.print("  time it was read - send time");
    }
    return 0;
}

// Runs zuv-peer with `arguments`; returns the wall time in seconds, or -1.
double timed(const QString& peer, const QStringList& arguments, int* status = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(peer, arguments);
    if (!process.waitForFinished(3600 * 1000))
        return -1;
    if (status)
        *status = process.exitCode();
    return double(timer.nsecsElapsed()) / 1e9;
}

int suite(const QString& peer, const QString& scenarios, const QStringList& flags)
{
    // The bundled units as a submission (a copy of zuv-peer in a folder of its own), or --unit's.
    QTemporaryDir directory;
    QDir().mkpath(directory.filePath("unit"));
    QFile::copy(peer, directory.filePath("unit/zuv-peer"));
    const int given = flags.indexOf("--unit");
    const QString unit = given >= 0 ? flags.value(given + 1) : QString("{}/zuv-peer --quiet");
    const QString json = directory.filePath("report.json");
    double first = 0;
    const std::pair<const char*, QStringList> runs[] = {
        {"", {}},
        {" in the sandbox", {"--sandbox", "--limit", "file-size=64M"}},
        {" on lock-step time", {"--lockstep"}}};
    for (const auto& [name, how] : runs) {
        if ((how.contains("--sandbox") && !flags.contains("--sandbox-too")) ||
            (how.contains("--lockstep") && !flags.contains("--lockstep-too")))
            continue;
        int status = -1;
        const double wall =
            timed(peer,
                  QStringList{"check", "--quiet", "--start-wait", "5s", "--submission",
                              directory.filePath("unit"), "--start", unit, "--json", json, scenarios} +
                      how,
                  &status);
        QFile file(json);
        file.open(QIODevice::ReadOnly);
        double summed = 0;
        int count = 0;
        for (const QJsonValue& scenario :
             QJsonDocument::fromJson(file.readAll()).object().value("scenarios").toArray()) {
            summed += scenario.toObject().value("duration").toDouble();
            ++count;
        }
        std::printf(
            "reference suite%s: %d scenarios, exit %d, %.1f s wall, %.1f s summed durations, ratio %.3f",
            name, count, status, wall, summed, wall / summed);
        if (first > 0)
            std::printf("; %.3f x the first run (%.1f x %s)", wall / first, first / wall,
                        first > wall ? "faster" : "slower");
        std::printf("\n");
        if (first == 0)
            first = wall;
    }
    return 0;
}

// How much longer a unit takes to start (and end) in the sandbox: `count` runs of `true` each way.
int starts(int count)
{
    QTemporaryDir copy;
    double medians[2] = {};
    for (const bool boxed : {false, true}) {
        BenchStats stats;
        for (int run = 0; run < count; ++run) {
            Check::UnitProcess unit;
            Check::UnitProcess::Options options;
            options.command = "true";
            options.boxed = boxed;
            options.copy = copy.path();
            QEventLoop loop;
            QObject::connect(&unit, &Check::UnitProcess::ended, &loop, &QEventLoop::quit);
            QElapsedTimer timer;
            timer.start();
            if (!unit.start(options).isEmpty())
                return 1;
            if (unit.running())
                loop.exec();
            stats.samples.push_back(double(timer.nsecsElapsed()) / 1e3);
        }
        medians[boxed] = stats.percentile(50);
        stats.print(boxed ? "start and end of a unit (true), in the sandbox"
                          : "start and end of a unit (true)");
    }
    std::printf("the sandbox adds %.1f ms to a start (median over %d)\n", (medians[1] - medians[0]) / 1e3,
                count);
    return 0;
}

int regrade(const QString& peer, double hours)
{
    // A trace of the fast wiper and the heartbeats, and the scenario it belongs to.
    QTemporaryDir directory;
    QFile trace(directory.filePath("hour.jsonl"));
    trace.open(QIODevice::WriteOnly);
    QJsonObject state;
    const auto whole = [&state] { return state; };
    for (int index = 0; index < StateValues::count; ++index)
        state.insert(QLatin1String(StateValues::table[index].name), StateValues::toJson(index, 0));
    qint64 t = 1000;
    trace.write(Peer::SessionFile::line({t, Peer::SessionFile::Direction::In, whole(), {}, {}, {}, {}}));
    state.insert("cockpitWindshieldWasherMode", 5);
    trace.write(Peer::SessionFile::line({t + 10, Peer::SessionFile::Direction::In, whole(), {}, {}, {}, {}}));
    static const int clockwise[4] = {6, 3, 9, 12};
    const qint64 end = qint64(hours * 3600e6);
    int position = 0, direction = 1;
    qint64 lines = 2;
    for (qint64 step = 0; t < end; ++step) {
        t = 20000 + step * 27778; // 36 steps a second
        position += direction;
        if (position == 16 || position == 0)
            direction = -direction;
        const int pattern = clockwise[position % 4];
        QJsonObject document{{"windshieldWiperA", (pattern & 8) != 0},
                             {"windshieldWiperB", (pattern & 4) != 0},
                             {"windshieldWiperC", (pattern & 2) != 0},
                             {"windshieldWiperD", (pattern & 1) != 0}};
        if (step % 18 == 0)
            document.insert("alarmGenericLightUp", (step / 18) % 2 == 0);
        trace.write(
            Peer::SessionFile::line({t, Peer::SessionFile::Direction::Out, document, {}, {}, {}, {}}));
        ++lines;
    }
    trace.close();
    QFile scenario(directory.filePath("hour.yaml"));
    scenario.open(QIODevice::WriteOnly);
    scenario.write(QStringLiteral("scenario: An hour of the fast wiper\ntimeout: %1s\nsteps:\n"
                                  "  - set: {cockpitWindshieldWasherMode: 5}\n"
                                  "  - wiper: {moves: [+16, -16, +16, -16]}\n    rate: 36/s\n    within: 5s\n"
                                  "  - hold: {windshieldHeater: false}\n    for: %2s\n"
                                  "monitors:\n  - never: {lightUpperBeamHeadlight: true}\n")
                       .arg(qint64(hours * 3600) + 60)
                       .arg(qint64(hours * 3600) - 10)
                       .toUtf8());
    scenario.close();
    int status = -1;
    const double wall =
        timed(peer, {"check", "--from-trace", trace.fileName(), scenario.fileName()}, &status);
    std::printf("--from-trace on %.2f h of trace (%lld lines, %.1f MB): %.2f s, exit %d\n", hours, lines,
                double(QFileInfo(trace.fileName()).size()) / 1e6, wall, status);
    return 0;
}

// The faulty link over real sockets: datagrams through a LinkConditioner into a socket, counted and
// timed where they arrive.
int link(int count)
{
    struct Run
    {
        const char* what;
        LinkConditions conditions;
    };
    LinkConditions lossy;
    lossy.drop = 0.10;
    LinkConditions late;
    late.delay = 20'000;
    late.jitter = 10'000;
    for (const Run& run : {Run{"drop: 10%", lossy}, Run{"delay: 20ms, jitter: 10ms", late}}) {
        QUdpSocket receiver;
        receiver.bind(QHostAddress(QHostAddress::LocalHost), 0);
        QUdpSocket sender;
        LinkConditioner conditioner;
        conditioner.start(run.conditions, 7);
        QObject::connect(&conditioner, &LinkConditioner::delivered, [&](const QByteArray& datagram) {
            sender.writeDatagram(datagram, QHostAddress::LocalHost, receiver.localPort());
        });
        std::vector<qint64> sentAt(static_cast<std::size_t>(count), 0);
        BenchStats late;
        int arrived = 0;
        QObject::connect(&receiver, &QUdpSocket::readyRead, [&] {
            while (receiver.hasPendingDatagrams()) {
                QByteArray datagram(int(receiver.pendingDatagramSize()), '\0');
                receiver.readDatagram(datagram.data(), datagram.size());
                const int index = datagram.toInt();
                late.samples.push_back(double(steadyMicros() - sentAt[static_cast<std::size_t>(index)]) /
                                       1000.0);
                ++arrived;
            }
        });
        // One datagram every 2 ms, as a control unit's busy stretch.
        QTimer pace;
        int next = 0;
        QEventLoop loop;
        QObject::connect(&pace, &QTimer::timeout, [&] {
            if (next == count) {
                pace.stop();
                QTimer::singleShot(200, &loop, &QEventLoop::quit);
                return;
            }
            sentAt[static_cast<std::size_t>(next)] = steadyMicros();
            conditioner.submit(QByteArray::number(next++));
        });
        pace.setTimerType(Qt::PreciseTimer);
        pace.start(2);
        loop.exec();
        double mean = 0;
        for (const double sample : late.samples)
            mean += sample;
        mean /= std::max<std::size_t>(1, late.samples.size());
        std::printf("%s over %d datagrams: %d arrived, %.2f %% lost; arrival after %.2f ms on average "
                    "(median %.2f, p95 %.2f)\n",
                    run.what, count, arrived, 100.0 * (count - arrived) / count, mean, late.percentile(50),
                    late.percentile(95));
    }
    return 0;
}

int grade(const QString& peer, const QString& scenarios, int count, bool lockstepToo)
{
    QTemporaryDir directory;
    QStringList submissions;
    const QStringList mutants = {"indicator-frequency", "high-beam-alone", "heater-ignores-temperature"};
    for (int index = 0; index < count; ++index) {
        const QString folder =
            directory.filePath(QStringLiteral("student%1").arg(index + 1, 2, 10, QLatin1Char('0')));
        QDir().mkpath(folder);
        // Each a copy (a hard link) of zuv-peer, which the sandbox shows the unit at /submission.
        ::link(QFile::encodeName(peer).constData(), QFile::encodeName(folder + "/zuv-peer").constData());
        QFile run(folder + "/run.sh");
        run.open(QIODevice::WriteOnly);
        QString command = "exec /submission/zuv-peer --quiet";
        if (index % 3 == 2)
            command += " --mutant " + mutants[(index / 3) % mutants.size()];
        run.write((command + "\n").toUtf8());
        submissions << folder;
    }
    double wallClock = 0;
    for (const auto& [jobs, lockstep] : {std::pair{1, false}, std::pair{2, false}, std::pair{2, true}}) {
        if (lockstep && !lockstepToo)
            break;
        int status = -1;
        const QString out = directory.filePath(QString("out%1%2").arg(jobs).arg(lockstep ? "-lockstep" : ""));
        const double wall =
            timed(peer,
                  QStringList{"grade", "--scenarios", scenarios, "--start", "sh {}/run.sh", "--start-wait",
                              "5s", "--out", out, "--jobs", QString::number(jobs)} +
                      (lockstep ? QStringList{"--lockstep"} : QStringList{}) + submissions,
                  &status);
        QFile csv(out + "/grades.csv");
        csv.open(QIODevice::ReadOnly);
        const QByteArray grades = csv.readAll();
        std::printf("grade of %d submissions, --jobs %d%s: %.1f s, exit %d, %d rows in grades.csv", count,
                    jobs, lockstep ? " --lockstep" : "", wall, status, int(grades.count('\n')) - 1);
        if (lockstep) {
            QFile wallGrades(directory.filePath("out2/grades.csv"));
            wallGrades.open(QIODevice::ReadOnly);
            std::printf("; %.1f x faster than on the wall clock; the same grades: %s", wallClock / wall,
                        wallGrades.readAll() == grades ? "yes" : "no");
        }
        std::printf("\n");
        if (jobs == 2 && !lockstep)
            wallClock = wall;
    }
    return 0;
}

// An hour (or `minutes`) of the fast wiper, the indicators and the flashing brake light, on
// lock-step time.
int hour(const QString& peer, int minutes)
{
    QTemporaryDir directory;
    QFile scenario(directory.filePath("hour.yaml"));
    scenario.open(QIODevice::WriteOnly);
    scenario.write(
        QString("scenario: %1 minutes of the fast wiper and the blinkers\n"
                "timeout: %2s\n"
                "setup: {cockpitIgnition: 1}\n"
                "steps:\n"
                "  - set: {cockpitWindshieldWasherMode: 5, cockpitIndicator: -1, cockpitBrake: 2}\n"
                "  - blinks: lightIndicatorLeft\n"
                "    frequency: 1.5Hz\n"
                "    duty: 50%\n"
                "    for: %3s\n"
                "  - blinks: lightBrakelight\n"
                "    frequency: 4Hz\n"
                "    for: 2s\n"
                "  - wiper: {moves: [+16, -16]}\n"
                "    rate: 36/s\n"
                "    within: 3s\n")
            .arg(minutes)
            .arg(minutes * 60 + 60)
            .arg(minutes * 60)
            .toUtf8());
    scenario.close();
    int status = -1;
    const double wall = timed(peer,
                              {"check", "--quiet", "--lockstep", "--start", peer + " --quiet", "--json",
                               directory.filePath("report.json"), scenario.fileName()},
                              &status);
    std::printf(
        "%d simulated minutes of the fast wiper and the blinkers on lock-step time: %.1f s wall, exit %d "
        "(%.0f x faster than real time)\n",
        minutes, wall, status, minutes * 60 / wall);
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString mode = arguments.value(1);
    if (mode == "stamps")
        return stamps(arguments.size() > 2 ? arguments.at(2).toInt() : 2000);
    if (mode == "suite" && arguments.size() >= 4)
        return suite(arguments.at(2), arguments.at(3), arguments.mid(4));
    if (mode == "hour" && arguments.size() >= 3)
        return hour(arguments.at(2), arguments.size() > 3 ? arguments.at(3).toInt() : 60);
    if (mode == "starts")
        return starts(arguments.size() > 2 ? arguments.at(2).toInt() : 50);
    if (mode == "regrade" && arguments.size() >= 3)
        return regrade(arguments.at(2), arguments.size() > 3 ? arguments.at(3).toDouble() : 1.0);
    if (mode == "link")
        return link(arguments.size() > 2 ? arguments.at(2).toInt() : 10000);
    if (mode == "grade" && arguments.size() >= 4)
        return grade(arguments.at(2), arguments.at(3), arguments.size() > 4 ? arguments.at(4).toInt() : 30,
                     arguments.contains("--lockstep-too"));
    std::fprintf(stderr,
                 "usage: check_bench stamps [n] | suite ZUV-PEER SCENARIOS [--sandbox-too] [--lockstep-too]"
                 " [--unit COMMAND] | starts [n] | regrade ZUV-PEER [hours] |"
                 " grade ZUV-PEER SCENARIOS [n] [--lockstep-too] | hour ZUV-PEER [minutes]\n");
    return 2;
}

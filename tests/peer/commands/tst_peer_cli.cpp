// The zuv-peer program as a user runs it: its command line, its exit statuses, and the link tools
// end to end through real processes. Every socket is on a free port.

#include "Connectivity/UDPTransceiver.h"
#include "StateDatagram.h"
#include "commands/Commands.h"
#include "link/SessionFile.h"

#include <QJsonDocument>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <poll.h>

namespace {

// A socket on a free loopback port that plays the program's (or a peer's) receiving end.
class Listener
{
public:
    Listener()
    {
        socket.initSocket();
        socket.initReceiver("127.0.0.1", 0);
        socket.setSocketNonBlocking();
    }
    ~Listener() { socket.deinitSocket(); }
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    int port() const { return socket.boundPort(); }

    // The next datagram's bytes, or an empty array after `timeout` ms without one.
    QByteArray next(int timeout = 5000)
    {
        QDeadlineTimer deadline(timeout);
        char buffer[8192];
        pollfd waiting{socket.handle(), POLLIN, 0};
        for (;;) {
            const auto datagram = socket.receiveDatagram(buffer, sizeof(buffer));
            if (datagram.bytes >= 0)
                return QByteArray(buffer, datagram.bytes);
            if (deadline.hasExpired() || ::poll(&waiting, 1, int(deadline.remainingTime())) <= 0)
                return {};
        }
    }

private:
    JOLV::Connectivity::UDPTransceiver socket;
};

QJsonObject documentOf(const QByteArray& datagram)
{
    return QJsonDocument::fromJson(StateDatagram::textOf(datagram.constData(), datagram.size())).object();
}

struct Run
{
    int exitCode = -1;
    QString out;
    QString err;
};

Run run(const QStringList& arguments)
{
    QProcess process;
    process.start(QStringLiteral(ZUV_PEER_EXECUTABLE), arguments);
    Run result;
    if (!process.waitForFinished(15000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

} // namespace

class TestPeerCli : public QObject
{
    Q_OBJECT

private slots:
    void badUsage_data();
    void badUsage();
    void everyCommandIsFoundFromTheToolItself();
    void sendFramesOneDocument();
    void endsCleanlyOnTermination();
    void recordThenReplay();
    void floodCostsLittleMemoryAndTheNextDocumentIsAnswered();
};

void TestPeerCli::badUsage_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("unknown command") << QStringList{"start"} << "unknown command 'start'";
    QTest::newRow("unknown option") << QStringList{"--fast"} << "Unknown option 'fast'";
    QTest::newRow("send without values") << QStringList{"send"} << "send needs at least one key=value";
    QTest::newRow("record without file") << QStringList{"record"} << "record takes one FILE";
    QTest::newRow("speed 0") << QStringList{"replay", "f", "--speed", "0"}
                             << "--speed takes a factor above 0";
    QTest::newRow("quiet monitor") << QStringList{"monitor", "--quiet"} << "monitor prints the traffic";
    QTest::newRow("to where") << QStringList{"send", "--to", "moon", "cockpitIgnition=1"}
                              << "--to takes program or peer";
    QTest::newRow("port too large") << QStringList{"--program-port", "70000"}
                                    << "--program-port takes a port";
}

void TestPeerCli::badUsage()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.contains("zuv-peer --help"));
}

// Whoever types zuv-peer --help, or a wrong command, learns every command; each names itself in its
// usage line.
void TestPeerCli::everyCommandIsFoundFromTheToolItself()
{
    const Run overview = run({"--help"});
    const Run unknown = run({"bogus"});
    QCOMPARE(unknown.exitCode, 2);
    for (const Commands::Command& command : Commands::all()) {
        const QString name = QString::fromLatin1(command.name);
        if (name.isEmpty())
            continue;
        QVERIFY2(overview.out.contains(QStringLiteral("\n  %1 ").arg(name)), qPrintable(overview.out));
        QVERIFY2(unknown.err.contains(QRegularExpression(QStringLiteral("commands: .*\\b%1\\b").arg(name))),
                 qPrintable(unknown.err));
        const Run help = run({name, "--help"});
        QCOMPARE(help.exitCode, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("Usage: zuv-peer %1 [options]").arg(name)),
                 qPrintable(help.out.left(80)));
    }
}

void TestPeerCli::sendFramesOneDocument()
{
    Listener program;
    const Run result = run({"send", "--program-port", QString::number(program.port()), "cockpitIndicator=-2",
                            "lightBacklight=true"});
    QCOMPARE(result.exitCode, 0);
    const QByteArray datagram = program.next();
    QCOMPARE(datagram.size(), 4096);
    const QByteArray text = R"({"cockpitIndicator":-2,"lightBacklight":true})";
    QCOMPARE(datagram.left(text.size()), text);
    QCOMPARE(datagram.mid(text.size()), QByteArray(4096 - text.size(), '\0'));
    QVERIFY(result.out.contains("cockpitIndicator=-2 lightBacklight=true"));
}

void TestPeerCli::endsCleanlyOnTermination()
{
    Listener program;
    QProcess peer;
    peer.start(QStringLiteral(ZUV_PEER_EXECUTABLE),
               {"--peer-port", "0", "--program-port", QString::number(program.port())});
    QVERIFY(peer.waitForStarted());
    // Its first document: every driven value.
    const QJsonObject first = documentOf(program.next());
    QVERIFY(first.contains("alarmGenericLightUp"));
    QVERIFY(first.contains("windshieldWiperB"));
    peer.terminate(); // SIGTERM
    QVERIFY(peer.waitForFinished(5000));
    QCOMPARE(peer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(peer.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(peer.readAllStandardOutput());
    QVERIFY2(out.contains(" out alarmAlarmLight=false"), qPrintable(out));
    QVERIFY(out.contains("zuv-peer: stopped"));
}

void TestPeerCli::recordThenReplay()
{
    QTemporaryDir directory;
    const QString path = directory.filePath("session.jsonl");
    Listener program;
    QProcess recorder;
    recorder.start(QStringLiteral(ZUV_PEER_EXECUTABLE),
                   {"record", path, "--peer-port", "0", "--program-port", QString::number(program.port())});
    QVERIFY(recorder.waitForStarted());
    QVERIFY(!program.next().isEmpty());
    // Its own port, from its first line.
    QTRY_VERIFY(recorder.canReadLine());
    const QString banner = QString::fromLocal8Bit(recorder.readLine());
    const QRegularExpressionMatch match =
        QRegularExpression("listening on UDP 127.0.0.1:(\\d+)").match(banner);
    QVERIFY2(match.hasMatch(), qPrintable(banner));
    const int recorderPort = match.captured(1).toInt();

    // The program turns the lights on.
    {
        JOLV::Connectivity::UDPTransceiver sender;
        sender.initSocket();
        sender.initTransmitter("127.0.0.1", recorderPort);
        char buffer[4096] = {};
        const QByteArray text = R"({"cockpitIgnition":1,"cockpitLightSwitch":3})";
        StateDatagram::frame(text, buffer);
        QCOMPARE(sender.transmit(buffer, sizeof(buffer)), 4096);
        sender.deinitSocket();
    }
    QJsonObject answer;
    for (int attempt = 0; attempt < 20 && !answer.contains("lightLowerBeamHeadlight"); ++attempt)
        answer = documentOf(program.next());
    QCOMPARE(answer.value("lightLowerBeamHeadlight"), QJsonValue(true));
    recorder.terminate();
    QVERIFY(recorder.waitForFinished(5000));
    QCOMPARE(recorder.exitCode(), 0);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const auto parsed = Peer::SessionFile::parse(file.readAll());
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    int in = 0;
    int outWithLights = 0;
    for (const auto& entry : parsed.entries) {
        if (entry.direction == Peer::SessionFile::Direction::In) {
            ++in;
            QCOMPARE(entry.document, QJsonObject({{"cockpitIgnition", 1}, {"cockpitLightSwitch", 3}}));
        } else if (entry.document.value("lightLowerBeamHeadlight").toBool()) {
            ++outWithLights;
        }
    }
    QCOMPARE(in, 1);
    QCOMPARE(outWithLights, 1);

    // Replayed to the program, fast: the same documents arrive again.
    Listener replayTarget;
    const Run replay =
        run({"replay", path, "--speed", "50", "--program-port", QString::number(replayTarget.port())});
    QCOMPARE(replay.exitCode, 0);
    bool lightsAgain = false;
    for (QByteArray datagram = replayTarget.next(1000); !datagram.isEmpty();
         datagram = replayTarget.next(500))
        lightsAgain |= documentOf(datagram).value("lightLowerBeamHeadlight").toBool();
    QVERIFY(lightsAgain);
}

void TestPeerCli::floodCostsLittleMemoryAndTheNextDocumentIsAnswered()
{
    QTemporaryDir directory;
    const QString trace = directory.filePath("trace");
    Listener program;
    QProcess peer;
    peer.setStandardOutputFile(trace);
    peer.start(QStringLiteral(ZUV_PEER_EXECUTABLE),
               {"--peer-port", "0", "--program-port", QString::number(program.port())});
    QVERIFY(peer.waitForStarted());
    QVERIFY(!program.next().isEmpty()); // up: its first document
    QFile traceFile(trace);
    QVERIFY(traceFile.open(QIODevice::ReadOnly));
    const QRegularExpressionMatch match = QRegularExpression("listening on UDP 127.0.0.1:(\\d+)")
                                              .match(QString::fromLocal8Bit(traceFile.readLine()));
    QVERIFY(match.hasMatch());
    const int peerPort = match.captured(1).toInt();
    const auto resident = [&peer] {
        QFile status(QStringLiteral("/proc/%1/status").arg(peer.processId()));
        status.open(QIODevice::ReadOnly);
        const QByteArray text = status.readAll();
        const int at = text.indexOf("VmRSS:");
        return text.mid(at + 6, text.indexOf('\n', at) - at - 6).trimmed().split(' ').first().toLong();
    };
    const long before = resident();

    // Two seconds of full state documents as fast as the socket takes them.
    JOLV::Connectivity::UDPTransceiver sender;
    sender.initSocket();
    sender.initTransmitter("127.0.0.1", peerPort);
    char state[2][4096] = {};
    StateDatagram::frame(R"({"cockpitIndicator":-1,"cockpitTemperature":20})", state[0]);
    StateDatagram::frame(R"({"cockpitIndicator":0,"cockpitTemperature":21})", state[1]);
    QElapsedTimer flood;
    flood.start();
    for (int i = 0; flood.elapsed() < 2000; ++i)
        sender.transmit(state[i % 2], 4096);
    const long growth = resident() - before;
#if defined(__SANITIZE_ADDRESS__) || (defined(__has_feature) && __has_feature(address_sanitizer))
    // AddressSanitizer keeps freed memory in quarantine: the process's size says nothing here.
    Q_UNUSED(growth)
#else
    QVERIFY2(growth < 10 * 1024, qPrintable(QString("grew by %1 kB").arg(growth)));
#endif

    // The next document is answered (sent again while the system may still drop it from the full
    // buffer of the peer's socket).
    char lightsOn[4096] = {};
    StateDatagram::frame(R"({"cockpitIgnition":1,"cockpitLightSwitch":3})", lightsOn);
    bool answered = false;
    for (int attempt = 0; attempt < 100 && !answered; ++attempt) {
        sender.transmit(lightsOn, 4096);
        for (QByteArray datagram = program.next(50); !datagram.isEmpty() && !answered;
             datagram = program.next(0))
            answered = documentOf(datagram).value("lightLowerBeamHeadlight").toBool();
    }
    sender.deinitSocket();
    QVERIFY(answered);
    peer.terminate();
    QVERIFY(peer.waitForFinished(5000));
    QCOMPARE(peer.exitCode(), 0);
}

QTEST_GUILESS_MAIN(TestPeerCli)
#include "tst_peer_cli.moc"

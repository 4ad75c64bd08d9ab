#include "UdpPorts.h"
#include "X11WindowCloser.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUdpSocket>
#include <QtTest>

#include <csignal>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
const QByteArray windowTitle = "ZUV-VirtualPlatform";
} // namespace

// Runs the real program (under the X server of the test run) and talks to it over the link's
// real ports, as a peer does.
class ProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void startsInOrderAndSendsTheWholeStateOnce();
    void appliesADocumentFromThePeer();
    void endsCleanly_data();
    void endsCleanly();
    void showsTheBoardWithEitherRenderer_data();
    void showsTheBoardWithEitherRenderer();
    void takenReceivePortEndsTheProgramBeforeAnyWindow();
    void withUnitsRunsTheBundledUnitsUnlessTheirPortIsTaken();
    void commandLineIsAnsweredBeforeAnyWindowOrPort_data();
    void commandLineIsAnsweredBeforeAnyWindowOrPort();

private:
    void start(QProcess& program, const QStringList& arguments = {},
               const QProcessEnvironment& environment = QProcessEnvironment());
    static bool waitForOutput(QProcess& program, const QByteArray& text, int timeoutMs = 15000);
    static void expectNoWarnings(const QByteArray& errors);

    QString executable;
    QByteArray output;
};

void ProgramTest::initTestCase()
{
    executable = QStringLiteral(ZUV_PROGRAM);
    QVERIFY(QFile::exists(executable));
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        QSKIP("needs an X server (the test command runs this under Xvfb)");
    // A program or peer that another session left running would answer in our place.
    for (const int port : {50000, 50001}) {
        const int handle = bindWithoutReuse(port);
        if (handle < 0)
            QFAIL(qPrintable(
                QString("UDP port %1 is in use by another process; end it and run again").arg(port)));
        ::close(handle);
    }
}

void ProgramTest::start(QProcess& program, const QStringList& arguments,
                        const QProcessEnvironment& environment)
{
    output.clear();
    QProcessEnvironment whole = QProcessEnvironment::systemEnvironment();
    whole.insert("QT_QPA_PLATFORM", "xcb");
    whole.insert(environment);
    program.setProcessEnvironment(whole);
    program.setProgram(executable);
    program.setArguments(arguments);
    program.start();
    QVERIFY(program.waitForStarted());
}

bool ProgramTest::waitForOutput(QProcess& program, const QByteArray& text, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QByteArray seen;
    while (timer.elapsed() < timeoutMs) {
        program.waitForReadyRead(50);
        seen = program.property("seen").toByteArray() + program.readAllStandardOutput();
        program.setProperty("seen", seen);
        if (seen.contains(text))
            return true;
        if (program.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

void ProgramTest::expectNoWarnings(const QByteArray& errors)
{
    for (const QByteArray& line : errors.split('\n')) {
        if (line.trimmed().isEmpty())
            continue;
        QFAIL(qPrintable("unexpected console output: " + QString::fromLocal8Bit(line)));
    }
}

void ProgramTest::startsInOrderAndSendsTheWholeStateOnce()
{
    QUdpSocket peer;
    QVERIFY(peer.bind(QHostAddress(QHostAddress::LocalHost), 50001));
    QProcess program;
    start(program);
    QVERIFY(waitForOutput(program, "Waiting for data...\n"));
    const QByteArray trace = program.property("seen").toByteArray();

    const int init = trace.indexOf("Init Windows Winsock API by calling WSAStartup()\n");
    const int started = trace.indexOf("Started\n");
    const int transmitting = trace.indexOf("Transmitting:\n");
    const int waiting = trace.indexOf("Waiting for data...\n");
    QCOMPARE(init, 0);
    QVERIFY(init < started && started < transmitting && transmitting < waiting);

    QTRY_VERIFY(peer.hasPendingDatagrams());
    QByteArray datagram(int(peer.pendingDatagramSize()), '\0');
    peer.readDatagram(datagram.data(), datagram.size());
    QCOMPARE(datagram.size(), 4096);
    const QJsonObject state = QJsonDocument::fromJson(datagram.left(datagram.indexOf('\0'))).object();
    QCOMPARE(state.size(), 49);
    // The start-up values, which the checker's scenarios start from: 0 and false throughout.
    for (auto member = state.constBegin(); member != state.constEnd(); ++member)
        QVERIFY2(member.value() == QJsonValue(0) || member.value() == QJsonValue(false),
                 qPrintable(member.key()));

    // Once the window is up, the program is ended: all it sent is then in the peer's socket.
    QTRY_VERIFY_WITH_TIMEOUT(isX11WindowShown(windowTitle), 10000);
    program.terminate();
    QVERIFY(program.waitForFinished(3000));
    QVERIFY2(!peer.hasPendingDatagrams(), "only one transmission at start-up");
    QCOMPARE((trace + program.readAllStandardOutput()).count("Transmitting:\n"), 1);
    expectNoWarnings(program.readAllStandardError());
}

void ProgramTest::appliesADocumentFromThePeer()
{
    QProcess program;
    start(program);
    QVERIFY(waitForOutput(program, "Waiting for data...\n"));
    QUdpSocket peer;
    peer.writeDatagram(R"({"cockpitVelocity":7,"lightDaylight":true,"alarmAlarmLight":true})",
                       QHostAddress::LocalHost, 50000);
    QVERIFY(waitForOutput(program, "Valid elements found: 3\n"));
    program.terminate();
    QVERIFY(program.waitForFinished(3000));
    expectNoWarnings(program.readAllStandardError());
}

void ProgramTest::endsCleanly_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("window closed") << "close";
    QTest::newRow("SIGTERM") << "term";
    QTest::newRow("SIGINT") << "int";
}

void ProgramTest::endsCleanly()
{
    QFETCH(QString, how);
    QProcess program;
    start(program);
    QVERIFY(waitForOutput(program, "Waiting for data...\n"));
    QTRY_VERIFY_WITH_TIMEOUT(isX11WindowShown(windowTitle), 10000);

    QElapsedTimer timer;
    timer.start();
    if (how == "close")
        QVERIFY(closeX11Window(windowTitle));
    else
        ::kill(static_cast<pid_t>(program.processId()), how == "term" ? SIGTERM : SIGINT);
    QVERIFY(program.waitForFinished(5000));
    const qint64 elapsed = timer.elapsed();
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    qInfo("ended %lld ms after the request", elapsed);
    expectNoWarnings(program.readAllStandardError());

    // The receive port is free again at once.
    const int handle = bindWithoutReuse(50000);
    QVERIFY(handle >= 0);
    ::close(handle);
}

void ProgramTest::showsTheBoardWithEitherRenderer_data()
{
    QTest::addColumn<QString>("renderer");
    QTest::addColumn<QString>("backendInEnvironment");
    QTest::addColumn<QByteArray>("sceneGraphSays"); // Qt Quick's own words for the scene graph it runs
    QTest::newRow("software") << "software" << QString() << QByteArray("Loading backend software");
    QTest::newRow("opengl over QT_QUICK_BACKEND") << "opengl"
                                                  << "software" << QByteArray("GL_RENDERER:");
}

void ProgramTest::showsTheBoardWithEitherRenderer()
{
    QFETCH(QString, renderer);
    QFETCH(QString, backendInEnvironment);
    QFETCH(QByteArray, sceneGraphSays);
    QUdpSocket peer;
    QVERIFY(peer.bind(QHostAddress(QHostAddress::LocalHost), 50001));
    QProcessEnvironment environment;
    environment.insert("QT_LOGGING_RULES", "qt.scenegraph.general.debug=true");
    if (!backendInEnvironment.isEmpty())
        environment.insert("QT_QUICK_BACKEND", backendInEnvironment);
    QProcess program;
    start(program, {"--renderer", renderer}, environment);

    // The board asks for the first transmission once it is complete.
    QTRY_VERIFY_WITH_TIMEOUT(peer.hasPendingDatagrams(), 15000);
    QCOMPARE(peer.pendingDatagramSize(), qint64(4096));
    QTRY_VERIFY_WITH_TIMEOUT(isX11WindowShown(windowTitle), 10000);
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += program.readAllStandardError()).contains(sceneGraphSays), 10000);
    program.terminate();
    QVERIFY(program.waitForFinished(3000));
    QCOMPARE(program.exitCode(), 0);
}

void ProgramTest::takenReceivePortEndsTheProgramBeforeAnyWindow()
{
    const int holder = bindWithoutReuse(50000);
    QVERIFY(holder >= 0);
    QProcess program;
    start(program);
    QVERIFY(program.waitForFinished(10000));
    ::close(holder);
    const QByteArray trace = program.readAllStandardOutput();
    QVERIFY2(trace.endsWith("Started\nErorr: Init receiver: -1\n"), trace.constData());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 255);
}

void ProgramTest::withUnitsRunsTheBundledUnitsUnlessTheirPortIsTaken()
{
    // The bundled units answer at once with their outputs (the heartbeat among them); they end with
    // the program.
    QProcess program;
    start(program, {"--with-units"});
    QVERIFY(waitForOutput(program, "Valid elements found"));
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    QCOMPARE(program.exitCode(), 0);
    const int handle = bindWithoutReuse(50001);
    QVERIFY2(handle >= 0, "the bundled units still hold their port");
    ::close(handle);

    // With other control units on the port, the program runs without the bundled ones and says so.
    const int holder = bindWithoutReuse(50001);
    QProcess alone;
    start(alone, {"--with-units"});
    QByteArray errors;
    QTRY_VERIFY_WITH_TIMEOUT((errors += alone.readAllStandardError()).contains("port 50001 is taken"), 15000);
    QCOMPARE(alone.state(), QProcess::Running);
    alone.terminate();
    QVERIFY(alone.waitForFinished(5000));
    ::close(holder);
}

void ProgramTest::commandLineIsAnsweredBeforeAnyWindowOrPort_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<QByteArray>("errors");
    QTest::newRow("--version") << QStringList{"--version"} << 0 << QByteArray("ZUV-VirtualPlatform 1.")
                               << QByteArray();
    QTest::newRow("--help") << QStringList{"--help"} << 0 << QByteArray("  -v, --version") << QByteArray();
    QTest::newRow("unknown option") << QStringList{"--bogus"} << 1 << QByteArray()
                                    << QByteArray("Unknown option 'bogus'");
    QTest::newRow("argument") << QStringList{"extra"} << 1 << QByteArray()
                              << QByteArray("unexpected argument 'extra'");
    QTest::newRow("unknown renderer") << QStringList{"--renderer", "vulkan"} << 1 << QByteArray()
                                      << QByteArray("unknown renderer 'vulkan' (auto, opengl or software)");
}

// With no display and the receive port taken, the program still answers: it opens neither.
void ProgramTest::commandLineIsAnsweredBeforeAnyWindowOrPort()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, output);
    QFETCH(QByteArray, errors);
    const int holder = bindWithoutReuse(50000);
    QVERIFY(holder >= 0);
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    program.setProcessEnvironment(environment);
    program.start(executable, arguments);
    const bool finished = program.waitForFinished(10000);
    ::close(holder);
    QVERIFY(finished);
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QByteArray standardOutput = program.readAllStandardOutput();
    const QByteArray standardError = program.readAllStandardError();
    QVERIFY2(standardOutput.contains(output), standardOutput.constData());
    QVERIFY2(standardError.contains(errors), standardError.constData());
    QVERIFY2(!standardOutput.contains("Started"), "the program went on to start");
}

QTEST_GUILESS_MAIN(ProgramTest)
#include "tst_program.moc"

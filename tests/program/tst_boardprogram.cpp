#include "BoardGeometry.h"
#include "UdpPorts.h"
#include "X11Session.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QUdpSocket>
#include <QtTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QByteArray windowTitle = "ZUV-VirtualPlatform";
const QStringList moduleInputs = {
    "alarmGenericButton",      "alarmAlarmButton",         "alarmLockButton",      "lightGenericButton",
    "windshieldGenericButton", "windshieldDistanceSensor", "windshieldLightSensor"};

QPoint inWindow(const QRect& window, const QPointF& point)
{
    return window.topLeft() + point.toPoint();
}

// Pixels that differ clearly between two grabs of the same area.
QVector<QPoint> changedPixels(const QImage& before, const QImage& after)
{
    QVector<QPoint> changed;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            const QRgb a = before.pixel(x, y);
            const QRgb b = after.pixel(x, y);
            const int difference = std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                             std::abs(qBlue(a) - qBlue(b))});
            if (difference > 40)
                changed.append(QPoint(x, y));
        }
    }
    return changed;
}

bool isUniform(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != image.pixel(0, 0))
                return false;
    return true;
}

} // namespace

// The complete program under the X server of the test run, worked like a user does: real pointer
// events at places on the screen, real datagrams from a peer on the link's ports, and the screen
// read back.
class BoardProgramTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void initialDocumentArrivesWhileTheWindowIsBuilt();
    void alarmLampShowsWhereTheBoardDrawsIt();
    void genericButtonPressAndReleaseAreSent();

private:
    void start();
    void stop();
    bool waitForOutput(const QByteArray& text, int times = 1, int timeoutMs = 15000);
    QJsonObject nextDocument(int timeoutMs = 3000);
    void send(const QByteArray& document);
    QImage waitForStableScreen(const QRect& area, int timeoutMs = 10000);

    QString executable;
    X11Session x11;
    QProcess program;
    QUdpSocket peer;
    QByteArray output;
    QRect window;
    QJsonObject initialDocument;
};

void BoardProgramTest::initTestCase()
{
    executable = QStringLiteral(ZUV_PROGRAM);
    QVERIFY(QFile::exists(executable));
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !x11.isOpen())
        QSKIP("needs an X server (the test command runs this under Xvfb)");
    QVERIFY2(x11.hasXTest(), "the X server has no XTest extension");
    for (const int port : {50000, 50001}) {
        const int handle = bindWithoutReuse(port);
        if (handle < 0)
            QFAIL(qPrintable(
                QString("UDP port %1 is in use by another process; end it and run again").arg(port)));
        ::close(handle);
    }
}

void BoardProgramTest::cleanup()
{
    if (program.state() != QProcess::NotRunning)
        stop();
    peer.close();
    x11.releaseButton();
}

// Starts the program with the peer already listening, and waits until its window shows the board
// at rest.
void BoardProgramTest::start()
{
    output.clear();
    QVERIFY(peer.bind(QHostAddress(QHostAddress::LocalHost), 50001));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.setProgram(executable);
    program.start();
    QVERIFY(program.waitForStarted());
    QVERIFY(waitForOutput("Waiting for data...\n"));
    QTRY_VERIFY_WITH_TIMEOUT(!(window = x11.windowGeometry(windowTitle)).isEmpty(), 10000);
    QCOMPARE(window.size(), QSize(800, 800));
    QVERIFY(!waitForStableScreen(window).isNull());
    initialDocument = nextDocument();
    QCOMPARE(initialDocument.size(), 49);
}

// Ends the program. Every datagram it sent is then in the peer's socket, and its whole trace in
// output.
void BoardProgramTest::stop()
{
    program.terminate();
    QVERIFY(program.waitForFinished(5000));
    output += program.readAllStandardOutput();
    QCOMPARE(program.exitCode(), 0);
    // Every QML warning goes to the error stream; there must be none.
    const QByteArray errors = program.readAllStandardError().trimmed();
    QVERIFY2(errors.isEmpty(), errors.constData());
}

// Waits until the program's output holds text at least times times.
bool BoardProgramTest::waitForOutput(const QByteArray& text, int times, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        program.waitForReadyRead(50);
        output += program.readAllStandardOutput();
        if (output.count(text) >= times)
            return true;
        if (program.state() == QProcess::NotRunning)
            return false;
    }
    return false;
}

QJsonObject BoardProgramTest::nextDocument(int timeoutMs)
{
    if (!peer.hasPendingDatagrams() && !peer.waitForReadyRead(timeoutMs))
        return {};
    QByteArray datagram(int(peer.pendingDatagramSize()), '\0');
    peer.readDatagram(datagram.data(), datagram.size());
    if (datagram.size() != 4096)
        return {};
    return QJsonDocument::fromJson(datagram.left(datagram.indexOf('\0'))).object();
}

void BoardProgramTest::send(const QByteArray& document)
{
    QUdpSocket sender;
    QCOMPARE(sender.writeDatagram(document, QHostAddress::LocalHost, 50000), qint64(document.size()));
}

// Grabs the area until the program has drawn it and it has come to rest. Until the first frame the
// window is one uniform colour; from then on the frames slide into their slots and the pictures
// are drawn, and the area is at rest once two grabs 200 ms apart agree.
QImage BoardProgramTest::waitForStableScreen(const QRect& area, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    QImage last = x11.grab(area);
    while (isUniform(last) && timer.elapsed() < timeoutMs) {
        QTest::qWait(20);
        last = x11.grab(area);
    }
    while (timer.elapsed() < timeoutMs) {
        QTest::qWait(200);
        const QImage next = x11.grab(area);
        if (next == last)
            return next;
        last = next;
    }
    return {};
}

// The board asks for one transmission while the window is being built, before the link starts
// receiving; nothing more is sent once the window is up and at rest, as no module view writes the
// model by itself.
void BoardProgramTest::initialDocumentArrivesWhileTheWindowIsBuilt()
{
    start();
    const int transmitting = output.indexOf("Transmitting:\n");
    const int waiting = output.indexOf("Waiting for data...\n");
    QVERIFY(transmitting > 0 && transmitting < waiting);
    for (const QString& input : moduleInputs)
        QCOMPARE(initialDocument.value(input).toVariant().toInt(), 0);

    stop();
    QVERIFY2(!peer.hasPendingDatagrams(), "nothing more is sent at start");
    QCOMPARE(output.count("Transmitting:\n"), 1);
}

// A document that switches the alarm lamp on lights the lamp on the screen, exactly where the
// lamp's picture lies on the alarm module; switched off, the screen is as before. The alarm module
// lies partly outside the window at start, so the board is first panned with the pointer.
void BoardProgramTest::alarmLampShowsWhereTheBoardDrawsIt()
{
    start();
    const qreal pan = -400;
    x11.drag(inWindow(window, QPointF(700, 60)), inWindow(window, QPointF(700 + pan, 60)));
    const QRectF module = boardModulePlace(window.size(), 2, pan);
    QVERIFY(QRectF(QPointF(0, 0), QSizeF(window.size())).contains(module));
    const QRect moduleOnScreen(inWindow(window, module.topLeft()), module.size().toSize());
    const QImage before = waitForStableScreen(moduleOnScreen);
    QVERIFY(!before.isNull());

    // Where the lamp's picture covers the module, drawn at the module's size.
    QSvgRenderer lampPicture(QStringLiteral(ZUV_ALARM_LAMP_PICTURE));
    QVERIFY(lampPicture.isValid());
    QImage lamp(moduleOnScreen.size(), QImage::Format_ARGB32_Premultiplied);
    lamp.fill(Qt::transparent);
    QPainter painter(&lamp);
    lampPicture.render(&painter);
    painter.end();
    // The lamp with its glow, and its solid core.
    QRect lampArea;
    int lampPixels = 0;
    for (int y = 0; y < lamp.height(); ++y) {
        for (int x = 0; x < lamp.width(); ++x) {
            const int alpha = qAlpha(lamp.pixel(x, y));
            if (alpha > 0)
                lampArea |= QRect(x, y, 1, 1);
            if (alpha > 128)
                ++lampPixels;
        }
    }
    QVERIFY(lampPixels > 0);

    send(R"({"alarmAlarmLight":true})");
    QVERIFY(waitForOutput("Valid elements found: 1\n"));
    QImage lit;
    QTRY_VERIFY_WITH_TIMEOUT(!changedPixels(before, lit = x11.grab(moduleOnScreen)).isEmpty(), 3000);
    lit = waitForStableScreen(moduleOnScreen);
    const QVector<QPoint> changed = changedPixels(before, lit);
    const QRect allowed = lampArea.adjusted(-3, -3, 3, 3);
    for (const QPoint& pixel : changed)
        QVERIFY2(
            allowed.contains(pixel),
            qPrintable(QString("a pixel changed outside the lamp: %1, %2").arg(pixel.x()).arg(pixel.y())));
    QVERIFY2(changed.size() > lampPixels / 3,
             qPrintable(QString("%1 of %2 lamp pixels lit").arg(changed.size()).arg(lampPixels)));

    send(R"({"alarmAlarmLight":false})");
    QVERIFY(waitForOutput("Valid elements found: 1\n", 2));
    QTRY_VERIFY_WITH_TIMEOUT(changedPixels(before, x11.grab(moduleOnScreen)).isEmpty(), 3000);
    stop();
    QVERIFY2(!peer.hasPendingDatagrams(), "showing outputs sends nothing");
}

// A press on the lights module's generic button, at its place on the screen, sends the whole state
// with lightGenericButton true; the release sends it with false. Hovering sends nothing. The X
// server delivers hover, press and release in this order and the program sends in the order it
// handles them, so a document too many would come before the press's or the release's, or be left
// in the peer's socket once the program has ended.
void BoardProgramTest::genericButtonPressAndReleaseAreSent()
{
    start();
    const QRectF module = boardModulePlace(window.size(), 1);
    const QPoint button =
        inWindow(window, module.topLeft() + QPointF(0.235 * module.width(), 0.610 * module.height()));
    x11.movePointer(button);
    x11.pressButton();
    QJsonObject state = nextDocument();
    QCOMPARE(state.size(), 49);
    QVERIFY2(state.value("lightGenericButton").toBool(),
             "the first document after hovering is not the press's");
    for (const QString& input : moduleInputs)
        if (input != "lightGenericButton")
            QCOMPARE(state.value(input).toVariant().toInt(), 0);

    x11.releaseButton();
    state = nextDocument();
    QCOMPARE(state.size(), 49);
    QVERIFY2(!state.value("lightGenericButton").toBool(), "the press sent more than one document");

    stop();
    QVERIFY2(!peer.hasPendingDatagrams(), "the release sent more than one document");
}

QTEST_MAIN(BoardProgramTest)
#include "tst_boardprogram.moc"

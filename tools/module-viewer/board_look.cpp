// Runs the complete program under the current X display, works it like a user and a peer do, and
// saves screenshots of what the screen shows. Usage (under Xvfb, with the link's ports free):
//
//   board-look [--out DIR] [--size WxH]
//
// It pans the board to each module, opens both sensor pop-ups and works them, turns the wiper arm
// with documents from a peer, lights every lamp, and shows the cockpit in its module.

#include "BoardGeometry.h"
#include "X11Session.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>
#include <QHostAddress>
#include <QImage>
#include <QProcess>
#include <QTest>
#include <QTextStream>
#include <QUdpSocket>

#include <algorithm>

namespace {

const QByteArray windowTitle = "ZUV-VirtualPlatform";

class BoardLook
{
public:
    BoardLook(QString program, QString outDir, QSize size)
        : m_program(std::move(program)), m_outDir(std::move(outDir)), m_size(size)
    {
    }

    int run()
    {
        if (!m_x11.isOpen() || !m_x11.hasXTest()) {
            say("needs an X display with the XTest extension");
            return 1;
        }
        if (!m_peer.bind(QHostAddress(QHostAddress::LocalHost), 50001)) {
            say("port 50001 is taken");
            return 1;
        }
        m_process.setProgram(m_program);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted())
            return 1;
        for (int i = 0; i < 100 && (m_window = m_x11.windowGeometry(windowTitle)).isEmpty(); ++i)
            QTest::qWait(100);
        if (m_window.isEmpty()) {
            say("no window");
            return 1;
        }
        if (m_size != m_window.size()) {
            m_x11.resizeWindow(windowTitle, m_size);
            QTest::qWait(500);
            m_window = m_x11.windowGeometry(windowTitle);
        }
        settle(1500);
        shots();
        m_process.terminate();
        m_process.waitForFinished(5000);
        drainPeer();
        return 0;
    }

private:
    void shots()
    {
        const QString prefix = QString("%1x%2-").arg(m_window.width()).arg(m_window.height());
        save(prefix + "board-start");

        // Each module in the middle of the window.
        const char* names[] = {"cockpit", "lights", "alarm", "windshield"};
        for (int slot = 0; slot < 4; ++slot) {
            panTo(slot);
            save(prefix + "board-at-" + names[slot]);
        }

        // Every lamp lit.
        panTo(1);
        send(R"({"lightDaylight":true,"lightUpperBeamHeadlight":true,"lightLowerBeamHeadlight":true,
                "lightFoglightLeft":true,"lightFoglightRight":true,"lightIndicatorLeft":true,"lightIndicatorRight":true,
                "lightReverselight":true,"lightBrakelight":true,"lightBacklight":true,"lightGenericLightLeft":true,
                "lightGenericLightUp":true,"lightGenericLightRight":true,"lightGenericLightDown":true,
                "alarmAlarmLight":true,"alarmLockLight":true,"alarmGenericLightLeft":true,"alarmGenericLightUp":true,
                "alarmGenericLightRight":true,"alarmGenericLightDown":true,"windshieldHeater":true,
                "windshieldWasherPump":true,"windshieldGenericLightLeft":true,"windshieldGenericLightUp":true,
                "windshieldGenericLightRight":true,"windshieldGenericLightDown":true})");
        settle();
        save(prefix + "lamps-on-at-lights");
        panTo(2);
        save(prefix + "lamps-on-at-alarm");
        // Only the left fog light: it lights the lamp drawn on the right (the fog lamps are crossed).
        send(R"({"lightFoglightLeft":true,"lightFoglightRight":false,"lightLowerBeamHeadlight":false,
                "lightUpperBeamHeadlight":false,"lightDaylight":false})");
        panTo(1);
        save(prefix + "fog-left-only");

        // The wiper arm, driven step by step by the peer's phase patterns.
        panTo(3);
        const int patterns[] = {3, 9, 12, 6};
        int step = 0;
        for (const int target : {8, 16, 32}) {
            for (; step < target; ++step) {
                const int pattern = patterns[step % 4];
                send(
                    QString(
                        R"({"windshieldWiperA":%1,"windshieldWiperB":%2,"windshieldWiperC":%3,"windshieldWiperD":%4})")
                        .arg(pattern & 8 ? "true" : "false", pattern & 4 ? "true" : "false",
                             pattern & 2 ? "true" : "false", pattern & 1 ? "true" : "false")
                        .toUtf8());
                QTest::qWait(30);
            }
            settle();
            save(prefix + QString("wiper-%1-steps").arg(step));
        }

        // The infrared sensor pop-up, the object moved halfway toward the sensor.
        const QRectF windshield = boardModulePlace(m_window.size(), 3, m_panned);
        click(windshield.topLeft() + QPointF(0.687 * windshield.width(), 0.631 * windshield.height()));
        settle();
        save(prefix + "infrared-open");
        const QPointF frameTopLeft =
            windshield.topLeft() +
            QPointF(0.25 * windshield.width(), 0.5 * windshield.height() - (0.25 * windshield.height() + 10));
        const qreal sensorWidth = int(0.5 * windshield.width());
        const qreal sensorHeight = int(0.5 * windshield.height());
        const QPointF handle = frameTopLeft + QPointF(0.86 * sensorWidth, 20 + 0.5 * sensorHeight);
        m_x11.drag(at(handle), at(handle - QPointF(0.3 * sensorWidth, 0)));
        settle();
        save(prefix + "infrared-dragged");
        say("sent after the release: " + lastSent());
        // Closed by its icon.
        click(frameTopLeft + QPointF(sensorWidth - 9, 10));

        // The light sensor pop-up: night at first, day after a click.
        click(windshield.topLeft() + QPointF(0.854 * windshield.width(), 0.813 * windshield.height()));
        settle(800);
        save(prefix + "light-sensor-open");
        const QPointF lightSwitch =
            windshield.topLeft() + QPointF(0.5 * windshield.width(), 0.5 * windshield.height() + 10);
        click(lightSwitch);
        settle(800);
        save(prefix + "light-sensor-day");
        say("sent after the click: " + lastSent());

        // Closed by its icon.
        const qreal lightFrameSide = int(0.5 * windshield.height());
        click(windshield.topLeft() + QPointF(0.5 * windshield.width() + lightFrameSide / 2 - 9,
                                             0.5 * windshield.height() - (lightFrameSide + 20) / 2 + 10));

        // The cockpit in its module.
        panTo(0);
        save(prefix + "cockpit");

        // The whole row in the middle of the window.
        const QRectF lights = boardModulePlace(m_window.size(), 1, m_panned);
        panBy(qRound(m_window.width() / 2.0 - (lights.center().x() + 221)));
        save(prefix + "board-whole-row");
    }

    QPoint at(const QPointF& inWindow) const { return m_window.topLeft() + inWindow.toPoint(); }

    void click(const QPointF& inWindow)
    {
        m_x11.movePointer(at(inWindow));
        m_x11.pressButton();
        m_x11.releaseButton();
        QTest::qWait(100);
    }

    // Pans the board by dragging on the free space above the modules, in pieces that stay inside
    // the window, so that the module in slot lies in the middle of the window.
    void panTo(int slot)
    {
        const QRectF module = boardModulePlace(m_window.size(), slot, m_panned);
        panBy(qRound(m_window.width() / 2.0 - module.center().x()));
    }

    void panBy(int shift)
    {
        int left = shift;
        const int limit = int(0.4 * m_window.width());
        const int middle = m_window.width() / 2;
        while (left != 0) {
            const int piece = std::clamp(left, -limit, limit);
            const QPoint from(middle - piece / 2, 20);
            m_x11.drag(at(from), at(from + QPoint(piece, 0)));
            m_panned += piece;
            left -= piece;
        }
        settle();
    }

    void send(const QByteArray& document)
    {
        QUdpSocket sender;
        sender.writeDatagram(document, QHostAddress::LocalHost, 50000);
        QTest::qWait(20);
    }

    void drainPeer() { lastSent(); }

    // The last document that the program sent since the last call.
    QString lastSent()
    {
        QByteArray last;
        while (m_peer.hasPendingDatagrams()) {
            QByteArray datagram(int(m_peer.pendingDatagramSize()), '\0');
            m_peer.readDatagram(datagram.data(), datagram.size());
            last = datagram.left(datagram.indexOf('\0'));
        }
        return QString::fromUtf8(last);
    }

    void settle(int ms = 400) { QTest::qWait(ms); }

    void save(const QString& name)
    {
        const QString path = QDir(m_outDir).filePath(name + ".png");
        const bool saved = m_x11.grab(m_window).save(path);
        say((saved ? "saved " : "could not save ") + path);
    }

    static void say(const QString& text) { QTextStream(stdout) << text << Qt::endl; }

    QString m_program;
    QString m_outDir;
    QSize m_size;
    X11Session m_x11;
    QProcess m_process;
    QUdpSocket m_peer;
    QRect m_window;
    qreal m_panned = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    // This tool draws nothing itself; it only reads the X screen.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption outOption("out", "Directory for the screenshots.", "dir", ".");
    const QCommandLineOption sizeOption("size", "Window size, WxH.", "size", "800x800");
    parser.addOptions({outOption, sizeOption});
    parser.process(app);
    const QStringList size = parser.value(sizeOption).split('x');
    QDir().mkpath(parser.value(outOption));
    BoardLook look(QStringLiteral(ZUV_PROGRAM), parser.value(outOption),
                   QSize(size.value(0).toInt(), size.value(1).toInt()));
    return look.run();
}

#include "Connectivity/UDPTransceiver.h"
#include "StdoutCapture.h"
#include "UdpPorts.h"

#include <QtTest>

#include <future>
#include <string>
#include <vector>

using JOLV::Connectivity::UDPTransceiver;

class UdpTransceiverTest : public QObject
{
    Q_OBJECT

private slots:
    void addressTextLongerThanItsFieldIsRefused_data();
    void addressTextLongerThanItsFieldIsRefused();
    void transmitterAcceptsAnyTextButCannotSendToNoAddress();
    void bindToATakenPortFailsSilently();
    void datagramsOfEveryLengthArriveWhole_data();
    void datagramsOfEveryLengthArriveWhole();
    void longerDatagramIsReportedAsCut();
    void blockingReceiveWaitsAndShutdownReleasesIt();
    void optionsOnAClosedSocketReportAsDocumented();

private:
    // A transceiver bound to a free port that sends to itself on the loopback address.
    static bool openLink(UDPTransceiver& link)
    {
        return link.initSocket() == 0 && link.initReuseAddr() == 0 &&
               link.initReceiver("127.0.0.1", 0) == 0 &&
               link.initTransmitter("127.0.0.1", link.boundPort()) == 0;
    }
};

void UdpTransceiverTest::addressTextLongerThanItsFieldIsRefused_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("expected");
    QTest::newRow("63 characters fit") << 63 << 0;
    QTest::newRow("64 characters do not") << 64 << -1;
    QTest::newRow("1000 characters do not") << 1000 << -1;
}

void UdpTransceiverTest::addressTextLongerThanItsFieldIsRefused()
{
    QFETCH(int, length);
    QFETCH(int, expected);
    const std::string text(static_cast<std::size_t>(length), '1');
    UDPTransceiver link;
    QCOMPARE(link.initSocket(), 0);
    QCOMPARE(link.initTransmitter(text.c_str(), 9), expected);
    if (expected != 0)
        QCOMPARE(link.initReceiver(text.c_str(), 0), expected);
    link.deinitSocket();
}

void UdpTransceiverTest::transmitterAcceptsAnyTextButCannotSendToNoAddress()
{
    UDPTransceiver link;
    QCOMPARE(link.initSocket(), 0);
    QCOMPARE(link.initTransmitter("not an address", 50001), 0);
    char data[4] = "abc";
    QCOMPARE(link.transmit(data, 3), -1);
    link.deinitSocket();
}

void UdpTransceiverTest::bindToATakenPortFailsSilently()
{
    // A socket without address reuse holds the port.
    const SOCKET holder = bindWithoutReuse(0);
    QVERIFY(holder >= 0);
    sockaddr_in address{};
    socklen_t length = sizeof address;
    QCOMPARE(::getsockname(holder, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const int port = ntohs(address.sin_port);

    UDPTransceiver link;
    QCOMPARE(link.initSocket(), 0);
    QCOMPARE(link.initReuseAddr(), 0);
    StdoutCapture capture;
    QCOMPARE(link.initReceiver("127.0.0.1", port), -1);
    capture.restore();
    QCOMPARE(capture.text(), QByteArray());
    link.deinitSocket();
    closesocket(holder);
}

void UdpTransceiverTest::datagramsOfEveryLengthArriveWhole_data()
{
    QTest::addColumn<int>("length");
    QTest::newRow("empty") << 0;
    QTest::newRow("short") << 22;
    QTest::newRow("exactly the buffer") << 4096;
}

void UdpTransceiverTest::datagramsOfEveryLengthArriveWhole()
{
    QFETCH(int, length);
    UDPTransceiver link;
    QVERIFY(openLink(link));
    std::vector<char> sent(static_cast<std::size_t>(length) + 1, 'x');
    QCOMPARE(link.transmit(sent.data(), static_cast<unsigned long long>(length)), length);

    std::vector<char> buffer(4096, 0);
    QCOMPARE(link.receive(buffer.data(), 4096), length);

    QCOMPARE(link.transmit(sent.data(), static_cast<unsigned long long>(length)), length);
    const auto datagram = link.receiveDatagram(buffer.data(), 4096);
    QCOMPARE(datagram.bytes, length);
    QVERIFY(!datagram.truncated);
    QVERIFY(datagram.fromLoopback());
    link.deinitSocket();
}

void UdpTransceiverTest::longerDatagramIsReportedAsCut()
{
    UDPTransceiver link;
    QVERIFY(openLink(link));
    std::vector<char> sent(5000, 'y');
    QCOMPARE(link.transmit(sent.data(), 5000), 5000);
    std::vector<char> buffer(4096, 0);
    const auto datagram = link.receiveDatagram(buffer.data(), 4096);
    QVERIFY(datagram.truncated);
    QCOMPARE(datagram.bytes, 4096);
    QCOMPARE(datagram.length, 5000ull);

    // The next datagram is received on its own, untouched by the cut one.
    char next[3] = "ok";
    QCOMPARE(link.transmit(next, 2), 2);
    std::fill(buffer.begin(), buffer.end(), 0);
    const auto following = link.receiveDatagram(buffer.data(), 4096);
    QCOMPARE(following.bytes, 2);
    QCOMPARE(QByteArray(buffer.data()), QByteArray("ok"));
    link.deinitSocket();
}

void UdpTransceiverTest::blockingReceiveWaitsAndShutdownReleasesIt()
{
    UDPTransceiver link;
    QVERIFY(openLink(link));
    char buffer[4096];
    auto pending = std::async(std::launch::async, [&] { return link.receive(buffer, sizeof buffer); });
    QCOMPARE(pending.wait_for(std::chrono::milliseconds(150)), std::future_status::timeout);
    char data[6] = "hello";
    link.transmit(data, 5);
    QCOMPARE(pending.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    QCOMPARE(pending.get(), 5);

    // Shutting the receiving side down releases a receive that waits (the link's stop relies on it).
    auto waiting =
        std::async(std::launch::async, [&] { return link.receiveDatagram(buffer, sizeof buffer); });
    QCOMPARE(waiting.wait_for(std::chrono::milliseconds(100)), std::future_status::timeout);
    link.deinitReceiver();
    QCOMPARE(waiting.wait_for(std::chrono::seconds(2)), std::future_status::ready);
    QVERIFY(waiting.get().bytes <= 0);
    link.deinitSocket();
}

void UdpTransceiverTest::optionsOnAClosedSocketReportAsDocumented()
{
    UDPTransceiver link;
    QCOMPARE(link.initSocket(), 0);
    QCOMPARE(link.deinitSocket(), 0);
    QCOMPARE(link.setLoopback(1), 0);
    QCOMPARE(link.setSocketNonBlocking(), 0);
    QCOMPARE(link.initLimitTTL(1), -1);

    StdoutCapture capture;
    QCOMPARE(link.initReuseAddr(), -1);
    capture.restore();
    const QString text = QString::fromLocal8Bit(capture.text());
    QVERIFY2(QRegularExpression("^Error: \\d+ - [^\\n]+\\n\\r$").match(text).hasMatch(), qPrintable(text));
}

QTEST_GUILESS_MAIN(UdpTransceiverTest)
#include "tst_udptransceiver.moc"

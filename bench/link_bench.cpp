// Figures of the link on this machine, measured in one run so that they can be compared:
//  - the raw loopback UDP round trip of a 4096-byte datagram (the floor of any exchange),
//  - the receive rules for one full 49-value document and for a typical 3-value one, and the
//    application of their assignments to the model,
//  - transmission: a module input's setter call until sendto has returned (serialise, trace,
//    frame, send), with the trace going to /dev/null.
#include "BenchStats.h"
#include "StateDatagram.h"
#include "VirtualPlatformDataManager.h"
#include "VirtualPlatformDataModel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaProperty>
#include <QThread>
#include <QUdpSocket>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

double micros(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::micro>(to - from).count();
}

// Two full documents that differ in every value, so that every apply changes all 49 properties.
std::vector<QByteArray> alternatingDocuments()
{
    std::vector<QByteArray> framed;
    for (int variant = 0; variant < 2; ++variant) {
        VirtualPlatformDataModel model;
        const QMetaObject* meta = model.metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            property.write(&model, property.userType() == QMetaType::Bool ? QVariant(variant == 1)
                                                                          : QVariant(variant * 100 + i));
        }
        QJsonObject object;
        model.serializeJson(object);
        QByteArray datagram(int(StateDatagram::size), '\0');
        StateDatagram::frame(StateDatagram::compactText(QJsonDocument(object)), datagram.data());
        framed.push_back(datagram);
    }
    return framed;
}

void benchRoundTrip(int rounds)
{
    QUdpSocket a, b;
    a.bind(QHostAddress(QHostAddress::LocalHost), 0);
    b.bind(QHostAddress(QHostAddress::LocalHost), 0);
    QByteArray datagram(4096, 'x');
    BenchStats stats;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        a.writeDatagram(datagram, QHostAddress::LocalHost, b.localPort());
        while (!b.hasPendingDatagrams())
            b.waitForReadyRead(100);
        b.readDatagram(datagram.data(), datagram.size());
        b.writeDatagram(datagram, QHostAddress::LocalHost, a.localPort());
        while (!a.hasPendingDatagrams())
            a.waitForReadyRead(100);
        a.readDatagram(datagram.data(), datagram.size());
        stats.samples.push_back(micros(start, Clock::now()));
    }
    stats.print("raw loopback UDP round trip, 4096 bytes");
}

// A document as the control units send it: the few values that changed.
std::vector<QByteArray> typicalDocuments()
{
    std::vector<QByteArray> framed;
    for (const char* text :
         {R"({"lightIndicatorLeft":true,"lightIndicatorRight":true,"alarmGenericLightUp":true})",
          R"({"lightIndicatorLeft":false,"lightIndicatorRight":false,"alarmGenericLightUp":false})"}) {
        QByteArray datagram(int(StateDatagram::size), '\0');
        StateDatagram::frame(text, datagram.data());
        framed.push_back(datagram);
    }
    return framed;
}

// One received document as the program takes it: the receive rules in the link thread (cut, parse,
// assignments), then the assignments applied to the model in the main thread.
void benchReceive(int rounds, bool typical)
{
    const auto documents = typical ? typicalDocuments() : alternatingDocuments();
    VirtualPlatformDataModel model;
    BenchStats rules;
    BenchStats whole;
    for (int i = 0; i < rounds; ++i) {
        const QByteArray& datagram = documents[std::size_t(i % 2)];
        const auto start = Clock::now();
        const auto received = StateDatagram::receive(datagram);
        const auto judged = Clock::now();
        const int count = model.apply(received.assignments);
        const auto applied = Clock::now();
        rules.samples.push_back(micros(start, judged));
        whole.samples.push_back(micros(start, applied));
        if (count != (typical ? 3 : 49))
            std::abort();
    }
    const char* what = typical ? "3-value document" : "full document";
    rules.print(std::string("receive rules (cut, parse, assignments), ") + what);
    whole.print(std::string("rules + apply to the model, ") + what);
    std::printf("%-58s %.0f documents/s at the median\n", "", 1e6 / whole.percentile(50));
}

void benchTransmit(int rounds)
{
    QUdpSocket peer;
    peer.bind(QHostAddress(QHostAddress::LocalHost), 0);
    VirtualPlatformDataModel model;
    VirtualPlatformDataManager::Endpoints endpoints;
    endpoints.receivePort = 0;
    endpoints.transmitPort = peer.localPort();
    VirtualPlatformDataManager manager(&model, endpoints);

    // The trace of every transmission goes to /dev/null, as with a redirected console.
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    BenchStats stats;
    QByteArray buffer(8192, '\0');
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        model.setAlarmAlarmButton(i % 2 == 0); // module input: transmits inside the call
        stats.samples.push_back(micros(start, Clock::now()));
        while (peer.hasPendingDatagrams())
            peer.readDatagram(buffer.data(), buffer.size());
    }
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    ::close(null);
    stats.print("setter call to sendto returned (trace to /dev/null)");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 20000;
    std::printf("link figures, %d rounds each, %u hardware threads\n", rounds,
                std::thread::hardware_concurrency());
    benchRoundTrip(rounds / 4);
    benchReceive(rounds, false);
    benchReceive(rounds, true);
    benchTransmit(rounds / 4);
    return 0;
}

#include "VirtualPlatformDataManager.h"

#include "StateDatagram.h"
#include "ThreadSanitizer.h"
#include "Trace.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

std::string dottedAddress(std::uint32_t address)
{
    return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xff) + '.' +
           std::to_string((address >> 8) & 0xff) + '.' + std::to_string(address & 0xff);
}

[[noreturn]] void failSetUp(const char* message, int result)
{
    Trace::line(std::string(message) + std::to_string(result));
    std::exit(-1);
}

} // namespace

VirtualPlatformDataManager::VirtualPlatformDataManager(VirtualPlatformDataModel* model)
    : VirtualPlatformDataManager(model, Endpoints{})
{
}

VirtualPlatformDataManager::VirtualPlatformDataManager(VirtualPlatformDataModel* model,
                                                       const Endpoints& endpoints)
    : QThread(nullptr), model(model)
{
    setUp(endpoints);
    ZUV_HAPPENS_BEFORE(this); // the link thread starts after construction
    connect(model, SIGNAL(localBasedDataChanged()), this, SLOT(handleModelUpdate()));
    connect(model, SIGNAL(requestTransmit()), this, SLOT(handleModelUpdate()));
}

VirtualPlatformDataManager::~VirtualPlatformDataManager()
{
    stop();
    if (socketOpen)
        transceiver.deinitSocket();
}

void VirtualPlatformDataManager::setUp(const Endpoints& endpoints)
{
    int result = transceiver.initSocket();
    if (result != 0)
        failSetUp("Erorr: Init socket: ", result);
    socketOpen = true;
    // WinSock would otherwise fail the next receive after each datagram sent to a closed port.
    transceiver.ignoreConnectionResets();
    result = transceiver.initReuseAddr();
    if (result != 0)
        failSetUp("Erorr: Init reuse addr: ", result);
    result = transceiver.initReceiver("127.0.0.1", endpoints.receivePort);
    if (result != 0)
        failSetUp("Erorr: Init receiver: ", result);
    result = transceiver.initTransmitter(endpoints.transmitAddress, endpoints.transmitPort);
    if (result != 0)
        failSetUp("Erorr: Init transmitter: ", result);
}

void VirtualPlatformDataManager::stop()
{
    stopRequested = true;
    backlogChanged.notify_all();
    if (!isRunning())
        return;
    if (socketOpen && transceiver.interruptReceive())
        socketOpen = false;
    wait();
    ZUV_HAPPENS_AFTER(this);
}

void VirtualPlatformDataManager::handleModelUpdate()
{
    char buffer[StateDatagram::size] = {};
    QJsonObject object;
    model->serializeJson(object);
    const QJsonDocument document(object);
    const QByteArray compact = StateDatagram::compactText(document);
    Trace::write("Transmitting:\n" + document.toJson().toStdString() + "\n\n");
    if (!StateDatagram::frame(compact, buffer)) {
        Trace::line("\tnot sent: the document (" + std::to_string(compact.size()) +
                    " bytes) does not fit one datagram");
        return;
    }
    transceiver.transmit(buffer, transmitBufferLength);
}

std::string VirtualPlatformDataManager::rejection(const Datagram& datagram) const
{
    if (datagram.bytes < 0) {
        return "\treceived bytes: -1\n\treceived str len: 0\n\treceive error " +
               std::to_string(WSAGetLastError()) + ", nothing applied\n\n";
    }
    if (datagram.truncated) {
        return "\tdropped a datagram longer than " + std::to_string(receiveBufferLength) + " bytes (" +
               std::to_string(datagram.length) + " bytes)\n\n";
    }
    if (!datagram.fromLoopback())
        return "\tdropped a datagram from " + dottedAddress(datagram.senderAddress) +
               ", not a loopback address\n\n";
    return {};
}

int VirtualPlatformDataManager::mergeWaiting(const char* buffer, const Datagram& datagram,
                                             QJsonObject& merged, int alreadyMerged, int limit)
{
    constexpr int batch = 16;
    char newer[batch][StateDatagram::size];
    Datagram received[batch];
    int mergedDocuments = 0;
    while (mergedDocuments < limit && !stopRequested) {
        const int count = transceiver.receiveWaiting(newer[0], receiveBufferLength, received, batch);
        for (int i = 0; i < count; ++i) {
            const std::string rejected = rejection(received[i]);
            if (!rejected.empty()) {
                Trace::write(rejected);
                continue;
            }
            if (alreadyMerged + mergedDocuments == 0) {
                merged = QJsonDocument::fromJson(
                             StateDatagram::textOf(buffer, static_cast<std::size_t>(datagram.bytes)))
                             .object();
            }
            const QJsonObject later =
                QJsonDocument::fromJson(
                    StateDatagram::textOf(newer[i], static_cast<std::size_t>(received[i].bytes)))
                    .object();
            for (auto member = later.begin(); member != later.end(); ++member)
                merged.insert(member.key(), member.value());
            ++mergedDocuments;
        }
        if (count < batch)
            break;
    }
    return mergedDocuments;
}

int VirtualPlatformDataManager::waitForScene(const char* buffer, const Datagram& datagram,
                                             QJsonObject& merged, int alreadyMerged)
{
    int mergedDocuments = 0;
    std::unique_lock<std::mutex> lock(backlogMutex);
    while (pendingDocuments >= maxPendingDocuments && !stopRequested) {
        backlogChanged.wait_for(lock, std::chrono::milliseconds(1));
        lock.unlock();
        // Merge what is waiting into the held document; the socket is not left to fill up.
        mergedDocuments +=
            mergeWaiting(buffer, datagram, merged, alreadyMerged + mergedDocuments, maxMergedPerCycle);
        lock.lock();
    }
    ++pendingDocuments;
    return mergedDocuments;
}

void VirtualPlatformDataManager::documentDelivered()
{
    {
        std::lock_guard<std::mutex> lock(backlogMutex);
        --pendingDocuments;
    }
    backlogChanged.notify_all();
}

std::string VirtualPlatformDataManager::receiveCycle(char* buffer)
{
    std::memset(buffer, 0, receiveBufferLength);
    auto datagram = transceiver.receiveDatagram(buffer, receiveBufferLength);
    if (stopRequested)
        return {};
    const std::string rejected = rejection(datagram);
    if (!rejected.empty()) {
        if (datagram.bytes < 0) // a persistent error must not turn the loop into a busy one
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return rejected;
    }

    // A peer that sends faster than the link applies fills the socket; once the next datagram has
    // been waiting after many cycles in a row, the link catches up by merging what is waiting.
    backToBackCycles = transceiver.datagramWaiting() ? backToBackCycles + 1 : 0;
    QJsonObject merged;
    int mergedDocuments = 0;
    if (backToBackCycles >= overloadCycles)
        mergedDocuments = mergeWaiting(buffer, datagram, merged, 0, maxMergedPerCycle);
    mergedDocuments += waitForScene(buffer, datagram, merged, mergedDocuments);
    if (stopRequested)
        return {};
    StateDatagram::Applied applied;
    std::string trace;
    if (mergedDocuments == 0) {
        applied = StateDatagram::apply(*model, buffer, static_cast<std::size_t>(datagram.bytes));
    } else {
        applied.textLength = StateDatagram::textOf(buffer, static_cast<std::size_t>(datagram.bytes)).size();
        applied.document = QJsonDocument(merged);
        applied.count = model->deserializeJson(merged);
        trace =
            "\tmerged " + std::to_string(mergedDocuments) + " later documents into this one to catch up\n";
    }
    // Queued behind the document's change signals: runs once the main thread has delivered them.
    QMetaObject::invokeMethod(
        this, [this] { documentDelivered(); }, Qt::QueuedConnection);

    return trace + "\treceived bytes: " + std::to_string(datagram.bytes) +
           "\n\treceived str len: " + std::to_string(applied.textLength) + "\nReceived string:\n" +
           applied.document.toJson().toStdString() +
           "\nValid elements found: " + std::to_string(applied.count) + "\n\n";
}

void VirtualPlatformDataManager::run()
{
    ZUV_HAPPENS_AFTER(this);
    char buffer[StateDatagram::size];
    while (!stopRequested) {
        Trace::line("Waiting for data...");
        const std::string block = receiveCycle(buffer);
        if (stopRequested)
            break;
        Trace::write(block);
    }
    ZUV_HAPPENS_BEFORE(this);
}

#include "VirtualPlatformDataManager.h"

#include "Faults/FaultSession.h"
#include "StateDatagram.h"
#include "ThreadSanitizer.h"
#include "Trace.h"
#include "VirtualPlatformDataModel.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <array>
#include <chrono>
#include <cstdlib>
#include <utility>

namespace {

[[noreturn]] void failSetUp(const char* message, int result)
{
    Trace::line(std::string(message) + std::to_string(result));
    std::exit(-1);
}

// The trace of one receive cycle.
std::string cycleTrace(const StateDatagram::Received& received)
{
    if (received.dropped())
        return '\t' + received.reason() + "\n\n";
    return "\treceived bytes: " + std::to_string(received.length) +
           "\n\treceived str len: " + std::to_string(received.textLength) + "\nReceived string:\n" +
           received.document.toJson().toStdString() +
           "\nValid elements found: " + std::to_string(received.assignments.count) + "\n\n";
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
    if (!isRunning())
        return;
    if (socketOpen && transceiver.interruptReceive())
        socketOpen = false;
    wait();
    ZUV_HAPPENS_AFTER(this);
}

void VirtualPlatformDataManager::setFaults(FaultSession* session)
{
    faults = session;
    connect(&faults->toPeer(), &LinkConditioner::delivered, this,
            [this](const QByteArray& datagram) { send(datagram.constData(), std::size_t(datagram.size())); });
    connect(&faults->toProgram(), &LinkConditioner::delivered, this, [this](const QByteArray& datagram) {
        applyReceived(StateDatagram::receive(datagram).assignments);
    });
    // Faults that start or end change what is shown and what is sent.
    const auto reshow = [this] {
        model->apply(faults->values().shownNow(FaultSession::now()));
        handleModelUpdate();
    };
    connect(faults, &FaultSession::changed, this, reshow);
    model->apply(faults->values().shownNow(FaultSession::now())); // a stuck lamp is lit from the start
}

void VirtualPlatformDataManager::handleModelUpdate()
{
    if (applying) {
        ++transmissionsDue;
        return;
    }
    char buffer[StateDatagram::size] = {};
    QJsonObject object;
    if (faults && !faults->values().empty()) {
        std::array<int, StateValues::count> values{};
        for (int index = 0; index < StateValues::count; ++index)
            values[static_cast<std::size_t>(index)] = model->value(index);
        faults->values().sending(values, FaultSession::now());
        for (int index = 0; index < StateValues::count; ++index)
            object.insert(QLatin1String(StateValues::table[index].name),
                          StateValues::toJson(index, values[static_cast<std::size_t>(index)]));
    } else {
        model->serializeJson(object);
    }
    const QJsonDocument document(object);
    const QByteArray compact = StateDatagram::compactText(document);
    Trace::write("Transmitting:\n" + document.toJson().toStdString() + "\n\n");
    if (!StateDatagram::frame(compact, buffer)) {
        Trace::line("\tnot sent: the document (" + std::to_string(compact.size()) +
                    " bytes) does not fit one datagram");
        return;
    }
    if (faults && faults->toPeer().active())
        faults->toPeer().submit(QByteArray(buffer, int(transmitBufferLength)));
    else
        send(buffer, transmitBufferLength);
}

void VirtualPlatformDataManager::send(const char* datagram, std::size_t length)
{
    transceiver.transmit(const_cast<char*>(datagram), length);
}

void VirtualPlatformDataManager::applyPending()
{
    ZUV_HAPPENS_AFTER(&pending);
    for (PendingDocuments::Document& document : pending.takeAll()) {
        if (faults && !document.bytes.isEmpty())
            faults->toProgram().submit(document.bytes);
        else
            applyReceived(document.assignments);
    }
}

void VirtualPlatformDataManager::applyReceived(const StateValues::Assignments& assignments)
{
    applying = true;
    if (faults && !faults->values().empty())
        model->apply(faults->values().receiving(assignments, FaultSession::now()));
    else
        model->apply(assignments);
    applying = false;
    for (int due = std::exchange(transmissionsDue, 0); due > 0; --due)
        handleModelUpdate();
}

void VirtualPlatformDataManager::run()
{
    ZUV_HAPPENS_AFTER(this);
    char buffer[StateDatagram::size];
    while (!stopRequested) {
        Trace::line("Waiting for data...");
        const auto datagram = transceiver.receiveDatagram(buffer, receiveBufferLength);
        if (stopRequested)
            break;
        if (datagram.bytes < 0) {
            Trace::write("\treceived bytes: -1\n\treceived str len: 0\n\treceive error " +
                         std::to_string(WSAGetLastError()) + ", nothing applied\n\n");
            // A persistent error must not turn the loop into a busy one.
            QThread::msleep(10);
            continue;
        }
        StateDatagram::Received received =
            StateDatagram::receive(buffer, static_cast<std::size_t>(datagram.bytes),
                                   static_cast<std::size_t>(datagram.length), datagram.senderAddress);
        Trace::write(cycleTrace(received));
        if (received.dropped())
            continue;
        // Through a faulty link the datagram itself goes on: the link may damage it.
        PendingDocuments::Document document{std::move(received.assignments), {}};
        if (faults && faults->conditionsIncoming())
            document.bytes = QByteArray(buffer, datagram.bytes);
        ZUV_HAPPENS_BEFORE(&pending);
        if (pending.push(std::move(document)))
            QMetaObject::invokeMethod(this, &VirtualPlatformDataManager::applyPending, Qt::QueuedConnection);
    }
    ZUV_HAPPENS_BEFORE(this);
}

#pragma once

#include "Connectivity/UDPTransceiver.h"

#include <QJsonObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>

class VirtualPlatformDataModel;

// The link between the state model and the peer process that plays the control units.
//
// Its thread (the link thread) waits for datagrams on the receive port and applies each state
// document to the model. Its slot handleModelUpdate() runs in the thread that created the manager
// (the main thread) and sends the whole state as one datagram whenever the model reports a local
// change or asks for a transmission. Everything is traced on standard output.
//
// Applying a document in the link thread queues its change signals to the main thread. The link
// thread never lets that backlog grow without bound: while the scene has too many documents'
// signals still to deliver, it waits, and documents that arrive meanwhile are merged into the one
// it holds (a later value of a key replaces an earlier one), so no value is lost and the newest
// state reaches the scene once it catches up. A peer that sends faster than the link can apply
// documents one by one is caught up with the same way, so that the socket does not overflow and
// drop the newest documents.
class VirtualPlatformDataManager : public QThread
{
    Q_OBJECT

public:
    // Where the link receives and where it sends.
    struct Endpoints
    {
        int receivePort = 50000;
        const char* transmitAddress = "127.0.0.1";
        int transmitPort = 50001;
    };

    // Sets up the socket and connects to the model. A set-up step that fails ends the process with
    // status -1 after one console line naming the step.
    explicit VirtualPlatformDataManager(VirtualPlatformDataModel* model);
    VirtualPlatformDataManager(VirtualPlatformDataModel* model, const Endpoints& endpoints);

    // Stops the link thread (if running) and closes the socket.
    ~VirtualPlatformDataManager() override;

    // Unblocks the receive loop, lets it end and waits for the thread. Safe to call more than once.
    void stop();

    // The UDP port the link receives on (useful when it was asked for any free port, 0).
    int receivePort() const { return transceiver.boundPort(); }

    // Documents applied in the link thread whose signals the main thread has not yet delivered at
    // most, before the link thread waits (a peer's normal pace never comes near it: a stalled
    // scene catches up document by document).
    static constexpr int maxPendingDocuments = 128;
    // Cycles in a row that find the next datagram already waiting before the link merges waiting
    // documents, and documents merged into one at most.
    static constexpr int overloadCycles = 64;
    static constexpr int maxMergedPerCycle = 1024;

public slots:
    void handleModelUpdate();

protected:
    void run() override;

private:
    using Datagram = JOLV::Connectivity::UDPTransceiver::Datagram;

    void setUp(const Endpoints& endpoints);
    std::string receiveCycle(char* buffer);
    std::string rejection(const Datagram& datagram) const;
    int mergeWaiting(const char* buffer, const Datagram& datagram, QJsonObject& merged, int alreadyMerged,
                     int limit);
    int waitForScene(const char* buffer, const Datagram& datagram, QJsonObject& merged, int alreadyMerged);
    void documentDelivered();

    VirtualPlatformDataModel* model;
    JOLV::Connectivity::UDPTransceiver transceiver;
    unsigned long long transmitBufferLength = 4096;
    unsigned long long receiveBufferLength = 4096;
    std::atomic<bool> stopRequested{false};
    std::mutex backlogMutex;
    std::condition_variable backlogChanged;
    int pendingDocuments = 0;
    int backToBackCycles = 0;
    bool socketOpen = false;
};

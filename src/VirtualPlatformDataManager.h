#pragma once

#include "Connectivity/UDPTransceiver.h"
#include "PendingDocuments.h"

#include <QThread>

#include <atomic>
#include <string>

class FaultSession;
class VirtualPlatformDataModel;

namespace StateDatagram {
struct Received;
}

// The link between the state model and the peer process that plays the control units.
//
// Its thread (the link thread) waits in the socket for datagrams, judges each one by the receive
// rules (StateDatagram::receive), traces it, and hands its document to the main thread, which
// applies it to the model; so the scene sees every document whole and in order. Its slot
// handleModelUpdate() runs in the main thread and sends the whole state as one datagram whenever
// the model reports a local change or asks for a transmission. Everything is traced on standard
// output.
class VirtualPlatformDataManager : public QThread
{
    Q_OBJECT

public:
    // Where the link receives and where it sends.
    struct Endpoints
    {
        int receivePort = 50000; // 0: any free port (see receivePort())
        const char* transmitAddress = "127.0.0.1";
        int transmitPort = 50001;
    };

    // Received documents that may wait for the main thread before the oldest are merged.
    static constexpr std::size_t pendingCapacity = 256;

    // Sets up the socket and connects to the model. A set-up step that fails ends the process with
    // status -1 after one console line naming the step.
    explicit VirtualPlatformDataManager(VirtualPlatformDataModel* model);
    VirtualPlatformDataManager(VirtualPlatformDataModel* model, const Endpoints& endpoints);

    // Stops the link thread (if running) and closes the socket.
    ~VirtualPlatformDataManager() override;

    // Unblocks the receive loop, lets it end and waits for the thread. Safe to call more than once.
    void stop();

    // The UDP port the link receives on.
    int receivePort() const { return transceiver.boundPort(); }

    // How often documents were merged because the main thread fell behind.
    std::size_t mergedDocuments() const { return pending.merges(); }

    // Puts the instructor's faults on the wire (before start(); not owned, must outlive the
    // manager): what is sent and what is shown of what arrives go through them. Without, nothing of
    // them costs anything.
    void setFaults(FaultSession* session);

public slots:
    void handleModelUpdate();

protected:
    void run() override;

private:
    void setUp(const Endpoints& endpoints);
    // Main thread: applies what the link thread has received.
    void applyPending();
    void applyReceived(const StateValues::Assignments& assignments);
    void send(const char* datagram, std::size_t length);

    VirtualPlatformDataModel* model;
    JOLV::Connectivity::UDPTransceiver transceiver;
    unsigned long long transmitBufferLength = 4096;
    unsigned long long receiveBufferLength = 4096;
    PendingDocuments pending{pendingCapacity};
    FaultSession* faults = nullptr;
    // While a received document is applied, the transmissions it causes wait for its end, so
    // that each carries the whole document (one per module input it changed).
    bool applying = false;
    int transmissionsDue = 0;
    std::atomic<bool> stopRequested{false};
    bool socketOpen = false;
};

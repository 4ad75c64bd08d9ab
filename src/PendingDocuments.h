#pragma once

#include "StateValues.h"

#include <QByteArray>

#include <cstddef>
#include <mutex>
#include <vector>

// The documents that the link thread has received and the main thread has not applied yet.
//
// Bounded: while `capacity` documents wait, a further one makes the two oldest one document (where
// both assign a value, the later assignment wins), so that memory stays bounded when the main thread
// falls behind a flood and the newest assignment of every value still reaches the scene. A peer at
// any normal pace never fills it: each document is applied on its own, in order.
class PendingDocuments
{
public:
    // A received document: its assignments, and where a faulty link is to handle it, its bytes
    // (a merged document has none: it is taken as it is).
    struct Document
    {
        StateValues::Assignments assignments;
        QByteArray bytes;
    };

    explicit PendingDocuments(std::size_t capacity) : capacity(capacity < 2 ? 2 : capacity) {}

    // Adds a document. Returns true when none was waiting before: then whoever applies them has to
    // be told.
    bool push(Document document);

    // Takes every waiting document, oldest first.
    std::vector<Document> takeAll();

    // How many times two waiting documents were made one.
    std::size_t merges() const;

    // Merges `later` into `earlier`.
    static void merge(StateValues::Assignments& earlier, const StateValues::Assignments& later);

private:
    const std::size_t capacity;
    mutable std::mutex mutex;
    std::vector<Document> waiting;
    std::size_t merged = 0;
};

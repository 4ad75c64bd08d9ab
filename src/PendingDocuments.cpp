#include "PendingDocuments.h"

#include <algorithm>

bool PendingDocuments::push(Document document)
{
    std::lock_guard<std::mutex> lock(mutex);
    const bool wasEmpty = waiting.empty();
    if (waiting.size() >= capacity) {
        merge(waiting[0].assignments, waiting[1].assignments);
        waiting[0].bytes.clear();
        waiting.erase(waiting.begin() + 1);
        ++merged;
    }
    waiting.push_back(std::move(document));
    return wasEmpty;
}

std::vector<PendingDocuments::Document> PendingDocuments::takeAll()
{
    std::vector<Document> taken;
    std::lock_guard<std::mutex> lock(mutex);
    taken.swap(waiting);
    return taken;
}

std::size_t PendingDocuments::merges() const
{
    std::lock_guard<std::mutex> lock(mutex);
    return merged;
}

void PendingDocuments::merge(StateValues::Assignments& earlier, const StateValues::Assignments& later)
{
    // Both lists are in table order; the result is too, with the later value where both assign.
    std::vector<StateValues::Assignment> result;
    result.reserve(earlier.list.size() + later.list.size());
    auto a = earlier.list.cbegin();
    auto b = later.list.cbegin();
    while (a != earlier.list.cend() || b != later.list.cend()) {
        if (b == later.list.cend() || (a != earlier.list.cend() && a->index < b->index)) {
            result.push_back(*a++);
        } else {
            if (a != earlier.list.cend() && a->index == b->index)
                ++a;
            result.push_back(*b++);
        }
    }
    earlier.list.swap(result);
    earlier.count = std::max(earlier.count, later.count);
}

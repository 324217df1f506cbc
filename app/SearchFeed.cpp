#include "app/SearchFeed.h"

void TSearchFeed::Post(TSearchNote note) {
    std::lock_guard lock(FLock);
    FQueue.push_back(std::move(note));
}

void TSearchFeed::Drain() {
    std::vector<TSearchNote> batch;
    {
        std::lock_guard lock(FLock);
        batch.swap(FQueue);
    }
    if (!batch.empty()) FApply(batch);
}

void TSearchFeed::Discard() {
    std::lock_guard lock(FLock);
    FQueue.clear();
}

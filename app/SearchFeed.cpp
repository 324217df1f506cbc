#include "app/SearchFeed.h"

void TSearchFeed::Post(TSearchNote note) {
    bool wake = false;
    {
        std::lock_guard lock(FLock);
        FQueue.push_back(std::move(note));
        wake = !FWakePosted;
        FWakePosted = true;
    }
    if (wake) PostMessageW(FWindow, FWakeMessage, 0, 0);
}

void TSearchFeed::Drain() {
    std::vector<TSearchNote> batch;
    {
        std::lock_guard lock(FLock);
        batch.swap(FQueue);
        FWakePosted = false;
    }
    if (!batch.empty()) FApply(batch);
}

void TSearchFeed::Discard() {
    std::lock_guard lock(FLock);
    FQueue.clear();
    FWakePosted = false;
}

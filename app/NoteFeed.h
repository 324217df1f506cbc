#pragma once
// Carries notes from a worker thread to the window's thread: the search's folders and matches, an
// action's objects dealt with.
//
// A hand-over per note (worker waits, window runs one handler) costs a thread round trip for each of
// possibly hundreds of thousands of events, and a window woken for every few of them spends its time
// repainting. Instead the worker queues each note, with whatever texts it needs already made, and goes
// on, and the window takes everything queued at a steady pace (every TickMs while the work runs) and
// applies it, in the order raised, in one go. So the window's controls are only touched on the window's
// thread, one note at a time and in order, and the window drains the queue before it reports the end.
#include <functional>
#include <mutex>
#include <vector>

template <typename TNote>
class TNoteFeed {
public:
    using TApply = std::function<void(std::vector<TNote>& notes)>;

    // How often the window takes what waits: often enough to look live (the list shows new rows at most
    // ten times a second), seldom enough that the window wakes for it only a few times a second.
    static constexpr unsigned TickMs = 100;

    explicit TNoteFeed(TApply apply) : FApply(std::move(apply)) {}

    // Any thread.
    void Post(TNote note) {
        std::lock_guard lock(FLock);
        FQueue.push_back(std::move(note));
    }
    // The window's thread: applies every note queued so far, in order.
    void Drain() {
        std::vector<TNote> batch;
        {
            std::lock_guard lock(FLock);
            batch.swap(FQueue);
        }
        if (!batch.empty()) FApply(batch);
    }
    // Drops what waits (the work that raised it is gone).
    void Discard() {
        std::lock_guard lock(FLock);
        FQueue.clear();
    }

private:
    TApply FApply;
    std::mutex FLock;
    std::vector<TNote> FQueue;
};

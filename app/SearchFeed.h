#pragma once
// Carries the search's folder and match notifications from the worker thread to the window's thread.
//
// A hand-over per notification (worker waits, window runs one handler) costs a thread round trip for
// each of possibly hundreds of thousands of events. Instead the worker queues each notification with
// its texts already made and goes on; the first one queued after the window has emptied the queue posts
// one wake-up message, and the window then applies everything queued, in the order raised, in one go.
// So the counter and the list are still only touched on the window's thread, one notification at a time
// and in order, and the window drains the queue before it reports the end of the search.
#include <windows.h>

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct TSearchNote {
    bool IsFolder = false;     // a folder entered (Location is the folder) or an entry that matched
    std::wstring Name;
    std::wstring Location;     // ends in a backslash
    std::wstring Size;
    std::wstring Modified;
};

class TSearchFeed {
public:
    using TApply = std::function<void(std::vector<TSearchNote>& notes)>;

    // wakeMessage is posted to window whenever notes wait; the window answers it with Drain.
    TSearchFeed(UINT wakeMessage, TApply apply) : FWakeMessage(wakeMessage), FApply(std::move(apply)) {}

    void SetWindow(HWND window) { FWindow = window; }

    // Any thread.
    void Post(TSearchNote note);
    // The window's thread: applies every note queued so far, in order.
    void Drain();
    // Drops what waits (the search that raised it is gone).
    void Discard();

private:
    UINT FWakeMessage;
    TApply FApply;
    HWND FWindow = nullptr;
    std::mutex FLock;
    std::vector<TSearchNote> FQueue;
    bool FWakePosted = false;
};

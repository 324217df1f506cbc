#pragma once
// Carries the search's folder and match notifications from the worker thread to the window's thread.
//
// A hand-over per notification (worker waits, window runs one handler) costs a thread round trip for
// each of possibly hundreds of thousands of events, and a window woken for every few of them spends its
// time repainting the status line with folders nobody can read at that speed. Instead the worker queues
// each notification with its texts already made and goes on, and the window takes everything queued at
// a steady pace (every TickMs while a search runs) and applies it, in the order raised, in one go. So
// the counter and the list are still only touched on the window's thread, one notification at a time
// and in order, and the window drains the queue before it reports the end of the search.
#include "app/FileActions.h"

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct TSearchNote {
    enum TKind {
        Folder,      // a folder entered: Location is the folder
        Match,       // an entry that matched, with its row's texts and what the row stands for
        Unopened,    // a folder entered whose entries could not be listed
    };
    TKind Kind = Match;
    std::wstring Name;
    std::wstring Location;     // ends in a backslash
    std::wstring Size;
    std::wstring Modified;
    std::string SortKey;       // of Name, for the list's order
    TListedObject Object;
};

class TSearchFeed {
public:
    using TApply = std::function<void(std::vector<TSearchNote>& notes)>;

    // How often the window takes what waits: often enough to look live (the list shows new rows at most
    // ten times a second, the status line once), seldom enough that the window wakes for it only a few
    // times a second.
    static constexpr unsigned TickMs = 100;

    explicit TSearchFeed(TApply apply) : FApply(std::move(apply)) {}

    // Any thread.
    void Post(TSearchNote note);
    // The window's thread: applies every note queued so far, in order.
    void Drain();
    // Drops what waits (the search that raised it is gone).
    void Discard();

private:
    TApply FApply;
    std::mutex FLock;
    std::vector<TSearchNote> FQueue;
};

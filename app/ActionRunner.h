#pragma once
// Unhide, delete and Move to Recycle Bin, run on a worker thread beside the window. The window stays
// alive and takes the runner's notes at its own pace (rows leave the list as their objects are done, a
// progress figure moves); Cancel ends the run between two blocks of objects, and what was done stays
// done and written down. Unhide goes in blocks, each written down in the journal at once before and
// after (see TChangeRecorder); delete goes one object at a time; the Recycle Bin takes every object in
// one operation of the shell's, with the shell's own progress window and its own Cancel.
#include "app/FileActions.h"
#include "app/NoteFeed.h"
#include "app/RecycleBin.h"
#include "base/Thread.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

enum class TRowAction { Unhide, Delete, Recycle };

// An object of a run, with the row that stands for it.
struct TRunItem {
    int Row = 0;
    TListedObject Object;
};

// An item of the run dealt with: its index among the run's items, and how it went.
struct TRunNote {
    size_t Index = 0;
    TActionResult Result = TActionResult::Done;
};

class TActionRunner : public TThread {
public:
    // Asked on the window's thread, at the first file with other names (hard links) the run meets:
    // whether such files are acted on too. The answer holds for the rest of the run.
    using TAskOtherNames = std::function<bool(const TListedObject& first)>;
    using TFeed = TNoteFeed<TRunNote>;

    TActionRunner(TRowAction action, std::vector<TRunItem> items, TChangeRecorder& recorder, HWND owner,
                  TAskOtherNames askOtherNames, TFeed::TApply apply);
    // Cancels the run and waits for it.
    ~TActionRunner() override;

    TRowAction Action() const { return FAction; }
    const std::vector<TRunItem>& Items() const { return FItems; }
    // Ends the run before its next block (the Recycle Bin's operation is stopped from its own window).
    void Cancel() { Terminate(); }
    // How many items are dealt with, and the name of the one under way (any thread).
    size_t DoneCount() const { return FDone; }
    std::wstring Current() const;
    // The window's thread: applies the notes waiting, in order.
    void Drain() { FFeed.Drain(); }
    // What the shell said, for Recycle (read once the run has ended).
    const TRecycleOutcome& Recycled() const { return FRecycled; }

    // How many objects an unhide writes down at once: a crash loses the outcomes of at most one block,
    // and Cancel waits for at most one block.
    static constexpr size_t UnhideBlock = 32;

protected:
    void Execute() override;

private:
    // Acts on the items at indices; one result each.
    std::vector<TActionResult> Act(TObjectActions& actions, const std::vector<size_t>& indices);
    void Note(size_t index, TActionResult result);
    void SetCurrent(const std::wstring& path);

    const TRowAction FAction;
    const std::vector<TRunItem> FItems;
    TChangeRecorder& FRecorder;
    const HWND FOwner;
    const TAskOtherNames FAskOtherNames;
    TFeed FFeed;
    std::atomic<size_t> FDone{0};
    mutable std::mutex FCurrentLock;
    std::wstring FCurrent;
    TRecycleOutcome FRecycled;
};

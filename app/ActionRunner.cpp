#include "app/ActionRunner.h"

#include "search/Paths.h"

#include <algorithm>
#include <numeric>

TActionRunner::TActionRunner(TRowAction action, std::vector<TRunItem> items, TChangeRecorder& recorder, HWND owner,
                             TAskOtherNames askOtherNames, TFeed::TApply apply)
    : FAction(action),
      FItems(std::move(items)),
      FRecorder(recorder),
      FOwner(owner),
      FAskOtherNames(std::move(askOtherNames)),
      FFeed(std::move(apply)) {}

TActionRunner::~TActionRunner() {
    Cancel();
    if (Started()) WaitFor();  // one never started never runs: the base class lets it go
}

std::wstring TActionRunner::Current() const {
    std::lock_guard lock(FCurrentLock);
    return FCurrent;
}

void TActionRunner::SetCurrent(const std::wstring& path) {
    std::lock_guard lock(FCurrentLock);
    FCurrent.assign(NamePart(path));
}

void TActionRunner::Note(size_t index, TActionResult result) {
    FFeed.Post({index, result});
    ++FDone;
}

std::vector<TActionResult> TActionRunner::Act(TObjectActions& actions, const std::vector<size_t>& indices) {
    if (FAction == TRowAction::Delete) {
        std::vector<TActionResult> results;
        for (size_t index : indices) results.push_back(actions.Delete(FItems[index].Object));
        return results;
    }
    std::vector<const TListedObject*> objects;
    for (size_t index : indices) objects.push_back(&FItems[index].Object);
    return actions.Unhide(objects, FRecorder);
}

void TActionRunner::Execute() {
    if (FAction == TRowAction::Recycle) {
        std::vector<TListedObject> objects;
        for (const TRunItem& item : FItems) objects.push_back(item.Object);
        if (!objects.empty()) SetCurrent(objects.front().Path);
        FRecycled = MoveToRecycleBin(FOwner, objects);
        for (size_t i = 0; i < FRecycled.Results.size(); ++i) Note(i, FRecycled.Results[i]);
        return;
    }
    TObjectActions actions;
    bool asked = false;
    const size_t block = FAction == TRowAction::Unhide ? UnhideBlock : 1;
    for (size_t start = 0; start < FItems.size(); start += block) {
        const size_t end = std::min(FItems.size(), start + block);
        if (Terminated()) {
            for (size_t i = start; i < FItems.size(); ++i) Note(i, TActionResult::Stopped);
            return;
        }
        SetCurrent(FItems[start].Object.Path);
        std::vector<size_t> indices(end - start);
        std::iota(indices.begin(), indices.end(), start);
        std::vector<TActionResult> results = Act(actions, indices);
        // The first file with other names: the user decides, once, and those of this block are tried again.
        const auto named = std::find(results.begin(), results.end(), TActionResult::OtherNames);
        if (named != results.end() && !std::exchange(asked, true)) {
            bool yes = false;
            const TListedObject& first = FItems[indices[static_cast<size_t>(named - results.begin())]].Object;
            Synchronize([&] { yes = FAskOtherNames(first); });
            if (yes) {
                actions.ActOnOtherNames = true;
                std::vector<size_t> again;
                for (size_t i = 0; i < results.size(); ++i)
                    if (results[i] == TActionResult::OtherNames) again.push_back(indices[i]);
                const std::vector<TActionResult> retried = Act(actions, again);
                for (size_t i = 0, j = 0; i < results.size(); ++i)
                    if (results[i] == TActionResult::OtherNames) results[i] = retried[j++];
            }
        }
        for (size_t i = 0; i < results.size(); ++i) Note(indices[i], results[i]);
    }
}

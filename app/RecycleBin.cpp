#include "app/RecycleBin.h"

#include "base/FileName.h"
#include "search/Paths.h"
#include "ui/ComPtr.h"

#include <shlobj.h>

#include <algorithm>
#include <memory>

namespace {

// Windows 8 and later: recycle rather than delete, spelled out (Windows 7 recycles on FOF_ALLOWUNDO
// alone and refuses the flag).
#ifndef FOFX_RECYCLEONDELETE
constexpr DWORD FOFX_RECYCLEONDELETE = 0x00080000;
#endif

using UniqueCoTaskString = UniqueHandle<NullHandleTraits<PWSTR, CoTaskMemFree>>;

std::wstring ItemPath(IShellItem* item) {
    PWSTR raw = nullptr;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &raw))) return {};
    const UniqueCoTaskString path(raw);
    return path.get();
}

// Whether inner lies in the folder outer (both full paths as listed).
bool IsInside(const std::wstring& inner, const std::wstring& outer) {
    return inner.size() > outer.size() + 1 && inner[outer.size()] == L'\\' &&
           SameFileName(std::wstring_view(inner).substr(0, outer.size()), outer);
}

// One object handed to the shell: reached and checked, its folders held, and the path the shell gets.
struct THanded {
    size_t Index;
    std::unique_ptr<TReachedObject> Reached;
    std::wstring ShellPath;
};

}  // namespace

HRESULT TDeleteReport::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IFileOperationProgressSink)) {
        *object = static_cast<IFileOperationProgressSink*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT TDeleteReport::PostDeleteItem(DWORD, IShellItem* item, HRESULT result, IShellItem* created) {
    // The shell names the Recycle Bin item it made; an item deleted for good has none.
    FItems.push_back({ItemPath(item), FAILED(result) ? Refused : created ? Recycled : DeletedForGood});
    return S_OK;
}

TDeleteReport::TFate TDeleteReport::FateOf(const std::wstring& path) const {
    const auto item = std::find_if(FItems.rbegin(), FItems.rend(), [&](const TItem& i) { return SameFileName(i.Path, path); });
    return item == FItems.rend() ? NotReported : item->Fate;
}

TRecycleOutcome MoveToRecycleBin(HWND owner, const std::vector<TListedObject>& objects) {
    TRecycleOutcome outcome;
    outcome.Results.assign(objects.size(), TActionResult::Failed);
    TObjectActions actions;  // holds the searched folders until the shell is done
    std::vector<THanded> handed;
    for (size_t i = 0; i < objects.size(); ++i) {
        auto reached = std::make_unique<TReachedObject>(actions.Reach(objects[i], 0));
        outcome.Results[i] = reached->Result();
        if (outcome.Results[i] != TActionResult::Done) continue;
        std::wstring shellPath = reached->CurrentPath();
        if (!PlainPathIsExact(shellPath)) {
            outcome.Results[i] = TActionResult::Failed;
            ++outcome.Unreachable;
            continue;
        }
        // The shell opens the object itself, for delete: our own handle on it would stand in its way.
        reached->ReleaseObject();
        handed.push_back({i, std::move(reached), std::move(shellPath)});
    }
    // An object inside a folder handed over goes with that folder (the outermost one); its own folders,
    // held, would keep the shell from moving the folder.
    std::vector<size_t> containerOf(objects.size(), SIZE_MAX);
    for (const THanded& inner : handed)
        for (const THanded& outer : handed) {
            const TListedObject& folder = objects[outer.Index];
            size_t& container = containerOf[inner.Index];
            if (folder.IsFolder() && IsInside(objects[inner.Index].Path, folder.Path) &&
                (container == SIZE_MAX || folder.Depth() < objects[container].Depth()))
                container = outer.Index;
        }
    std::erase_if(handed, [&](const THanded& h) { return containerOf[h.Index] != SIZE_MAX; });
    if (handed.empty()) return outcome;
    // Nothing counts as done until it is seen to be gone.
    for (const THanded& h : handed) outcome.Results[h.Index] = TActionResult::Failed;

    const TComApartment apartment;  // the window's thread has it already; a worker or a test may not
    TComPtr<IFileOperation> operation;
    HRESULT hr = CoCreateInstance(CLSID_FileOperation, nullptr, CLSCTX_ALL, IID_IFileOperation, operation.put_void());
    if (SUCCEEDED(hr)) {
        // No question of our own (the objects can be taken back), but the shell's warning before anything
        // would be destroyed instead of recycled.
        const DWORD flags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_WANTNUKEWARNING;
        hr = operation->SetOperationFlags(flags | FOFX_RECYCLEONDELETE);
        if (hr == E_INVALIDARG) hr = operation->SetOperationFlags(flags);
    }
    if (SUCCEEDED(hr) && owner) hr = operation->SetOwnerWindow(owner);
    TDeleteReport report;
    DWORD cookie = 0;
    const bool advised = SUCCEEDED(hr) && SUCCEEDED(operation->Advise(&report, &cookie));
    size_t queued = 0;
    for (const THanded& h : handed) {
        if (FAILED(hr)) break;
        TComPtr<IShellItem> item;
        if (FAILED(SHCreateItemFromParsingName(h.ShellPath.c_str(), nullptr, IID_IShellItem, item.put_void())))
            continue;  // not reachable by the shell: it stays Failed
        const HRESULT queuedResult = operation->DeleteItem(item.get(), nullptr);
        if (FAILED(queuedResult)) {
            hr = queuedResult;  // the platform's operation cannot delete at all (Wine's cannot)
            break;
        }
        ++queued;
    }
    if (SUCCEEDED(hr) && queued > 0) hr = operation->PerformOperations();
    if (advised) operation->Unadvise(cookie);
    // Cancelled by the user in the shell's window: what went is gone all the same, and is counted below;
    // what stayed was stopped, not refused.
    const bool cancelled = hr == HRESULT_FROM_WIN32(ERROR_CANCELLED) || hr == COPYENGINE_E_USER_CANCELLED;
    if (FAILED(hr) && !cancelled) outcome.Error = hr;

    std::vector<bool> forGood(objects.size(), false);
    for (const THanded& h : handed) {
        const TActionResult gone = h.Reached->GoneFromFolder();
        outcome.Results[h.Index] = gone != TActionResult::Done && cancelled ? TActionResult::Stopped : gone;
        // Recycled only on the shell's word; gone without it is gone for good.
        forGood[h.Index] = gone == TActionResult::Done && report.FateOf(h.ShellPath) != TDeleteReport::Recycled;
    }
    for (size_t i = 0; i < objects.size(); ++i) {
        if (containerOf[i] == SIZE_MAX) continue;
        outcome.Results[i] = outcome.Results[containerOf[i]];
        forGood[i] = forGood[containerOf[i]];
    }
    outcome.DeletedForGood = static_cast<int>(std::count(forGood.begin(), forGood.end(), true));
    return outcome;
}

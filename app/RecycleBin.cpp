#include "app/RecycleBin.h"

#include "search/Paths.h"
#include "ui/ComPtr.h"

#include <shlobj.h>
#include <shobjidl.h>

namespace {

// Windows 8 and later: recycle rather than delete, spelled out (Windows 7 recycles on FOF_ALLOWUNDO
// alone and refuses the flag).
#ifndef FOFX_RECYCLEONDELETE
constexpr DWORD FOFX_RECYCLEONDELETE = 0x00080000;
#endif

}  // namespace

TRecycleOutcome MoveToRecycleBin(HWND owner, const std::vector<TListedObject>& objects) {
    TRecycleOutcome outcome;
    outcome.Results.assign(objects.size(), TActionResult::Failed);
    std::vector<size_t> handed;
    for (size_t i = 0; i < objects.size(); ++i) {
        outcome.Results[i] = VerifyListedObject(objects[i]);
        if (outcome.Results[i] != TActionResult::Done) continue;
        if (!PlainPathIsExact(objects[i].Path)) {
            outcome.Results[i] = TActionResult::Failed;
            ++outcome.Unreachable;
            continue;
        }
        handed.push_back(i);
    }
    if (handed.empty()) return outcome;
    // Nothing counts as done until it is seen to be gone.
    for (size_t i : handed) outcome.Results[i] = TActionResult::Failed;

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
    size_t queued = 0;
    for (size_t i : handed) {
        if (FAILED(hr)) break;
        TComPtr<IShellItem> item;
        if (FAILED(SHCreateItemFromParsingName(objects[i].Path.c_str(), nullptr, IID_IShellItem, item.put_void())))
            continue;  // gone since the check, or not reachable by the shell: it stays Failed
        const HRESULT queuedResult = operation->DeleteItem(item.get(), nullptr);
        if (FAILED(queuedResult)) {
            hr = queuedResult;  // the platform's operation cannot delete at all (Wine's cannot)
            break;
        }
        ++queued;
    }
    if (SUCCEEDED(hr) && queued > 0) hr = operation->PerformOperations();
    // Cancelled by the user or stopped halfway: what went is gone all the same, and is counted below.
    if (FAILED(hr) && hr != HRESULT_FROM_WIN32(ERROR_CANCELLED) && hr != COPYENGINE_E_USER_CANCELLED) outcome.Error = hr;
    for (size_t i : handed)
        if (GetFileAttributesW(ExtendedPath(objects[i].Path).c_str()) == INVALID_FILE_ATTRIBUTES) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) outcome.Results[i] = TActionResult::Done;
        }
    return outcome;
}

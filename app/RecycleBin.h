#pragma once
// "Move to Recycle Bin": listed objects handed to the shell's file operation interface (IFileOperation)
// in one operation, with the shell's own progress window, folders with everything in them.
//
// The shell takes only paths, never a handle, so each object is first reached and checked as delete
// checks it (FileActions.h), and the folders on its way stay held open, unable to be renamed or swapped,
// until the shell is done. The shell is given the path of the held folder as it really is now (no link
// in it) with the object's name: an object whose such path it would read as another (a name ending in a
// dot or a space, a device name, 260 characters or more) is not handed over. An object inside another
// one handed over goes with it. Afterwards an object counts as gone only when its name has left its held
// folder, and as recycled only when the shell said it made a Recycle Bin item of it.
#include "app/FileActions.h"

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

struct TRecycleOutcome {
    std::vector<TActionResult> Results;  // one per object, in the order given
    int DeletedForGood = 0;              // of the Done ones: deleted by the shell instead (no Recycle Bin there)
    int Unreachable = 0;                 // of the Failed ones: names the shell would read as others
    HRESULT Error = S_OK;                // why the shell's operation could not be used, when it could not
};

// Asks before destroying anything that cannot go to the Recycle Bin (the shell's own warning) and
// otherwise asks nothing: the objects can be taken back from the bin.
TRecycleOutcome MoveToRecycleBin(HWND owner, const std::vector<TListedObject>& objects);

// What the shell reports of each item its operation deletes: whether it became a Recycle Bin item.
// Lives on the stack of the operation it listens to; its reference count only keeps the interface's
// rules.
class TDeleteReport final : public IFileOperationProgressSink {
public:
    enum TFate { NotReported, Recycled, DeletedForGood, Refused };
    TFate FateOf(const std::wstring& path) const;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override { return --FReferences; }

    HRESULT STDMETHODCALLTYPE PostDeleteItem(DWORD flags, IShellItem* item, HRESULT result, IShellItem* created) override;

    HRESULT STDMETHODCALLTYPE StartOperations() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FinishOperations(HRESULT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreRenameItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostRenameItem(DWORD, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostMoveItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostCopyItem(DWORD, IShellItem*, IShellItem*, LPCWSTR, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE PreDeleteItem(DWORD, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PreNewItem(DWORD, IShellItem*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PostNewItem(DWORD, IShellItem*, LPCWSTR, LPCWSTR, DWORD, HRESULT, IShellItem*) override {
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE UpdateProgress(UINT, UINT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResetTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE PauseTimer() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResumeTimer() override { return S_OK; }

private:
    struct TItem {
        std::wstring Path;
        TFate Fate;
    };
    std::vector<TItem> FItems;
    ULONG FReferences = 1;
};

#include "app/Clipboard.h"

#include "base/UniqueHandle.h"

#include <cstring>

namespace {

using UniqueGlobal = UniqueHandle<NullHandleTraits<HGLOBAL, GlobalFree>>;

// The clipboard, open while this lives. Another program may hold it for a moment (clipboard viewers
// and managers read every change), so opening is tried a few times.
class TOpenClipboard {
public:
    explicit TOpenClipboard(HWND owner) {
        for (int attempt = 0; attempt < 10 && !FOpen; ++attempt) {
            FOpen = OpenClipboard(owner) != FALSE;
            if (!FOpen) Sleep(10);
        }
    }
    ~TOpenClipboard() {
        if (FOpen) CloseClipboard();
    }
    TOpenClipboard(const TOpenClipboard&) = delete;
    TOpenClipboard& operator=(const TOpenClipboard&) = delete;
    explicit operator bool() const { return FOpen; }

private:
    bool FOpen = false;
};

// A movable memory block, locked while this lives.
class TLockedGlobal {
public:
    explicit TLockedGlobal(HGLOBAL memory) : FMemory(memory), FData(memory ? GlobalLock(memory) : nullptr) {}
    ~TLockedGlobal() {
        if (FData) GlobalUnlock(FMemory);
    }
    TLockedGlobal(const TLockedGlobal&) = delete;
    TLockedGlobal& operator=(const TLockedGlobal&) = delete;
    void* Data() const { return FData; }

private:
    HGLOBAL FMemory;
    void* FData;
};

}  // namespace

bool SetClipboardText(HWND owner, const std::wstring& text) {
    const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    UniqueGlobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    {
        const TLockedGlobal locked(memory.get());
        if (!locked.Data()) return false;
        std::memcpy(locked.Data(), text.c_str(), bytes);
    }
    const TOpenClipboard clipboard(owner);
    if (!clipboard || !EmptyClipboard()) return false;
    if (!SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    (void)memory.release();  // the clipboard owns it now
    return true;
}

std::wstring ClipboardText() {
    const TOpenClipboard clipboard(nullptr);
    if (!clipboard) return {};
    HGLOBAL memory = GetClipboardData(CF_UNICODETEXT);  // the clipboard's own: never freed here
    const TLockedGlobal locked(memory);
    if (!locked.Data()) return {};
    const auto* chars = static_cast<const wchar_t*>(locked.Data());
    return std::wstring(chars, wcsnlen(chars, GlobalSize(memory) / sizeof(wchar_t)));
}

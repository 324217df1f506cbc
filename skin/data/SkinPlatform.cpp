#include "skin/data/SkinPlatform.h"

#include "ui/Handles.h"

namespace {

template <typename T>
T Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

struct TLoadedPlatform {
    UniqueModule User32{LoadLibraryW(L"user32.dll")};
    TSkinPlatform Entries;
    TLoadedPlatform() {
        Entries.GetScrollBarInfo = Lookup<TSkinPlatform::TGetScrollBarInfo>(User32.get(), "GetScrollBarInfo");
        Entries.TrackMouseEvent = Lookup<TSkinPlatform::TTrackMouseEvent>(User32.get(), "TrackMouseEvent");
        Entries.GetComboBoxInfo = Lookup<TSkinPlatform::TGetComboBoxInfo>(User32.get(), "GetComboBoxInfo");
    }
};

}  // namespace

TSkinPlatform& SkinPlatform() {
    static TLoadedPlatform platform;
    return platform.Entries;
}

bool SkinGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO& Info) {
    auto get = SkinPlatform().GetScrollBarInfo;
    return get && get(Window, ObjectId, &Info) != 0;
}

bool SkinGetComboBoxInfo(HWND Window, COMBOBOXINFO& Info) {
    auto get = SkinPlatform().GetComboBoxInfo;
    return get && get(Window, &Info) != 0;
}

void SkinTrackMouseLeave(HWND Window) {
    auto track = SkinPlatform().TrackMouseEvent;
    if (!track) return;
    TRACKMOUSEEVENT event{};
    event.cbSize = sizeof event;
    event.dwFlags = TME_LEAVE;
    event.hwndTrack = Window;
    track(&event);
}

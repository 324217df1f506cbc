#include "skin/data/SkinPlatform.h"

#include "ui/Handles.h"

namespace {

template <typename T>
T Lookup(HMODULE module, const char* name) {
    return module ? reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

struct TLoadedPlatform {
    UniqueModule User32{LoadLibraryW(L"user32.dll")};
    UniqueModule Dwmapi{LoadLibraryW(L"dwmapi.dll")};
    TSkinPlatform Entries;
    TLoadedPlatform() {
        Entries.GetScrollBarInfo = Lookup<TSkinPlatform::TGetScrollBarInfo>(User32.get(), "GetScrollBarInfo");
        Entries.TrackMouseEvent = Lookup<TSkinPlatform::TTrackMouseEvent>(User32.get(), "TrackMouseEvent");
        Entries.GetComboBoxInfo = Lookup<TSkinPlatform::TGetComboBoxInfo>(User32.get(), "GetComboBoxInfo");
        Entries.DwmSetWindowAttribute =
            Lookup<TSkinPlatform::TDwmSetWindowAttribute>(Dwmapi.get(), "DwmSetWindowAttribute");
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

void SkinSetSystemFrame(HWND Window, bool On) {
    auto set = SkinPlatform().DwmSetWindowAttribute;
    if (!set) return;
    constexpr DWORD NonClientRenderingPolicy = 2;  // DWMWA_NCRENDERING_POLICY
    const DWORD policy = On ? 0 : 1;               // DWMNCRP_USEWINDOWSTYLE, DWMNCRP_DISABLED
    set(Window, NonClientRenderingPolicy, &policy, sizeof policy);
}

#include "ui/Timer.h"

#include "ui/Application.h"
#include "ui/Errors.h"
#include "ui/Properties.h"

const TClassInfo TTimer::MetaClass("TTimer", &TComponent::MetaClass, ComponentFactory<TTimer>,
                                   {
                                       BoolProp<TTimer>("Enabled", &TTimer::Enabled, &TTimer::SetEnabled),
                                       IntProp<TTimer>(
                                           "Interval", [](const TTimer& t) { return static_cast<int>(t.Interval()); },
                                           [](TTimer& t, int v) { t.SetInterval(v < 0 ? 0u : static_cast<unsigned>(v)); }),
                                       EventProp<TTimer>("OnTimer", &TTimer::OnTimer),
                                   });

namespace {
constexpr UINT_PTR TimerId = 1;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &TTimer::WindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"TTimerWindow";
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
    FWindow.reset(CreateWindowExW(0, L"TTimerWindow", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
    if (!FWindow) RaiseLastOSError("CreateWindowEx");
    SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    UpdateTimer();
}

TTimer::~TTimer() {
    KillTimer(FWindow.get(), TimerId);
    SetWindowLongPtrW(FWindow.get(), GWLP_USERDATA, 0);
}

void TTimer::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    UpdateTimer();
}

void TTimer::SetInterval(unsigned milliseconds) {
    if (milliseconds == FInterval) return;
    FInterval = milliseconds;
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(FWindow.get(), TimerId);
    if (FEnabled && FInterval > 0) SetTimer(FWindow.get(), TimerId, FInterval, nullptr);
}

void TTimer::DoTimer() {
    if (OnTimer) OnTimer(this);
}

LRESULT CALLBACK TTimer::WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER) {
        auto* timer = reinterpret_cast<TTimer*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
        if (timer && !timer->IsDestroying()) {
            try {
                timer->DoTimer();
            } catch (...) {
                Application().HandleException(std::current_exception());
            }
        }
        return 0;
    }
    return DefWindowProcW(wnd, msg, wParam, lParam);
}

#include "skin/controls/SkinEdit.h"

#include "skin/controls/SkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "ui/Handles.h"
#include "ui/Messages.h"

#include <cwctype>
#include <optional>

const TClassInfo TSkinEdit::MetaClass("TSkinEdit", &TSkinControl::MetaClass, ComponentFactory<TSkinEdit>, {});

namespace {

void FrameWith(HDC DC, const TRect& Rect, HBRUSH Brush) {
    const RECT r = Rect.ToRECT();
    FrameRect(DC, &r, Brush);
}

}  // namespace

void DrawFlatFrame(HDC DC, const TRect& Rect, const TSkinData& Skin, TFlatFrameState State, int InnerRings) {
    UniqueBrush edge(CreateSolidBrush(ColorToRGB(State == ffHot ? Skin.HilightColor : Skin.ButtonShadowColor)));
    UniqueBrush fill(CreateSolidBrush(State == ffDisabled ? ColorToRGB(Skin.FaceColor) : RGB(255, 255, 255)));
    FrameWith(DC, Rect, edge.get());
    for (int ring = 1; ring <= InnerRings; ++ring) FrameWith(DC, Rect.Inflate(-ring, -ring), fill.get());
}

bool HasOwnBorder(HWND Wnd) {
    RECT window{}, client{};
    if (!GetWindowRect(Wnd, &window) || !GetClientRect(Wnd, &client)) return false;
    return window.right - window.left != client.right || window.bottom - window.top != client.bottom;
}

TFlatFrameState TSkinEdit::FrameState() const {
    if (!IsWindowEnabled(FWnd)) return ffDisabled;
    if ((FMouseState & msHot) || GetFocus() == FWnd) return ffHot;
    return ffNormal;
}

void TSkinEdit::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        // The edit's own border has just been drawn: cover it again.
        PaintWindow(nullptr);
        return;
    case WM_PRINT:
        DrawPrintFrame(reinterpret_cast<HDC>(Message.WParam));
        return;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        TrackHover(Message);
        return;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinEdit::TrackHover(const TMessage& Message) {
    if (SetHotState(Message.Msg == WM_MOUSEMOVE && IsWindowEnabled(FWnd))) PaintWindow(nullptr);
}

void TSkinEdit::SkinEmbeddedSpin() {
    if (FSpin || !FSkinData->HasControl(xcSpin) || !FSkinForm) return;
    for (HWND child = GetWindow(FWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring name = WindowClassName(child);
        for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
        if (name != L"msctls_updown32" && name.find(L"spin") == std::wstring::npos &&
            name.find(L"updown") == std::wstring::npos)
            continue;
        FSpin = new TSkinUpDown(Owner());
        FSpin->SetEmbedded(true);
        FSpin->AttachWindow(child, *FSkinData, *FSkinForm, FCanvas);
        return;
    }
}

void TSkinEdit::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData) return;
    SkinEmbeddedSpin();
    if (!HasOwnBorder(FWnd)) return;
    FEnabled = IsWindowEnabled(FWnd) != 0;
    FFocused = GetFocus() == FWnd;
    DrawFlatFrame(DC, Rect, *FSkinData, FrameState(), InnerRings());
}

void TSkinEdit::DrawPrintFrame(HDC DC) {
    RECT window{}, client{};
    if (!FSkinData || !GetWindowRect(FWnd, &window) || !GetClientRect(FWnd, &client)) return;
    const TRect rect{0, 0, window.right - window.left, window.bottom - window.top};
    if (rect.Width() <= client.right + 2 || rect.Height() <= client.bottom + 2) return;
    std::optional<TWindowDC> own;
    if (!DC) {
        own.emplace(FWnd);
        DC = own->get();
    }
    if (!DC) return;
    FrameWith(DC, rect.Inflate(-1, -1), static_cast<HBRUSH>(GetCurrentObject(DC, OBJ_BRUSH)));
    UniqueBrush edge(CreateSolidBrush(ColorToRGB(FSkinData->ButtonShadowColor)));
    FrameWith(DC, rect, edge.get());
}

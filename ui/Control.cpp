#include "ui/Control.h"

#include "ui/Errors.h"
#include "ui/Menus.h"
#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <windowsx.h>

const TClassInfo TControl::MetaClass(
    "TControl", &TComponent::MetaClass, nullptr,
    {
        EnumProp<TControl, TAlign>("Align", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient"},
                                   &TControl::Align, &TControl::SetAlign),
        SetProp<TControl, TAnchors>("Anchors", {"akLeft", "akTop", "akRight", "akBottom"}, &TControl::Anchors,
                                    &TControl::SetAnchors),
        EnumProp<TControl, TBiDiMode>(
            "BiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"},
            &TControl::BiDiMode, &TControl::SetBiDiMode),
        StrProp<TControl>("Caption", &TControl::Caption, &TControl::SetCaption),
        IntProp<TControl>("Color", &TControl::Color, &TControl::SetColor),
        BoolProp<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled),
        ClassProp<TControl, TFont>("Font", static_cast<TFont* (TControl::*)()>(&TControl::Font)),
        IntProp<TControl>("Height", &TControl::Height, &TControl::SetHeight),
        IntProp<TControl>("Left", &TControl::Left, &TControl::SetLeft),
        BoolProp<TControl>("ParentColor", &TControl::ParentColor, &TControl::SetParentColor),
        BoolProp<TControl>("ParentFont", &TControl::ParentFont, &TControl::SetParentFont),
        RefProp<TControl, TPopupMenu>("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu),
        IntProp<TControl>("Top", &TControl::Top, &TControl::SetTop),
        BoolProp<TControl>("Visible", &TControl::Visible, &TControl::SetVisible),
        IntProp<TControl>("Width", &TControl::Width, &TControl::SetWidth),
        EventProp<TControl>("OnClick", &TControl::OnClick),
        EventProp<TControl>("OnMouseDown", &TControl::OnMouseDown),
        EventProp<TControl>("OnMouseMove", &TControl::OnMouseMove),
        EventProp<TControl>("OnMouseUp", &TControl::OnMouseUp),
    });

TShiftState MouseShiftState(WPARAM keys) {
    TShiftState s = 0;
    if (keys & MK_SHIFT) s |= ssShift;
    if (keys & MK_CONTROL) s |= ssCtrl;
    if (keys & MK_LBUTTON) s |= ssLeft;
    if (keys & MK_RBUTTON) s |= ssRight;
    if (keys & MK_MBUTTON) s |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
    return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    WindowProc = [this](TMessage& m) { WndProc(m); };
    FFont->OnChange = [this](TObject*) { FontChanged(); };
}

TControl::~TControl() {
    // Owned components (a painter in front of WindowProc) go while this control is still whole.
    Destroying();
    DestroyComponents();
    if (FParent) FParent->RemoveControl(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage m{msg, wParam, lParam, 0};
    WindowProc(m);
    return m.Result;
}

void TControl::SetParentComponent(TComponent* parent) {
    if (auto* windowed = dynamic_cast<TWinControl*>(parent)) SetParent(windowed);
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
    if (menu == FPopupMenu) return;
    if (FPopupMenu) RemoveFreeNotification(FPopupMenu);
    FPopupMenu = menu;
    if (FPopupMenu) FreeNotification(FPopupMenu);
}

void TControl::Notification(TComponent* component) {
    if (component == FPopupMenu) FPopupMenu = nullptr;
}

bool TControl::ShowContextMenu(LPARAM at) {
    if (!FPopupMenu || !FPopupMenu->AutoPopup()) return false;
    TPoint point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.X == -1 && point.Y == -1) point = ClientToScreen(ContextMenuPoint());  // the menu key
    FPopupMenu->SetPopupComponent(this);
    FPopupMenu->Popup(point.X, point.Y);
    return true;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == FParent) return;
    if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
    if (FParent) {
        Invalidate();
        FParent->RemoveControl(this);
    }
    if (parent) {
        parent->InsertControl(this);
        if (FParentFont) Perform(CM_PARENTFONTCHANGED);
        if (FParentColor) Perform(CM_PARENTCOLORCHANGED);
        UpdateAnchorRules();
        if (FAlign != alNone) parent->Realign();
        Invalidate();
    }
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    if (FParent && FVisible) Invalidate();  // the old area, for a windowless control
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    if (!FAnchoring) UpdateAnchorRules();
    BoundsChanged();
}

void TControl::BoundsChanged() {
    Invalidate();
    if (FParent && FAlign != alNone && !FAnchoring) FParent->Realign();
}

TPoint TControl::ClientOrigin() const {
    if (!FParent) return {FLeft, FTop};
    TPoint p = FParent->ClientOrigin();
    return {p.X + FLeft, p.Y + FTop};
}

TPoint TControl::ClientToScreen(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
    TPoint o = ClientOrigin();
    return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetVisible(bool visible) {
    if (visible == FVisible) return;
    if (!visible) Invalidate();
    FVisible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    if (visible) Invalidate();
    if (FParent && FAlign != alNone && !FAnchoring) FParent->Realign();
}

bool TControl::Showing() const { return FVisible && FParent && FParent->Showing(); }

void TControl::SetEnabled(bool enabled) {
    if (enabled == FEnabled) return;
    FEnabled = enabled;
    Perform(CM_ENABLEDCHANGED);
    Changed();
}

void TControl::SetText(const std::wstring& text) {
    if (text == GetText()) return;
    FText = text;
    TextChanged();
    Perform(CM_TEXTCHANGED);
}

void TControl::TextChanged() { Changed(); }

void TControl::SetParentFont(bool value) {
    FParentFont = value;
    if (value) InheritParentFont();
}

void TControl::SetColor(TColor color) {
    FParentColor = false;
    if (color == FColor) return;
    FColor = color;
    Perform(CM_COLORCHANGED);
    Changed();
}

void TControl::SetParentColor(bool value) {
    FParentColor = value;
    if (value && FParent) {
        SetColor(FParent->Color());
        FParentColor = true;
    }
}

void TControl::SetAnchors(TAnchors anchors) {
    FAnchors = anchors;
    UpdateAnchorRules();
}

void TControl::SetAlign(TAlign align) {
    if (align == FAlign) return;
    FAlign = align;
    if (FParent) FParent->Realign();
}

void TControl::SetBiDiMode(TBiDiMode mode) {
    if (mode == FBiDiMode) return;
    FBiDiMode = mode;
    Changed();
}

void TControl::Invalidate() {
    if (!FParent || !FParent->HandleAllocated()) return;
    RECT r = BoundsRect().ToRECT();
    InvalidateRect(FParent->WindowHandle(), &r, TRUE);
}

void TControl::Update() {
    if (FParent && FParent->HandleAllocated()) UpdateWindow(FParent->WindowHandle());
}

void TControl::Changed() { Invalidate(); }

void TControl::BringToFront() {
    if (!FParent) return;
    TWinControl* parent = FParent;
    parent->RemoveControl(this);
    parent->InsertControl(this);
    Invalidate();
}

void TControl::DoClick() {
    if (OnClick) OnClick(this);
}

void TControl::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::DoMouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Loaded() {
    TComponent::Loaded();
    UpdateAnchorRules();
}

void TControl::WndProc(TMessage& message) {
    auto x = [&] { return GET_X_LPARAM(message.LParam); };
    auto y = [&] { return GET_Y_LPARAM(message.LParam); };
    TShiftState shift = MouseShiftState(message.WParam);
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        DoMouseDown(mbLeft, shift | (message.Msg == WM_LBUTTONDBLCLK ? TShiftState{ssDouble} : 0u), x(), y());
        break;
    case WM_RBUTTONDOWN:
        DoMouseDown(mbRight, shift, x(), y());
        break;
    case WM_LBUTTONUP:
        DoMouseUp(mbLeft, shift, x(), y());
        break;
    case WM_RBUTTONUP:
        DoMouseUp(mbRight, shift, x(), y());
        break;
    case WM_MOUSEMOVE:
        DoMouseMove(shift, x(), y());
        break;
    case WM_CONTEXTMENU:
        if (ShowContextMenu(message.LParam)) {
            message.Result = 0;
            return;
        }
        break;
    case CM_MOUSEENTER:
        FMouseInControl = true;
        break;
    case CM_MOUSELEAVE:
        FMouseInControl = false;
        break;
    case CM_PARENTFONTCHANGED:
        if (FParentFont) InheritParentFont();
        return;
    case CM_PARENTCOLORCHANGED:
        if (FParentColor && FParent) {
            SetColor(FParent->Color());
            FParentColor = true;
        }
        return;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) { message.Result = 0; }

void TControl::InheritParentFont() {
    if (!FParent) return;
    FFont->Assign(FParent->Font());
    FParentFont = true;  // Assign counted as a change of our own
}

void TControl::FontChanged() {
    FParentFont = false;
    Perform(CM_FONTCHANGED);
    Changed();
}

void TControl::UpdateAnchorRules() {
    FAnchorBounds = BoundsRect();
    if (FParent) FAnchorParentSize = FParent->ClientRect().Size();
}

void TControl::ParentResized() {
    if (!FParent || FAlign != alNone) return;
    TSize now = FParent->ClientRect().Size();
    int dx = now.Width - FAnchorParentSize.Width;
    int dy = now.Height - FAnchorParentSize.Height;
    TRect r = FAnchorBounds;
    auto stretch = [](int& low, int& high, bool anchorLow, bool anchorHigh, int delta) {
        if (anchorHigh && anchorLow) high += delta;
        else if (anchorHigh) low += delta, high += delta;
        else if (!anchorLow) low += delta / 2, high += delta / 2;
    };
    stretch(r.Left, r.Right, FAnchors & AnchorBit(akLeft), FAnchors & AnchorBit(akRight), dx);
    stretch(r.Top, r.Bottom, FAnchors & AnchorBit(akTop), FAnchors & AnchorBit(akBottom), dy);
    FAnchoring = true;
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    FAnchoring = false;
}

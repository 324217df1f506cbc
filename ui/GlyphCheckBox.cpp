#include "ui/GlyphCheckBox.h"

#include "ui/Font.h"
#include "ui/Handles.h"
#include "ui/Messages.h"
#include "ui/Properties.h"

#include <algorithm>

namespace {

bool IsOwnerDrawn(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW; }

void DrawGlyphCheck(TButtonControl& control, const DRAWITEMSTRUCT& item, const TCheckGlyphs& glyphs, int state) {
    const HDC dc = item.hDC;
    const TRect bounds = TRect::FromRECT(item.rcItem);
    UniqueBrush back(CreateSolidBrush(ColorToRGB(control.Color())));
    FillRect(dc, &item.rcItem, back.get());

    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    int look = disabled ? 2 : pressed ? 1 : 0;
    if (look >= glyphs.Looks) look = 0;
    TBitmap& strip = *glyphs.Strip;
    const int cellWidth = strip.Width() / std::max(glyphs.States * glyphs.Looks, 1);
    const int cellHeight = std::min(strip.Height(), bounds.Height());
    const bool textLeft = control.Alignment() == taLeftJustify;
    const int glyphX = textLeft ? bounds.Right - cellWidth : bounds.Left;
    const int glyphY = bounds.Top + (bounds.Height() - cellHeight) / 2;
    const int cell = look * glyphs.States + std::clamp(state, 0, glyphs.States - 1);
    if (cellWidth > 0)
        TransparentBlt(dc, glyphX, glyphY, cellWidth, cellHeight, strip.Canvas()->Handle(),
                       cell * cellWidth, 0, cellWidth, cellHeight, ColorToRGB(glyphs.Transparent));

    const std::wstring caption = control.Caption();
    RECT text = item.rcItem;
    if (textLeft)
        text.right = glyphX - 4;
    else
        text.left = glyphX + cellWidth + 4;
    TSelectObject font(dc, control.Font()->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? GetSysColor(COLOR_GRAYTEXT) : ColorToRGB(control.Font()->Color()));
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | (textLeft ? DT_RIGHT : DT_LEFT);
    if (control.UseRightToLeftReading()) format |= DT_RTLREADING;
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format);
    if ((item.itemState & ODS_FOCUS) && !caption.empty()) {
        RECT measure = text;
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &measure, format | DT_CALCRECT);
        const int width = std::min(measure.right - measure.left, text.right - text.left);
        RECT focus{textLeft ? text.right - width - 1 : text.left - 1, bounds.Top + (bounds.Height() - (measure.bottom - measure.top)) / 2 - 1,
                   0, 0};
        focus.right = focus.left + width + 2;
        focus.bottom = focus.top + (measure.bottom - measure.top) + 2;
        DrawFocusRect(dc, &focus);
    }
}

template <typename C>
std::vector<TPropInfo> CustomGlyphProperties() {
    return {
        ClassProp<C, TBitmap>("CustomGlyphs", &C::CustomGlyphs),
        BoolProp<C>("UseCustomGlyphs", &C::UseCustomGlyphs, &C::SetUseCustomGlyphs),
        IntProp<C>("TransparentColor", &C::TransparentColor, &C::SetTransparentColor),
    };
}

}  // namespace

namespace glyph_check {

void MakeOwnerDrawn(TCreateParams& params, const TCheckGlyphs& glyphs) {
    if (glyphs.Active()) params.Style = (params.Style & ~BS_TYPEMASK) | BS_OWNERDRAW;
}

void GlyphsChanged(TWinControl& control, const TCheckGlyphs& glyphs) {
    if (!control.HandleAllocated()) return;
    if (glyphs.Active() != IsOwnerDrawn(control.WindowHandle()))
        control.RecreateWnd();
    else
        control.Invalidate();
}

bool GlyphMessage(TButtonControl& control, TMessage& message, const TCheckGlyphs& glyphs, int state) {
    if (!glyphs.Active() || !control.HandleAllocated() || !IsOwnerDrawn(control.WindowHandle())) return false;
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawGlyphCheck(control, *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam), glyphs, state);
        message.Result = TRUE;
        return true;
    case BM_SETCHECK:
        // An owner-drawn button keeps no check of its own: the state is the control's, and shown again.
        control.Invalidate();
        return true;
    case WM_LBUTTONDBLCLK:
        // An owner-drawn button reports a second click as a double click; here it is one more click.
        message.Msg = WM_LBUTTONDOWN;
        return false;
    default:
        return false;
    }
}

}  // namespace glyph_check

const TClassInfo TGlyphCheckBox::MetaClass("TGlyphCheckBox", &TCustomCheckBox::MetaClass,
                                           ComponentFactory<TGlyphCheckBox>, CustomGlyphProperties<TGlyphCheckBox>());
const TClassInfo TGlyphRadioButton::MetaClass("TGlyphRadioButton", &TRadioButton::MetaClass,
                                              ComponentFactory<TGlyphRadioButton>,
                                              CustomGlyphProperties<TGlyphRadioButton>());

// ---- TCheckBoxProperties, TPropertiesCheckBox ----

const TClassInfo TCheckBoxProperties::MetaClass("TCheckBoxProperties", &TPersistent::MetaClass, nullptr,
                                                {ClassProp<TCheckBoxProperties, TBitmap>("Glyph", &TCheckBoxProperties::Glyph)});

TCheckBoxProperties::TCheckBoxProperties() = default;

const TClassInfo TPropertiesCheckBox::MetaClass(
    "TPropertiesCheckBox", &TCustomCheckBox::MetaClass, ComponentFactory<TPropertiesCheckBox>,
    {ClassProp<TPropertiesCheckBox, TCheckBoxProperties>("Properties", &TPropertiesCheckBox::Properties)});

TPropertiesCheckBox::TPropertiesCheckBox(TComponent* owner) : TCustomCheckBox(owner) {
    FProperties.Glyph()->OnChange = [this](TObject*) { glyph_check::GlyphsChanged(*this, Drawing()); };
}

TCheckGlyphs TPropertiesCheckBox::Drawing() {
    TCheckGlyphs glyphs;
    TBitmap* glyph = FProperties.Glyph();
    glyphs.Strip = glyph;
    glyphs.States = 3;
    glyphs.Looks = 2;
    glyphs.Transparent = glyph->TransparentColor();
    return glyphs;
}

void TPropertiesCheckBox::CreateParams(TCreateParams& params) {
    TCustomCheckBox::CreateParams(params);
    glyph_check::MakeOwnerDrawn(params, Drawing());
}

void TPropertiesCheckBox::WndProc(TMessage& message) {
    if (!glyph_check::GlyphMessage(*this, message, Drawing(), State())) TCustomCheckBox::WndProc(message);
}

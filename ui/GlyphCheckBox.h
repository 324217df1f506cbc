#pragma once
// Check boxes and radio buttons that can draw their box from a strip of glyph cells instead of the
// system's. The cells lie side by side, grouped by look (normal, pressed, disabled); within a look one
// cell per state (unchecked, checked and, for check boxes, grayed). Pixels of the transparent colour
// show the control's background. While a strip is in use the window is an owner-drawn button; without
// one the control is the plain system one.
//
//   TGlyphCheckBox       CustomGlyphs, 9 cells: 3 states for each of 3 looks
//   TGlyphRadioButton    CustomGlyphs, 6 cells: 2 states for each of 3 looks
//   TPropertiesCheckBox  Properties.Glyph, 6 cells: 3 states for normal and pressed (disabled: normal)
#include "ui/Bitmap.h"
#include "ui/CheckBox.h"
#include "ui/RadioButton.h"

// What a glyph-drawn check control draws from.
struct TCheckGlyphs {
    TBitmap* Strip = nullptr;        // null or empty: the system's box
    int States = 2;                  // cells per look
    int Looks = 3;                   // looks in the strip: normal, pressed, disabled
    TColor Transparent = clFuchsia;
    bool Active() const { return Strip && !Strip->Empty(); }
};

namespace glyph_check {
// Makes the window an owner-drawn button while Glyphs are active.
void MakeOwnerDrawn(TCreateParams& params, const TCheckGlyphs& glyphs);
// After a change of the glyphs: a new window when owner drawing comes or goes, else a repaint.
void GlyphsChanged(TWinControl& control, const TCheckGlyphs& glyphs);
// The messages a glyph-drawn check control handles itself (State: the cell within a look); true when
// Message is done.
bool GlyphMessage(TButtonControl& control, TMessage& message, const TCheckGlyphs& glyphs, int state);
inline int CellState(const TCustomCheckBox& c) { return c.State(); }
inline int CellState(const TRadioButton& c) { return c.Checked() ? 1 : 0; }
}  // namespace glyph_check

// A check control of class Base with the CustomGlyphs, UseCustomGlyphs and TransparentColor settings;
// States: cells per look in its strip.
template <typename Base, int States>
class TCustomGlyphControl : public Base {
public:
    explicit TCustomGlyphControl(TComponent* owner) : Base(owner) {
        FGlyphs.OnChange = [this](TObject*) { glyph_check::GlyphsChanged(*this, Drawing()); };
    }
    TBitmap* CustomGlyphs() { return &FGlyphs; }
    bool UseCustomGlyphs() const { return FUse; }
    void SetUseCustomGlyphs(bool Value) {
        if (Value == FUse) return;
        FUse = Value;
        glyph_check::GlyphsChanged(*this, Drawing());
    }
    int TransparentColor() const { return FTransparent; }
    void SetTransparentColor(int Value) {
        FTransparent = Value;
        this->Invalidate();
    }

protected:
    void CreateParams(TCreateParams& params) override {
        Base::CreateParams(params);
        glyph_check::MakeOwnerDrawn(params, Drawing());
    }
    void WndProc(TMessage& message) override {
        if (!glyph_check::GlyphMessage(*this, message, Drawing(), glyph_check::CellState(*this))) Base::WndProc(message);
    }

private:
    TCheckGlyphs Drawing() { return {FUse ? &FGlyphs : nullptr, States, 3, FTransparent}; }
    TBitmap FGlyphs;
    bool FUse = false;
    int FTransparent = clFuchsia;
};

class TGlyphCheckBox : public TCustomGlyphControl<TCustomCheckBox, 3> {
public:
    CLARIVO_CLASS
    explicit TGlyphCheckBox(TComponent* owner) : TCustomGlyphControl(owner) {}
};

class TGlyphRadioButton : public TCustomGlyphControl<TRadioButton, 2> {
public:
    CLARIVO_CLASS
    explicit TGlyphRadioButton(TComponent* owner) : TCustomGlyphControl(owner) {}
};

// The settings object of TPropertiesCheckBox. Glyph's transparent colour is the one left out.
class TCheckBoxProperties : public TPersistent {
public:
    CLARIVO_CLASS
    TCheckBoxProperties();
    TBitmap* Glyph() { return &FGlyph; }

private:
    TBitmap FGlyph;
};

class TPropertiesCheckBox : public TCustomCheckBox {
public:
    CLARIVO_CLASS
    explicit TPropertiesCheckBox(TComponent* owner);
    TCheckBoxProperties* Properties() { return &FProperties; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;

private:
    TCheckGlyphs Drawing();
    TCheckBoxProperties FProperties;
};

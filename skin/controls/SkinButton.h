#pragma once
// Push button painters, all drawn off screen from the skin's button element (five frames: normal,
// pressed, disabled, hot, focused) and copied in one blit:
//   TSkinButton      plain push buttons (framework buttons and the buttons of system dialogs);
//   TSkinBitButton   buttons with a glyph beside, above or below the caption;
//   TSkinMenuButton  buttons with a drop-down arrow at the right;
//   TSkinSpeedButton windowless tool buttons, painted through their parent (the main window's glyph
//                    buttons).
#include "skin/controls/SkinControl.h"

#include <memory>
#include <string>

class TBitmap;
class TFont;

enum TButtonFrame { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };

// Where a glyph and a caption go along a button's main axis (x for a glyph left or right, y for one on
// top or at the bottom). Margin and Spacing -1: centred together (Margin -1 alone: centred, keeping the
// Spacing); Centred: the caption's alignment asks for centring whatever the Margin.
struct TGlyphPlacement {
    int Glyph = 0;  // the glyph's start on the axis
    int Text = 0;   // the caption's start on the axis
};
enum TGlyphSide { gsLeft, gsRight, gsTop, gsBottom };
TGlyphPlacement PlaceGlyph(TGlyphSide Side, int Client, int Glyph, int Text, int Margin, int Spacing, bool Centred,
                           bool SpeedButton);

class TSkinButton : public TSkinControl {
public:
    CLARIVO_CLASS
    explicit TSkinButton(TComponent* owner);
    ~TSkinButton() override;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

    // The state's frame of the button element.
    int Frame() const;
    // Reads the state that picks the frame: focus, enabled, multi-line, caption.
    void ReadState();
    // Sizes the buffer to Rect and draws the background and the element's frame; false without a button
    // element in the skin.
    bool DrawFace(const TRect& Rect, int FrameIndex, bool DrawElement = true);
    // The caption's colour for a frame (disabled: the system's button shadow).
    TColor CaptionColour(int FrameIndex) const;
    // The caption's font into the buffer: the control's, or the window's for a bare one.
    void SelectCaptionFont(int FrameIndex);
    // Caption centred in Rect, "||" a line break, with the focus rectangle when focused.
    void DrawCaption(const TRect& Rect, int FrameIndex);
    void DrawFocus(const TRect& TextRect);
    UINT ReadingFlags() const;
    // The click a press and release inside produced.
    void Click();
    // A framework push button handles the press itself (and so its own click).
    bool NativeTakesPress() const { return FMode == 0 && FControl; }
    // Space down and up press and release the button.
    void SpaceKey(const TMessage& Message);

    bool FMultiLine = false;
    bool FTransparent = false;
};

class TSkinBitButton : public TSkinButton {
public:
    CLARIVO_CLASS
    using TSkinButton::TSkinButton;

    // The published graphic property that holds the glyph instead of Glyph/Images (empty: those).
    const std::string& GlyphProperty() const { return FGlyphProperty; }
    void SetGlyphProperty(std::string Name) { FGlyphProperty = std::move(Name); }

protected:
    void DrawSkin(HDC DC, const TRect& Rect) override;
    // The glyph and caption laid out in Rect into the buffer; GlyphCell: 1 up, 2 disabled, 3 down, 4
    // exclusive.
    void DrawGlyphAndCaption(const TRect& Rect, int FrameIndex, int GlyphCell, bool SpeedButton);

private:
    std::string FGlyphProperty;
};

class TSkinMenuButton : public TSkinButton {
public:
    CLARIVO_CLASS
    using TSkinButton::TSkinButton;

protected:
    void DrawSkin(HDC DC, const TRect& Rect) override;
};

class TSkinSpeedButton : public TSkinBitButton {
public:
    CLARIVO_CLASS
    using TSkinBitButton::TSkinBitButton;

    // The button has no window: its host is the button itself, painted by its parent.
    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void PaintWindow(HDC DC) override;

private:
    void Draw(HDC DC);
    bool FPainting = false;
};

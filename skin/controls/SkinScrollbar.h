#pragma once
// The scroll-bar painters. Each keeps overlays (ScrollOverlay.h) over the scroll bars of its control and
// tells them when to look again:
//   TSkinScrollbar   a framework control that scrolls itself (tree, memo, list box, grid): both bars, and
//                    a flat skinned border in place of the control's own;
//   TSkinListView    the same for a list view (its column header stays where it is, inside the list);
//   TSkinScrollbarH  both bars of a bare window (the list of a simple combo box);
//   TSkinScControl   a stand-alone scroll-bar control, covered whole;
//   TComboxScrollBar a combo box's drop-down list: a top-level window, so its bar is painted straight into
//                    its frame, with a thumb drag of its own.
#include "skin/controls/ScrollOverlay.h"
#include "skin/controls/ListCheckImages.h"
#include "skin/controls/SkinControl.h"

#include <memory>

class TSkinHeader;

// The horizontal and the vertical overlay of one window, handled as one.
class TBarPair {
public:
    void Create(TSkinControl& Painter, HWND Target, TControl* TargetControl);
    void Free();
    TWScrollbar* Horz() const { return FHorz.get(); }
    TWScrollbar* Vert() const { return FVert.get(); }

    void Place();
    void Hide();
    void Invalidate();
    void SetEnabled(bool Enabled);
    void Retarget(HWND Target);
    // A WM_HSCROLL or WM_VSCROLL of the target: the matching overlay shows its part scrolled.
    void NoteScroll(const TMessage& Message);
    // The corner between two shown bars, into the target's window DC, in the face colour.
    void FillSizeBox(HDC WindowDC, const TSkinData& Skin) const;

private:
    std::unique_ptr<TWScrollbar> FHorz, FVert;
};

class TSkinScrollbar : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;
    ~TSkinScrollbar() override;

    void AttachScrolling(TControl& Control, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    void Detach() override;
    void Reskin() override;

    TWScrollbar* HorzBar() const { return FBars.Horz(); }
    TWScrollbar* VertBar() const { return FBars.Vert(); }
    bool DrawsBorder() const { return FDrawBorder; }

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
    void WindowRecreated() override;
    void SkinSwitched() override;

private:
    void TakeFixedColor();
    // The skinned border and the corner between the two bars, into the window's DC.
    void DrawFrame(HDC WindowDC);

    TBarPair FBars;
    bool FDrawBorder = false;
};

class TSkinListView : public TSkinScrollbar {
public:
    CLARIVO_CLASS
    using TSkinScrollbar::TSkinScrollbar;
    bool PaintsListView() const override { return true; }
    // The bars, and a header painter for the list's column header.
    void AttachScrolling(TControl& Control, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    // The column header's painter (owned by the list); only ever compared, as the window skinner may free
    // it first.
    TSkinHeader* Header() const { return FHeader; }
    // The skin's row check boxes while they are in place, else null.
    HIMAGELIST CheckImages() const { return FChecks.Images(); }
    void Detach() override;
    void Reskin() override;

protected:
    bool BeforeMessage(TMessage& Message) override;
    // A list made again has a new header window, which gets a painter of its own, and new check boxes.
    void WindowRecreated() override;
    void SkinSwitched() override;

private:
    TSkinHeader* FHeader = nullptr;
    TListCheckImages FChecks;
};

class TSkinScrollbarH : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;
    ~TSkinScrollbarH() override;

    void AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    void Detach() override;

    TWScrollbar* HorzBar() const { return FBars.Horz(); }
    TWScrollbar* VertBar() const { return FBars.Vert(); }

protected:
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
    void SkinSwitched() override;

private:
    TBarPair FBars;
};

class TSkinScControl : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;
    ~TSkinScControl() override;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    void Detach() override;

    TWScrollbar* Bar() const { return FBar.get(); }

protected:
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;
    void WindowRecreated() override;
    void SkinSwitched() override;

private:
    std::unique_ptr<TWScrollbar> FBar;
};

class TComboxScrollBar : public TSkinControl {
public:
    CLARIVO_CLASS
    using TSkinControl::TSkinControl;

    const TBarGeometry& Bar() const { return FBar; }

protected:
    bool BeforeMessage(TMessage& Message) override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    // The bar's rectangle in window coordinates, its thumb and state; false when the list shows none.
    bool ReadBar(TRect& Bar, bool& Enabled);
    // Drags the thumb from a press at Screen until the button is released; false when the press missed it.
    bool DragThumb(POINT Screen);

    TBarGeometry FBar;
    TBitmap FBuffer;
};

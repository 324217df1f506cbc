#pragma once
// TSkinDateTime: a date picker's flat skinned frame (one white ring inside the edge, hot while hovered
// or focused, like an edit's) with its own drop-down button, a TArrowButton from the skin's combo arrow
// laid over the picker's native one. A click on it is handed to the picker, which opens its calendar as
// before. A time picker keeps its spin arrows, skinned as an edit's embedded spin.
#include "skin/controls/SkinEdit.h"
#include "ui/WinControl.h"

class TSkinDateTime;

class TArrowButton : public TWinControl {
public:
    CLARIVO_CLASS
    // A child window of Picker, owned by Painter.
    TArrowButton(TSkinDateTime& Painter, HWND Picker);

    bool Hot() const { return FHot; }
    // The cell of the skin's combo arrow shown now: 4 when hot, else 1.
    int Cell() const { return FHot ? 4 : 1; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void PaintWindow(HDC dc) override;

private:
    void SetHot(bool hot);

    int FArrowSize;
    HWND FPicker;
    TSkinDateTime& FPainter;
    bool FHot = false;
};

class TSkinDateTime : public TSkinEdit {
public:
    CLARIVO_CLASS
    using TSkinEdit::TSkinEdit;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    // Takes the button away and gives the picker its own style back.
    void Detach() override;

    // Null for a time picker (spin arrows, no calendar) and after Detach.
    TArrowButton* Arrow() const { return FArrow; }

protected:
    int InnerRings() const override { return 1; }
    // A resized picker takes its button along.
    void AfterMessage(TMessage& Message) override;

private:
    // Puts the button over the picker's own, at the right (or, right to left, the left) edge.
    void PlaceArrow();

    TArrowButton* FArrow = nullptr;  // owned (a component of this painter)
    bool FAddedClipChildren = false;
};

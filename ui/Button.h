#pragma once
// TCustomButton / TButton: a push button of the system "BUTTON" class. A click (mouse, space bar,
// Enter on the focused or default button, Esc on a cancel button) raises OnClick once. Its form offers
// Enter and Esc to the buttons as CM_DIALOGKEY. "||" in a caption breaks the line there.
//
// Buttons that draw their own face (TBitBtn, TMenuButton) say so with OwnerDrawn: the window is then
// owner-drawn, the face is drawn here in the system's button look and the content by DrawContent.
#include "ui/ButtonControl.h"

class TCustomButton : public TButtonControl {
public:
    CLARIVO_CLASS

    explicit TCustomButton(TComponent* owner);

    // Enter clicks the default button when no other button has the focus.
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    // Esc clicks a cancel button.
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // What the button answers a modal form with (0: nothing).
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int value) { FModalResult = value; }
    // Long captions wrap onto further lines (BS_MULTILINE).
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    // Clicks the button as the user would.
    void Click() { DoClick(); }

    // The caption as the button shows it: the first "||" becomes a line break.
    std::wstring DisplayCaption() const;
    // Whether Enter clicks this button now: it has the focus, or it is the default one and no other
    // button has the focus.
    bool Active() const;

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Clicked() override { DoClick(); }
    // The caption stays as set ("||" and all); the window shows DisplayCaption.
    std::wstring GetText() const override { return FText; }
    void TextChanged() override;

    virtual bool OwnerDrawn() const { return false; }
    // An owner-drawn button's content on dc inside rect (the face's inner area, already moved down and
    // right while pressed), with the button's font selected: by default the caption, centred.
    virtual void DrawContent(HDC dc, const TRect& rect, bool pressed);
    // DT_* flags the caption is drawn with (line breaks, wrapping, reading order).
    UINT CaptionFormat() const;

private:
    void DrawFace(const DRAWITEMSTRUCT& item);

    bool FDefault = false;
    bool FCancel = false;
    int FModalResult = 0;
    bool FWordWrap = false;
};

class TButton : public TCustomButton {
public:
    CLARIVO_CLASS
    explicit TButton(TComponent* owner) : TCustomButton(owner) {}
};

#pragma once
// TSkinComBox: a combo box's edge and drop-down button from the skin's combo images (whole combo frames
// after a skin load, or an edge with a button drawn into it). The combo keeps painting its text, its
// selection and its owner-drawn item; the edge and button are drawn over it afterwards. Hover over the
// button and a press show their frames; opening and closing stay the combo's own. The list's scroll bar
// gets a painter of its own.
#include "skin/controls/SkinControl.h"

// Frames of the combo images.
enum TComboFrame { cfNormal = 1, cfPressed = 2, cfDisabled = 3, cfHot = 4 };

class TSkinComBox : public TSkinControl {
public:
    CLARIVO_CLASS
    explicit TSkinComBox(TComponent* owner);
    ~TSkinComBox() override;

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) override;
    void Detach() override;

    // The frame for the combo's state now.
    TComboFrame Frame() const;
    // The button's area (client coordinates) that hover is tested against.
    const TRect& ButtonRect() const { return FButtonRect; }
    // The combo's own edit (drop-down styles), subclassed so that a press in it shows too.
    HWND EditWindow() const { return FEdit; }

protected:
    void WindowRecreated() override;
    void AfterMessage(TMessage& Message) override;
    void DrawSkin(HDC DC, const TRect& Rect) override;

private:
    static LRESULT CALLBACK EditProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR refData);
    // Drop-down styles: the edit's presses and paints reach the painter.
    void HookEdit();
    void ReleaseEdit();
    // The list's scroll bar: painted into a drop-down list's frame, or overlays on a simple combo's list.
    void SkinList();
    void SetPressed(bool Pressed);
    void SetHot(bool Hot);
    // An edge ring with a separate button cell stretched over the button side.
    void DrawEdgeAndButton(HDC DC, const TRect& Rect, int FrameIndex);
    // Only the button, in a flat single-line frame (skins whose button element asks for it).
    void DrawButtonOnly(HDC DC, const TRect& Rect);

    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    HWND FList = nullptr;
    HWND FEdit = nullptr;
    COMBOBOXINFO FInfo{};
    TRect FButtonRect;
};

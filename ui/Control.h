#pragma once
// TControl: anything that sits on a parent window, windowed or not: bounds, parent, visibility,
// enabled state, caption, font, colour, anchors and alignment, and a replaceable message slot.
//
// Every message for a control goes through WindowProc. Its default sends the message to the virtual
// WndProc, which handles what the class knows and passes the rest to DefaultHandler. Anyone may put
// a new handler in WindowProc that sees every message first, keeping the old one to pass messages on:
//
//     TWndMethod old = control->WindowProc;
//     control->WindowProc = [old](TMessage& m) { ...; old(m); };
#include "ui/Component.h"
#include "ui/Font.h"
#include "ui/Messages.h"
#include "ui/Types.h"

#include <functional>
#include <memory>
#include <string>

class TWinControl;
class TPopupMenu;

using TWndMethod = std::function<void(TMessage&)>;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = uint32_t;  // bit n = TAnchorKind n
constexpr TAnchors AnchorBit(TAnchorKind a) { return 1u << a; }
constexpr TAnchors DefaultAnchors = AnchorBit(akLeft) | AnchorBit(akTop);

enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftFlag : uint32_t {
    ssShift = 1u << 0, ssAlt = 1u << 1, ssCtrl = 1u << 2,
    ssLeft = 1u << 3, ssRight = 1u << 4, ssMiddle = 1u << 5, ssDouble = 1u << 6,
};
using TShiftState = uint32_t;
// The shift state a mouse message's wParam carries (plus Alt from the keyboard).
TShiftState MouseShiftState(WPARAM keys);

using TMouseEvent = std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;

class TControl : public TComponent {
public:
    CLARIVO_CLASS

    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The replaceable message slot (see above).
    TWndMethod WindowProc;
    // Sends a message through WindowProc now and returns its result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* parent);
    // A description nests controls in their parent.
    void SetParentComponent(TComponent* parent) override;

    // The context menu: shown on a right click or the menu key (when its AutoPopup is on).
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* menu);

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    // Position in the parent's client area and size; anchors and alignment start from these.
    virtual void SetBounds(int left, int top, int width, int height);
    TRect BoundsRect() const { return TRect::FromBounds(FLeft, FTop, FWidth, FHeight); }
    // The control's own client area, origin (0, 0).
    virtual TRect ClientRect() const { return TRect::FromBounds(0, 0, FWidth, FHeight); }
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    // Screen position of the client area's origin.
    virtual TPoint ClientOrigin() const;
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible, and so is every parent up to a shown top-level window.
    virtual bool Showing() const;

    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool enabled);

    // The caption (for edits: the text). Stored in the control; windowed controls mirror it in the window.
    std::wstring Caption() const { return GetText(); }
    void SetCaption(const std::wstring& caption) { SetText(caption); }
    std::wstring Text() const { return GetText(); }
    void SetText(const std::wstring& text);

    TFont* Font() { return FFont.get(); }
    const TFont* Font() const { return FFont.get(); }
    void SetFont(const TFont* font) { FFont->Assign(font); }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);

    TAnchors Anchors() const { return FAnchors; }
    void SetAnchors(TAnchors anchors);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign align);

    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode mode);
    // Whether captions are to be read right to left (DT_RTLREADING).
    bool UseRightToLeftReading() const { return FBiDiMode != bdLeftToRight; }

    // Marks the control for repainting (a windowless control: its area of the parent).
    virtual void Invalidate();
    // Paints what is invalid now.
    virtual void Update();
    void Repaint() {
        Invalidate();
        Update();
    }
    void BringToFront();

    // Raises OnClick when assigned.
    virtual void DoClick();
    // Mouse handlers; they raise OnMouseDown/Up/Move. Positions are client coordinates.
    virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DoMouseMove(TShiftState shift, int x, int y);

    // True while the mouse is over the control (between the enter and leave notifications).
    bool MouseInControl() const { return FMouseInControl; }

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseMoveEvent OnMouseMove;

    void Loaded() override;

protected:
    virtual void WndProc(TMessage& message);
    // Whatever no handler took: 0 for a windowless control, the window's own procedure for a windowed one.
    virtual void DefaultHandler(TMessage& message);

    void Notification(TComponent* component) override;
    // Where a context menu opened from the keyboard appears, in client coordinates.
    virtual TPoint ContextMenuPoint() const { return {0, 0}; }
    // Shows the PopupMenu for WM_CONTEXTMENU; false when the control has none to show.
    bool ShowContextMenu(LPARAM at);

    virtual std::wstring GetText() const { return FText; }
    // Stores the text; windowed controls also put it into their window.
    virtual void TextChanged();
    // The bounds have been set (already stored); windowed controls move their window.
    virtual void BoundsChanged();
    // Repaint after a change of look; default: Invalidate.
    virtual void Changed();
    // The parent's client area changed size: apply anchors.
    void ParentResized();
    // Remembers the current bounds and the parent's size as the base the anchors work from.
    void UpdateAnchorRules();

    std::wstring FText;
    TColor FColor = clBtnFace;
    bool FMouseInControl = false;

private:
    friend class TWinControl;
    void FontChanged();
    void InheritParentFont();

    TWinControl* FParent = nullptr;
    TPopupMenu* FPopupMenu = nullptr;
    int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    bool FParentColor = false;
    TAnchors FAnchors = DefaultAnchors;
    TAlign FAlign = alNone;
    TBiDiMode FBiDiMode = bdLeftToRight;
    // Anchors: the bounds and the parent's client size they were last set against.
    TRect FAnchorBounds;
    TSize FAnchorParentSize;
    bool FAnchoring = false;
};

#include "skin/controls/SkinMP.h"

#include "skin/data/SkinData.h"
#include "skin/draw/SkinDraw.h"
#include "ui/Bitmap.h"
#include "ui/MediaPlayer.h"
#include "ui/Messages.h"
#include "ui/Properties.h"

#include <bit>

const TClassInfo TWMediaPlayer::MetaClass("TWMediaPlayer", &TWinControl::MetaClass, nullptr, {});
const TClassInfo TSkinMP::MetaClass("TSkinMP", &TSkinControl::MetaClass, ComponentFactory<TSkinMP>, {});


// ---- TWMediaPlayer ----

TWMediaPlayer::TWMediaPlayer(TComponent* owner, TSkinData& SkinData, TControl& Player)
    : TWinControl(owner), FSkinData(&SkinData), FPlayer(Player) {}

void TWMediaPlayer::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    params.WinClassName = RegisterOwnClass(L"TWMediaPlayer", CS_HREDRAW | CS_VREDRAW);
    params.Style |= WS_CLIPSIBLINGS;
}

HWND TWMediaPlayer::PlayerWindow() const {
    auto* windowed = dynamic_cast<TWinControl*>(&FPlayer);
    return windowed ? windowed->WindowHandle() : nullptr;
}

TWMediaPlayer::TButtonSets TWMediaPlayer::ReadButtons() const {
    // A set's text names its elements whole between brackets and commas.
    auto read = [this](const char* property) {
        const std::wstring text = ReadSetProperty(&FPlayer, property);
        TButtonSet set = 0;
        for (int b = 0; b < MediaButtonCount; ++b) {
            const char* name = MediaButtonName(static_cast<TMPBtnType>(b));
            const std::wstring wanted(name, name + std::char_traits<char>::length(name));
            for (size_t at = text.find(wanted); at != std::wstring::npos; at = text.find(wanted, at + 1)) {
                const size_t end = at + wanted.size();
                if ((at == 0 || text[at - 1] == L'[' || text[at - 1] == L',') &&
                    (end == text.size() || text[end] == L']' || text[end] == L',')) {
                    set |= ButtonBit(static_cast<TMPBtnType>(b));
                    break;
                }
            }
        }
        return set;
    };
    return {read("VisibleButtons"), read("EnabledButtons"), read("ColoredButtons")};
}

int TWMediaPlayer::ButtonAt(int x) const {
    const int button = MediaButtonAt(ReadButtons().Visible, Width(), x);
    return button < 0 ? NoButton : button;
}

void TWMediaPlayer::WndProc(TMessage& message) {
    const HWND player = PlayerWindow();
    switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        FPressed = true;
        if (player) SendMessageW(player, WM_LBUTTONDOWN, message.WParam, message.LParam);
        // The release comes here, wherever it happens, so that a press never stays drawn.
        SetCapture(WindowHandle());
        FPressedButton = ButtonAt(static_cast<short>(LOWORD(message.LParam)));
        Invalidate();
        message.Result = 0;
        return;
    case WM_LBUTTONUP: {
        const bool wasPressed = FPressed;
        FPressed = false;
        if (GetCapture() == WindowHandle()) ReleaseCapture();
        const int over = ButtonAt(static_cast<short>(LOWORD(message.LParam)));
        Invalidate();
        if (wasPressed && over == FPressedButton && player) SendMessageW(player, WM_LBUTTONUP, message.WParam, message.LParam);
        FPressedButton = NoButton;
        message.Result = 0;
        return;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(message.LParam) != WindowHandle() && FPressed) {
            FPressed = false;
            FPressedButton = NoButton;
            Invalidate();
        }
        break;
    default:
        break;
    }
    TWinControl::WndProc(message);
}

void TWMediaPlayer::PaintWindow(HDC dc) {
    const TRect all{0, 0, Width(), Height()};
    if (all.IsEmpty()) return;
    TBitmap buffer;
    buffer.SetPixelFormat(pf24bit);
    buffer.SetSize(all.Width(), all.Height());
    TBitmapDCLock lock(buffer);
    const HDC target = lock.Handle();
    SetDCBrushColor(target, ColorToRGB(FSkinData->FaceColor));
    const RECT face = all.ToRECT();
    FillRect(target, &face, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    const TButtonSets buttons = ReadButtons();
    const int visible = std::popcount(static_cast<unsigned>(buttons.Visible));
    TDataSkinObject* frames = FSkinData->Buttons.get();
    const bool framed = frames && frames->Bitmap && !frames->Bitmap->Empty();
    int left = 0;
    for (int b = 0; b < MediaButtonCount && visible; ++b) {
        const auto button = static_cast<TMPBtnType>(b);
        const TButtonSet bit = ButtonBit(button);
        if (!(buttons.Visible & bit)) continue;
        const TRect cell{left, 0, left + all.Width() / visible, all.Height()};
        const bool pressed = FPressed && FPressedButton == b;
        const bool enabled = (buttons.Enabled & bit) != 0;
        if (framed) DrawSkinElement(target, cell, *frames, frames->Trans != 0, pressed ? 2 : !enabled ? 3 : 1);
        // The glyph's olive is left out, so the button's face shows through it.
        FGlyphs.Draw(target, cell.ToRECT(), button, !enabled ? mlDisabled : (buttons.Coloured & bit) ? mlColoured : mlEnabled,
                     pressed);
        left = cell.Right;
    }
    BitBlt(dc, 0, 0, all.Width(), all.Height(), target, 0, 0, SRCCOPY);
}

// ---- TSkinMP ----

TSkinMP::~TSkinMP() = default;

void TSkinMP::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    if (!FAttached || !FControl) return;
    FPanel = std::make_unique<TWMediaPlayer>(nullptr, SkinData, *FControl);
    FPanel->SetTag(SkinData.DisableTag());
    PlacePanel();
}

void TSkinMP::PlacePanel() {
    if (!FPanel || !FControl) return;
    FPanel->SetParent(FControl->Parent());
    const TRect bounds = FControl->BoundsRect();
    FPanel->SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
    FPanel->SetVisible(FControl->Visible() && FSkinOn);
    if (FPanel->Parent() && FWnd) {
        // Directly above the player, so that whatever lies above the player stays above the panel.
        const HWND above = GetWindow(FWnd, GW_HWNDPREV);
        if (above != FPanel->Handle())
            SetWindowPos(FPanel->Handle(), above ? above : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    FPanel->Invalidate();
}

void TSkinMP::Detach() {
    TSkinControl::Detach();
    FPanel.reset();
}

void TSkinMP::Reskin() {
    if (FPanel && FSkinData) FPanel->SetSkinData(*FSkinData);
    TSkinControl::Reskin();
    if (FPanel) FPanel->Invalidate();
}

void TSkinMP::SkinSwitched() { PlacePanel(); }

bool TSkinMP::BeforeMessage(TMessage& Message) {
    // The panel covers the player: the player's own picture is never drawn, and a change it would have
    // drawn (a mode, a button set) is drawn by the panel.
    if (FPanel && TakePaintMessages(Message)) {
        if (Message.Msg == WM_PAINT) FPanel->Invalidate();
        return false;
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinMP::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_WINDOWPOSCHANGED:
    case CM_VISIBLECHANGED:
        PlacePanel();
        break;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

#include "skin/controls/SkinControl.h"

#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Handles.h"
#include "ui/Messages.h"
#include "ui/Properties.h"
#include "ui/SubclassIds.h"
#include "ui/WinControl.h"

#include <cwctype>
#include <optional>

void DrawSkinElement(HDC DC, const TRect& Dest, TDataSkinObject& Element, bool Trans, int Index) {
    DrawSkinImage(DC, Dest, *Element.Bitmap, false, Element.Tile != 0, Trans, std::max(Element.FrameCount, 1), Index,
                  Element.Margins());
}

const TClassInfo TSkinControl::MetaClass("TSkinControl", &TComponent::MetaClass, ComponentFactory<TSkinControl>, {});

TSkinControl::TSkinControl(TComponent* owner) : TControlPainter(owner) {}

TSkinControl::~TSkinControl() {
    // The painted control (or the host of a windowless one) is still whole here: it frees its owned
    // components before its own parts go.
    if (FOldWindowProc) {
        if (TControl* target = FHost ? FHost : FControl) target->WindowProc = FOldWindowProc;
        FOldWindowProc = nullptr;
    }
    if (FSubclassed && IsWindow(FWnd)) RemoveWindowSubclass(FWnd, SubclassProc, SubclassPainter);
    FSubclassed = false;
    if (FSkinForm) FSkinForm->RemovePainter(this);
}

void TSkinControl::HookWindowProc(TControl& Target) {
    FOldWindowProc = Target.WindowProc;
    Target.WindowProc = [this](TMessage& message) { MessageProc(message); };
}

void TSkinControl::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    if (FAttached) return;
    FControl = dynamic_cast<TControl*>(Owner());
    if (!FControl) return;
    FTakeColor = TakeColor;
    FSkinData = &SkinData;
    FSkinForm = &SkinForm;
    FCanvas = Canvas;
    if (auto* windowed = dynamic_cast<TWinControl*>(FControl)) {
        FWnd = windowed->Handle();
        FUnicode = IsWindowUnicode(FWnd) != 0;
    }
    HookWindowProc(*FControl);
    SkinForm.AddPainter(this);
    if (FTakeColor) {
        SetParentBackground(true);
        FSavedColor = FControl->Color();
        FControl->SetColor(SkinData.FaceColor);
    }
    if (FParentBgOff) FMode = 1;
    FControl->Invalidate();
    FAttached = true;
    FLifeState = plAttached;
}

bool TSkinControl::AttachUnhooked(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    FControl = dynamic_cast<TControl*>(Owner());
    if (!FControl) return false;
    FSkinData = &SkinData;
    FSkinForm = &SkinForm;
    FCanvas = Canvas;
    if (auto* windowed = dynamic_cast<TWinControl*>(FControl)) FWnd = windowed->Handle();
    SkinForm.AddPainter(this);
    FTakeColor = TakeColor;
    if (TakeColor) {
        SetParentBackground(true);
        FSavedColor = FControl->Color();
        FControl->SetColor(SkinData.FaceColor);
    }
    FAttached = true;
    FLifeState = plAttached;
    return true;
}

void TSkinControl::AttachWindow(HWND Wnd, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    if (FAttached) return;
    FSkinData = &SkinData;
    FCanvas = Canvas;
    FSkinForm = &SkinForm;
    FWnd = Wnd;
    FEnabled = true;
    FMode = 0;
    SkinForm.AddPainter(this);
    FUnicode = IsWindowUnicode(Wnd) != 0;
    FCaption = ReadCaption();
    FSubclassed = SetWindowSubclass(Wnd, SubclassProc, SubclassPainter, reinterpret_cast<DWORD_PTR>(this)) != 0;
    InvalidateRect(Wnd, nullptr, TRUE);
    FAttached = true;
    FLifeState = plAttached;
}

void TSkinControl::AttachScrolling(TControl&, TSkinData& SkinData, TWinSkinForm& SkinForm, TCanvas* Canvas) {
    Attach(SkinForm, SkinData, false, Canvas);
}

void TSkinControl::Detach() {
    if (!FTakeColor || !FControl) return;
    SetParentBackground(false);
    FControl->SetColor(FSavedColor);
}

void TSkinControl::Reskin() {
    if (FTakeColor && FControl && FSkinData) FControl->SetColor(FSkinData->FaceColor);
    Repaint();
}

void TSkinControl::SetParentBackground(bool On) {
    // A skin that wants parents' backgrounds keeps them; so does a control without the property.
    if (!FControl || !FSkinData || FSkinData->HasOption(xoParentBackGround)) return;
    if (!FindPropInfo(FControl, "ParentBackground")) return;
    if (On) {
        std::wstring value = ReadEnumNameProperty(FControl, "ParentBackground");
        for (wchar_t& c : value) c = static_cast<wchar_t>(std::towlower(c));
        if (value != L"true") return;
        FParentBgOff = true;
        WritePropertyText(FControl, "ParentBackground", L"False");
    } else if (FParentBgOff) {
        WritePropertyText(FControl, "ParentBackground", L"True");
    }
}

// ---- Messages ----

LRESULT CALLBACK TSkinControl::SubclassProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                            DWORD_PTR refData) {
    TMessage message{msg, wParam, lParam, 0};
    try {
        reinterpret_cast<TSkinControl*>(refData)->MessageProc(message);
    } catch (...) {
        // Nothing may unwind through the system's dispatch: the window handles the message itself.
        return DefSubclassProc(wnd, msg, wParam, lParam);
    }
    return message.Result;
}

void TSkinControl::MessageProc(TMessage& Message) {
    if (Message.Msg == CM_RECREATEWND && FControl && !FSubclassed) {
        // The control makes its window again (a style change): the painter goes with it to the new
        // window instead of finishing with the old one.
        FRecreating = true;
        CallPrevious(Message);
        FRecreating = false;
        if (auto* windowed = dynamic_cast<TWinControl*>(FControl); windowed && windowed->HandleAllocated()) {
            FWnd = windowed->WindowHandle();
            FUnicode = IsWindowUnicode(FWnd) != 0;
            WindowRecreated();
            Repaint();
        }
        return;
    }
    if (Message.Msg == WM_NCDESTROY && FRecreating) {
        CallPrevious(Message);
        FWnd = nullptr;
        return;
    }
    if (Message.Msg == WM_SKINSWITCH) {
        FSkinOn = static_cast<intptr_t>(Message.WParam) > 0;
        SkinSwitched();
        if (FSkinOn) Repaint();
        Message.Result = 0;
        return;
    }
    if (!FSkinOn) {
        CallPrevious(Message);
        return;
    }
    if (BeforeMessage(Message)) {
        CallPrevious(Message);
        AfterMessage(Message);
    }
}

void TSkinControl::CallPrevious(TMessage& Message) {
    if (FOldWindowProc)
        FOldWindowProc(Message);
    else if (FWnd)
        Message.Result = DefSubclassProc(FWnd, Message.Msg, Message.WParam, Message.LParam);
}

bool TSkinControl::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCDESTROY:
        CallPrevious(Message);
        FSkinOn = false;
        FLifeState = plFinished;
        Detach();
        return false;
    case WM_SKINQUERY:
        Message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinControl::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        PaintWindow(reinterpret_cast<HDC>(Message.WParam));
        break;
    default:
        break;
    }
}

// ---- Painting ----

void TSkinControl::PaintWindow(HDC DC) {
    RECT r{};
    if (!FWnd || !GetWindowRect(FWnd, &r)) return;
    FWindowRect = TRect::FromRECT(r);
    const TRect rect{0, 0, FWindowRect.Width(), FWindowRect.Height()};
    try {
        if (DC) {
            DrawSkin(DC, rect);
        } else {
            TWindowDC own(FWnd);
            if (own) DrawSkin(own.get(), rect);
        }
    } catch (...) {
        // A control that cannot be painted this time is painted by its next WM_PAINT.
    }
}

void TSkinControl::DrawSkin(HDC, const TRect&) {}

void TSkinControl::PaintMessage(TMessage& Message) {
    std::optional<TPaintDC> paint;
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    if (!dc) {
        paint.emplace(FWnd);
        dc = paint->get();
    }
    RECT r{};
    if (dc && GetWindowRect(FWnd, &r)) {
        FWindowRect = TRect::FromRECT(r);
        try {
            DrawSkin(dc, {0, 0, FWindowRect.Width(), FWindowRect.Height()});
        } catch (...) {
        }
    }
    Message.Result = 0;
}

bool TSkinControl::TakePaintMessages(TMessage& Message) {
    if (Message.Msg == WM_PAINT) {
        PaintMessage(Message);
        return true;
    }
    if (Message.Msg == WM_ERASEBKGND) {
        Message.Result = 1;
        return true;
    }
    return false;
}

TBitmap& TSkinControl::Buffer(const TRect& Rect) {
    if (!FBuffer) {
        FBuffer = std::make_unique<TBitmap>();
        FBuffer->SetPixelFormat(pf24bit);
    }
    FBuffer->SetSize(Rect.Width(), Rect.Height());
    return *FBuffer;
}

void TSkinControl::SelectControlFont(TCanvas& Canvas) const {
    if (Control()) {
        Canvas.Font()->Assign(Control()->Font());
        return;
    }
    LOGFONTW logFont{};
    const auto font = reinterpret_cast<HFONT>(SendMessageW(FWnd, WM_GETFONT, 0, 0));
    if (GetObjectW(font ? font : GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont))
        Canvas.Font()->AssignLogFont(logFont);
}

void TSkinControl::Repaint() {
    if (FHost) {
        FHost->Invalidate();
        return;
    }
    if (!FWnd || FLifeState == plFinished) return;
    InvalidateRect(FWnd, nullptr, TRUE);
    UpdateWindow(FWnd);
}

bool TSkinControl::SetHotState(bool Hot) {
    if (Hot == ((FMouseState & msHot) != 0)) return false;
    if (Hot) {
        FMouseState |= msHot;
        if (FWnd) SkinTrackMouseLeave(FWnd);
    } else {
        FMouseState &= static_cast<uint8_t>(~msHot);
    }
    return true;
}

std::wstring TSkinControl::ReadCaption() const {
    if (FControl && FindPropInfo(FControl, "Caption")) return ReadStringProperty(FControl, "Caption");
    if (!FWnd) return {};
    const int length = GetWindowTextLengthW(FWnd);
    std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(GetWindowTextW(FWnd, text.data(), length + 1), 0)));
    return text;
}

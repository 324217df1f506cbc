#include "skin/controls/SkinButton.h"

#include "skin/data/SkinConvert.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinPlatform.h"
#include "skin/draw/SkinDraw.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Font.h"
#include "ui/ImageList.h"
#include "ui/GraphicControl.h"
#include "ui/Messages.h"
#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>

const TClassInfo TSkinButton::MetaClass("TSkinButton", &TSkinControl::MetaClass, ComponentFactory<TSkinButton>, {});
const TClassInfo TSkinBitButton::MetaClass("TSkinBitButton", &TSkinButton::MetaClass, ComponentFactory<TSkinBitButton>,
                                           {});
const TClassInfo TSkinMenuButton::MetaClass("TSkinMenuButton", &TSkinButton::MetaClass, ComponentFactory<TSkinMenuButton>,
                                            {});
const TClassInfo TSkinSpeedButton::MetaClass("TSkinSpeedButton", &TSkinBitButton::MetaClass,
                                             ComponentFactory<TSkinSpeedButton>, {});

namespace {


std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool ReadsTrue(const TObject* object, const char* name) { return Lower(ReadEnumNameProperty(object, name)) == L"true"; }

// The first "||" of a caption breaks the line there.
std::wstring BreakLines(std::wstring caption) {
    const size_t at = caption.find(L"||");
    if (at != std::wstring::npos) caption.replace(at, 2, L"\r\n");
    return caption;
}

}  // namespace

TGlyphPlacement PlaceGlyph(TGlyphSide Side, int Client, int Glyph, int Text, int Margin, int Spacing, bool Centred,
                           bool SpeedButton) {
    if (Text == 0 || Glyph == 0) Spacing = 0;
    if (Margin == -1 || Centred) {
        if (Spacing == -1) {
            Margin = (Client - Glyph - Text) / 3;
            Spacing = Margin;
        } else {
            Margin = (Client - Glyph - Spacing - Text) / 2 + (SpeedButton ? 1 : 0);
        }
    } else if (Spacing == -1) {
        Spacing = (Client - Margin - Glyph - Text) / 2;
    }
    if (Side == gsLeft || Side == gsTop) return {Margin, Margin + Glyph + Spacing};
    const int glyph = Client - Margin - Glyph;
    return {glyph, glyph - Spacing - Text};
}

// ---- TSkinButton ----

TSkinButton::TSkinButton(TComponent* owner) : TSkinControl(owner) {}
TSkinButton::~TSkinButton() = default;

void TSkinButton::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    TSkinControl::Attach(SkinForm, SkinData, TakeColor, Canvas);
    const std::string name = Control() ? Control()->ClassType().Name() : std::string();
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    // Buttons of those libraries take the press themselves.
    if (lower.rfind("trz", 0) == 0 || lower.rfind("tel", 0) == 0) FMode = 1;
    FTransparent = (Control() && Control()->Tag() == 5555) || SkinData.HasOption(xoTransparent);
}

bool TSkinButton::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        PaintMessage(Message);
        return false;
    case WM_ERASEBKGND:
        Message.Result = 1;
        return false;
    case WM_TIMER:
        KillTimer(FWnd, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // The painter shows the press. A framework button's own handling sees it too and clicks on the
        // release itself; otherwise the painter clicks.
        if (FWnd && GetFocus() != FWnd) SetFocus(FWnd);
        FMouseState |= msPressed;
        PaintWindow(nullptr);
        if (NativeTakesPress()) CallPrevious(Message);
        return false;
    default:
        return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinButton::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETTEXT:
        PaintWindow(nullptr);
        return;
    case WM_KEYDOWN:
    case WM_KEYUP:
        SpaceKey(Message);
        return;
    case WM_MOUSEMOVE:
        if (FEnabled && !(FMouseState & msHot)) {
            FMouseState |= msHot;
            Repaint();
        }
        if (FWnd) SkinTrackMouseLeave(FWnd);
        return;
    case WM_LBUTTONUP:
        if (FMouseState & msPressed) {
            FMouseState &= static_cast<uint8_t>(~msPressed);
            Repaint();
            if (!NativeTakesPress()) Click();
        }
        return;
    case WM_MOUSELEAVE:
        FMouseState = 0;
        Repaint();
        return;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        return;
    default:
        TSkinControl::AfterMessage(Message);
    }
}

void TSkinButton::SpaceKey(const TMessage& Message) {
    // Space held shows the button pressed, as a held mouse button does.
    if (Message.WParam != VK_SPACE) return;
    FMouseState = static_cast<uint8_t>(Message.Msg == WM_KEYDOWN ? FMouseState | msPressed : FMouseState & ~msPressed);
    Repaint();
}

void TSkinButton::Click() {
    if (FControl) {
        FControl->DoClick();
        return;
    }
    HWND parent = GetParent(FWnd);
    if (!parent) return;
    const bool framework = Lower(WindowClassName(FWnd)) == L"tbutton";
    PostMessageW(parent, WM_COMMAND, framework ? 0 : static_cast<WPARAM>(GetDlgCtrlID(FWnd)), reinterpret_cast<LPARAM>(FWnd));
}

void TSkinButton::ReadState() {
    if (FWnd) {
        FFocused = GetFocus() == FWnd;
        FEnabled = !(GetWindowLongPtrW(FWnd, GWL_STYLE) & WS_DISABLED);
    } else if (TControl* control = Control()) {
        FEnabled = control->Enabled();
    }
    FMultiLine = Control() && ReadsTrue(Control(), "MultiLine");
    FCaption = FHost ? FHost->Caption() : ReadCaption();
}

int TSkinButton::Frame() const {
    if (!FEnabled) return bfDisabled;
    if (FMouseState & msPressed) return bfPressed;
    if (FMouseState & msHot) return bfHot;
    if (FFocused) return bfFocused;
    return bfNormal;
}

bool TSkinButton::DrawFace(const TRect& Rect, int FrameIndex, bool DrawElement) {
    const TDataSkinButton& element = *FSkinData->Buttons;
    if (element.Bitmap->Empty() || Rect.IsEmpty()) return false;
    TBitmapDCLock lock(Buffer(Rect));
    HDC dc = lock.Handle();
    TControl* control = Control();
    if (FTransparent && control) {
        DrawParentBackground(*control, dc);
    } else {
        UniqueBrush face(CreateSolidBrush(ColorToRGB(FSkinData->FaceColor)));
        const RECT r{0, 0, Rect.Width(), Rect.Height()};
        FillRect(dc, &r, face.get());
    }
    if (DrawElement)
        DrawSkinImage(dc, {0, 0, Rect.Width(), Rect.Height()}, *element.Bitmap, false, element.Tile != 0,
                      element.Trans == 1, std::max(element.FrameCount, 1), FrameIndex, element.Margins());
    return true;
}

TColor TSkinButton::CaptionColour(int FrameIndex) const {
    const TDataSkinButton& b = *FSkinData->Buttons;
    if (FrameIndex == bfDisabled) return static_cast<TColor>(GetSysColor(COLOR_BTNSHADOW));
    TColor colour = Control() ? Control()->Font()->Color() : FSkinData->ButtonTextColor;
    if (FrameIndex == bfNormal && b.HasNormalColour2) colour = static_cast<TColor>(b.NormalColour2);
    if (FrameIndex == bfHot && b.HasMouseOverColour2) colour = static_cast<TColor>(b.MouseOverColour2);
    if (FrameIndex == bfPressed && b.HasPressedColour2) colour = static_cast<TColor>(b.PressedColour2);
    return colour;
}

void TSkinButton::SelectCaptionFont(int FrameIndex) {
    TCanvas& canvas = *FBuffer->Canvas();
    SelectControlFont(canvas);
    canvas.Font()->SetColor(CaptionColour(FrameIndex));
    canvas.Brush()->SetStyle(bsClear);  // the caption lies on the face, no box behind it
}

UINT TSkinButton::ReadingFlags() const {
    const TControl* control = Control();
    return control && control->UseRightToLeftReading() ? DT_RTLREADING : 0u;
}

void TSkinButton::DrawCaption(const TRect& Rect, int FrameIndex) {
    SelectCaptionFont(FrameIndex);
    TCanvas& canvas = *FBuffer->Canvas();
    const std::wstring caption = BreakLines(FCaption);
    const UINT flags = DT_WORDBREAK | DT_EXPANDTABS | DT_CENTER | ReadingFlags();
    const TRect area = Rect.Inflate(-2, -2);
    TRect measured = area;
    canvas.DrawText(caption, measured, flags | DT_CALCRECT | DT_NOCLIP);
    const TRect text = TRect::FromBounds((Rect.Width() - measured.Width()) / 2, (Rect.Height() - measured.Height()) / 2 - 1,
                                         measured.Width(), measured.Height());
    TRect drawn = text;
    canvas.DrawText(caption, drawn, flags);
    if (FFocused) DrawFocus(text);
}

void TSkinButton::DrawFocus(const TRect& TextRect) {
    if (FSkinData->HasOption(xoNoFocusRect)) return;
    const RECT r = TextRect.Inflate(2, 2).ToRECT();
    DrawFocusRect(FBuffer->Canvas()->Handle(), &r);
}

void TSkinButton::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FSkinData->Buttons) return;
    ReadState();
    const int frame = Frame();
    if (!DrawFace(Rect, frame)) return;
    TBitmapDCLock lock(*FBuffer);
    DrawCaption(Rect, frame);
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinBitButton ----

void TSkinBitButton::DrawGlyphAndCaption(const TRect& Rect, int FrameIndex, int GlyphCell, bool SpeedButton) {
    TControl* control = Control();
    const int margin = ReadIntegerProperty(control, "Margin");
    const int spacing = ReadIntegerProperty(control, "Spacing");
    const std::wstring layout = Lower(ReadEnumNameProperty(control, "Layout"));
    const TGlyphSide side = layout == L"blglyphright"    ? gsRight
                            : layout == L"blglyphtop"    ? gsTop
                            : layout == L"blglyphbottom" ? gsBottom
                                                         : gsLeft;
    const bool across = side == gsLeft || side == gsRight;

    // The glyph: a named graphic property (drawn by the graphic itself), else the cells of Glyph, else
    // the control's image list.
    TBitmap* graphic = control && !FGlyphProperty.empty() ? ReadObjectProperty<TBitmap>(control, FGlyphProperty) : nullptr;
    TBitmap* glyph = control && FGlyphProperty.empty() ? ReadObjectProperty<TBitmap>(control, "Glyph") : nullptr;
    TImageList* images = control && FGlyphProperty.empty() ? ReadObjectProperty<TImageList>(control, "Images") : nullptr;
    const int numGlyphs = std::max(ReadIntegerProperty(control, "NumGlyphs"), 1);
    const int imageIndex = ReadIntegerProperty(control, "ImageIndex");
    int gw = 0, gh = 0;
    if (graphic && !graphic->Empty()) {
        gw = graphic->Width();
        gh = graphic->Height();
    } else if (glyph && !glyph->Empty()) {
        gw = glyph->Width() / numGlyphs;
        gh = glyph->Height();
    } else if (images && imageIndex != -1) {
        gw = images->Width();
        gh = images->Height();
    }

    SelectCaptionFont(FrameIndex);
    TCanvas& canvas = *FBuffer->Canvas();
    const std::wstring caption = BreakLines(FCaption);
    TRect textArea = Rect.Inflate(-2, -2);
    if (across) textArea.Right -= gw + 2;
    else textArea.Bottom -= gh + 2;
    // A caption that fits on one line beside its glyph stays on one line, even where the text area
    // (which keeps two pixels clear on each side) is a pixel or two short.
    UINT wrap = DT_WORDBREAK;
    TRect measured = textArea;
    if (!caption.empty()) {
        TRect line{0, 0, 0, 0};
        canvas.DrawText(caption, line, DT_CALCRECT | DT_SINGLELINE | ReadingFlags());
        const int spacingRoom = std::max(spacing, 0);
        if (caption.find(L'\n') == std::wstring::npos &&
            (across ? gw + spacingRoom + line.Width() <= Rect.Width() - 2 : line.Width() <= Rect.Width() - 2))
            wrap = DT_SINGLELINE;
        canvas.DrawText(caption, measured, DT_CALCRECT | wrap | ReadingFlags());
    }
    const int tw = caption.empty() ? 0 : measured.Width(), th = caption.empty() ? 0 : measured.Height();

    const bool centred = !SpeedButton && Lower(ReadEnumNameProperty(control, "Alignment")) == L"tacenter";
    const TGlyphPlacement at = across ? PlaceGlyph(side, Rect.Width(), gw, tw, margin, spacing, centred, SpeedButton)
                                      : PlaceGlyph(side, Rect.Height(), gh, th, margin, spacing, centred, SpeedButton);
    const TPoint glyphAt = across ? TPoint{at.Glyph, (Rect.Height() - gh + 1) / 2} : TPoint{(Rect.Width() - gw + 1) / 2, at.Glyph};
    const TPoint textAt = across ? TPoint{at.Text, (Rect.Height() - th + 1) / 2} : TPoint{(Rect.Width() - tw + 1) / 2, at.Text};

    if (gw > 0 && gh > 0) {
        const TRect place = TRect::FromBounds(glyphAt.X, glyphAt.Y, gw, gh);
        if (graphic && !graphic->Empty()) {
            graphic->DrawTo(canvas.Handle(), place);
        } else if (glyph && !glyph->Empty()) {
            // The cell asked for, or the first when the glyph has fewer; the disabled cell drawn grey.
            const int cell = GlyphCell <= numGlyphs ? GlyphCell : 1;
            TBitmap piece;
            piece.SetPixelFormat(pf24bit);
            piece.SetSize(gw, gh);
            BitBlt(piece.Canvas()->Handle(), 0, 0, gw, gh, glyph->Canvas()->Handle(), (cell - 1) * gw, 0, SRCCOPY);
            if (GlyphCell == 2) GrayscaleBitmap(piece);
            const TColor key = piece.Canvas()->Pixel(0, gh - 1);
            DrawTransparent(canvas.Handle(), place, piece, key);
        } else if (GlyphCell == 2) {
            const int disabledIndex = ReadIntegerProperty(control, "DisabledIndex");
            images->Draw(canvas, place.Left, place.Top, disabledIndex != -1 ? disabledIndex : imageIndex, disabledIndex != -1);
        } else {
            images->Draw(canvas, place.Left, place.Top, imageIndex);
        }
    }
    if (!caption.empty()) {
        const UINT flags = wrap | ReadingFlags() | (side == gsRight ? DT_RIGHT : 0u) |
                           (across ? 0u : static_cast<UINT>(DT_CENTER));
        TRect text = TRect::FromBounds(textAt.X, textAt.Y, tw, th);
        canvas.Font()->SetColor(CaptionColour(FrameIndex));
        canvas.DrawText(caption, text, flags);
        if (FFocused) DrawFocus(TRect::FromBounds(textAt.X, textAt.Y, tw, th));
    }
}

void TSkinBitButton::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FSkinData->Buttons) return;
    ReadState();
    const int frame = Frame();
    if (!DrawFace(Rect, frame)) return;
    TBitmapDCLock lock(*FBuffer);
    DrawGlyphAndCaption(Rect, frame, frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1, false);
    BitBlt(DC, Rect.Left, Rect.Top, Rect.Width(), Rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinMenuButton ----

void TSkinMenuButton::DrawSkin(HDC DC, const TRect& Rect) {
    if (!FSkinData || !FSkinData->Buttons) return;
    ReadState();
    // Hot and focused look alike: the arrow invites a click either way.
    const int frame = !FEnabled                         ? bfDisabled
                      : (FMouseState & msPressed)       ? bfPressed
                      : (FMouseState & msHot) || FFocused ? bfHot
                                                        : bfNormal;
    if (!DrawFace(Rect, frame)) return;
    TBitmapDCLock lock(*FBuffer);
    SelectCaptionFont(frame);
    TCanvas& canvas = *FBuffer->Canvas();
    constexpr int arrowRoom = 17;
    const int w = Rect.Width(), h = Rect.Height();
    const std::wstring caption = BreakLines(FCaption);
    const UINT flags = DT_WORDBREAK | ReadingFlags();
    TRect measured = TRect{0, 0, w - arrowRoom, h}.Inflate(-2, -2);
    canvas.DrawText(caption, measured, flags | DT_CALCRECT);
    const TRect text = TRect::FromBounds((w - arrowRoom - measured.Width()) / 2 + 2, (h - measured.Height() + 1) / 2,
                                         measured.Width(), measured.Height());
    TRect drawn = text;
    canvas.DrawText(caption, drawn, flags);
    if (FFocused) DrawFocus(text);

    const int m = h / 2 + 2;
    const POINT arrow[3] = {{w - 12, m}, {w - 15, m - 3}, {w - 9, m - 3}};
    const COLORREF colour = GetSysColor(FEnabled ? COLOR_WINDOWTEXT : COLOR_BTNSHADOW);
    UniquePen pen(CreatePen(PS_SOLID, 1, colour));
    UniqueBrush brush(CreateSolidBrush(colour));
    TSavedDC saved(lock.Handle());
    SelectObject(lock.Handle(), pen.get());
    SelectObject(lock.Handle(), brush.get());
    Polygon(lock.Handle(), arrow, 3);
    BitBlt(DC, Rect.Left, Rect.Top, w, h, lock.Handle(), 0, 0, SRCCOPY);
}

// ---- TSkinSpeedButton ----

void TSkinSpeedButton::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool, TCanvas* Canvas) {
    if (FAttached) return;
    auto* host = dynamic_cast<TControl*>(Owner());
    if (!host) return;
    FSkinData = &SkinData;
    FCanvas = Canvas;
    FSkinForm = &SkinForm;
    FHost = host;
    HookWindowProc(*host);
    SkinForm.AddPainter(this);
    FLifeState = plAttached;
    FAttached = true;
    FTransparent = host->Tag() == 5555 || SkinData.HasOption(xoTransparent);
    host->Invalidate();
}

bool TSkinSpeedButton::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT:
        Draw(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        CallPrevious(Message);
        if (FHost->Enabled()) FMouseState |= msPressed;
        Repaint();
        return false;
    case WM_LBUTTONUP:
        return true;
    case WM_SKINQUERY:
        Message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinSpeedButton::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_KEYUP:
        SpaceKey(Message);
        return;
    case WM_LBUTTONUP:
        FMouseState &= static_cast<uint8_t>(~msPressed);
        Repaint();
        return;
    case CM_MOUSEENTER:
        FMouseState |= msHot;
        Repaint();
        return;
    case CM_MOUSELEAVE:
        FMouseState = 0;
        if (FHost->Visible()) Repaint();
        return;
    default:
        return;
    }
}

void TSkinSpeedButton::PaintWindow(HDC DC) {
    if (DC) Draw(DC);
}

void TSkinSpeedButton::Draw(HDC DC) {
    if (FPainting || !DC || !FSkinData || !FSkinData->Buttons || FSkinData->Buttons->Bitmap->Empty()) return;
    const TRect rect = FHost->ClientRect();
    if (rect.Width() < 1 || rect.Height() < 1) return;
    FPainting = true;
    try {
        const bool enabled = FHost->Enabled();
        const bool down = ReadsTrue(FHost, "Down");
        const bool flat = ReadsTrue(FHost, "Flat");
        FEnabled = enabled;
        FFocused = false;
        FCaption = FHost->Caption();
        const int frame = down ? bfPressed
                          : !enabled ? bfDisabled
                          : (FMouseState & msPressed) ? bfPressed
                          : (FMouseState & msHot) ? bfHot
                                                  : bfNormal;
        const int cell = down ? 4 : frame == bfPressed ? 3 : frame == bfDisabled ? 2 : 1;
        // A flat button shows only the background while idle.
        const bool element = frame == bfPressed || frame == bfHot || !flat;
        if (DrawFace(rect, frame, element)) {
            TBitmapDCLock lock(*FBuffer);
            DrawGlyphAndCaption(rect, frame, cell, true);
            BitBlt(DC, 0, 0, rect.Width(), rect.Height(), lock.Handle(), 0, 0, SRCCOPY);
        }
    } catch (...) {
    }
    FPainting = false;
}

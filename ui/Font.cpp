#include "ui/Font.h"

#include "ui/Properties.h"

#include <cwchar>

namespace {
constexpr int ScreenDpi = 96;
}

const TClassInfo TFont::MetaClass(
    "TFont", &TPersistent::MetaClass, nullptr,
    {
        IntProp<TFont>("Charset", &TFont::Charset, &TFont::SetCharset),
        IntProp<TFont>("Color", &TFont::Color, &TFont::SetColor),
        IntProp<TFont>("Height", &TFont::Height, &TFont::SetHeight),
        StrProp<TFont>("Name", &TFont::Name, &TFont::SetName),
        IntProp<TFont>("Size", &TFont::Size, &TFont::SetSize),
        SetProp<TFont, TFontStyles>("Style", {"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"}, &TFont::Style,
                                    &TFont::SetStyle),
    });

void TFont::Assign(const TPersistent* source) {
    auto* font = dynamic_cast<const TFont*>(source);
    if (!font) return TPersistent::Assign(source);
    FName = font->FName;
    FHeight = font->FHeight;
    FColor = font->FColor;
    FStyle = font->FStyle;
    FCharset = font->FCharset;
    Changed();
}

void TFont::AssignLogFont(const LOGFONTW& logFont) {
    FName = logFont.lfFaceName;
    FHeight = logFont.lfHeight;
    FStyle = (logFont.lfWeight >= FW_BOLD ? FontStyleBit(fsBold) : 0) |
             (logFont.lfItalic ? FontStyleBit(fsItalic) : 0) |
             (logFont.lfUnderline ? FontStyleBit(fsUnderline) : 0) |
             (logFont.lfStrikeOut ? FontStyleBit(fsStrikeOut) : 0);
    FCharset = logFont.lfCharSet;
    Changed();
}

LOGFONTW TFont::LogFont() const {
    LOGFONTW lf{};
    lf.lfHeight = FHeight;
    lf.lfWeight = (FStyle & FontStyleBit(fsBold)) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (FStyle & FontStyleBit(fsItalic)) ? 1 : 0;
    lf.lfUnderline = (FStyle & FontStyleBit(fsUnderline)) ? 1 : 0;
    lf.lfStrikeOut = (FStyle & FontStyleBit(fsStrikeOut)) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(FCharset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    wcsncpy(lf.lfFaceName, FName.c_str(), LF_FACESIZE - 1);
    return lf;
}

void TFont::SetName(const std::wstring& name) {
    if (name.empty() || name == FName) return;
    FName = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == FHeight) return;
    FHeight = height;
    Changed();
}

int TFont::Size() const { return -MulDiv(FHeight, 72, ScreenDpi); }

void TFont::SetSize(int points) { SetHeight(-MulDiv(points, ScreenDpi, 72)); }

void TFont::SetColor(TColor color) {
    if (color == FColor) return;
    FColor = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == FStyle) return;
    FStyle = style;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == FCharset) return;
    FCharset = charset;
    Changed();
}

HFONT TFont::Handle() const {
    if (!FHandle) {
        LOGFONTW lf = LogFont();
        FHandle.reset(CreateFontIndirectW(&lf));
    }
    return FHandle.get();
}

void TFont::Changed() {
    // The old font lives until the holder has heard of the change, so that a canvas can select it out
    // of its DC before it is deleted.
    UniqueFont old(FHandle.release());
    if (OnChange) OnChange(this);
}

#pragma once
// TFont: the text font of a control or canvas. The GDI font is made on first use and remade after any
// change; OnChange tells the holder (a control repaints, a canvas reselects).
#include "ui/Handles.h"
#include "ui/Persistent.h"
#include "ui/Types.h"

#include <string>

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = uint32_t;  // bit n = TFontStyle n
constexpr TFontStyles FontStyleBit(TFontStyle s) { return 1u << s; }

class TFont : public TPersistent {
public:
    CLARIVO_CLASS

    TFont() = default;

    void Assign(const TPersistent* source) override;
    // Takes name, height, style and character set from a LOGFONT (for example the system caption font).
    void AssignLogFont(const LOGFONTW& logFont);
    LOGFONTW LogFont() const;

    const std::wstring& Name() const { return FName; }
    void SetName(const std::wstring& name);
    // Height in pixels; negative means character height (the usual form, -11 for 8 points at 96 dpi).
    int Height() const { return FHeight; }
    void SetHeight(int height);
    // Size in points at the screen's 96 dots per inch.
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor color);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles style);
    int Charset() const { return FCharset; }
    void SetCharset(int charset);

    // The GDI font; owned by this object, valid until the next change.
    HFONT Handle() const;

    TNotifyEvent OnChange;

private:
    void Changed();

    std::wstring FName = L"MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
    int FCharset = DEFAULT_CHARSET;
    mutable UniqueFont FHandle;
};

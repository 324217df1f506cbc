#include "skin/controls/SkinObjImage.h"

#include "skin/data/SkinData.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Bitmap.h"
#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <algorithm>
#include <initializer_list>

const TClassInfo TSkinObjImage::MetaClass("TSkinObjImage", &TSkinControl::MetaClass, ComponentFactory<TSkinObjImage>, {});

namespace {

struct TCellCopy {
    int Dest, Source;
};

// Where each cell of a mode's strip comes from. The source cells are: unchecked, checked, disabled
// unchecked, disabled checked and (a fifth, check images only) grayed.
struct TStripLayout {
    int Cells;
    std::initializer_list<TCellCopy> Copies;
    std::initializer_list<TCellCopy> FromFifth;  // only when the source has five cells
};

const TStripLayout& LayoutOf(TObjImageMode Mode) {
    static const TStripLayout check{9, {{0, 0}, {3, 0}, {1, 1}, {4, 1}, {6, 2}, {7, 3}}, {{2, 4}, {5, 4}, {8, 4}}};
    static const TStripLayout radio{6, {{0, 0}, {2, 0}, {1, 1}, {3, 1}, {4, 2}, {5, 3}}, {}};
    static const TStripLayout properties{6, {{0, 0}, {3, 0}, {1, 1}, {4, 1}}, {{2, 4}, {5, 4}}};
    switch (Mode) {
    case oiRadioGlyphs: return radio;
    case oiPropertiesGlyph: return properties;
    default: return check;
    }
}

}  // namespace

TSkinObjImage::TSkinObjImage(TComponent* owner, TObjImageMode Mode) : TSkinControl(owner), FImageMode(Mode) {}

std::unique_ptr<TBitmap> TSkinObjImage::ComposeStrip(const TBitmap* Source, int SourceCells, TObjImageMode Mode) {
    if (!Source || Source->Empty()) return nullptr;
    const TStripLayout& layout = LayoutOf(Mode);
    SourceCells = std::max(SourceCells, 1);
    const int cellWidth = Source->Width() / SourceCells, height = Source->Height();
    auto strip = std::make_unique<TBitmap>();
    strip->SetPixelFormat(pf24bit);
    strip->SetSize(cellWidth * layout.Cells, height);
    const HDC target = strip->Canvas()->Handle();
    SetDCBrushColor(target, ColorToRGB(clFuchsia));
    const RECT all{0, 0, strip->Width(), height};
    FillRect(target, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    const HDC source = const_cast<TBitmap*>(Source)->Canvas()->Handle();
    auto copy = [&](std::initializer_list<TCellCopy> copies) {
        for (const TCellCopy& c : copies)
            if (c.Source < SourceCells)
                BitBlt(target, c.Dest * cellWidth, 0, cellWidth, height, source, c.Source * cellWidth, 0, SRCCOPY);
    };
    copy(layout.Copies);
    if (SourceCells == 5) copy(layout.FromFifth);
    strip->SetTransparentColor(clFuchsia);
    strip->SetTransparent(false);
    return strip;
}

void TSkinObjImage::Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) {
    // Nothing of the control's own handling is taken: it paints itself, with the skin's glyphs.
    if (!FAttached && AttachUnhooked(SkinForm, SkinData, TakeColor, Canvas)) GiveGlyphs();
}

void TSkinObjImage::GiveGlyphs() {
    if (!FControl || !FSkinData || !FSkinData->Buttons) return;
    const TDataSkinButton& buttons = *FSkinData->Buttons;
    const bool radio = FImageMode == oiRadioGlyphs;
    const std::unique_ptr<TBitmap> strip =
        ComposeStrip(radio ? buttons.RadioBitmap.get() : buttons.CheckBitmap.get(),
                     radio ? buttons.RadioFrameCount : buttons.CheckFrameCount, FImageMode);
    if (!strip) return;
    if (FImageMode == oiPropertiesGlyph) {
        if (auto* glyph = ReadObjectProperty<TBitmap>(ReadObjectProperty<TPersistent>(FControl, "Properties"), "Glyph"))
            glyph->Assign(strip.get());
        return;
    }
    auto* glyphs = ReadObjectProperty<TBitmap>(FControl, "CustomGlyphs");
    if (!glyphs) return;
    glyphs->Assign(strip.get());
    WritePropertyText(FControl, "transparentcolor", std::to_wstring(clFuchsia));
    // Off and on again, so that the control takes the new glyphs whatever it held before.
    WritePropertyText(FControl, "UseCustomGlyphs", L"false");
    WritePropertyText(FControl, "UseCustomGlyphs", L"true");
}

void TSkinObjImage::Detach() {
    TSkinControl::Detach();
    if (!FControl) return;
    if (FImageMode == oiPropertiesGlyph) {
        if (auto* glyph = ReadObjectProperty<TBitmap>(ReadObjectProperty<TPersistent>(FControl, "Properties"), "Glyph"))
            glyph->Assign(nullptr);
    } else {
        WritePropertyText(FControl, "UseCustomGlyphs", L"false");
    }
}

void TSkinObjImage::Reskin() {
    GiveGlyphs();
    TSkinControl::Reskin();
}

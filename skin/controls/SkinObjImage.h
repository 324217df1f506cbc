#pragma once
// TSkinObjImage: for check boxes and radio buttons that draw their box from a glyph strip they publish as
// a property, the skin does not paint; it composes a strip from the skin's check or radio image and hands
// it over, and takes it back when skinning ends. No message of the control passes through it.
//
//   mode 1: a check box with CustomGlyphs (9 cells), mode 2: a radio button with CustomGlyphs (6 cells),
//   mode 3: a check box whose Properties object has a Glyph (6 cells).
#include "skin/controls/SkinControl.h"

#include <memory>

class TBitmap;

enum TObjImageMode { oiCheckGlyphs = 1, oiRadioGlyphs = 2, oiPropertiesGlyph = 3 };

class TSkinObjImage : public TSkinControl {
public:
    CLARIVO_CLASS
    TSkinObjImage(TComponent* owner, TObjImageMode Mode);
    explicit TSkinObjImage(TComponent* owner) : TSkinObjImage(owner, oiCheckGlyphs) {}

    void Attach(TWinSkinForm& SkinForm, TSkinData& SkinData, bool TakeColor, TCanvas* Canvas) override;
    void Detach() override;
    void Reskin() override;

    TObjImageMode Mode() const { return FImageMode; }
    // The mode's strip made from Source's SourceCells cells (cells not filled are magenta), or null when
    // Source is missing or empty.
    static std::unique_ptr<TBitmap> ComposeStrip(const TBitmap* Source, int SourceCells, TObjImageMode Mode);

private:
    // Composes the strip from the current skin and hands it to the control.
    void GiveGlyphs();

    TObjImageMode FImageMode;
};

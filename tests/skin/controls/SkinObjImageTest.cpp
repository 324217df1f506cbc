// The glyph adapter: check controls that draw their box from a glyph strip of their own get one composed
// from the skin's check or radio image, show it, follow a skin change and get their own look back when
// skinning ends.
#include "SkinnedForm.h"
#include "WindowShot.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/data/SkinData.h"
#include "ui/GlyphCheckBox.h"

#include "Pump.h"
#include "RealMouse.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A source strip of Cells cells, cell i all of colour Shade(i).
COLORREF Shade(int Cell) { return RGB(40 * (Cell + 1), 10 + Cell, 200 - 30 * Cell); }
std::unique_ptr<TBitmap> SourceStrip(int Cells, int CellWidth = 13, int Height = 13) {
    auto source = std::make_unique<TBitmap>();
    source->SetPixelFormat(pf24bit);
    source->SetSize(Cells * CellWidth, Height);
    for (int i = 0; i < Cells; ++i) {
        SetDCBrushColor(source->Canvas()->Handle(), Shade(i));
        const RECT r{i * CellWidth, 0, (i + 1) * CellWidth, Height};
        FillRect(source->Canvas()->Handle(), &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    }
    return source;
}

TEST(GlyphStrip, EachModeTakesItsCellsFromTheSkinsImage) {
    constexpr int Empty = -1;
    struct Case {
        TObjImageMode Mode;
        int SourceCells;
        std::vector<int> From;  // the source cell of each strip cell
    } cases[] = {
        {oiCheckGlyphs, 5, {0, 1, 4, 0, 1, 4, 2, 3, 4}},
        {oiCheckGlyphs, 4, {0, 1, Empty, 0, 1, Empty, 2, 3, Empty}},
        {oiRadioGlyphs, 4, {0, 1, 0, 1, 2, 3}},
        {oiPropertiesGlyph, 5, {0, 1, 4, 0, 1, 4}},
        {oiPropertiesGlyph, 4, {0, 1, Empty, 0, 1, Empty}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.Mode << ", " << c.SourceCells << " source cells");
        auto source = SourceStrip(c.SourceCells);
        auto strip = TSkinObjImage::ComposeStrip(source.get(), c.SourceCells, c.Mode);
        ASSERT_NE(strip, nullptr);
        ASSERT_EQ(strip->Width(), 13 * static_cast<int>(c.From.size()));
        ASSERT_EQ(strip->Height(), 13);
        EXPECT_EQ(strip->TransparentColor(), clFuchsia);
        for (size_t i = 0; i < c.From.size(); ++i) {
            const COLORREF expected = c.From[i] == Empty ? RGB(255, 0, 255) : Shade(c.From[i]);
            for (int x : {0, 6, 12})
                EXPECT_EQ(ColorToRGB(strip->Canvas()->Pixel(static_cast<int>(i) * 13 + x, 6)), expected) << "cell " << i;
        }
    }
    TBitmap empty;
    EXPECT_EQ(TSkinObjImage::ComposeStrip(&empty, 4, oiCheckGlyphs), nullptr);
    EXPECT_EQ(TSkinObjImage::ComposeStrip(nullptr, 4, oiRadioGlyphs), nullptr);
}

POINT CentreOnScreen(HWND Wnd) {
    RECT r{};
    GetWindowRect(Wnd, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class GlyphAdapter : public SkinnedForm {
protected:
    GlyphAdapter() : SkinnedForm({300, 140}) {
        check = Add<TGlyphCheckBox>(10, L"Glyph check");
        radio = Add<TGlyphRadioButton>(40, L"Glyph radio");
        properties = Add<TPropertiesCheckBox>(70, L"Properties check");
        twin = Add<TGlyphCheckBox>(100, L"Left alone");
        twin->SetTag(Unskinned);
    }
    template <typename T>
    T* Add(int Y, const wchar_t* Caption) {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetBounds(10, Y, 200, 21);
        control->SetCaption(Caption);
        return control;
    }
    TSkinObjImage* PainterOf(TControl* Control) const {
        return dynamic_cast<TSkinObjImage*>(skinner->PainterOfControl(Control));
    }
    static bool OwnerDrawn(TWinControl* Control) {
        return (GetWindowLongPtrW(Control->Handle(), GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
    }
    // The control's box shows source cell Cell of the skin's check (or radio) image, pixel for pixel
    // where the image is not transparent.
    void ExpectShowsCell(TWinControl* Control, bool Radio, int Cell) {
        const TDataSkinButton& buttons = *skin->Buttons;
        TBitmap& image = Radio ? *buttons.RadioBitmap : *buttons.CheckBitmap;
        const int cells = Radio ? buttons.RadioFrameCount : buttons.CheckFrameCount;
        const int w = image.Width() / cells, h = image.Height();
        RedrawAll(Control->Handle());
        auto shot = TPixels::OfWindow(Control->Handle());
        const int top = (Control->Height() - h) / 2;
        int compared = 0, differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const COLORREF want = ColorToRGB(image.Canvas()->Pixel(Cell * w + x, y));
                if (want == RGB(255, 0, 255)) continue;
                ++compared;
                if (shot->At(x, top + y) != want) ++differing;
            }
        EXPECT_GT(compared, w * h / 4);
        EXPECT_EQ(differing, 0) << "cell " << Cell;
    }

    TGlyphCheckBox* check = nullptr;
    TGlyphRadioButton* radio = nullptr;
    TPropertiesCheckBox* properties = nullptr;
    TGlyphCheckBox* twin = nullptr;
};

TEST_F(GlyphAdapter, TheControlsShowTheSkinsCellsAsTheyAreClickedAndDisabled) {
    ShowSkinned();
    ASSERT_NE(PainterOf(check), nullptr);
    ASSERT_NE(PainterOf(radio), nullptr);
    ASSERT_NE(PainterOf(properties), nullptr);
    EXPECT_EQ(PainterOf(check)->Mode(), oiCheckGlyphs);
    EXPECT_EQ(PainterOf(radio)->Mode(), oiRadioGlyphs);
    EXPECT_EQ(PainterOf(properties)->Mode(), oiPropertiesGlyph);
    EXPECT_EQ(skinner->PainterOfControl(twin), nullptr);
    EXPECT_FALSE(OwnerDrawn(twin));
    EXPECT_TRUE(check->UseCustomGlyphs());
    EXPECT_EQ(check->TransparentColor(), clFuchsia);
    EXPECT_EQ(check->Color(), skin->FaceColor);
    ASSERT_GE(skin->Buttons->CheckFrameCount, 4);
    ASSERT_GE(skin->Buttons->RadioFrameCount, 4);

    struct Row {
        TWinControl* Control;
        bool Radio;
        int DisabledChecked;  // the source cell shown when checked and disabled
    } rows[] = {{check, false, 3}, {radio, true, 3}, {properties, false, 1}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Control->Caption());
        EXPECT_TRUE(OwnerDrawn(row.Control));
        ExpectShowsCell(row.Control, row.Radio, 0);
        MouseClick(CentreOnScreen(row.Control->Handle()));
        Pump(5);
        ExpectShowsCell(row.Control, row.Radio, 1);
        row.Control->SetEnabled(false);
        ExpectShowsCell(row.Control, row.Radio, row.DisabledChecked);
        row.Control->SetEnabled(true);
    }
    EXPECT_EQ(check->State(), cbChecked);
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(properties->State(), cbChecked);
    // Two fast clicks (a double click to the system) are two clicks: clear, then checked again.
    MouseClick(CentreOnScreen(check->Handle()));
    MouseClick(CentreOnScreen(check->Handle()));
    Pump(5);
    EXPECT_EQ(check->State(), cbChecked);
}

TEST_F(GlyphAdapter, ASkinChangeBringsItsGlyphsAndTheEndOfSkinningTheControlsOwnLook) {
    const TColor colour = check->Color();
    ShowSkinned();
    ExpectShowsCell(check, false, 0);
    skin->SetSkinFile(ShippedSkinPath("graphite"));
    SkinManager->ApplyChange();
    Pump(5);
    ASSERT_NE(PainterOf(check), nullptr);
    ExpectShowsCell(check, false, 0);
    ExpectShowsCell(radio, true, 0);
    ExpectShowsCell(properties, false, 0);

    skin->SetActive(false);
    SkinManager->ApplyChange();
    Pump(5);
    EXPECT_FALSE(check->UseCustomGlyphs());
    EXPECT_FALSE(radio->UseCustomGlyphs());
    EXPECT_TRUE(properties->Properties()->Glyph()->Empty());
    for (TWinControl* control : std::initializer_list<TWinControl*>{check, radio, properties})
        EXPECT_FALSE(OwnerDrawn(control)) << "still drawn from glyphs";
    EXPECT_EQ(check->Color(), colour);
    // The system's own box again: clicks still work.
    MouseClick(CentreOnScreen(check->Handle()));
    Pump(5);
    EXPECT_EQ(check->State(), cbChecked);
    EXPECT_EQ(SendMessageW(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

}  // namespace

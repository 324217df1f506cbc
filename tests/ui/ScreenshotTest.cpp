// A form laid out like the main window, painted for real and captured into the build folder
// (ui_controls.bmp) so that a person can look at it; the capture is also checked for the colours the
// controls were given.
#include "GuiFixture.h"
#include "base/FileStream.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"

namespace {

class Screenshot : public GuiTest {
protected:
    template <typename T>
    T* Add(TWinControl* parent, int left, int top, int width, int height, const wchar_t* caption = L"") {
        auto* c = new T(form);
        c->SetParent(parent);
        c->SetBounds(left, top, width, height);
        c->SetCaption(caption);
        return c;
    }

    // The window's client area as it is on screen now.
    void Capture(TBitmap& shot) {
        form->Repaint();
        Application().ProcessMessages();
        shot.SetPixelFormat(pf24bit);
        shot.SetSize(form->ClientWidth(), form->ClientHeight());
        TWindowDC dc(form->Handle(), false);
        BitBlt(shot.Canvas()->Handle(), 0, 0, shot.Width(), shot.Height(), dc.get(), 0, 0, SRCCOPY);
    }

    static int CountColour(TBitmap& shot, const TRect& area, COLORREF colour) {
        int count = 0;
        for (int y = area.Top; y < area.Bottom; ++y)
            for (int x = area.Left; x < area.Right; ++x)
                if (static_cast<COLORREF>(shot.Canvas()->Pixel(x, y)) == colour) ++count;
        return count;
    }
};

TEST_F(Screenshot, MainWindowControlsPaint) {
    form->SetClientSize({640, 260});
    auto* edit = Add<TEdit>(form, 7, 2, 626, 21);
    edit->SetText(L"My Computer");
    edit->SetReadOnly(true);
    edit->Font()->SetColor(clBlue);
    edit->Font()->SetStyle(FontStyleBit(fsBold));

    TBitmap glyph;  // a 16 x 16 green square on a magenta key, which must not show
    glyph.SetPixelFormat(pf24bit);
    glyph.SetSize(16, 16);
    glyph.Canvas()->Brush()->SetColor(clFuchsia);
    glyph.Canvas()->FillRect(TRect::FromBounds(0, 0, 16, 16));
    glyph.Canvas()->Brush()->SetColor(clGreen);
    glyph.Canvas()->FillRect(TRect::FromBounds(3, 3, 13, 13));
    auto* find = Add<TSpeedButton>(form, 10, 30, 90, 52, L"Find");
    find->SetGlyph(&glyph);
    auto* stop = Add<TSpeedButton>(form, 106, 30, 90, 52, L"Stop");
    stop->SetGlyph(&glyph);
    stop->SetEnabled(false);
    Add<TRadioButton>(form, 10, 90, 90, 17, L"Folder Only")->SetChecked(true);
    Add<TRadioButton>(form, 104, 90, 90, 17, L"File Only");
    Add<TCheckBox>(form, 10, 110, 100, 17, L"Checked All");
    auto* panel = Add<TPanel>(form, 220, 30, 273, 49);
    panel->SetBorderStyle(bsSingleBorder);
    panel->SetBevelOuter(bvNone);
    Add<TLabel>(panel, 3, 1, 47, 13, L"File Name");
    Add<TEdit>(panel, 3, 16, 120, 21);
    auto* bar = new TStatusBar(form);
    bar->SetParent(form);
    bar->SetSimpleText(L"0 folder(s) searched and 0 file(s) found - 0.000 second(s)");

    TBitmap shot;
    Capture(shot);
    TFileStream file(L"ui_controls.bmp", TFileStream::fmCreate);
    shot.SaveToStream(file);

    EXPECT_GT(CountColour(shot, edit->BoundsRect(), RGB(0, 0, 255)), 20) << "the edit's blue text";
    EXPECT_GT(CountColour(shot, find->BoundsRect(), RGB(0, 128, 0)), 50) << "the glyph";
    EXPECT_EQ(CountColour(shot, find->BoundsRect(), RGB(255, 0, 255)), 0) << "its key colour is left out";
    EXPECT_EQ(CountColour(shot, stop->BoundsRect(), RGB(0, 128, 0)), 0) << "a disabled glyph is greyed";
}

}  // namespace

// Container and menu button painters on real windows: the group box's rounded frame and caption (on a
// framework container, painted whole with its windowless children, and over a system group box's own
// edge), a dialog page's face, and the menu button's arrow.
#include "SkinnedForm.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "ui/Font.h"
#include "ui/Label.h"
#include "ui/Panel.h"

namespace {

class ContainerPainters : public SkinnedForm {
protected:
    ContainerPainters() : SkinnedForm({400, 240}) { ShowSkinned(); }

    static void Redraw(HWND wnd) {
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(2);
    }
    static COLORREF PixelOf(HWND wnd, int x, int y) {
        TWindowDC dc(wnd, false);
        return GetPixel(dc.get(), x, y);
    }

    // The y of the group box frame's top line for the font.
    static int FrameTop(HWND wnd, HFONT font) {
        TWindowDC dc(wnd, false);
        SelectObject(dc.get(), font);
        SIZE zero{};
        GetTextExtentPoint32W(dc.get(), L"0", 1, &zero);
        return zero.cy / 2 - 1;
    }

    COLORREF Face() const { return ColorToRGB(skin->FaceColor); }
    COLORREF Shadow() const { return ColorToRGB(skin->ButtonShadowColor); }
};

TEST_F(ContainerPainters, GroupBoxOnAFrameworkContainerIsPaintedWholeWithItsWindowlessChildren) {
    ASSERT_NE(skinner, nullptr);
    auto* box = new TPanel(form);
    box->SetTag(skin->DisableTag());  // discovery leaves it: the group box painter is put on by hand
    box->SetParent(form);
    box->SetBounds(10, 10, 200, 120);
    box->SetCaption(L"Options");
    auto* label = new TLabel(form);
    label->SetParent(box);
    label->SetBounds(20, 60, 100, 16);
    label->SetCaption(L"WWWWWWWW");
    Pump();
    auto* painter = new TSkinGroupBox(box);
    painter->Attach(*skinner, *skin, true, nullptr);

    HWND wnd = box->Handle();
    const int y = FrameTop(wnd, box->Font()->Handle());
    Redraw(wnd);
    EXPECT_EQ(PixelOf(wnd, 1, 60), Shadow()) << "left side of the rounded frame";
    EXPECT_EQ(PixelOf(wnd, 198, 60), Shadow()) << "right side";
    EXPECT_EQ(PixelOf(wnd, 100, 118), Shadow()) << "bottom";
    EXPECT_EQ(PixelOf(wnd, 150, y), Shadow()) << "top line, right of the caption";
    EXPECT_EQ(PixelOf(wnd, 100, 40), Face()) << "inside: the skin's face, not the panel's bevel or colour";
    // The caption sits on the top line and covers it; the label is painted into the same picture.
    int captionInk = 0, labelInk = 0;
    for (int x = 8; x < 60; ++x)
        for (int row = 0; row < 2 * y + 2; ++row) captionInk += PixelOf(wnd, x, row) != Face() && PixelOf(wnd, x, row) != Shadow();
    for (int x = 20; x < 100; x += 2) labelInk += PixelOf(wnd, x, 67) != Face();
    EXPECT_GT(captionInk, 10);
    EXPECT_GT(labelInk, 3) << "the windowless child was not painted";
    EXPECT_EQ(box->Color(), skin->FaceColor) << "a group box takes the skin's colour";

    // Without a caption the frame's top runs through where it stood.
    box->SetCaption(L"");
    Redraw(wnd);
    EXPECT_EQ(PixelOf(wnd, 30, y), Shadow());
}

TEST_F(ContainerPainters, GroupBoxOfASystemDialogIsFramedOverItsNativeEdge) {
    ASSERT_NE(skinner, nullptr);
    HWND group = AddSystemControl(L"BUTTON", L"Where", BS_GROUPBOX, TRect::FromBounds(10, 10, 180, 100));
    AttachPainter<TSkinGroupBox>(group);
    const int y = FrameTop(group, reinterpret_cast<HFONT>(SendMessageW(group, WM_GETFONT, 0, 0)));
    Redraw(group);
    EXPECT_EQ(PixelOf(group, 0, 50), Face()) << "the native edge is covered";
    EXPECT_EQ(PixelOf(group, 1, 50), Shadow());
    EXPECT_EQ(PixelOf(group, 120, y), Shadow());
    EXPECT_EQ(PixelOf(group, 120, y + 1), Face()) << "the native etched line below the frame is covered";
}

TEST_F(ContainerPainters, DialogPageShowsTheSkinsFaceBehindItAndItsTexts) {
    ASSERT_NE(skinner, nullptr);
    HWND page = AddSystemControl(L"#32770", L"", 0, TRect::FromBounds(10, 10, 200, 100));
    HWND text = CreateWindowExW(0, L"STATIC", L"Text", WS_CHILD | WS_VISIBLE, 10, 10, 80, 16, page, nullptr, nullptr, nullptr);
    AttachPainter<TSkinBoxH>(page);
    Redraw(page);
    EXPECT_EQ(PixelOf(page, 150, 80), Face());
    TWindowDC textDC(text, false);
    const auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(page, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(textDC.get()), reinterpret_cast<LPARAM>(text)));
    EXPECT_EQ(brush, skin->FaceBrush.get());
}

TEST_F(ContainerPainters, MenuButtonDrawsItsArrowInTheStatesColour) {
    ASSERT_NE(skinner, nullptr);
    HWND button = AddSystemControl(L"BUTTON", L"Actions", BS_PUSHBUTTON, TRect::FromBounds(10, 10, 120, 25));
    AttachPainter<TSkinMenuButton>(button);
    // The arrow's middle, one pixel above its tip: w - 12, h / 2 + 1.
    struct Case { bool enabled; int colour; } cases[] = {{true, COLOR_WINDOWTEXT}, {false, COLOR_BTNSHADOW}};
    for (const Case& c : cases) {
        EnableWindow(button, c.enabled);
        Redraw(button);
        EXPECT_EQ(PixelOf(button, 120 - 12, 25 / 2 + 1), GetSysColor(c.colour)) << "enabled " << c.enabled;
    }
    // The caption stays clear of the arrow's room.
    EnableWindow(button, TRUE);
    Redraw(button);
    int inkInArrowRoom = 0;
    for (int x = 120 - 17; x < 120 - 16; ++x)
        for (int row = 4; row < 21; ++row) inkInArrowRoom += PixelOf(button, x, row) == GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(inkInArrowRoom, 0);
}

}  // namespace

// The combo box painter on real combo boxes with real mouse and key messages: the skin's combo frames
// on screen in each state, hover that follows the button only, opening, choosing and closing by mouse
// and keyboard as before, editable and owner-drawn combos, right-to-left buttons, and detaching.
#include "SkinnedForm.h"
#include "skin/controls/SkinComBox.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinMessages.h"
#include "ui/ComboBox.h"

#include "Keys.h"
#include "Pump.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class ComboPainter : public SkinnedForm {
protected:
    ComboPainter() : SkinnedForm({360, 260}) {
        list = AddCombo(csDropDownList, 10);
        editable = AddCombo(csDropDown, 50);
        drawn = AddCombo(csOwnerDrawFixed, 90);
        drawn->OnDrawItem = [this](TObject*, int, HDC dc, const TRect& rect, UINT) {
            ++itemDraws;
            const RECT r = rect.ToRECT();
            FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        };
        list->OnChange = [this](TObject*) { ++changes; };
        editable->OnChange = [this](TObject*) { ++changes; };
        ShowSkinned();
    }

    TComboBox* AddCombo(TComboBoxStyle style, int top) {
        auto* combo = new TComboBox(form);
        combo->SetParent(form);
        combo->SetStyle(style);
        combo->SetBounds(10, top, 160, 21);
        combo->Items()->SetLines({L"Folder Only", L"File Only", L"Both"});
        combo->SetItemIndex(0);
        return combo;
    }

    TSkinComBox* PainterOf(TControl* control) const {
        return skinner ? dynamic_cast<TSkinComBox*>(skinner->PainterOfControl(control)) : nullptr;
    }

    // Whether the corners of the window (the element's fixed edges, never stretched) show the element's
    // frame, ignoring its transparent pixels.
    static bool CornersShow(HWND wnd, TDataSkinObject& element, int frame) {
        RECT r{};
        GetWindowRect(wnd, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        TBitmap& image = *element.Bitmap;
        const int cell = image.Width() / std::max(element.FrameCount, 1), cellHeight = image.Height();
        TWindowDC dc(wnd);
        HDC source = image.Canvas()->Handle();
        int compared = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool left = x < element.LeftWidth, right = x >= w - element.RightWidth;
                const bool top = y < element.TopHeight, bottom = y >= h - element.BottomHeight;
                if (!((left || right) && (top || bottom))) continue;
                const int sx = (frame - 1) * cell + (left ? x : cell - (w - x));
                const int sy = top ? y : cellHeight - (h - y);
                const COLORREF want = GetPixel(source, sx, sy);
                if (want == RGB(255, 0, 255)) continue;
                if (GetPixel(dc.get(), x, y) != want) return false;
                ++compared;
            }
        return compared > 0;
    }

    // The button as the screen shows it.
    static std::vector<COLORREF> ButtonPixels(HWND wnd, const TRect& button) {
        TWindowDC dc(wnd);
        std::vector<COLORREF> pixels;
        for (int y = button.Top; y < button.Bottom; ++y)
            for (int x = button.Left; x < button.Right; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        return pixels;
    }

    static void Mouse(HWND wnd, UINT msg, TPoint at, WPARAM keys = 0) {
        SendMessageW(wnd, msg, keys, MAKELPARAM(at.X, at.Y));
        Pump(2);
    }

    static TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

    static bool Dropped(HWND combo) { return SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) != 0; }

    TComboBox* list = nullptr;
    TComboBox* editable = nullptr;
    TComboBox* drawn = nullptr;
    int changes = 0;
    int itemDraws = 0;
};

TEST_F(ComboPainter, EachStateShowsItsFrameOfTheSkinsComboImage) {
    ASSERT_TRUE(skin->ComboButton && !skin->ComboButton->Bitmap->Empty());
    ASSERT_EQ(skin->ComboButton->Style, 2) << "the shipped skin's combo frames were not built";
    TSkinComBox* painter = PainterOf(list);
    ASSERT_NE(painter, nullptr) << "discovery gave the combo box no combo painter";
    const HWND wnd = list->Handle();
    form->SetFocus();
    RedrawAll(wnd);
    EXPECT_EQ(painter->Frame(), cfNormal);
    EXPECT_TRUE(CornersShow(wnd, *skin->ComboButton, cfNormal));
    const TRect button = painter->ButtonRect();
    ASSERT_FALSE(button.IsEmpty());
    const std::vector<COLORREF> normal = ButtonPixels(wnd, button);

    // Hover highlights only while the pointer is on the button.
    Mouse(wnd, WM_MOUSEMOVE, {5, 5});
    EXPECT_EQ(painter->Frame(), cfNormal) << "the text area made the button hot";
    Mouse(wnd, WM_MOUSEMOVE, Centre(button));
    EXPECT_EQ(painter->Frame(), cfHot);
    EXPECT_TRUE(CornersShow(wnd, *skin->ComboButton, cfHot));
    EXPECT_NE(ButtonPixels(wnd, button), normal) << "the hot button looks like the normal one";
    Mouse(wnd, WM_MOUSEMOVE, {5, 5});
    EXPECT_EQ(painter->Frame(), cfNormal);
    Mouse(wnd, WM_MOUSEMOVE, Centre(button));
    SendMessageW(wnd, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(painter->Frame(), cfNormal);

    list->SetEnabled(false);
    RedrawAll(wnd);
    EXPECT_EQ(painter->Frame(), cfDisabled);
    EXPECT_TRUE(CornersShow(wnd, *skin->ComboButton, cfDisabled));
    Mouse(wnd, WM_MOUSEMOVE, Centre(button));
    EXPECT_EQ(painter->Frame(), cfDisabled);
}

TEST_F(ComboPainter, OpensChoosesAndClosesByMouseAndKeyboard) {
    TSkinComBox* painter = PainterOf(list);
    ASSERT_NE(painter, nullptr);
    const HWND wnd = list->Handle();
    RedrawAll(wnd);
    const TRect button = painter->ButtonRect();

    // A press on the button opens the list and shows the pressed frame; the release lets it go.
    Mouse(wnd, WM_LBUTTONDOWN, Centre(button), MK_LBUTTON);
    EXPECT_TRUE(Dropped(wnd));
    EXPECT_EQ(painter->Frame(), cfPressed);
    EXPECT_TRUE(CornersShow(wnd, *skin->ComboButton, cfPressed));
    Mouse(wnd, WM_LBUTTONUP, Centre(button));
    EXPECT_NE(painter->Frame(), cfPressed);
    // A click on an item of the open list chooses it and closes the list.
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(wnd, &info));
    RECT item{};
    SendMessageW(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    const TPoint at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    Mouse(info.hwndList, WM_MOUSEMOVE, at);
    Mouse(info.hwndList, WM_LBUTTONDOWN, at, MK_LBUTTON);
    Mouse(info.hwndList, WM_LBUTTONUP, at);
    EXPECT_FALSE(Dropped(wnd));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Text(), L"Both");
    EXPECT_EQ(changes, 1);

    // The keyboard: F4 opens, Up moves, Enter chooses and closes; Esc closes without a choice.
    list->SetFocus();
    Pump(2);
    TypeKey(wnd, VK_F4);
    EXPECT_TRUE(Dropped(wnd));
    TypeKey(wnd, VK_UP);
    TypeKey(wnd, VK_RETURN);
    EXPECT_FALSE(Dropped(wnd));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(changes, 2);
    TypeKey(wnd, VK_F4);
    EXPECT_TRUE(Dropped(wnd));
    TypeKey(wnd, VK_ESCAPE);
    EXPECT_FALSE(Dropped(wnd));
    EXPECT_EQ(list->ItemIndex(), 1);
    // Closed, the arrows choose at once.
    TypeKey(wnd, VK_DOWN);
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(changes, 3);
    EXPECT_EQ(painter->Frame(), cfHot) << "the focused combo is not shown as focused";
    EXPECT_TRUE(CornersShow(wnd, *skin->ComboButton, cfHot));
}

TEST_F(ComboPainter, AnEditableComboTakesTypingAndShowsPressesInItsEdit) {
    TSkinComBox* painter = PainterOf(editable);
    ASSERT_NE(painter, nullptr);
    const HWND edit = painter->EditWindow();
    ASSERT_NE(edit, nullptr) << "the combo's edit was not found";
    EXPECT_EQ(GetParent(edit), editable->Handle());
    SetFocus(edit);
    SendMessageW(edit, EM_SETSEL, 0, -1);
    for (wchar_t c : std::wstring(L"Hidden")) PostMessageW(edit, WM_CHAR, c, 1);
    Pump(3);
    EXPECT_EQ(editable->Text(), L"Hidden");
    EXPECT_GT(changes, 0);
    EXPECT_EQ(painter->Frame(), cfHot);

    SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    EXPECT_EQ(painter->Frame(), cfPressed);
    SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_NE(painter->Frame(), cfPressed);
    EXPECT_TRUE(CornersShow(editable->Handle(), *skin->ComboButton, painter->Frame()));
}

TEST_F(ComboPainter, AnOwnerDrawnComboStillDrawsItsItemsInsideTheSkinsFrame) {
    TSkinComBox* painter = PainterOf(drawn);
    ASSERT_NE(painter, nullptr);
    form->SetFocus();
    itemDraws = 0;
    RedrawAll(drawn->Handle());
    EXPECT_GT(itemDraws, 0) << "the combo no longer asks for its item";
    EXPECT_TRUE(CornersShow(drawn->Handle(), *skin->ComboButton, cfNormal));
}

// A dialog's combo box in a right-to-left layout: its button on the left, from the mirrored frames.
TEST_F(ComboPainter, ARightToLeftComboDrawsItsButtonOnTheLeft) {
    HWND wnd = AddSystemControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL, TRect::FromBounds(190, 10, 150, 120));
    SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    SendMessageW(wnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Right to left"));
    SendMessageW(wnd, CB_SETCURSEL, 0, 0);
    auto* painter = AttachPainter<TSkinComBox>(wnd);
    RedrawAll(wnd);
    ASSERT_TRUE(skin->SunkEdge);
    EXPECT_TRUE(CornersShow(wnd, *skin->SunkEdge, cfNormal)) << "the mirrored frame is not what shows";
    EXPECT_FALSE(CornersShow(wnd, *skin->ComboButton, cfNormal));
    // Hover follows the system's button wherever the layout puts it.
    Mouse(wnd, WM_MOUSEMOVE, Centre(painter->ButtonRect()));
    EXPECT_EQ(painter->Frame(), cfHot);
}

TEST_F(ComboPainter, DetachingGivesTheComboAndItsEditBack) {
    HWND wnd = AddSystemControl(L"COMBOBOX", L"", CBS_DROPDOWN | WS_VSCROLL, TRect::FromBounds(190, 60, 150, 120));
    HWND edit = GetWindow(wnd, GW_CHILD);
    ASSERT_NE(edit, nullptr);
    const TWindowHooks combo = TWindowHooks::Of(wnd), own = TWindowHooks::Of(edit);
    auto* painter = AttachPainter<TSkinComBox>(wnd);
    EXPECT_EQ(painter->EditWindow(), edit);
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 1);
    painter->Detach();
    delete painter;
    EXPECT_TRUE(TWindowHooks::Of(wnd) == combo);
    EXPECT_TRUE(TWindowHooks::Of(edit) == own);
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 0);
    // The edit's messages no longer reach a painter that is gone.
    SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    RedrawAll(wnd);
}

TEST_F(ComboPainter, RepaintsHoverAndPressesHoldNoHandles) {
    TSkinComBox* painter = PainterOf(list);
    ASSERT_NE(painter, nullptr);
    const HWND wnd = list->Handle();
    RedrawAll(wnd);
    const TPoint button = Centre(painter->ButtonRect());
    const HWND edit = editable->Handle();
    ExpectHandlesSteady(100, [&] {
        SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(button.X, button.Y));
        SendMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(button.X, button.Y));
        SendMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(button.X, button.Y));
        SendMessageW(wnd, CB_SHOWDROPDOWN, FALSE, 0);
        SendMessageW(wnd, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
        RedrawAll(edit);
    });
}

}  // namespace

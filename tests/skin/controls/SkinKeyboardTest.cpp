// Painted framework controls still obey the keyboard as the form delivers it: Tab moves the focus and
// the painter shows it, Space ticks a focused box, an accelerator clicks its button or box.
#include "Keys.h"
#include "Pump.h"
#include "SkinnedForm.h"
#include "skin/controls/SkinCheckBox.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/RadioButton.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class PaintedKeyboard : public SkinnedForm {
protected:
    PaintedKeyboard() : SkinnedForm({300, 140}) {
        go = Add<TButton>(L"&Go", 10);
        go->OnClick = [this](TObject*) { ++clicks; };
        box = Add<TCheckBox>(L"Show &Hidden", 50);
        radio = Add<TRadioButton>(L"&File Only", 90);
        ShowSkinned();
    }

    template <typename T>
    T* Add(const wchar_t* caption, int top) {
        auto* control = new T(form);
        control->SetParent(form);
        control->SetBounds(10, top, 150, 25);
        control->SetCaption(caption);
        return control;
    }

    static std::vector<COLORREF> Pixels(TWinControl* control) {
        RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        Pump(2);
        RECT r{};
        GetClientRect(control->Handle(), &r);
        TWindowDC dc(control->Handle(), false);
        std::vector<COLORREF> pixels;
        for (int y = 0; y < r.bottom; ++y)
            for (int x = 0; x < r.right; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
        return pixels;
    }

    // Alt+key as the system delivers it to the focused window once translated.
    static void TypeAccelerator(wchar_t key) {
        PostMessageW(GetFocus(), WM_SYSCHAR, key, LPARAM{1} << 29 | 1);
        Application().ProcessMessages();
        Pump(2);
    }

    TButton* go = nullptr;
    TCheckBox* box = nullptr;
    TRadioButton* radio = nullptr;
    int clicks = 0;
};

TEST_F(PaintedKeyboard, TabSpaceAndAcceleratorsWorkOnPaintedControls) {
    for (TControl* c : std::initializer_list<TControl*>{go, box, radio})
        ASSERT_NE(skinner->PainterOfControl(c), nullptr) << "not painted";

    PostMessageW(go->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(go->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    Application().ProcessMessages();
    EXPECT_EQ(clicks, 1) << "mouse";
    clicks = 0;

    // Tab: the focus moves on in the stored order, and the box is drawn with its focus mark.
    go->SetFocus();
    const std::vector<COLORREF> unfocused = Pixels(box);
    TypeKey(GetFocus(), VK_TAB);
    EXPECT_EQ(GetFocus(), box->Handle());
    EXPECT_NE(Pixels(box), unfocused) << "the focus does not show";
    TypeKey(GetFocus(), VK_TAB, ssShift);
    EXPECT_EQ(GetFocus(), go->Handle());

    // Space on the focused controls.
    TypeKey(GetFocus(), VK_SPACE);
    EXPECT_EQ(clicks, 1);
    box->SetFocus();
    TypeKey(GetFocus(), VK_SPACE);
    EXPECT_TRUE(box->Checked());
    EXPECT_EQ(dynamic_cast<TSkinCheckBox*>(skinner->PainterOfControl(box))->Cell(), 2) << "the ticked cell";

    // Accelerators, from wherever the focus is.
    TypeAccelerator(L'g');
    EXPECT_EQ(clicks, 2);
    TypeAccelerator(L'h');
    EXPECT_FALSE(box->Checked());
    TypeAccelerator(L'f');
    EXPECT_TRUE(radio->Checked());
    EXPECT_EQ(clicks, 2) << "one click per key";
}

}  // namespace

#include "ui/SpinEdit.h"

#include "ControlsFixture.h"

#include <climits>
#include <string>

namespace {

class SpinEditTest : public TFormFixture {
protected:
    void SetUp() override {
        TFormFixture::SetUp();
        FSpin = Place(new TSpinEdit(FForm), 20, 20, 80, 22);
    }

    HWND Wnd() const { return FSpin->WindowHandle(); }

    void Key(WPARAM key) {
        SendMessageW(Wnd(), WM_KEYDOWN, key, 1);
        SendMessageW(Wnd(), WM_KEYUP, key, 0xC0000001);
        Pump();
    }

    void Type(const std::wstring& text) {
        for (wchar_t c : text) SendMessageW(Wnd(), WM_CHAR, c, 1);
        Pump();
    }

    TSpinEdit* FSpin = nullptr;
};

// The skin's edit painter looks for the arrows among the edit's child windows.
TEST_F(SpinEditTest, ArrowsAreAnUpDownInsideTheEditBoundToIt) {
    HWND upDown = FSpin->UpDownHandle();
    ASSERT_TRUE(upDown);
    EXPECT_EQ(GetParent(upDown), Wnd());
    wchar_t className[64] = {};
    GetClassNameW(upDown, className, 64);
    EXPECT_EQ(std::wstring(className), L"msctls_updown32");
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(upDown, UDM_GETBUDDY, 0, 0)), Wnd());
    RECT edit{}, arrows{};
    GetClientRect(Wnd(), &edit);
    GetWindowRect(upDown, &arrows);
    MapWindowPoints(nullptr, Wnd(), reinterpret_cast<POINT*>(&arrows), 2);
    EXPECT_EQ(arrows.right, edit.right);
}

TEST_F(SpinEditTest, ValueIsTheNumberInTheText) {
    EXPECT_EQ(FSpin->Value(), 0);
    FSpin->SetValue(-42);
    EXPECT_EQ(FSpin->Text(), L"-42");
    EXPECT_EQ(FSpin->Value(), -42);
    FSpin->SetText(L"  17 ");
    EXPECT_EQ(FSpin->Value(), 17);
    FSpin->SetText(L"12x");
    EXPECT_EQ(FSpin->Value(), 0);
    FSpin->SetText(L"99999999999");
    EXPECT_EQ(FSpin->Value(), 0);
}

TEST_F(SpinEditTest, BoundsHoldUnlessBothAreZero) {
    FSpin->SetValue(INT_MAX);
    EXPECT_EQ(FSpin->Value(), INT_MAX);
    FSpin->SetMinValue(-5);
    FSpin->SetMaxValue(10);
    EXPECT_EQ(FSpin->Value(), 10);
    FSpin->SetValue(-20);
    EXPECT_EQ(FSpin->Value(), -5);
    FSpin->SetText(L"none");
    EXPECT_EQ(FSpin->Value(), -5);
}

TEST_F(SpinEditTest, UpAndDownKeysStepTheValueWithinTheBounds) {
    FSpin->SetMinValue(0);
    FSpin->SetMaxValue(6);
    FSpin->SetValue(5);
    Key(VK_UP);
    EXPECT_EQ(FSpin->Value(), 6);
    Key(VK_UP);
    EXPECT_EQ(FSpin->Value(), 6);
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(FSpin->Value(), 4);
}

TEST_F(SpinEditTest, ArrowClicksStepFromWhatWasTyped) {
    SendMessageW(Wnd(), EM_SETSEL, 0, -1);
    Type(L"37");
    ASSERT_EQ(FSpin->Text(), L"37");
    HWND upDown = FSpin->UpDownHandle();
    RECT arrows{};
    GetClientRect(upDown, &arrows);
    Click(upDown, {arrows.right / 2, arrows.bottom / 4});
    EXPECT_EQ(FSpin->Value(), 38);
    Click(upDown, {arrows.right / 2, arrows.bottom * 3 / 4});
    Click(upDown, {arrows.right / 2, arrows.bottom * 3 / 4});
    EXPECT_EQ(FSpin->Value(), 36);
}

TEST_F(SpinEditTest, OnlyDigitsAndASignCanBeTyped) {
    SendMessageW(Wnd(), EM_SETSEL, 0, -1);
    Type(L"-1a2.b3 ");
    EXPECT_EQ(FSpin->Text(), L"-123");
    Type(L"\b");
    EXPECT_EQ(FSpin->Text(), L"-12");
}

}  // namespace

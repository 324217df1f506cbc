// The painter base on real controls of a skinned window: attaching to a framework control and to a bare
// window, the messages it answers and passes, switching skin painting off and on, and every way a
// painter ends (detached, its window destroyed, its control freed, skinning switched off).
#include "ShippedSkin.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/Panel.h"
#include "ui/Properties.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr COLORREF PainterColour = RGB(10, 200, 30);

// Fills the control with one colour and counts how often it was asked to.
class TFillPainter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    int Draws = 0;

protected:
    bool BeforeMessage(TMessage& Message) override {
        if (Message.Msg == WM_PAINT) {
            PaintMessage(Message);
            return false;
        }
        return TSkinControl::BeforeMessage(Message);
    }
    void DrawSkin(HDC DC, const TRect& Rect) override {
        ++Draws;
        UniqueBrush brush(CreateSolidBrush(PainterColour));
        const RECT r = Rect.ToRECT();
        FillRect(DC, &r, brush.get());
    }
};

COLORREF ClientPixel(HWND wnd, int x, int y) {
    TWindowDC dc(wnd, false);
    return GetPixel(dc.get(), x, y);
}

class Painters : public ::testing::Test {
protected:
    Painters() {
        skin = ShippedSkin("default");
        form = new TForm(nullptr);
        form->SetClientSize({300, 200});
        panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(10, 10, 120, 60);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        skinner = SkinManager->FindSkinForm(form->Handle());
    }
    ~Painters() override {
        if (form) TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        Pump(2);
    }

    std::unique_ptr<TSkinData> skin;
    TForm* form = nullptr;
    TPanel* panel = nullptr;
    TWinSkinForm* skinner = nullptr;
};

TEST_F(Painters, AFrameworkControlIsPaintedUntilThePainterGoesAndThenIsItselfAgain) {
    ASSERT_NE(skinner, nullptr);
    const TColor colour = panel->Color();
    ASSERT_EQ(ReadEnumNameProperty(panel, "ParentBackground"), L"True");
    auto* painter = new TFillPainter(panel);
    painter->Attach(*skinner, *skin, true, nullptr);
    const HWND wnd = panel->Handle();
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(skinner->PainterOfControl(panel), painter);
    EXPECT_EQ(panel->Color(), skin->FaceColor);
    EXPECT_EQ(ReadEnumNameProperty(panel, "ParentBackground"), L"False");
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(painter->Draws, 0);
    EXPECT_EQ(ClientPixel(wnd, 5, 5), PainterColour);

    // Switched off, the control paints itself; switched on, the skin is back at once.
    SendMessageW(wnd, WM_SKINSWITCH, 0, 0);
    const int draws = painter->Draws;
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(painter->Draws, draws);
    EXPECT_NE(ClientPixel(wnd, 5, 5), PainterColour);
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 0) << "switched off, the painter answers for nothing";
    SendMessageW(wnd, WM_SKINSWITCH, 1, 0);
    EXPECT_GT(painter->Draws, draws);

    painter->Detach();
    delete painter;
    EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(skinner->PainterOfControl(panel), nullptr);
    EXPECT_EQ(panel->Color(), colour);
    EXPECT_EQ(ReadEnumNameProperty(panel, "ParentBackground"), L"True");
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_NE(ClientPixel(wnd, 5, 5), PainterColour);
}

TEST_F(Painters, ABareWindowIsSubclassedAndItsFinishedPainterIsFreedByTheWindow) {
    ASSERT_NE(skinner, nullptr);
    HWND button = CreateWindowExW(0, L"BUTTON", L"Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 10, 100, 30,
                                  form->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    auto* painter = new TFillPainter(skinner);
    painter->AttachWindow(button, *skin, *skinner, nullptr);
    EXPECT_EQ(SendMessageW(button, WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(skinner->PainterOfWindow(button), painter);
    RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(ClientPixel(button, 3, 3), PainterColour);

    DestroyWindow(button);
    EXPECT_TRUE(painter->Finished());
    EXPECT_EQ(painter->LifeState(), plFinished);
    skinner->FreeFinishedPainters();
    EXPECT_TRUE(skinner->Painters().empty());
}

TEST_F(Painters, APainterGoesWithItsControlAndWithTheSkinning) {
    ASSERT_NE(skinner, nullptr);
    // The control freed: its painter goes with it and leaves no trace in the window's list.
    auto* other = new TPanel(form);
    other->SetParent(form);
    other->SetBounds(10, 100, 50, 50);
    (new TFillPainter(other))->Attach(*skinner, *skin, false, nullptr);
    ASSERT_EQ(skinner->Painters().size(), 1u);
    delete other;
    EXPECT_TRUE(skinner->Painters().empty());

    // Skinning switched off: every painter detaches and goes, the control has its own colour again.
    const TColor colour = panel->Color();
    (new TFillPainter(panel))->Attach(*skinner, *skin, true, nullptr);
    EXPECT_EQ(panel->Color(), skin->FaceColor);
    skin->SetActive(false);
    SkinManager->ApplyChange();
    EXPECT_EQ(SkinManager->FindSkinForm(form->Handle()), nullptr);
    EXPECT_EQ(panel->Color(), colour);
    EXPECT_EQ(SendMessageW(panel->Handle(), WM_SKINQUERY, 0, 0), 0);
}

}  // namespace

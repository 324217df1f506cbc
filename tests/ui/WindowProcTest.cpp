// The WindowProc slot: a replacement sees every message first (native ones entering through the
// window, framework notifications, reflected notifications) and can pass each on or keep it.
#include "GuiFixture.h"
#include "ui/CheckBox.h"
#include "ui/Edit.h"
#include "ui/SpeedButton.h"

#include <vector>

namespace {

// Puts a recorder in front of a control's WindowProc; swallow: messages it keeps from the control.
class TRecorder {
public:
    TRecorder(TControl& control, std::vector<UINT> swallow = {}) : FControl(control), FOld(control.WindowProc) {
        control.WindowProc = [this, swallow](TMessage& m) {
            Seen.push_back(m.Msg);
            if (std::find(swallow.begin(), swallow.end(), m.Msg) != swallow.end()) return;
            FOld(m);
        };
    }
    ~TRecorder() { FControl.WindowProc = FOld; }
    bool Saw(UINT msg) const { return std::find(Seen.begin(), Seen.end(), msg) != Seen.end(); }
    std::vector<UINT> Seen;

private:
    TControl& FControl;
    TWndMethod FOld;
};

class WindowProc : public GuiTest {};

TEST_F(WindowProc, WindowedControlReplacementSeesAndPassesNativeMessages) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    HWND wnd = edit->Handle();
    {
        TRecorder recorder(*edit);
        SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed"));
        EXPECT_TRUE(recorder.Saw(WM_SETTEXT));
        EXPECT_EQ(edit->Text(), L"typed") << "passed on to the edit's own procedure";
        EXPECT_EQ(edit->Perform(WM_GETTEXTLENGTH), 5) << "Perform goes through the slot to the window";
        EXPECT_TRUE(recorder.Saw(WM_GETTEXTLENGTH));
    }
    TRecorder keeper(*edit, {WM_SETTEXT});
    SendMessageW(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"kept"));
    EXPECT_EQ(edit->Text(), L"typed") << "a message kept by the replacement never reaches the edit";
}

TEST_F(WindowProc, RestoringThePreviousSlotEndsTheReplacement) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    std::vector<UINT> seen;
    {
        TRecorder recorder(*edit);
        edit->Perform(WM_GETTEXTLENGTH);
        seen = recorder.Seen;
    }
    TRecorder later(*edit);
    edit->Perform(WM_GETTEXTLENGTH);
    EXPECT_EQ(seen.size(), 1u);
    EXPECT_EQ(later.Seen.size(), 1u);
}

TEST_F(WindowProc, FrameworkNotificationsReachTheSlot) {
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    box->HandleNeeded();
    TRecorder recorder(*box);
    box->SetEnabled(false);
    EXPECT_TRUE(recorder.Saw(CM_ENABLEDCHANGED));
    EXPECT_FALSE(IsWindowEnabled(box->WindowHandle())) << "the notification still reaches the control";
    box->SetVisible(false);
    EXPECT_TRUE(recorder.Saw(CM_VISIBLECHANGED));
    EXPECT_FALSE(IsWindowVisible(box->WindowHandle()));
}

TEST_F(WindowProc, ParentReflectsNotificationsToTheChild) {
    auto* box = new TCheckBox(form);
    box->SetParent(form);
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    edit->SetTop(40);
    TRecorder boxRecorder(*box);
    TRecorder editRecorder(*edit);
    SendMessageW(box->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(boxRecorder.Saw(CN_COMMAND)) << "WM_COMMAND from the button comes back as 0xBC00 + WM_COMMAND";
    EXPECT_TRUE(box->Checked());
    RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_TRUE(editRecorder.Saw(CN_CTLCOLOREDIT));
}

TEST_F(WindowProc, WindowlessControlReplacementSeesMouseAndPaint) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    TRecorder recorder(*button);
    Click(form->Handle(), 20, 20);
    EXPECT_TRUE(recorder.Saw(CM_MOUSEENTER));
    EXPECT_TRUE(recorder.Saw(WM_LBUTTONDOWN));
    EXPECT_TRUE(recorder.Saw(WM_LBUTTONUP));
    EXPECT_EQ(clicks, 1) << "messages passed on still make the click";
    form->Repaint();
    EXPECT_TRUE(recorder.Saw(WM_PAINT)) << "the parent paints its windowless children through their slot";
    PostMessageW(form->WindowHandle(), WM_MOUSELEAVE, 0, 0);
    Application().ProcessMessages();
    EXPECT_TRUE(recorder.Saw(CM_MOUSELEAVE));
}

TEST_F(WindowProc, WindowlessPainterInFrontDrawsOnTheControlsCanvas) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(30, 20, 40, 20);
    TWndMethod old = button->WindowProc;
    bool hadCanvas = false;
    button->WindowProc = [&](TMessage& m) {
        if (m.Msg != WM_PAINT) return old(m);
        // A painter that keeps WM_PAINT and draws the whole control itself, origin at its corner.
        TCanvas* canvas = button->Canvas();
        hadCanvas = canvas->Handle() == reinterpret_cast<HDC>(m.WParam);
        canvas->Brush()->SetColor(clRed);
        canvas->FillRect(TRect::FromBounds(0, 0, 40, 20));
    };
    form->Repaint();
    button->WindowProc = old;
    EXPECT_TRUE(hadCanvas);
    TWindowDC dc(form->Handle(), false);
    EXPECT_EQ(GetPixel(dc.get(), 30, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc.get(), 69, 39), RGB(255, 0, 0));
    EXPECT_NE(GetPixel(dc.get(), 70, 40), RGB(255, 0, 0)) << "clipped to the control";
    EXPECT_NE(GetPixel(dc.get(), 29, 19), RGB(255, 0, 0));
}

TEST_F(WindowProc, ParentsReplacementSeesTheMessageUnchangedAfterAChildTookIt) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    std::vector<UINT> after;
    TWndMethod old = form->WindowProc;
    form->WindowProc = [&](TMessage& m) {
        old(m);
        after.push_back(m.Msg);  // what a painter's after-message step looks at
    };
    Click(form->Handle(), 20, 20);
    form->WindowProc = old;
    EXPECT_NE(std::find(after.begin(), after.end(), static_cast<UINT>(WM_LBUTTONDOWN)), after.end());
    EXPECT_NE(std::find(after.begin(), after.end(), static_cast<UINT>(WM_LBUTTONUP)), after.end());
}

TEST_F(WindowProc, WindowlessControlKeepingTheMouseGetsNoClick) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 80, 30);
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    TRecorder keeper(*button, {WM_LBUTTONUP});
    Click(form->Handle(), 20, 20);
    EXPECT_EQ(clicks, 0);
}

TEST_F(WindowProc, AltCharacterReachesTheFormAsDialogChar) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    auto* about = new TSpeedButton(form);
    about->SetParent(form);
    about->SetBounds(10, 40, 80, 30);
    about->SetCaption(L"&About");
    int clicks = 0;
    about->OnClick = [&](TObject*) { ++clicks; };
    TRecorder recorder(*form);
    PostMessageW(edit->Handle(), WM_SYSCHAR, 'a', 0x20000000);  // Alt+A with the focus in the edit
    Application().ProcessMessages();
    EXPECT_TRUE(recorder.Saw(CM_DIALOGCHAR));
    EXPECT_EQ(clicks, 1);
}

TEST_F(WindowProc, WindowMapsToItsControl) {
    auto* edit = new TEdit(form);
    edit->SetParent(form);
    EXPECT_EQ(TWinControl::FindControl(edit->Handle()), edit);
    EXPECT_EQ(GetPropW(edit->Handle(), TWinControl::ControlAtomName().c_str()), static_cast<TControl*>(edit));
    EXPECT_EQ(TWinControl::FindControl(form->Handle()), form);
    EXPECT_EQ(TWinControl::FindControl(GetDesktopWindow()), nullptr);
    const std::wstring& name = TWinControl::ControlAtomName();
    wchar_t thread[16];
    swprintf(thread, 16, L"%.8lX", static_cast<unsigned long>(GetCurrentThreadId()));
    EXPECT_EQ(name.rfind(L"ControlOfs", 0), 0u);
    EXPECT_EQ(name.substr(name.size() - 8), thread) << "ends in the thread id, eight upper-case hex digits";
}

}  // namespace

// The window skinner on real windows with real messages: the frame it gives, the hit-test answers of
// each frame part, the caption buttons by mouse and keyboard, message boxes, live skin switches, and the
// exact undo when skinning ends.
#include "../model/SkinTestKit.h"
#include "ShippedSkin.h"
#include "base/FileStream.h"
#include "base/MemoryStream.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/CustomForm.h"

#include "CaptionMouse.h"
#include "HandleGrowth.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Pumps until Done holds or two seconds have passed.
bool PumpUntil(const std::function<bool()>& Done) {
    for (int i = 0; i < 200; ++i) {
        if (Done()) return true;
        Application().ProcessMessages();
        Sleep(10);
    }
    return Done();
}

TSize ClientSizeOf(HWND wnd) {
    RECT r{};
    GetClientRect(wnd, &r);
    return {r.right, r.bottom};
}

TRect WindowRectOf(HWND wnd) {
    RECT r{};
    GetWindowRect(wnd, &r);
    return TRect::FromRECT(r);
}

LPARAM ScreenParam(HWND wnd, TPoint framePoint) {
    const TRect w = WindowRectOf(wnd);
    return MAKELPARAM(w.Left + framePoint.X, w.Top + framePoint.Y);
}

TPoint Centre(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}; }

// The pixels of a window-coordinate rectangle of the frame as they are on screen.
std::vector<COLORREF> FramePixels(HWND wnd, const TRect& r) {
    TWindowDC dc(wnd);
    std::vector<COLORREF> pixels;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) pixels.push_back(GetPixel(dc.get(), x, y));
    return pixels;
}

class SkinnedWindow : public ::testing::Test {
protected:
    ~SkinnedWindow() override {
        for (TCustomForm* form : forms) TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        Pump(2);
    }

    void UseSkin(const char* name) { skin = ShippedSkin(name); }

    TForm* ShowForm(const wchar_t* caption = L"Skinned", TFormBorderStyle border = bsSizeable) {
        auto* form = new TForm(nullptr);
        forms.push_back(form);
        form->SetBorderStyle(border);
        form->SetClientSize({400, 300});
        form->SetCaption(caption);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        return form;
    }

    // A form that stays when asked to close, and says it was asked.
    TForm* ShowClosableForm(bool& closed) {
        TForm* form = ShowForm();
        form->OnClose = [&closed](TObject*, TCloseAction& action) {
            closed = true;
            action = caNone;
        };
        return form;
    }

    static TWinSkinForm* SkinnerOf(TForm* form) {
        return SkinManager ? SkinManager->FindSkinForm(form->Handle()) : nullptr;
    }

    static TWinSysButton* ButtonWithAction(TWinSkinForm& skinner, int action) {
        for (const auto& b : skinner.CaptionButtons())
            if (b->Action() == action && b->Visible) return b.get();
        return nullptr;
    }

    std::unique_ptr<TSkinData> skin;
    std::vector<TCustomForm*> forms;
};

TEST_F(SkinnedWindow, TheSkinsFrameKeepsTheClientAreaAndEndingGivesEverythingBack) {
    for (const char* name : {"default", "graphite"}) {
        SCOPED_TRACE(name);
        // The unskinned twin: what the window must be again when skinning ends.
        auto* form = new TForm(nullptr);
        forms.push_back(form);
        form->SetClientSize({949, 559});
        form->SetCaption(L"Twin");
        form->HandleNeeded();
        const HWND wnd = form->Handle();
        const auto style = GetWindowLongPtrW(wnd, GWL_STYLE), exStyle = GetWindowLongPtrW(wnd, GWL_EXSTYLE);
        const TRect before = WindowRectOf(wnd);
        const TColor colour = form->Color();

        UseSkin(name);
        form->Show();
        SetForegroundWindow(wnd);
        ASSERT_TRUE(PumpUntil([&] { return SkinnerOf(form) && SkinnerOf(form)->State() == ssSkinned; }));
        TWinSkinForm& skinner = *SkinnerOf(form);
        const TFrameMetrics& m = skinner.Metrics();
        EXPECT_GT(m.Top, 10);
        EXPECT_EQ(ClientSizeOf(wnd), (TSize{949, 559}));
        EXPECT_EQ(WindowRectOf(wnd).Size(), (TSize{949 + m.Left + m.Right, 559 + m.Top + m.Bottom}));
        EXPECT_EQ(form->Color(), skin->FaceColor);
        // Both skins cut their rounded top corners away.
        UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn(wnd, region.get()), ERROR);
        EXPECT_FALSE(PtInRegion(region.get(), 0, 0));
        EXPECT_TRUE(PtInRegion(region.get(), m.Left + 1, m.Top / 2));
        EXPECT_TRUE(PtInRegion(region.get(), 949 / 2, 559 / 2));

        skin->SetActive(false);
        SkinManager->ApplyChange();
        EXPECT_EQ(SkinManager->FindSkinForm(wnd), nullptr);
        EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE), style | WS_VISIBLE);
        EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_EXSTYLE), exStyle);
        EXPECT_EQ(GetWindowRgn(wnd, region.get()), ERROR) << "the region stays after skinning ended";
        EXPECT_EQ(ClientSizeOf(wnd), (TSize{949, 559}));
        EXPECT_EQ(WindowRectOf(wnd).Size(), before.Size());
        EXPECT_EQ(form->Color(), colour);

        TCustomForm::Free(form);
        forms.clear();
        skin.reset();
        FreeSkinManager();
    }
}

TEST_F(SkinnedWindow, AFormIsSkinnedBeforeItIsFirstShown) {
    // A form carrying its own skin component: the window is in its skin before it appears, so that no
    // frame of the system's shows first.
    auto* form = new TForm(nullptr);
    forms.push_back(form);
    form->SetClientSize({400, 300});
    form->HandleNeeded();
    StartShippedSkin("default", form);
    TWinSkinForm* skinner = SkinnerOf(form);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->State(), ssSkinned);
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
    const TRect hidden = WindowRectOf(form->Handle());
    EXPECT_EQ(hidden.Size(), (TSize{400 + skinner->Metrics().Left + skinner->Metrics().Right,
                                    300 + skinner->Metrics().Top + skinner->Metrics().Bottom}));
    form->Show();
    Pump();
    EXPECT_EQ(WindowRectOf(form->Handle()).Size(), hidden.Size()) << "the frame changed after the window appeared";
    EXPECT_EQ(ClientSizeOf(form->Handle()), (TSize{400, 300}));
}

TEST_F(SkinnedWindow, EveryFramePartAnswersItsHitTestCode) {
    for (const char* name : {"default", "graphite"}) {
        SCOPED_TRACE(name);
        UseSkin(name);
        for (TFormBorderStyle border : {bsSizeable, bsSingle}) {
            SCOPED_TRACE(border);
            TForm* form = ShowForm(L"Hit", border);
            TWinSkinForm* skinner = SkinnerOf(form);
            ASSERT_NE(skinner, nullptr);
            const HWND wnd = form->Handle();
            const TSize size = WindowRectOf(wnd).Size();
            const int W = size.Width, H = size.Height;
            const TFrameMetrics& m = skinner->Metrics();
            const bool sizeable = border == bsSizeable;
            struct TCase {
                const char* Part;
                TPoint At;
                LRESULT Expected;
            };
            const std::vector<TCase> cases = {
                {"top edge", {W / 2, 1}, sizeable ? HTTOP : HTCAPTION},
                {"top-left corner", {1, 1}, sizeable ? HTTOPLEFT : HTBORDER},
                {"top-right corner", {W - 2, 1}, sizeable ? HTTOPRIGHT : HTBORDER},
                {"left edge", {0, H / 2}, sizeable ? HTLEFT : HTBORDER},
                {"left edge near the top", {0, 5}, sizeable ? HTTOPLEFT : HTBORDER},
                {"right edge", {W - 1, H / 2}, sizeable ? HTRIGHT : HTBORDER},
                {"bottom edge, its innermost row", {W / 2, H - m.Bottom}, sizeable ? HTBOTTOM : HTBORDER},
                {"bottom-left corner", {0, H - 1}, sizeable ? HTBOTTOMLEFT : HTBORDER},
                {"bottom-right corner", {W - 1, H - 1}, sizeable ? HTBOTTOMRIGHT : HTBORDER},
                {"caption", {W / 2, m.Top / 2 + 2}, HTCAPTION},
                {"caption's last row", {W / 2, m.Top - 1}, HTCAPTION},
                {"client", {W / 2, H / 2}, HTCLIENT},
                {"client's first pixel", {m.Left, m.Top}, HTCLIENT},
            };
            for (const TCase& c : cases)
                EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenParam(wnd, c.At)), c.Expected) << c.Part;
            // Caption buttons and the icon answer as caption; the skinner finds them by position.
            int buttons = 0;
            for (const auto& b : skinner->CaptionButtons()) {
                if (!b->Visible || b->Action() < 0) continue;  // a switched-off button is only drawn
                ++buttons;
                const TPoint at = Centre(b->BoundsRect);
                EXPECT_EQ(SendMessageW(wnd, WM_NCHITTEST, 0, ScreenParam(wnd, at)), HTCAPTION) << b->Action();
                EXPECT_EQ(skinner->ObjectAt(at), b.get()) << b->Action();
            }
            EXPECT_GE(buttons, 4);  // close, maximise, minimise, icon
            TCustomForm::Free(form);
            forms.clear();
        }
        skin.reset();
        FreeSkinManager();
    }
}

TEST_F(SkinnedWindow, CaptionButtonsFollowTheMouseAndActOnlyWhenReleasedOnThem) {
    UseSkin("default");
    bool closed = false;
    TForm* form = ShowClosableForm(closed);
    const HWND wnd = form->Handle();
    TWinSkinForm& skinner = *SkinnerOf(form);
    TWinSysButton* maximize = ButtonWithAction(skinner, baMaximize);
    ASSERT_NE(maximize, nullptr);
    const TPoint at = Centre(maximize->BoundsRect);
    const std::vector<COLORREF> normal = FramePixels(wnd, maximize->BoundsRect);

    PostCaptionMouse(wnd, WM_NCMOUSEMOVE, ScreenParam(wnd, at));
    Pump();
    EXPECT_EQ(maximize->State, nsHot);
    EXPECT_EQ(skinner.HotObject(), maximize);
    const std::vector<COLORREF> hot = FramePixels(wnd, maximize->BoundsRect);
    EXPECT_NE(hot, normal) << "the hot state is not on screen";

    PostCaptionMouse(wnd, WM_NCLBUTTONDOWN, ScreenParam(wnd, at));
    Pump();
    EXPECT_EQ(maximize->State, nsPressed);
    EXPECT_NE(FramePixels(wnd, maximize->BoundsRect), hot) << "the pressed state is not on screen";
    // Released elsewhere: nothing happens, and the button is normal again.
    PostCaptionMouse(wnd, WM_NCLBUTTONUP, ScreenParam(wnd, {WindowRectOf(wnd).Width() / 2, 5}));
    Pump();
    EXPECT_FALSE(IsZoomed(wnd));
    EXPECT_EQ(maximize->State, nsNormal);
    EXPECT_EQ(FramePixels(wnd, maximize->BoundsRect), normal);

    auto click = [&](TWinSysButton* button) {
        const LPARAM p = ScreenParam(wnd, Centre(button->BoundsRect));
        PostCaptionMouse(wnd, WM_NCMOUSEMOVE, p);
        PostCaptionMouse(wnd, WM_NCLBUTTONDOWN, p);
        PostCaptionMouse(wnd, WM_NCLBUTTONUP, p);
        Pump(10);
    };
    click(maximize);
    ASSERT_TRUE(IsZoomed(wnd));
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(WindowRectOf(wnd), TRect::FromRECT(work)) << "the maximised frame is not the work area";
    EXPECT_EQ(skinner.ShowState(), ssMaximized);
    // Maximised, the caption does not move the window: a press there reaches the system as a menu press.
    click(ButtonWithAction(skinner, baMaximize));
    EXPECT_FALSE(IsZoomed(wnd));
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));

    click(ButtonWithAction(skinner, baMinimize));
    EXPECT_TRUE(IsIconic(wnd));
    ShowWindow(wnd, SW_RESTORE);
    Pump();
    EXPECT_EQ(skinner.ShowState(), ssNormal);
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));

    click(ButtonWithAction(skinner, baClose));
    EXPECT_TRUE(closed);
}

TEST_F(SkinnedWindow, ANewCaptionOrIconIsPaintedInTheSkinAtOnce) {
    UseSkin("default");
    TForm* form = ShowForm(L"A");
    TWinSkinForm& skinner = *SkinnerOf(form);
    const int shortWidth = skinner.CaptionTextRect().Width();
    const TRect title{0, 0, WindowRectOf(form->Handle()).Width(), skinner.Metrics().Top};
    const std::vector<COLORREF> before = FramePixels(form->Handle(), title);
    form->SetCaption(L"A much longer caption for the window");
    EXPECT_GT(skinner.CaptionTextRect().Width(), shortWidth);
    EXPECT_NE(FramePixels(form->Handle(), title), before);
    EXPECT_EQ(skinner.State(), ssSkinned);
    // So is a new icon.
    TWinSysButton* icon = nullptr;
    for (const auto& b : skinner.CaptionButtons())
        if (b->ShowsIcon() && b->Visible) icon = b.get();
    ASSERT_NE(icon, nullptr);
    const std::vector<COLORREF> oldIcon = FramePixels(form->Handle(), icon->BoundsRect);
    SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(LoadIconW(nullptr, IDI_WARNING)));
    EXPECT_NE(FramePixels(form->Handle(), icon->BoundsRect), oldIcon);
    // A caption wider than the title bar stops at the skin's right clip (and ends in an ellipsis).
    form->SetCaption(std::wstring(300, L'W'));
    EXPECT_EQ(skinner.CaptionTextRect().Right,
              title.Right - skinner.Metrics().Right - skin->Title->RightWidth);
}

TEST_F(SkinnedWindow, DoubleClickOnTheCaptionMaximisesAndRestores) {
    UseSkin("graphite");
    TForm* form = ShowForm();
    const HWND wnd = form->Handle();
    const LPARAM caption = ScreenParam(wnd, {WindowRectOf(wnd).Width() / 2, 6});
    PostMessageW(wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, caption);
    Pump(10);
    EXPECT_TRUE(IsZoomed(wnd));
    PostMessageW(wnd, WM_NCLBUTTONDBLCLK, HTCAPTION, ScreenParam(wnd, {WindowRectOf(wnd).Width() / 2, 6}));
    Pump(10);
    EXPECT_FALSE(IsZoomed(wnd));
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));
}

// Records whether a popup menu window was on screen, then closes the menu.
bool MenuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    HWND menu = FindWindowW(L"#32768", nullptr);
    MenuSeen = menu && IsWindowVisible(menu);
    EndMenu();
}

TEST_F(SkinnedWindow, KeyboardOpensTheSystemMenuAndClosesTheWindow) {
    UseSkin("default");
    bool closed = false;
    TForm* form = ShowClosableForm(closed);
    const HWND wnd = form->Handle();
    // The menu's window is recognised as it is made and offered to the popup menu skinner.
    struct TFakePopup : TPopupMenuSkinner {
        HWND Window;
        explicit TFakePopup(HWND window) : Window(window) {}
        HWND Handle() const override { return Window; }
        void Restore() override {}
    };
    std::vector<std::pair<std::wstring, int>> offered;
    SkinManager->PopupMenuSkinner = [&](HWND menu, TSkinData&) {
        offered.emplace_back(WindowClassName(menu), SkinManager->MenuKind);
        return std::make_unique<TFakePopup>(menu);
    };
    MenuSeen = false;
    SetTimer(nullptr, 0, 300, CloseMenu);
    PostMessageW(wnd, WM_SYSCHAR, L' ', MAKELPARAM(1, KF_ALTDOWN));
    ASSERT_TRUE(PumpUntil([] { return MenuSeen; })) << "Alt+Space showed no system menu";
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0], (std::pair<std::wstring, int>{L"#32768", mkSystem}));
    SkinManager->PopupMenuSkinner = nullptr;
    EXPECT_FALSE(closed);

    PostMessageW(wnd, WM_SYSKEYDOWN, VK_F4, MAKELPARAM(1, KF_ALTDOWN));
    EXPECT_TRUE(PumpUntil([&] { return closed; })) << "Alt+F4 did not close the window";
}

// What the message box looked like to its skinner, read while it was up.
struct TBoxSeen {
    bool Found = false;
    TFrameKind Frame = fkSizeable;
    bool IconShown = true;
    int Top = 0;
};
TBoxSeen BoxSeen;
void CALLBACK InspectBox(HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = FindWindowW(L"#32770", L"Skinned box");
    TWinSkinForm* skinner = box && SkinManager ? SkinManager->FindSkinForm(box) : nullptr;
    if (!skinner || skinner->State() != ssSkinned) return;  // not yet: the next tick looks again
    KillTimer(nullptr, id);
    BoxSeen.Found = true;
    BoxSeen.Frame = skinner->FrameKind();
    BoxSeen.Top = skinner->Metrics().Top;
    BoxSeen.IconShown = false;
    for (const auto& b : skinner->CaptionButtons())
        if (b->ShowsIcon() && b->Visible) BoxSeen.IconShown = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Whether each message box was already in its skin as it was shown.
int BoxesShown = 0, BoxesShownSkinned = 0;
LRESULT CALLBACK WatchShowing(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_SHOWWINDOW && call->wParam && WindowClassName(call->hwnd) == L"#32770") {
        ++BoxesShown;
        TWinSkinForm* skinner = SkinManager ? SkinManager->FindSkinForm(call->hwnd) : nullptr;
        if (skinner && skinner->State() == ssSkinned) ++BoxesShownSkinned;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(SkinnedWindow, MessageBoxesWearTheSkinFromTheirFirstAppearance) {
    UseSkin("default");
    TForm* form = ShowForm();
    UniqueHook watch(SetWindowsHookExW(WH_CALLWNDPROCRET, WatchShowing, nullptr, GetCurrentThreadId()));
    BoxesShown = BoxesShownSkinned = 0;
    for (UINT flags : {0u, static_cast<UINT>(MB_RTLREADING | MB_RIGHT)}) {
        BoxSeen = {};
        SetTimer(nullptr, 0, 50, InspectBox);
        MessageBoxW(form->Handle(), L"Text", L"Skinned box", MB_OK | flags);
        ASSERT_TRUE(BoxSeen.Found) << flags;
        EXPECT_EQ(BoxSeen.Frame, fkDialog);
        EXPECT_FALSE(BoxSeen.IconShown);  // a dialog frame shows no icon
        EXPECT_EQ(BoxSeen.Top, SkinnerOf(form)->Metrics().Top);
    }
    EXPECT_EQ(BoxesShown, 2);
    EXPECT_EQ(BoxesShownSkinned, 2) << "a message box showed the system's frame first";
}

TEST_F(SkinnedWindow, RightToLeftDialogsReadTheirCaptionFromTheRight) {
    // Windows gives a message box asked to read right to left this extended style (Wine gives none).
    UseSkin("default");
    for (DWORD exStyle : {0ul, static_cast<DWORD>(WS_EX_RTLREADING | WS_EX_RIGHT)}) {
        UniqueWindow box(CreateWindowExW(exStyle, L"#32770", L"Warning", WS_POPUP | WS_CAPTION | WS_SYSMENU, 100, 100,
                                         300, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        EXPECT_FALSE(SkinManager->SkinWindow(box.get())) << "a dialog is skinned as it is made";
        ShowWindow(box.get(), SW_SHOW);
        Pump();
        TWinSkinForm* skinner = SkinManager->FindSkinForm(box.get());
        ASSERT_NE(skinner, nullptr);
        EXPECT_EQ(skinner->RightToLeft(), exStyle != 0);
        RedrawWindow(box.get(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        const int W = WindowRectOf(box.get()).Width();
        const int rightLimit = W - skinner->Metrics().Right - skin->Title->RightWidth;
        if (exStyle)
            EXPECT_EQ(skinner->CaptionTextRect().Right, rightLimit);
        else
            EXPECT_LT(skinner->CaptionTextRect().Right, W / 2);
    }
}

TEST_F(SkinnedWindow, SkinsSwitchLiveAndSkinningTurnsOffAndOnAgain) {
    UseSkin("default");
    TForm* form = ShowForm();
    const HWND wnd = form->Handle();
    const TFrameMetrics first = SkinnerOf(form)->Metrics();

    int changed = 0;
    skin->OnSkinChanged = [&](TObject*) { ++changed; };
    skin->SetSkinFile(ShippedSkinPath("graphite"));
    ASSERT_TRUE(PumpUntil([&] { return changed == 1; }));
    TWinSkinForm* skinner = SkinnerOf(form);
    ASSERT_NE(skinner, nullptr);
    const TFrameMetrics second = skinner->Metrics();
    EXPECT_NE(second, first);
    EXPECT_EQ(second.Top, skin->BorderTop->Bitmap->Height() / std::max(skin->BorderTop->FrameCount, 1));
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));
    EXPECT_EQ(WindowRectOf(wnd).Size(), (TSize{400 + second.Left + second.Right, 300 + second.Top + second.Bottom}));

    skin->SetActive(false);
    ASSERT_TRUE(PumpUntil([&] { return changed == 2; }));
    EXPECT_EQ(SkinnerOf(form), nullptr);
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));

    skin->SetActive(true);
    ASSERT_TRUE(PumpUntil([&] { return changed == 3 && SkinnerOf(form) && SkinnerOf(form)->State() == ssSkinned; }));
    EXPECT_EQ(SkinnerOf(form)->Metrics(), second);
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));
}

TEST_F(SkinnedWindow, AMalformedSkinFileGivesTheWindowsTheirOwnFramesBack) {
    UseSkin("default");
    TForm* form = ShowForm();
    const HWND wnd = form->Handle();
    // A sound archive whose top border image is not a bitmap.
    const std::vector<unsigned char> bad = {'B', 'M', 1, 2, 3};
    const std::vector<unsigned char> packed = PackSkin("[Personality]\nTop=top.bmp\nTopFrame=2\n", {{"top.bmp", bad}});
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"clarivo-malformed-skin.skn";
    TMemoryStream(packed).SaveToFile(path);
    EXPECT_ANY_THROW(skin->SetSkinFile(path));
    DeleteFileW(path.c_str());
    EXPECT_EQ(SkinnerOf(form), nullptr) << "the window still wears a skin that failed to load";
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(wnd, region.get()), ERROR);
    SendMessageW(wnd, WM_NCPAINT, 1, 0);  // and painting the frame now is the system's business
}

// A top-level window of a class registered by this program or by the system.
HWND BareWindow(const wchar_t* className, int width, int height) {
    // The system's own classes belong to the system's modules: made with one of theirs, a window is
    // another module's window.
    const bool own = std::wstring(className) == L"ClarivoBareTestWindow";
    return CreateWindowExW(0, className, L"Bare", width ? WS_OVERLAPPEDWINDOW : WS_POPUP, 100, 100, width, height,
                           nullptr, nullptr, GetModuleHandleW(own ? nullptr : L"user32.dll"), nullptr);
}

TEST_F(SkinnedWindow, OnlyWindowsThatQualifyAreSkinned) {
    UseSkin("default");
    static const wchar_t* ownClass = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClarivoBareTestWindow";
        RegisterClassW(&wc);
        return L"ClarivoBareTestWindow";
    }();
    struct TCase {
        const char* What;
        std::function<HWND()> Make;
        bool Skinned;
    };
    std::vector<TCase> cases = {
        {"a window of this program's own class", [] { return BareWindow(ownClass, 300, 200); }, true},
        {"a window of a system class", [] { return BareWindow(L"STATIC", 300, 200); }, false},
        {"a window without size", [] { return BareWindow(ownClass, 0, 0); }, false},
        {"a form tagged 99",
         [this] {
             auto* form = new TForm(nullptr);
             forms.push_back(form);
             form->SetTag(99);
             return form->Handle();
         },
         false},
    };
    std::vector<UniqueWindow> windows;
    for (const TCase& c : cases) {
        HWND wnd = c.Make();
        ASSERT_NE(wnd, nullptr) << c.What;
        if (!FindFormForWindow(wnd)) windows.emplace_back(wnd);
        EXPECT_EQ(SkinManager->SkinWindow(wnd), c.Skinned) << c.What;
        EXPECT_FALSE(SkinManager->SkinWindow(wnd)) << c.What << ": skinned twice";
        Pump();
        EXPECT_EQ(SendMessageW(wnd, WM_SKINQUERY, 0, 0) == 1, c.Skinned) << c.What;
    }
    // The framework's windows are found by their property and answer the message of the same name.
    TForm* named = ShowForm(L"Named");
    EXPECT_EQ(FindFormForWindow(named->Handle()), named);
    EXPECT_EQ(SendMessageW(named->Handle(), SkinManager->ControlMessage, 0, 0),
              reinterpret_cast<LRESULT>(static_cast<TControl*>(named)));
    EXPECT_NE(GlobalFindAtomW(TWinControl::ControlAtomName().c_str()), 0);
    // A window without a caption keeps its own frame.
    TForm* plain = ShowForm(L"Plain", bsNone);
    TWinSkinForm* skinner = SkinnerOf(plain);
    ASSERT_NE(skinner, nullptr);
    EXPECT_EQ(skinner->FrameKind(), fkNone);
    EXPECT_EQ(WindowRectOf(plain->Handle()).Size(), (TSize{400, 300}));
    EXPECT_FALSE(skinner->HasRegion());
}

LRESULT CALLBACK MdiFrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND client = FindWindowExW(wnd, nullptr, L"MDIClient", nullptr);
    return DefFrameProcW(wnd, client, msg, wParam, lParam);
}

TEST_F(SkinnedWindow, MdiFramesAndTheirChildrenAreSkinnedAndChildrenMaximiseIntoTheFrame) {
    UseSkin("default");
    static const bool registered = [] {
        WNDCLASSW frame{};
        frame.lpfnWndProc = MdiFrameProc;
        frame.hInstance = GetModuleHandleW(nullptr);
        frame.lpszClassName = L"ClarivoMdiFrame";
        WNDCLASSW child{};
        child.lpfnWndProc = DefMDIChildProcW;
        child.hInstance = GetModuleHandleW(nullptr);
        child.lpszClassName = L"ClarivoMdiChild";
        return RegisterClassW(&frame) && RegisterClassW(&child);
    }();
    ASSERT_TRUE(registered);
    UniqueWindow frame(CreateWindowExW(0, L"ClarivoMdiFrame", L"Frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 50, 50,
                                       640, 480, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    CLIENTCREATESTRUCT ccs{};
    HWND client = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0,
                                  600, 400, frame.get(), nullptr, GetModuleHandleW(nullptr), &ccs);
    ASSERT_NE(client, nullptr);
    ShowWindow(frame.get(), SW_SHOW);
    SetForegroundWindow(frame.get());
    Pump();
    TWinSkinForm* frameSkinner = SkinManager->FindSkinForm(frame.get());
    ASSERT_NE(frameSkinner, nullptr);
    EXPECT_EQ(frameSkinner->WindowKind(), wkMdiFrame);
    EXPECT_EQ(SkinManager->MdiClient, client);

    MDICREATESTRUCTW create{L"ClarivoMdiChild", L"Child", GetModuleHandleW(nullptr), 10, 10, 300, 200, 0, 0};
    auto child = reinterpret_cast<HWND>(SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create)));
    ASSERT_NE(child, nullptr);
    Pump();
    TWinSkinForm* childSkinner = SkinManager->FindSkinForm(child);
    ASSERT_NE(childSkinner, nullptr) << "an MDI child is skinned as it is made";
    EXPECT_EQ(childSkinner->WindowKind(), wkMdiChild);
    EXPECT_EQ(childSkinner->State(), ssSkinned);
    EXPECT_TRUE(childSkinner->HasRegion());
    const TSize childClient = ClientSizeOf(child);

    SendMessageW(client, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    EXPECT_TRUE(IsZoomed(child));
    EXPECT_TRUE(SkinManager->MdiMaximized());
    EXPECT_FALSE(childSkinner->HasRegion()) << "a maximised child keeps no frame region";
    EXPECT_EQ(ClientSizeOf(child), ClientSizeOf(client)) << "the maximised child does not fill the client";

    SendMessageW(client, WM_MDIRESTORE, reinterpret_cast<WPARAM>(child), 0);
    SendMessageW(child, WM_SYSCOMMAND, SC_RESTORE, 0);
    Pump();
    EXPECT_FALSE(IsZoomed(child));
    EXPECT_FALSE(SkinManager->MdiMaximized());
    EXPECT_TRUE(childSkinner->HasRegion());
    EXPECT_EQ(ClientSizeOf(child), childClient);

    SendMessageW(client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(child), 0);
    Pump();
    EXPECT_EQ(SkinManager->FindSkinForm(child), nullptr) << "the skinner of a destroyed child is not dropped";

    // The frame destroyed with children still in it, while the skin lives on: the next window made
    // frees the finished skinners (each one's freeing runs the hook again) and nothing is left of them.
    for (int i = 0; i < 3; ++i) SendMessageW(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&create));
    Pump();
    frame.reset();
    EXPECT_EQ(SkinManager->MdiClient, nullptr) << "the manager keeps the client of a destroyed frame";
    ShowForm(L"After the frame");
    for (TWinSkinForm* skinner : SkinManager->Forms()) EXPECT_TRUE(IsWindow(skinner->Handle()));
    EXPECT_EQ(SkinManager->Forms().size(), 1u);
}

TEST_F(SkinnedWindow, RepaintsResizesAndSkinSwitchesHoldNoHandles) {
    // Thousands of each: the program holds no more GDI and USER objects the more of them it does, by its
    // own counts and (where it counts, not under Wine) the system's.
    UseSkin("default");
    TForm* form = ShowForm();
    const HWND wnd = form->Handle();
    auto repaint = [&] { SendMessageW(wnd, WM_NCPAINT, 1, 0); };
    // A round goes there and back, so that the window ends as it was however many rounds run.
    auto resize = [&] {
        for (int dw : {3, -3}) {
            RECT r{};
            GetWindowRect(wnd, &r);
            SetWindowPos(wnd, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dw, SWP_NOMOVE | SWP_NOZORDER);
        }
    };
    auto switchSkin = [&] {
        for (const char* name : {"graphite", "default"}) {
            skin->SetSkinFile(ShippedSkinPath(name));
            SkinManager->ApplyChange();
        }
    };
    struct TCase {
        const char* What;
        std::function<void()> Step;
        int Times;
    };
    const TCase cases[] = {{"non-client repaints", repaint, 5000}, {"resizes, two a round", resize, 250}, {"skin switches, two a round", switchSkin, 50}};
    for (const TCase& c : cases) {
        const THandleGrowth growth = ExpectNoHandleGrowth(c.What, c.Times, c.Step, [&] { SettleAndPaint(wnd); });
        EXPECT_GT(growth.Start.Ours.Gdi, 0) << "nothing is counted";
    }
    EXPECT_EQ(ClientSizeOf(wnd), (TSize{400, 300}));
}

TEST_F(SkinnedWindow, CustomButtonsPostTheirAction) {
    UseSkin("graphite");  // its caption carries two custom buttons beside the text
    TForm* form = ShowForm();
    const HWND wnd = form->Handle();
    TWinSkinForm& skinner = *SkinnerOf(form);
    TWinSysButton* custom = ButtonWithAction(skinner, 40);
    ASSERT_NE(custom, nullptr);
    // Left of the caption text, as its alignment says.
    EXPECT_LE(custom->BoundsRect.Right, skinner.CaptionTextRect().Left);

    MSG msg{};
    const LPARAM p = ScreenParam(wnd, Centre(custom->BoundsRect));
    PostCaptionMouse(wnd, WM_NCMOUSEMOVE, p);
    PostCaptionMouse(wnd, WM_NCLBUTTONDOWN, p);
    PostCaptionMouse(wnd, WM_NCLBUTTONUP, p);
    bool posted = false;
    for (int i = 0; i < 50 && !posted; ++i) {
        while (PeekMessageW(&msg, wnd, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_SKINBUTTONCLICK) posted = msg.wParam == 40;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
    EXPECT_TRUE(posted);
}

}  // namespace

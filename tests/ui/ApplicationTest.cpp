// The application, the screen's forms, timers, message boxes and the main form's life.
#include "GuiFixture.h"
#include "ui/Dialogs.h"
#include "ui/Menus.h"
#include "ui/Screen.h"
#include "ui/SpeedButton.h"
#include "ui/Timer.h"

#include <algorithm>

namespace {

bool OnScreen(TCustomForm* form) {
    const auto& forms = Screen().FormList();
    return std::find(forms.begin(), forms.end(), form) != forms.end();
}

TEST(ApplicationWindow, HoldsTheTitleInAHiddenWindowOfItsOwnClass) {
    Application().SetTitle(L"Clarivo");
    EXPECT_EQ(Application().Title(), L"Clarivo");
    wchar_t className[32];
    GetClassNameW(Application().Handle(), className, 32);
    EXPECT_STREQ(className, L"TApplication");
    EXPECT_FALSE(IsWindowVisible(Application().Handle()));
}

TEST(ScreenForms, ListsFormsWhileTheyLive) {
    auto* a = new TForm(nullptr);
    auto* b = new TForm(nullptr);
    int count = Screen().FormCount();
    EXPECT_EQ(Screen().Forms(count - 2), a);
    EXPECT_EQ(Screen().Forms(count - 1), b);
    TCustomForm::Free(a);
    EXPECT_FALSE(OnScreen(a));
    EXPECT_EQ(Screen().FormCount(), count - 1);
    TCustomForm::Free(b);
}

TEST(FormLife, CloseRaisesOnCloseAndHides) {
    TForm* form = new TForm(nullptr);
    form->Show();
    TCloseAction seen = caNone;
    form->OnClose = [&](TObject*, TCloseAction& action) { seen = action; };
    SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(seen, caHide) << "the default action";
    EXPECT_FALSE(IsWindowVisible(form->WindowHandle()));
    TCustomForm::Free(form);
}

TEST(FormLife, CaFreeReleasesTheFormLater) {
    TForm* form = new TForm(nullptr);
    form->Show();
    bool destroyed = false;
    form->OnDestroy = [&](TObject*) { destroyed = true; };
    form->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    form->Close();
    EXPECT_TRUE(OnScreen(form)) << "not freed while its own code may be running";
    Application().ProcessMessages();
    EXPECT_TRUE(destroyed);
    EXPECT_FALSE(OnScreen(form));
}

TEST(FormLife, CaNoneKeepsTheFormOpen) {
    TForm* form = new TForm(nullptr);
    form->Show();
    form->OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
    form->Close();
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    TCustomForm::Free(form);
}

TEST(FormLife, OnDestroyRunsWhileTheComponentsStillExist) {
    TForm* form = new TForm(nullptr);
    auto* child = new TComponent(form);
    child->SetName("Child");
    TComponent* seen = nullptr;
    form->OnDestroy = [&](TObject*) { seen = form->FindComponent("Child"); };
    TCustomForm::Free(form);
    EXPECT_EQ(seen, child);
}

TEST(FormLife, ClientSizeAndCentring) {
    TForm form(nullptr);
    form.SetPosition(poScreenCenter);
    form.SetClientSize({949, 559});
    form.Show();
    RECT client, outer, work;
    GetClientRect(form.Handle(), &client);
    GetWindowRect(form.Handle(), &outer);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(client.right, 949);
    EXPECT_EQ(client.bottom, 559);
    EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((outer.top + outer.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST(FormLife, MenuChangeIsAnnounced) {
    TForm form(nullptr);
    int announced = 0;
    TWndMethod old = form.WindowProc;
    form.WindowProc = [&](TMessage& m) {
        if (m.Msg == CM_MENUCHANGED) ++announced;
        old(m);
    };
    auto* menu = new TMainMenu(&form);
    auto* file = new TMenuItem(&form);
    file->SetCaption(L"&File");
    menu->Items()->Add(file);
    form.SetMenu(menu);
    EXPECT_EQ(announced, 1);
    EXPECT_EQ(GetMenu(form.Handle()), menu->Handle());
    file->SetCaption(L"&Folder");  // an item's change is the menu's
    EXPECT_EQ(announced, 2);
    delete menu;  // the form forgets a menu that goes
    EXPECT_EQ(form.Menu(), nullptr);
    EXPECT_EQ(GetMenu(form.Handle()), nullptr);
}

TEST(MainForm, ClosingItEndsRun) {
    TForm* form = nullptr;
    Application().CreateForm(form);
    ASSERT_EQ(Application().MainForm(), form);
    EXPECT_EQ(form->Owner(), &Application());
    PostMessageW(Application().Handle(), WM_NULL, 0, 0);
    // Run shows the main form; closing it ends the loop.
    TTimer closer(nullptr);
    closer.SetInterval(10);
    closer.OnTimer = [&](TObject*) {
        closer.SetEnabled(false);
        EXPECT_TRUE(IsWindowVisible(form->WindowHandle()));
        PostMessageW(form->WindowHandle(), WM_CLOSE, 0, 0);
    };
    Application().Run();
    EXPECT_TRUE(Application().Terminated());
    TCustomForm::Free(form);
    EXPECT_EQ(Application().MainForm(), nullptr);
}

// A component with work of its own that logs when the work stops, and whether its form's fellow forms
// were all still there then.
class TFormWork : public TComponent {
public:
    TFormWork(TComponent* owner, std::vector<std::string>& log, std::vector<TCustomForm*> forms)
        : TComponent(owner), FLog(log), FForms(std::move(forms)) {}

protected:
    void StopWork() override {
        // Stopping a worker serves messages while it waits, as the search does.
        Application().ProcessMessages();
        const bool allThere = std::all_of(FForms.begin(), FForms.end(), OnScreen);
        FLog.push_back("stop " + Owner()->Name() + (allThere ? "" : " (a form was gone)"));
    }

private:
    std::vector<std::string>& FLog;
    std::vector<TCustomForm*> FForms;
};

TEST(ApplicationEnd, FormsStopTheirWorkWhileAllAreWholeThenGoLastMadeFirst) {
    TApplication app(nullptr);
    TForm* first = nullptr;
    TForm* second = nullptr;
    app.CreateForm(first);
    app.CreateForm(second);
    std::vector<std::string> log;
    for (TForm* form : {first, second}) {
        form->SetName(form == first ? "First" : "Second");
        new TFormWork(form, log, {first, second});
        form->OnDestroy = [&log, form](TObject*) { log.push_back("destroy " + form->Name()); };
    }
    // A release asked for before the end must not free the form in the middle of it.
    first->Release();

    app.Destroying();
    app.FreeComponents();
    EXPECT_EQ(log, (std::vector<std::string>{"stop Second", "stop First", "destroy Second", "destroy First"}));
    EXPECT_EQ(app.ComponentCount(), 0);
    EXPECT_EQ(app.MainForm(), nullptr);
    EXPECT_FALSE(OnScreen(first) || OnScreen(second));
    Application().ProcessMessages();  // the stale release finds its form gone

    const HWND hidden = app.Handle();
    app.Finalize();
    EXPECT_FALSE(IsWindow(hidden));
}

TEST(Timers, TickOnTheMessageLoopUntilDisabled) {
    TTimer timer(nullptr);
    EXPECT_TRUE(timer.Enabled());
    timer.SetInterval(5);
    int ticks = 0;
    timer.OnTimer = [&](TObject* sender) {
        EXPECT_EQ(sender, &timer);
        if (++ticks == 3) timer.SetEnabled(false);
    };
    MSG msg;
    while (ticks < 3 && GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    EXPECT_EQ(ticks, 3);
    timer.OnTimer = [&](TObject*) { ++ticks; };
    Sleep(30);
    Application().ProcessMessages();
    EXPECT_EQ(ticks, 3) << "a disabled timer does not tick";
}

TEST(MessageBoxes, TheSeamAnswersInsteadOfTheSystem) {
    std::wstring text, caption;
    UINT flags = 0;
    TMessageBoxHandler previous = SetMessageBoxHandler([&](HWND, const std::wstring& t, const std::wstring& c, UINT f) {
        text = t;
        caption = c;
        flags = f;
        return f & MB_YESNO ? IDNO : IDOK;
    });
    EXPECT_EQ(ShowMessageBox(L"a||b", L"Clarivo", MB_OK), IDOK);
    EXPECT_EQ(text, L"a||b");
    EXPECT_EQ(caption, L"Clarivo");
    EXPECT_EQ(flags, static_cast<UINT>(MB_OK));
    EXPECT_FALSE(ConfirmBox(L"Delete?", L"Confirm", true));
    EXPECT_EQ(flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_RTLREADING | MB_RIGHT));
    SetMessageBoxHandler(previous);
}

class Exceptions : public GuiTest {};

TEST_F(Exceptions, AHandlerFailureStopsAtTheWindowAndIsReported) {
    auto* button = new TSpeedButton(form);
    button->SetParent(form);
    button->SetBounds(0, 0, 50, 30);
    button->OnClick = [](TObject*) { throw Exception("Folder is gone"); };
    std::wstring boxText;
    UINT boxFlags = 0;
    TMessageBoxHandler previous = SetMessageBoxHandler([&](HWND, const std::wstring& t, const std::wstring&, UINT f) {
        boxText = t;
        boxFlags = f;
        return IDOK;
    });
    Click(form->Handle(), 10, 10);
    EXPECT_EQ(boxText, L"Folder is gone") << "by default the user is told";
    EXPECT_TRUE(boxFlags & MB_ICONSTOP);

    std::string reported;
    Application().OnException = [&](TObject*, const std::exception& e) { reported = e.what(); };
    boxText.clear();
    Click(form->Handle(), 10, 10);
    EXPECT_EQ(reported, "Folder is gone");
    EXPECT_EQ(boxText, L"") << "OnException replaces the box";
    Application().OnException = nullptr;
    SetMessageBoxHandler(previous);
    EXPECT_TRUE(IsWindow(form->WindowHandle())) << "the window goes on";
}

}  // namespace

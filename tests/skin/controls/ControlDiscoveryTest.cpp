// Control discovery on real windows: which control gets the painter of which kind, for a framework form
// (the class chain, the skin's SkinControls gates, Skin3rd lines, DisableTag) and for a bare dialog
// (window classes and styles). Every kind is made by a recording painter here.
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/Application.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/CustomForm.h"
#include "ui/DateTimePicker.h"
#include "ui/Edit.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/Memo.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/ScrollBar.h"
#include "ui/SpeedButton.h"
#include "ui/SpinEdit.h"
#include "ui/StatusBar.h"
#include "ui/UpDown.h"

#include "Pump.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>

namespace {

class TRecordingPainter : public TSkinControl {
public:
    using TSkinControl::TSkinControl;
    TPainterKind Kind{};
};

template <TPainterKind K>
TSkinControl* MakeRecording(TComponent* owner) {
    auto* painter = new TRecordingPainter(owner);
    painter->Kind = K;
    return painter;
}

template <size_t... I>
void RegisterAll(std::index_sequence<I...>, bool on) {
    (RegisterPainter(static_cast<TPainterKind>(I), on ? MakeRecording<static_cast<TPainterKind>(I)> : nullptr), ...);
}
constexpr auto AllKinds = std::make_index_sequence<static_cast<size_t>(TPainterKind::ObjImageCx) + 1>();

// A group of radio buttons, as other libraries name theirs.
class TRadioGroupStub : public TPanel {
public:
    CLARIVO_CLASS
    using TPanel::TPanel;
};
const TClassInfo TRadioGroupStub::MetaClass("TRadioGroupStub", &TPanel::MetaClass, ComponentFactory<TRadioGroupStub>, {});

class Discovery : public ::testing::Test {
protected:
    Discovery() {
        InstallControlPainters();
        RegisterAll(AllKinds, true);
        form = new TForm(nullptr);
        form->SetClientSize({400, 300});
    }
    ~Discovery() override {
        TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        RegisterAll(AllKinds, false);
        SetControlDiscovery({});
        Pump(2);
    }

    template <typename T>
    T* Add(TWinControl* parent, int top) {
        auto* c = new T(form);
        c->SetParent(parent);
        c->SetBounds(10, top, 100, 20);
        return c;
    }

    // Skins the form (discovery runs as it is first skinned) and returns what each control got.
    std::map<const TControl*, TPainterKind> Skin(const std::function<void(TSkinData&)>& adjust = {}) {
        skin = ShippedSkin("default");
        if (adjust) adjust(*skin);
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        skinner = SkinManager->FindSkinForm(form->Handle());
        std::map<const TControl*, TPainterKind> kinds;
        if (!skinner) return kinds;
        for (TControlPainter* p : skinner->Painters())
            if (auto* r = dynamic_cast<TRecordingPainter*>(p); r && r->Control()) kinds[r->Control()] = r->Kind;
        return kinds;
    }

    TForm* form = nullptr;
    std::unique_ptr<TSkinData> skin;
    TWinSkinForm* skinner = nullptr;
};

TEST_F(Discovery, EachFrameworkControlGetsThePainterOfItsKindAndOnlyOnce) {
    auto* check = Add<TCheckBox>(form, 0);
    auto* radio = Add<TRadioButton>(form, 20);
    auto* panel = Add<TPanel>(form, 40);
    panel->SetBounds(150, 0, 200, 100);
    auto* inner = Add<TCheckBox>(panel, 10);
    auto* edit = Add<TEdit>(form, 60);
    auto* speed = Add<TSpeedButton>(form, 80);
    auto* list = Add<TListView>(form, 100);
    auto* status = Add<TStatusBar>(form, 120);
    auto* label = Add<TLabel>(form, 140);
    auto* combo = Add<TComboBox>(form, 160);
    auto* date = Add<TDateTimePicker>(form, 190);
    auto* spin = Add<TUpDown>(form, 220);
    auto* spinEdit = Add<TSpinEdit>(form, 250);  // an edit: its painter skins the arrows inside it
    auto* memo = Add<TMemo>(form, 280);
    memo->SetScrollBars(ssVertical);
    auto* plainMemo = Add<TMemo>(form, 380);  // no bars: an edit's frame
    auto* listBox = Add<TListBox>(form, 480);
    auto* bar = Add<TScrollBar>(form, 580);
    const auto kinds = Skin();
    const std::map<const TControl*, TPainterKind> expected = {
        {check, TPainterKind::CheckBox}, {radio, TPainterKind::RadioButton}, {panel, TPainterKind::Box},
        {inner, TPainterKind::CheckBox}, {edit, TPainterKind::Edit},         {speed, TPainterKind::SpeedButton},
        {list, TPainterKind::ListView},  {status, TPainterKind::StatusBar},  {combo, TPainterKind::ComBox},
        {date, TPainterKind::DateTime},  {spin, TPainterKind::UpDown},       {spinEdit, TPainterKind::Edit},
        {memo, TPainterKind::Scrollbar}, {plainMemo, TPainterKind::Edit},    {listBox, TPainterKind::Scrollbar},
        {bar, TPainterKind::ScrollControl},
    };
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(kinds.count(label), 0u);
    EXPECT_EQ(panel->Color(), skin->FaceColor) << "a panel takes the skin's colour";

    // Discovery again finds every control painted already.
    const size_t painters = skinner->Painters().size();
    DiscoverControls(*skinner);
    EXPECT_EQ(skinner->Painters().size(), painters);
}

TEST_F(Discovery, TheSkinsGatesAndSkin3rdLinesDecideFirst) {
    auto* check = Add<TCheckBox>(form, 0);
    auto* panel = Add<TPanel>(form, 40);
    auto* edit = Add<TEdit>(form, 80);
    const auto kinds = Skin([](TSkinData& s) {
        s.SetSkinControls(s.SkinControls() & ~SkinBit(xcCheckBox));
        std::vector<std::wstring> lines = s.Skin3rd();
        lines.push_back(L"TPanel=nil");
        lines.push_back(L"TEDIT=Button");
        s.SetSkin3rd(lines);
    });
    EXPECT_EQ(kinds.count(check), 0u) << "check boxes are not among the skin's controls";
    EXPECT_EQ(kinds.count(panel), 0u) << "\"nil\" leaves a control alone";
    ASSERT_EQ(kinds.count(edit), 1u);
    EXPECT_EQ(kinds.at(edit), TPainterKind::Button);
}

TEST_F(Discovery, TheComboGateLeavesCombosAndDatePickersUnpainted) {
    auto* combo = Add<TComboBox>(form, 0);
    auto* date = Add<TDateTimePicker>(form, 30);
    const auto kinds = Skin([](TSkinData& s) { s.SetSkinControls(s.SkinControls() & ~SkinBit(xcCombo)); });
    EXPECT_EQ(kinds.count(combo), 0u);
    EXPECT_EQ(kinds.count(date), 0u);
}

TEST_F(Discovery, AGroupLeftAloneTakesItsButtonsWithIt) {
    auto* group = Add<TRadioGroupStub>(form, 0);
    group->SetBounds(10, 10, 200, 100);
    auto* first = Add<TRadioButton>(group, 10);
    auto* second = Add<TRadioButton>(group, 40);
    auto* outside = Add<TRadioButton>(form, 150);
    group->SetTag(99);
    const auto kinds = Skin();
    EXPECT_EQ(kinds.count(group), 0u);
    EXPECT_EQ(kinds.count(first), 0u);
    EXPECT_EQ(kinds.count(second), 0u);
    EXPECT_EQ(first->Tag(), 99);
    ASSERT_EQ(kinds.count(outside), 1u);
    EXPECT_EQ(kinds.at(outside), TPainterKind::RadioButton);
}

LRESULT CALLBACK DialogProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) { return DefWindowProcW(wnd, msg, wParam, lParam); }

TEST_F(Discovery, ABareDialogsChildWindowsAreDecidedByClassAndStyle) {
    skin = ShippedSkin("default");
    static const bool registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DialogProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ClarivoBareDialog";
        return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    UniqueWindow dialog(CreateWindowExW(0, L"ClarivoBareDialog", L"Bare", WS_OVERLAPPEDWINDOW, 50, 50, 400, 300, nullptr,
                                        nullptr, GetModuleHandleW(nullptr), nullptr));
    struct TCase {
        const wchar_t* Class;
        DWORD Style;
        bool Painted;
        TPainterKind Kind;
    };
    const TCase cases[] = {
        {L"BUTTON", BS_PUSHBUTTON, true, TPainterKind::Button},
        {L"BUTTON", BS_OWNERDRAW, false, {}},
        {L"BUTTON", BS_GROUPBOX, false, {}},
        {L"BUTTON", BS_PUSHBUTTON | BS_BITMAP, false, {}},
        {L"BUTTON", BS_AUTOCHECKBOX, true, TPainterKind::CheckBox},
        {L"BUTTON", BS_3STATE, true, TPainterKind::CheckBox},
        {L"BUTTON", BS_AUTORADIOBUTTON, true, TPainterKind::RadioButton},
        {L"EDIT", WS_BORDER, true, TPainterKind::Edit},
        {L"COMBOBOX", CBS_DROPDOWN, true, TPainterKind::ComBox},
        {L"COMBOBOX", CBS_SIMPLE, false, {}},
        {L"SCROLLBAR", SBS_SIZEGRIP, true, TPainterKind::Sizer},
        {L"SCROLLBAR", SBS_SIZEBOX, true, TPainterKind::Sizer},
        {L"SCROLLBAR", SBS_VERT | WS_TABSTOP, true, TPainterKind::ScrollControl},
        {L"SCROLLBAR", SBS_HORZ, true, TPainterKind::ScrollControl},  // a real bar, tab stop or not
        {L"LISTBOX", WS_VSCROLL, true, TPainterKind::WindowScrollbars},
        {L"SysTreeView32", 0, false, {}},
    };
    std::vector<HWND> children;
    for (const TCase& c : cases)
        children.push_back(CreateWindowExW(0, c.Class, L"x", WS_CHILD | WS_VISIBLE | c.Style, 10,
                                           10 + 20 * static_cast<int>(children.size()), 80, 18, dialog.get(), nullptr,
                                           GetModuleHandleW(nullptr), nullptr));
    ShowWindow(dialog.get(), SW_SHOW);
    SetForegroundWindow(dialog.get());
    Pump();
    TWinSkinForm* bare = SkinManager->FindSkinForm(dialog.get());
    ASSERT_NE(bare, nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const TCase& c = cases[i];
        auto* painter = dynamic_cast<TRecordingPainter*>(bare->PainterOfWindow(children[i]));
        EXPECT_EQ(painter != nullptr, c.Painted) << i;
        if (painter && c.Painted) {
            EXPECT_EQ(painter->Kind, c.Kind) << i;
        }
    }
}

}  // namespace

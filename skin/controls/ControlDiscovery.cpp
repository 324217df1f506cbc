#include "skin/controls/ControlDiscovery.h"

#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinCheckBox.h"
#include "skin/controls/SkinComBox.h"
#include "skin/controls/SkinDateTime.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinMP.h"
#include "skin/controls/SkinObjImage.h"
#include "skin/controls/SkinProgress.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinSizer.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/controls/SkinTab.h"
#include "skin/controls/SkinTrackBar.h"
#include "skin/controls/SkinUpDown.h"

#include "skin/data/SkinData.h"
#include "skin/window/SkinManager.h"
#include "skin/window/SkinMessages.h"
#include "skin/window/WinSkinForm.h"
#include "ui/CustomForm.h"
#include "ui/Properties.h"
#include "ui/WinControl.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cwctype>

namespace {

std::array<TPainterMaker, static_cast<size_t>(TPainterKind::ObjImageCx) + 1> Makers{};

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Narrow(const std::wstring& text) {
    std::string result;
    for (wchar_t c : text) result += c < 128 ? static_cast<char>(c) : '?';
    return result;
}

// Whether the control is of the named framework class or derives from it (false for classes this
// program does not have).
bool IsA(const TControl& Control, const char* ClassName) {
    const TClassInfo* cls = TClassInfo::Find(ClassName);
    return cls && Control.ClassType().InheritsFrom(*cls);
}

bool Gate(const TSkinData& Skin, TSkinControlType Kind) { return Skin.HasControl(Kind); }

// Makes and attaches a painter for a framework control (owned by the control); null without a maker.
TSkinControl* Paint(TWinSkinForm& Skinner, TPainterKind Kind, TControl& Control, bool TakeColor = false) {
    TSkinControl* painter = MakePainter(Kind, &Control);
    if (painter) painter->Attach(Skinner, *Skinner.Skin(), TakeColor, nullptr);
    return painter;
}

TSkinControl* PaintScrolling(TWinSkinForm& Skinner, TPainterKind Kind, TControl& Control) {
    TSkinControl* painter = MakePainter(Kind, &Control);
    if (painter) painter->AttachScrolling(Control, *Skinner.Skin(), Skinner, nullptr);
    return painter;
}

// A bare window's painter, owned by the window skinner.
void PaintWindow(TWinSkinForm& Skinner, TPainterKind Kind, HWND Window) {
    if (TSkinControl* painter = MakePainter(Kind, &Skinner)) painter->AttachWindow(Window, *Skinner.Skin(), Skinner, nullptr);
}

// Each child control of a group (the buttons of a radio or check group) gets a painter of the kind.
void PaintChildren(TWinSkinForm& Skinner, TPainterKind Kind, TControl& Group) {
    auto* windowed = dynamic_cast<TWinControl*>(&Group);
    if (!windowed) return;
    const bool takeColor = Kind == TPainterKind::ObjImageRadio || Kind == TPainterKind::ObjImageCheck;
    const std::vector<TControl*> children = windowed->ControlList();
    for (TControl* child : children) Paint(Skinner, Kind, *child, takeColor);
}

void ClassifyChildren(TWinSkinForm& Skinner, TControl& Control, TControl& Owner) {
    auto* windowed = dynamic_cast<TWinControl*>(&Control);
    if (!windowed) return;
    const std::vector<TControl*> children = windowed->ControlList();  // a painter may change nothing here
    for (TControl* child : children) ClassifyControl(Skinner, *child, Owner);
}

void ClassifyChildWindows(TWinSkinForm& Skinner, HWND Parent) {
    for (HWND child = GetTopWindow(Parent); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) ClassifyChildWindow(Skinner, child);
}

// Row 20 of the chain: a windowed control with a scroll bar style, or a tree view or list box (whose bars
// come and go with their rows, and their style bits with them).
bool ScrollsItself(TControl& Control) {
    auto* windowed = dynamic_cast<TWinControl*>(&Control);
    if (!windowed) return false;
    if (IsA(Control, "TCustomTreeView") || IsA(Control, "TCustomListBox")) return true;
    const auto style = windowed->HandleAllocated() ? GetWindowLongPtrW(windowed->WindowHandle(), GWL_STYLE) : 0;
    return (style & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

// Every component the form owns that is a control.
void ClassifyComponents(TWinSkinForm& Skinner, TCustomForm& Form) {
    const std::vector<TComponent*> components = Form.ComponentList();
    for (TComponent* component : components)
        if (auto* control = dynamic_cast<TControl*>(component)) ClassifyControl(Skinner, *control, Form);
}

}  // namespace

void RegisterPainter(TPainterKind Kind, TPainterMaker Maker) { Makers[static_cast<size_t>(Kind)] = Maker; }

TSkinControl* MakePainter(TPainterKind Kind, TComponent* Owner) {
    TPainterMaker maker = Makers[static_cast<size_t>(Kind)];
    return maker ? maker(Owner) : nullptr;
}

namespace {
template <typename T>
TSkinControl* Make(TComponent* Owner) {
    return new T(Owner);
}
}  // namespace

void InstallControlPainters() {
    RegisterPainter(TPainterKind::Button, Make<TSkinButton>);
    RegisterPainter(TPainterKind::BitButton, Make<TSkinBitButton>);
    RegisterPainter(TPainterKind::PngBitButton, [](TComponent* Owner) -> TSkinControl* {
        auto* painter = new TSkinBitButton(Owner);
        painter->SetGlyphProperty("PngImage");
        return painter;
    });
    RegisterPainter(TPainterKind::MenuButton, Make<TSkinMenuButton>);
    RegisterPainter(TPainterKind::SpeedButton, Make<TSkinSpeedButton>);
    RegisterPainter(TPainterKind::CheckBox, Make<TSkinCheckBox>);
    RegisterPainter(TPainterKind::RadioButton, Make<TSkinRadioButton>);
    RegisterPainter(TPainterKind::GroupBox, Make<TSkinGroupBox>);
    RegisterPainter(TPainterKind::Box, Make<TSkinBox>);
    RegisterPainter(TPainterKind::BoxH, Make<TSkinBoxH>);
    RegisterPainter(TPainterKind::Edit, Make<TSkinEdit>);
    RegisterPainter(TPainterKind::ComBox, Make<TSkinComBox>);
    RegisterPainter(TPainterKind::UpDown, Make<TSkinUpDown>);
    RegisterPainter(TPainterKind::DateTime, Make<TSkinDateTime>);
    RegisterPainter(TPainterKind::Scrollbar, Make<TSkinScrollbar>);
    RegisterPainter(TPainterKind::SingleScrollbar, Make<TSkinScrollbar>);
    RegisterPainter(TPainterKind::ListView, Make<TSkinListView>);
    RegisterPainter(TPainterKind::ScrollControl, Make<TSkinScControl>);
    RegisterPainter(TPainterKind::WindowScrollbars, Make<TSkinScrollbarH>);
    RegisterPainter(TPainterKind::StatusBar, Make<TSkinStatusBar>);
    RegisterPainter(TPainterKind::Sizer, Make<TSkinSizer>);
    RegisterPainter(TPainterKind::Progress, Make<TSkinProgress>);
    RegisterPainter(TPainterKind::TrackBar, Make<TSkinTrackBar>);
    RegisterPainter(TPainterKind::MediaPlayer, Make<TSkinMP>);
    RegisterPainter(TPainterKind::ObjImageCheck, [](TComponent* Owner) -> TSkinControl* { return new TSkinObjImage(Owner, oiCheckGlyphs); });
    RegisterPainter(TPainterKind::ObjImageRadio, [](TComponent* Owner) -> TSkinControl* { return new TSkinObjImage(Owner, oiRadioGlyphs); });
    RegisterPainter(TPainterKind::ObjImageCx, [](TComponent* Owner) -> TSkinControl* { return new TSkinObjImage(Owner, oiPropertiesGlyph); });
    RegisterPainter(TPainterKind::Tab, Make<TSkinTab>);
    RegisterPainter(TPainterKind::TabBtn, Make<TSkinTabBtn>);
    RegisterPainter(TPainterKind::TabSheet, Make<TSkinTabSheet>);
    RegisterPainter(TPainterKind::Tab31, Make<TSkinTab31>);
    RegisterPainter(TPainterKind::AdvPage, Make<TSkinAdvPage>);
    SetControlDiscovery({DiscoverControls, ClassifyChildWindow, Rescroll});
}

void DiscoverControls(TWinSkinForm& Skinner) {
    Skinner.FreeFinishedPainters();
    TCustomForm* form = Skinner.Form();
    if (!form) {
        ClassifyChildWindows(Skinner, Skinner.Handle());
        return;
    }
    ClassifyComponents(Skinner, *form);
    // Windowed controls the form does not own (made by other components) are found in tab order.
    std::vector<TWinControl*> tabOrder;
    form->GetTabOrderList(tabOrder);
    const int disableTag = Skinner.Skin()->DisableTag();
    for (TWinControl* control : tabOrder)
        if (control->HandleAllocated() && control->Tag() != disableTag &&
            SendMessageW(control->WindowHandle(), WM_SKINQUERY, 0, 0) != 1)
            ClassifyControl(Skinner, *control, *form);
}

void ClassifyControl(TWinSkinForm& Skinner, TControl& Control, TControl& Owner) {
    TSkinData& skin = *Skinner.Skin();
    const std::string className = Control.ClassType().Name();
    if (Control.Tag() == skin.DisableTag()) {
        // A group left alone takes its buttons with it.
        const std::string lower = Lower(className);
        auto* group = dynamic_cast<TWinControl*>(&Control);
        if (group && (lower.find("radiogroup") != std::string::npos || lower.find("checkgroup") != std::string::npos))
            for (TControl* child : group->ControlList()) child->SetTag(skin.DisableTag());
        return;
    }
    if (!Control.Parent() || Control.Perform(WM_SKINQUERY) == 1 || Skinner.PainterOfControl(&Control)) return;
    const std::string U = Upper(className);
    if (auto* windowed = dynamic_cast<TWinControl*>(&Control); windowed && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (...) {
            return;
        }
    }

    if (skin.OnSkinControl) {
        TComponent* skinned = nullptr;
        skin.OnSkinControl(&Skinner, &skin, &Owner, &Control, std::wstring(U.begin(), U.end()), skinned);
        if (auto* painter = dynamic_cast<TSkinControl*>(skinned)) {
            if (std::find(Skinner.Painters().begin(), Skinner.Painters().end(), painter) == Skinner.Painters().end())
                painter->Attach(Skinner, skin, painter->TakesColor(), nullptr);
            if (IsA(Control, "TCustomPanel")) ClassifyChildren(Skinner, Control, Owner);
            return;
        }
    }
    if (ClassifyBySkin3rd(Skinner, U, Control)) return;
    if (U == "TDBCOMBOBOXEH" || U == "TFRDESIGNERPAGE" || U == "TFRPBOX") return;

    // The chain: the first row whose test and gate hold decides; a failed gate goes on to the next row.
    // First this program's own button and group classes, then the rows every skinned program knows.
    if (IsA(Control, "TBitBtn") && Gate(skin, xcButton)) { Paint(Skinner, TPainterKind::BitButton, Control); return; }
    if (IsA(Control, "TMenuButton") && Gate(skin, xcButton)) { Paint(Skinner, TPainterKind::MenuButton, Control); return; }
    // Check controls drawn from a glyph strip of their own get the skin's glyphs, not a painter over them.
    if (IsA(Control, "TGlyphCheckBox") && Gate(skin, xcCheckBox)) { Paint(Skinner, TPainterKind::ObjImageCheck, Control, true); return; }
    if (IsA(Control, "TGlyphRadioButton") && Gate(skin, xcRadioButton)) { Paint(Skinner, TPainterKind::ObjImageRadio, Control, true); return; }
    if (IsA(Control, "TPropertiesCheckBox") && Gate(skin, xcCheckBox)) { Paint(Skinner, TPainterKind::ObjImageCx, Control, true); return; }
    // Ahead of the scroll-bar row, and deciding even when the gate is shut: a combo box is asked for
    // WS_VSCROLL for its list's sake and never scrolls itself, so no later row may take it for a control
    // that does.
    if (IsA(Control, "TCustomComboBox")) {
        if (Gate(skin, xcCombo)) Paint(Skinner, TPainterKind::ComBox, Control);
        return;
    }
    if (IsA(Control, "TCustomTrackBar") && Gate(skin, xcTrackBar)) { Paint(Skinner, TPainterKind::TrackBar, Control); return; }
    if (IsA(Control, "TCustomProgressBar") && Gate(skin, xcProgress)) { Paint(Skinner, TPainterKind::Progress, Control); return; }
    if (IsA(Control, "TCustomDateTimePicker") && Gate(skin, xcCombo)) { Paint(Skinner, TPainterKind::DateTime, Control); return; }
    if (IsA(Control, "TCustomRadioGroup") && Gate(skin, xcGroupBox)) {
        if (Gate(skin, xcRadioButton)) PaintChildren(Skinner, TPainterKind::RadioButton, Control);
        Paint(Skinner, TPainterKind::GroupBox, Control, true);
        return;
    }
    if (IsA(Control, "TCustomGroupBox") && Gate(skin, xcGroupBox)) {
        Paint(Skinner, TPainterKind::GroupBox, Control, true);
        ClassifyChildren(Skinner, Control, Owner);
        return;
    }
    // This program's tab and page controls, and the pages of a page control: all drawn with the skin's
    // Tabs element (button-style tab controls with its push buttons).
    if (IsA(Control, "TCustomTabControl") && skin.Tabs && Gate(skin, xcTab)) {
        auto* windowed = dynamic_cast<TWinControl*>(&Control);
        const bool buttons = windowed && (GetWindowLongPtrW(windowed->WindowHandle(), GWL_STYLE) & TCS_BUTTONS);
        Paint(Skinner, buttons ? TPainterKind::TabBtn : TPainterKind::Tab, Control);
        return;
    }
    if (IsA(Control, "TTabSheet") && skin.Tabs && Gate(skin, xcTab)) { Paint(Skinner, TPainterKind::TabSheet, Control, true); return; }
    const bool tabs = skin.Tabs != nullptr;
    if (U == "TTABSET" && tabs && Gate(skin, xcTab)) { Paint(Skinner, TPainterKind::Tab31, Control); return; }
    if (U == "TTABBEDNOTEBOOK" && tabs && Gate(skin, xcTab)) { Paint(Skinner, TPainterKind::Tab, Control); return; }
    if (U == "TMVCPANEL") { ClassifyChildren(Skinner, Control, Owner); return; }
    if (IsA(Control, "TCustomCheckBox") && Gate(skin, xcCheckBox)) { Paint(Skinner, TPainterKind::CheckBox, Control); return; }
    if ((U == "TUPDOWN" || U == "TSPINBUTTON") && Gate(skin, xcSpin)) { Paint(Skinner, TPainterKind::UpDown, Control); return; }
    if (U == "TMEDIAPLAYER" && Gate(skin, xcButton)) { Paint(Skinner, TPainterKind::MediaPlayer, Control); return; }
    if (U == "TDBNAVIGATOR" && Gate(skin, xcPanel)) {
        Paint(Skinner, TPainterKind::Box, Control, true);
        ClassifyChildren(Skinner, Control, Owner);
        return;
    }
    if ((U == "TRZDBCHECKBOX" || U == "TRZCHECKBOX") && Gate(skin, xcCheckBox)) { Paint(Skinner, TPainterKind::ObjImageCheck, Control, true); return; }
    if ((U == "TRZRADIOBUTTON" || U == "TRZDBRADIOBUTTON") && Gate(skin, xcRadioButton)) { Paint(Skinner, TPainterKind::ObjImageRadio, Control, true); return; }
    if ((U == "TCXDBCHECKBOX" || U == "TCXCHECKBOX") && Gate(skin, xcCheckBox)) { Paint(Skinner, TPainterKind::ObjImageCx, Control, true); return; }
    if (IsA(Control, "TRadioButton") && Gate(skin, xcRadioButton)) { Paint(Skinner, TPainterKind::RadioButton, Control); return; }
    if (IsA(Control, "TCustomStatusBar") && Gate(skin, xcStatusBar)) { Paint(Skinner, TPainterKind::StatusBar, Control); return; }
    if (U == "TTNTCOMBOBOX" && Gate(skin, xcCombo)) { Paint(Skinner, TPainterKind::ComBox, Control); return; }
    if ((U == "TRICHEDIT" || U == "TWWDBRICHEDIT" || U == "TDXDBMEMO") && Gate(skin, xcScrollbar)) { PaintScrolling(Skinner, TPainterKind::Scrollbar, Control); return; }
    if (IsA(Control, "TSpeedButton") && Gate(skin, xcSpeedButton)) { Paint(Skinner, TPainterKind::SpeedButton, Control); return; }
    if (IsA(Control, "TCustomPanel") && Gate(skin, xcPanel)) {
        ClassifyChildren(Skinner, Control, Owner);
        Paint(Skinner, TPainterKind::Box, Control, true);
        return;
    }
    if ((U == "TDXTREELIST" || U == "TDXDBTREELIST" || U == "TDXDBGRID") && Gate(skin, xcScrollbar)) { PaintScrolling(Skinner, TPainterKind::Scrollbar, Control); return; }
    if (IsA(Control, "TScrollBar") && Gate(skin, xcScrollbar)) { Paint(Skinner, TPainterKind::ScrollControl, Control); return; }
    if (IsA(Control, "TCustomListView") && Gate(skin, xcScrollbar)) { PaintScrolling(Skinner, TPainterKind::ListView, Control); return; }
    if (ScrollsItself(Control) && Gate(skin, xcScrollbar)) { PaintScrolling(Skinner, TPainterKind::Scrollbar, Control); return; }
    if (IsA(Control, "TButton") && Gate(skin, xcButton)) { Paint(Skinner, TPainterKind::Button, Control); return; }
    if (IsA(Control, "TCustomEdit") && Gate(skin, xcEdit)) { Paint(Skinner, TPainterKind::Edit, Control); return; }
    if (U != "TDCEDIT" && U != "TDCDBEDIT" && IsA(Control, "TCustomForm")) {
        Paint(Skinner, TPainterKind::Box, Control, true);
        ClassifyComponents(Skinner, static_cast<TCustomForm&>(Control));
        return;
    }
    if (U == "TDCEDIT" || U == "TDCDBEDIT") {
        const int buttons = ReadIntegerProperty(&Control, "NumButtons");
        if (buttons == 1 && Gate(skin, xcCombo)) Paint(Skinner, TPainterKind::ComBox, Control);
        if (buttons == 0 && Gate(skin, xcEdit))
            if (TSkinControl* painter = MakePainter(TPainterKind::Edit, &Control))
                painter->AttachWindow(static_cast<TWinControl&>(Control).WindowHandle(), skin, Skinner, nullptr);
    }
}

bool ClassifyBySkin3rd(TWinSkinForm& Skinner, const std::string& UpperClass, TControl& Control) {
    TSkinData& skin = *Skinner.Skin();
    const std::string key = Lower(UpperClass) + "=";
    std::string kind;
    bool found = false;
    for (const std::wstring& line : skin.Skin3rd()) {
        const std::string lower = Lower(Narrow(line));
        if (lower.rfind(key, 0) != 0) continue;
        kind = lower.substr(lower.find('=') + 1, 50);
        found = true;
        break;
    }
    if (!found) return false;
    if (kind == "nil") return true;

    TControl* owner = dynamic_cast<TControl*>(Control.Owner());
    TControl& classifyOwner = owner ? *owner : Control;
    if (kind == "combobox" && Gate(skin, xcCombo)) Paint(Skinner, TPainterKind::ComBox, Control);
    else if (kind == "edit" && Gate(skin, xcEdit)) {
        // Only an edit with a border of its own is skinned.
        auto* windowed = dynamic_cast<TWinControl*>(&Control);
        RECT window{}, client{};
        if (windowed && GetWindowRect(windowed->WindowHandle(), &window) && GetClientRect(windowed->WindowHandle(), &client) &&
            (window.right - window.left != client.right || window.bottom - window.top != client.bottom))
            Paint(Skinner, TPainterKind::Edit, Control);
    } else if (kind == "radiobutton" && Gate(skin, xcRadioButton)) Paint(Skinner, TPainterKind::RadioButton, Control);
    else if (kind == "panel" && Gate(skin, xcPanel)) {
        WritePropertyText(&Control, "Transparent", L"True");
        Paint(Skinner, TPainterKind::Box, Control, true);
    } else if (kind == "trackbar" && Gate(skin, xcButton)) {
        WritePropertyText(&Control, "Transparent", L"True");
        Paint(Skinner, TPainterKind::TrackBar, Control);
    } else if (kind == "button" && Gate(skin, xcButton)) Paint(Skinner, TPainterKind::Button, Control);
    else if (kind == "datetimepicker" && Gate(skin, xcCombo)) Paint(Skinner, TPainterKind::DateTime, Control);
    else if (kind == "mediaplayer" && Gate(skin, xcButton)) Paint(Skinner, TPainterKind::MediaPlayer, Control);
    else if (kind == "bitbtn" && Gate(skin, xcButton)) {
        const bool dropDown = key == "tcxbutton=" && ReadEnumNameProperty(&Control, "Kind") == L"cxbkDropDownButton";
        Paint(Skinner, dropDown ? TPainterKind::MenuButton : TPainterKind::BitButton, Control);
    } else if (kind == "pngbitbtn" && Gate(skin, xcButton)) Paint(Skinner, TPainterKind::PngBitButton, Control);
    else if (kind == "menubtn" && Gate(skin, xcButton)) Paint(Skinner, TPainterKind::MenuButton, Control);
    else if (kind == "speedbutton" && Gate(skin, xcSpeedButton)) Paint(Skinner, TPainterKind::SpeedButton, Control);
    else if (kind == "tab" && Gate(skin, xcTab) && skin.Tabs) Paint(Skinner, TPainterKind::Tab, Control);
    else if (kind == "progress" && Gate(skin, xcProgress)) Paint(Skinner, TPainterKind::Progress, Control);
    else if (kind == "scrollbar" && Gate(skin, xcScrollbar)) {
        PaintScrolling(Skinner, TPainterKind::Scrollbar, Control);
        ClassifyChildren(Skinner, Control, classifyOwner);
    } else if (kind == "singlescrollbar" && Gate(skin, xcScrollbar)) PaintScrolling(Skinner, TPainterKind::SingleScrollbar, Control);
    else if (kind == "embedscrollbar" && Gate(skin, xcScrollbar)) {
        if (auto* windowed = dynamic_cast<TWinControl*>(&Control))
            for (TControl* child : windowed->ControlList())
                if (ScrollsItself(*child)) PaintScrolling(Skinner, TPainterKind::Scrollbar, *child);
    } else if (kind == "container") ClassifyChildren(Skinner, Control, classifyOwner);
    else if (kind == "groupbox" && Gate(skin, xcGroupBox)) Paint(Skinner, TPainterKind::GroupBox, Control, true);
    else if (kind == "advpagecontrol" && Gate(skin, xcTab)) Paint(Skinner, TPainterKind::AdvPage, Control, true);
    else if (kind == "radiogroup" && Gate(skin, xcGroupBox)) {
        if (Gate(skin, xcRadioButton))
            PaintChildren(Skinner, UpperClass.find("TRZ") != std::string::npos ? TPainterKind::ObjImageRadio : TPainterKind::RadioButton, Control);
        Paint(Skinner, TPainterKind::GroupBox, Control, true);
    } else if (kind == "checkgroup" && Gate(skin, xcPanel)) {
        if (Gate(skin, xcRadioButton))
            PaintChildren(Skinner, UpperClass.find("TRZ") != std::string::npos ? TPainterKind::ObjImageCheck : TPainterKind::CheckBox, Control);
        if (Gate(skin, xcGroupBox)) Paint(Skinner, TPainterKind::GroupBox, Control, true);
    } else if (kind == "checkbox" && Gate(skin, xcCheckBox)) Paint(Skinner, TPainterKind::CheckBox, Control);
    return true;
}

void ClassifyChildWindow(TWinSkinForm& Skinner, HWND Child) {
    if (Skinner.PainterOfWindow(Child)) return;
    const std::wstring wide = WindowClassName(Child);
    const std::string N = Lower(Narrow(wide.substr(0, 100)));
    const auto S = static_cast<DWORD>(GetWindowLongPtrW(Child, GWL_STYLE));
    if (N == "button" && (S & 0xB) != 0xB) {  // owner-drawn buttons draw themselves
        if ((S & 7) == 7 || (S & BS_BITMAP)) return;  // group boxes and picture buttons
        if ((S & 3) == 3 || (S & 2) || (S & 5) == 5) return PaintWindow(Skinner, TPainterKind::CheckBox, Child);
        if ((S & 9) == 9 || (S & 4)) return PaintWindow(Skinner, TPainterKind::RadioButton, Child);
        return PaintWindow(Skinner, TPainterKind::Button, Child);
    }
    if (N == "combobox") {
        if ((S & 3) != CBS_SIMPLE) PaintWindow(Skinner, TPainterKind::ComBox, Child);
    } else if (N == "comboboxex32") {
        if (HWND inner = GetTopWindow(Child)) PaintWindow(Skinner, TPainterKind::ComBox, inner);
    } else if (N == "scrollbar") {
        // A size box is covered in the face colour; a real scroll bar gets the skin's.
        if (S & (SBS_SIZEBOX | SBS_SIZEGRIP))
            PaintWindow(Skinner, TPainterKind::Sizer, Child);
        else if (Gate(*Skinner.Skin(), xcScrollbar))
            PaintWindow(Skinner, TPainterKind::ScrollControl, Child);
    } else if (N == "#32770") {
        if (!(S & WS_TABSTOP)) {
            ClassifyChildWindows(Skinner, Child);
            PaintWindow(Skinner, TPainterKind::BoxH, Child);
        }
    } else if (N == "tpanel" || N == "ttntpanel.unicodeclass" || N == "ttntsilentpaintpanel.unicodeclass" ||
               N == "tsilentpaintpanel") {
        if (N != "tsilentpaintpanel") ClassifyChildWindows(Skinner, Child);
        if (TControl* control = FindFormForWindow(Child); control && control != Skinner.Form())
            control->SetColor(Skinner.Skin()->FaceColor);
    } else if (N == "tcheckbox") {
        PaintWindow(Skinner, TPainterKind::CheckBox, Child);
    } else if (N == "tcombobox") {
        PaintWindow(Skinner, TPainterKind::ComBox, Child);
    } else if (N == "tbutton") {
        PaintWindow(Skinner, TPainterKind::Button, Child);
    } else if (N == "tprogressbar") {
        PaintWindow(Skinner, TPainterKind::Progress, Child);
    } else if (N == "systabcontrol32") {
        if (!(S & TCS_OWNERDRAWFIXED)) PaintWindow(Skinner, (S & TCS_BUTTONS) ? TPainterKind::TabBtn : TPainterKind::Tab, Child);
    } else if (N == "edit") {
        PaintWindow(Skinner, TPainterKind::Edit, Child);
    } else if (N == "listbox") {
        if (Gate(*Skinner.Skin(), xcScrollbar)) PaintWindow(Skinner, TPainterKind::WindowScrollbars, Child);
    }
}

void Rescroll(TWinSkinForm& Skinner, HWND Control) {
    const auto& painters = Skinner.Painters();
    auto it = std::find_if(painters.rbegin(), painters.rend(), [Control](auto* p) { return p->Window() == Control; });
    if (it == painters.rend()) return;
    const bool listView = (*it)->PaintsListView();
    TControl* control = (*it)->Control();
    delete *it;
    if (!control) control = TWinControl::FindControl(Control);
    if (control) PaintScrolling(Skinner, listView ? TPainterKind::ListView : TPainterKind::Scrollbar, *control);
}

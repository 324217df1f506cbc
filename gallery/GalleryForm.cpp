#include "gallery/GalleryForm.h"

#include "gallery/BareDialog.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "ui/BitBtn.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/ComboBox.h"
#include "ui/DateTimePicker.h"
#include "ui/Dialogs.h"
#include "ui/Edit.h"
#include "ui/GlyphCheckBox.h"
#include "ui/GroupBox.h"
#include "ui/ImageList.h"
#include "ui/Label.h"
#include "ui/ListBox.h"
#include "ui/ListView.h"
#include "ui/MediaPlayer.h"
#include "ui/Memo.h"
#include "ui/MenuButton.h"
#include "ui/Menus.h"
#include "ui/Panel.h"
#include "ui/ProgressBar.h"
#include "ui/RadioButton.h"
#include "ui/RadioGroup.h"
#include "ui/ScrollBar.h"
#include "ui/SpeedButton.h"
#include "ui/StatusBar.h"
#include "ui/PageControl.h"
#include "ui/TabControl.h"
#include "ui/TabSet.h"
#include "ui/TrackBar.h"
#include "ui/UpDown.h"

#include <commctrl.h>

#include <cstdint>
#include <utility>

TGalleryForm* GalleryForm = nullptr;

namespace {

// Posted to the form to open a window once the message loop runs; wParam 1: the dialog, 0: MDI.
constexpr UINT WM_OPEN_LATER = WM_APP + 1;

}  // namespace

const TClassInfo TGalleryForm::MetaClass("TGalleryForm", &TForm::MetaClass, nullptr, {});

// The classes the description creates by name. Naming them here links them into the program: a class
// nothing refers to would be left out of the link, and the reader could not find it.
extern const TClassInfo* const GalleryClasses[];
const TClassInfo* const GalleryClasses[] = {
    &TLabel::MetaClass,     &TButton::MetaClass,    &TBitBtn::MetaClass,      &TMenuButton::MetaClass,
    &TSpeedButton::MetaClass, &TCheckBox::MetaClass, &TRadioButton::MetaClass, &TGroupBox::MetaClass,
    &TRadioGroup::MetaClass, &TPanel::MetaClass,     &TSkinData::MetaClass,    &TImageList::MetaClass,
    &TMainMenu::MetaClass,   &TPopupMenu::MetaClass, &TMenuItem::MetaClass,    &TEdit::MetaClass,
    &TComboBox::MetaClass,   &TUpDown::MetaClass,    &TDateTimePicker::MetaClass, &TMemo::MetaClass,
    &TListBox::MetaClass,    &TScrollBar::MetaClass,  &TListView::MetaClass,   &TStatusBar::MetaClass,
    &TProgressBar::MetaClass, &TTrackBar::MetaClass,
    &TGlyphCheckBox::MetaClass, &TGlyphRadioButton::MetaClass, &TPropertiesCheckBox::MetaClass,
    &TMediaPlayer::MetaClass,
    &TPageControl::MetaClass, &TTabSheet::MetaClass, &TTabControl::MetaClass, &TTabSet::MetaClass,
};

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    auto& b = Bindings();
    b.AddField("SkinData1", SkinData1);
    b.AddField("SkinChoice", SkinChoice);
    b.AddField("DialogButton", DialogButton);
    b.AddField("MdiButton", MdiButton);
    b.AddField("MenuImages", MenuImages);
    b.AddField("MainMenu1", MainMenu1);
    b.AddField("GalleryPopup", GalleryPopup);
    b.AddHandler("SkinChoiceClick", this, &TGalleryForm::SkinChoiceClick);
    b.AddHandler("DialogButtonClick", this, &TGalleryForm::DialogButtonClick);
    b.AddHandler("MdiButtonClick", this, &TGalleryForm::MdiButtonClick);
    b.AddHandler("CloseButtonClick", this, &TGalleryForm::CloseButtonClick);
    b.AddHandler("SkinItemClick", this, &TGalleryForm::SkinItemClick);
    b.AddHandler("LabelsItemClick", this, &TGalleryForm::LabelsItemClick);
    b.AddHandler("AboutItemClick", this, &TGalleryForm::AboutItemClick);
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    ReadDescriptionResource(L"TGALLERYFORM");
}

TGalleryForm::~TGalleryForm() {
    if (GalleryForm == this) GalleryForm = nullptr;
}

void TGalleryForm::FormCreate(TObject*) {
    // The stored skin is kept to come back to after another one was loaded.
    FStoredSkin.WriteBuffer(SkinData1->SkinStream.Memory(), static_cast<size_t>(SkinData1->SkinStream.Size()));
    if (GraphiteSkinPath().empty()) SkinChoice->Buttons(static_cast<int>(TGallerySkin::Graphite))->SetEnabled(false);
    // The menus show the glyphs of the buttons: left, right, up, down, disc, square.
    for (const char* name : {"GlyphLeftButton", "GlyphRightButton", "GlyphTopButton", "GlyphBottomButton", "MarginButton"})
        if (auto* button = dynamic_cast<TBitBtn*>(FindComponent(name))) MenuImages->AddMasked(*button->Glyph(), clFuchsia);
    if (auto* button = dynamic_cast<TSpeedButton*>(FindComponent("FlatSpeedButton")))
        MenuImages->AddMasked(*button->Glyph(), clFuchsia);
    // The media player plays the searching clip into its display when it is there.
    if (auto* player = dynamic_cast<TMediaPlayer*>(FindComponent("MediaPlayer1"))) {
        player->SetFileName(FileBesideProgram(L"FindFile.avi"));
        if (!player->FileName().empty()) player->Open();
    }
    // The header shows a sorted column (its arrow), a right-aligned one and a hot item under the mouse.
    if (auto* list = dynamic_cast<TListView*>(FindComponent("ReportList"))) {
        list->AddColumn(L"Name", 120);
        list->AddColumn(L"Size", 70);
        list->AddColumn(L"Location", 160);
        for (const auto& row : {std::pair{L"alpha.txt", L"12 KB"}, {L"beta.ini", L"1 KB"}, {L"gamma.log", L"940 KB"}})
            list->AddItem(row.first, {row.second, L"C:\\Users\\Public"});
        if (HWND header = ListView_GetHeader(list->Handle())) {
            HDITEMW item{};
            item.mask = HDI_FORMAT;
            Header_GetItem(header, 0, &item);
            item.fmt |= HDF_SORTUP;
            Header_SetItem(header, 0, &item);
            Header_GetItem(header, 1, &item);
            item.fmt = (item.fmt & ~HDF_JUSTIFYMASK) | HDF_RIGHT;
            Header_SetItem(header, 1, &item);
        }
    }
}

std::wstring TGalleryForm::FileBesideProgram(const wchar_t* Name) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + Name;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) ? path : std::wstring();
}

void TGalleryForm::ReloadStoredSkin() {
    if (FStoredSkinLoaded) return;
    TMemoryStream counted;
    const auto size = static_cast<int32_t>(FStoredSkin.Size());
    counted.WriteBuffer(&size, sizeof size);
    counted.WriteBuffer(FStoredSkin.Memory(), static_cast<size_t>(size));
    counted.SetPosition(0);
    SkinData1->ReadSkinStream(counted);
    // The windows wearing the skin drop what they kept of the one before.
    if (TSkinManagerLink* manager = SkinManagerLink()) manager->SkinReplaced(SkinData1);
    FStoredSkinLoaded = true;
}

bool TGalleryForm::ApplySkin(TGallerySkin skin) {
    switch (skin) {
    case TGallerySkin::Default:
        ReloadStoredSkin();
        SkinData1->SetActive(true);
        break;
    case TGallerySkin::Graphite: {
        const std::wstring path = GraphiteSkinPath();
        if (path.empty()) {
            SkinChoice->SetItemIndex(static_cast<int>(FSkin));
            return false;
        }
        SkinData1->SetSkinFile(path);
        FStoredSkinLoaded = false;
        SkinData1->SetActive(true);
        break;
    }
    case TGallerySkin::None:
        SkinData1->SetActive(false);
        break;
    }
    FSkin = skin;
    SkinChoice->SetItemIndex(static_cast<int>(skin));
    // The skin items of both menus follow: the one whose Tag is the skin is checked.
    auto check = [skin](auto& self, TMenuItem& parent) -> void {
        for (int i = 0; i < parent.Count(); ++i) {
            TMenuItem& item = *parent.Items(i);
            if (item.RadioItem() && item.GroupIndex() == SkinGroup && item.Tag() == static_cast<int>(skin))
                item.SetChecked(true);
            self(self, item);
        }
    };
    for (TMenu* menu : {static_cast<TMenu*>(MainMenu1), static_cast<TMenu*>(GalleryPopup)}) check(check, *menu->Items());
    return true;
}

void TGalleryForm::SkinItemClick(TObject* sender) {
    if (auto* item = dynamic_cast<TMenuItem*>(sender)) ApplySkin(static_cast<TGallerySkin>(item->Tag()));
}

void TGalleryForm::LabelsItemClick(TObject* sender) {
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item) return;
    for (TComponent* c : ComponentList())
        if (auto* label = dynamic_cast<TLabel*>(c); label && label->Parent() == this) label->SetVisible(item->Checked());
}

void TGalleryForm::AboutItemClick(TObject*) {
    ShowMessageBox(L"Every kind of control the Clarivo skin engine paints, in the shipped skins and without one.",
                   Caption(), MB_OK | MB_ICONINFORMATION);
}

void TGalleryForm::SkinChoiceClick(TObject*) {
    ApplySkin(static_cast<TGallerySkin>(SkinChoice->ItemIndex()));
}

void TGalleryForm::OpenDialog() { ShowBareDialog(Handle()); }

void TGalleryForm::OpenMdi() {
    if (!MdiFrame()) FMdi.reset();
    if (!FMdi) FMdi = std::make_unique<TMdiWindow>(Handle());
    ShowWindow(FMdi->Frame(), SW_SHOWNORMAL);
    SetForegroundWindow(FMdi->Frame());
}

void TGalleryForm::OpenLater(TGalleryView view) { PostMessageW(Handle(), WM_OPEN_LATER, static_cast<WPARAM>(view), 0); }

void TGalleryForm::WndProc(TMessage& message) {
    if (message.Msg == WM_OPEN_LATER) {
        switch (static_cast<TGalleryView>(message.WParam)) {
        case TGalleryView::Dialog: OpenDialog(); break;
        case TGalleryView::Mdi: OpenMdi(); break;
        }
        return;
    }
    TForm::WndProc(message);
}

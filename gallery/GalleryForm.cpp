#include "gallery/GalleryForm.h"

#include "gallery/BareDialog.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinManagerLink.h"
#include "ui/BitBtn.h"
#include "ui/Button.h"
#include "ui/CheckBox.h"
#include "ui/GroupBox.h"
#include "ui/Label.h"
#include "ui/MenuButton.h"
#include "ui/Panel.h"
#include "ui/RadioButton.h"
#include "ui/RadioGroup.h"
#include "ui/SpeedButton.h"

#include <cstdint>

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
    &TRadioGroup::MetaClass, &TPanel::MetaClass,     &TSkinData::MetaClass,
};

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
    auto& b = Bindings();
    b.AddField("SkinData1", SkinData1);
    b.AddField("SkinChoice", SkinChoice);
    b.AddField("DialogButton", DialogButton);
    b.AddField("MdiButton", MdiButton);
    b.AddHandler("SkinChoiceClick", this, &TGalleryForm::SkinChoiceClick);
    b.AddHandler("DialogButtonClick", this, &TGalleryForm::DialogButtonClick);
    b.AddHandler("MdiButtonClick", this, &TGalleryForm::MdiButtonClick);
    b.AddHandler("CloseButtonClick", this, &TGalleryForm::CloseButtonClick);
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
}

std::wstring TGalleryForm::GraphiteSkinPath() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) == path.size())
        path.resize(path.size() * 2);
    path.resize(length);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"graphite.skn";
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
    return true;
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

void TGalleryForm::OpenLater(bool dialog) { PostMessageW(Handle(), WM_OPEN_LATER, dialog ? 1 : 0, 0); }

void TGalleryForm::WndProc(TMessage& message) {
    if (message.Msg == WM_OPEN_LATER) {
        if (message.WParam)
            OpenDialog();
        else
            OpenMdi();
        return;
    }
    TForm::WndProc(message);
}

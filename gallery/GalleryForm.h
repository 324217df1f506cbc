#pragma once
// TGalleryForm: the skin gallery's window, built from its stored description (GalleryForm.form). It shows
// every kind of framework control the skin painters serve, switches every open window between the
// stored default skin, the graphite skin shipped beside the program and no skin, and opens a bare Win32
// dialog and an MDI window to show what the skin engine does to windows of no framework.
#include "base/MemoryStream.h"
#include "gallery/MdiWindow.h"
#include "ui/CustomForm.h"

#include <memory>
#include <string>

class TButton;
class TImageList;
class TMainMenu;
class TPopupMenu;
class TRadioGroup;
class TSkinData;

enum class TGallerySkin { Default, Graphite, None };
// What the gallery opens besides its form.
enum class TGalleryView { Dialog, Mdi };

class TGalleryForm : public TForm {
public:
    CLARIVO_CLASS

    explicit TGalleryForm(TComponent* owner);
    ~TGalleryForm() override;

    // Puts every open window in that skin now; the switcher follows. False when the skin is not there
    // (no graphite skin beside the program).
    bool ApplySkin(TGallerySkin skin);
    TGallerySkin CurrentSkin() const { return FSkin; }
    // A file beside the program ("" when it is missing): the graphite skin, the media player's clip.
    static std::wstring FileBesideProgram(const wchar_t* Name);
    static std::wstring GraphiteSkinPath() { return FileBesideProgram(L"graphite.skn"); }

    // Opens the bare Win32 dialog (modal: returns when it is closed).
    void OpenDialog();
    // Opens the MDI window with its three children, or shows it again and brings it forward.
    void OpenMdi();
    // The MDI frame window once opened (hidden when the user closed it), or null.
    HWND MdiFrame() const { return FMdi ? FMdi->Frame() : nullptr; }

    // Asks for the view to open once the message loop runs (for the command line).
    void OpenLater(TGalleryView view);

    TSkinData* SkinData1 = nullptr;
    TRadioGroup* SkinChoice = nullptr;
    TButton* DialogButton = nullptr;
    TButton* MdiButton = nullptr;
    TImageList* MenuImages = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TPopupMenu* GalleryPopup = nullptr;
    // The group of the skin items in the menus (their Tag is the skin).
    static constexpr int SkinGroup = 1;

protected:
    void WndProc(TMessage& message) override;

private:
    void FormCreate(TObject* sender);
    void SkinChoiceClick(TObject* sender);
    void DialogButtonClick(TObject*) { OpenDialog(); }
    void MdiButtonClick(TObject*) { OpenMdi(); }
    void CloseButtonClick(TObject*) { Close(); }
    void SkinItemClick(TObject* sender);
    void LabelsItemClick(TObject* sender);
    void AboutItemClick(TObject* sender);
    // Loads the stored default skin again (after another was loaded).
    void ReloadStoredSkin();

    TGallerySkin FSkin = TGallerySkin::Default;
    TMemoryStream FStoredSkin;  // the default skin as the description stored it
    bool FStoredSkinLoaded = true;
    std::unique_ptr<TMdiWindow> FMdi;
};

extern TGalleryForm* GalleryForm;

// SkinGallery: every kind of control the skin painters serve, in framework forms and bare Win32 windows,
// with a switch between the shipped skins.
//
//   SkinGallery.exe [/skin:default|graphite|none] [/open:dialog|mdi]
//
// The switches start it in that skin and with that window open, so that a script can show each state.
#include "base/Thread.h"
#include "gallery/GalleryForm.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "ui/Application.h"

#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

namespace {

struct TGalleryStart {
    std::optional<TGallerySkin> Skin;
    std::optional<TGalleryView> Open;
};

TGalleryStart ReadCommandLine() {
    TGalleryStart start;
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return start;
    for (int i = 1; i < count; ++i) {
        const std::wstring arg = args[i];
        if (arg == L"/skin:default") start.Skin = TGallerySkin::Default;
        else if (arg == L"/skin:graphite") start.Skin = TGallerySkin::Graphite;
        else if (arg == L"/skin:none") start.Skin = TGallerySkin::None;
        else if (arg == L"/open:dialog") start.Open = TGalleryView::Dialog;
        else if (arg == L"/open:mdi") start.Open = TGalleryView::Mdi;
    }
    LocalFree(args);
    return start;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const TGalleryStart start = ReadCommandLine();
    Application().Initialize();
    InstallControlPainters();  // before the window is read: its controls are painted from its first skinning
    Application().SetTitle(L"Clarivo skin gallery");
    Application().CreateForm(GalleryForm);
    if (start.Skin) GalleryForm->ApplySkin(*start.Skin);
    if (start.Open) GalleryForm->OpenLater(*start.Open);
    Application().Run();

    // The end, in this order rather than the static destructors': the forms (and the windows they opened)
    // while every process-wide object is whole, then the skin manager, then the application.
    Application().Destroying();
    Application().FreeComponents();
    FreeSkinManager();
    Application().Finalize();
    TThread::CloseSyncWindow();
    return 0;
}

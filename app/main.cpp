// Clarivo: finds hidden folders and files below a chosen folder and unhides or deletes them.
#include "app/CommandLine.h"
#include "app/Form1.h"
#include "base/Thread.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application().Initialize();
    InstallControlPainters();  // before the window is read: its controls are painted from its first skinning
    Application().SetTitle(L"Clarivo");
    Application().CreateForm(Form1);
    // Shown before the command line is taken, so that anything it has to say appears over the window.
    Form1->Show();
    Form1->StartWith(ParseStartOptions(ProcessArguments()));
    Application().Run();

    // The end, in this order rather than the static destructors' (which freed the thread hand-over queue
    // before the window whose search still needed it). A search still running ends first, while every
    // form is whole; then the forms go; then what they used for the whole run.
    Application().Destroying();
    Application().FreeComponents();
    FreeSkinManager();  // with its window hook and timer
    Application().Finalize();
    TThread::CloseSyncWindow();
    return 0;
}

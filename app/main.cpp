// Clarivo: finds hidden folders and files below a chosen folder and unhides or deletes them.
#include "app/Form1.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application().Initialize();
    Application().SetTitle(L"Clarivo");
    Application().CreateForm(Form1);
    Application().Run();
    return 0;
}

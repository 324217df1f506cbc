#include "skin/data/SkinMessage.h"

#ifdef _WIN32
#include <windows.h>

#include <algorithm>

namespace {

// Captioned like any message of the program: with the program's own name.
void ShowMessageBox(const std::string& text) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string title(path, length);
    title.erase(0, title.find_last_of("\\/:") + 1);
    title.erase(std::min(title.rfind('.'), title.size()));
    MessageBoxA(GetActiveWindow(), text.c_str(), title.c_str(), MB_OK);
}

}  // namespace

TSkinMessageProc SkinShowMessage = ShowMessageBox;
#else
TSkinMessageProc SkinShowMessage = [](const std::string&) {};
#endif

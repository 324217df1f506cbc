#include "app/SaveDialog.h"

#include <commdlg.h>

#include <utility>

namespace {

TSaveDialogHandler& Handler() {
    static TSaveDialogHandler handler;
    return handler;
}

// The extension of a pattern ("*.csv" gives "csv").
std::wstring Extension(const std::wstring& pattern) {
    const size_t dot = pattern.rfind(L'.');
    return dot == std::wstring::npos ? std::wstring() : pattern.substr(dot + 1);
}

}  // namespace

TSaveDialogHandler SetSaveDialogHandler(TSaveDialogHandler handler) {
    TSaveDialogHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

bool ShowSaveDialog(HWND owner, TSaveRequest& request) {
    if (Handler()) return Handler()(owner, request);
    std::wstring filter;
    for (const auto& [description, pattern] : request.Types) {
        filter += description;
        filter += L'\0';
        filter += pattern;
        filter += L'\0';
    }
    filter += L'\0';
    // Room for a long path: the dialog gives back paths of any length it can show.
    std::wstring file = request.FileName;
    file.resize(std::max<size_t>(file.size() + 1, 32768), L'\0');
    const std::wstring extension = request.Types.empty() ? std::wstring() : Extension(request.Types.front().second);
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = request.Title.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
    if (!GetSaveFileNameW(&ofn)) return false;
    request.FileName.assign(file.c_str());
    request.TypeIndex = ofn.nFilterIndex > 0 ? static_cast<int>(ofn.nFilterIndex) - 1 : 0;
    return true;
}

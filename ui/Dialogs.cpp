#include "ui/Dialogs.h"

#include "ui/Application.h"
#include "ui/CustomForm.h"
#include "ui/Screen.h"

namespace {

TMessageBoxHandler& Handler() {
    static TMessageBoxHandler handler;
    return handler;
}

HWND BoxOwner() {
    if (TCustomForm* form = Screen().ActiveForm()) return form->WindowHandle();
    if (TCustomForm* main = Application().MainForm(); main && main->HandleAllocated()) return main->WindowHandle();
    return Application().Handle();
}

}  // namespace

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
    TMessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

int ShowMessageBox(const std::wstring& text, const std::wstring& caption, UINT flags, bool rightToLeft) {
    if (rightToLeft) flags |= MB_RTLREADING | MB_RIGHT;
    HWND owner = BoxOwner();
    if (Handler()) return Handler()(owner, text, caption, flags);
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

bool ConfirmBox(const std::wstring& text, const std::wstring& caption, bool rightToLeft) {
    return ShowMessageBox(text, caption, MB_YESNO | MB_ICONQUESTION, rightToLeft) == IDYES;
}

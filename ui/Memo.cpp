#include "ui/Memo.h"

#include "ui/Properties.h"

#include <string_view>

const TClassInfo TCustomMemo::MetaClass(
    "TCustomMemo", &TCustomEdit::MetaClass, nullptr,
    {
        ClassProp<TCustomMemo, TStringList>("Lines", &TCustomMemo::Lines),
        EnumProp<TCustomMemo, TScrollStyle>("ScrollBars", {"ssNone", "ssHorizontal", "ssVertical", "ssBoth"},
                                            &TCustomMemo::ScrollBars, &TCustomMemo::SetScrollBars),
        BoolProp<TCustomMemo>("WantTabs", &TCustomMemo::WantTabs, &TCustomMemo::SetWantTabs),
        BoolProp<TCustomMemo>("WordWrap", &TCustomMemo::WordWrap, &TCustomMemo::SetWordWrap),
    });

const TClassInfo TMemo::MetaClass("TMemo", &TCustomMemo::MetaClass, ComponentFactory<TMemo>, {});

namespace {

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    while (!text.empty()) {
        const size_t end = text.find_first_of(L"\r\n");
        lines.emplace_back(text.substr(0, end));
        if (end == std::wstring_view::npos) break;
        text.remove_prefix(end + (text.substr(end, 2) == L"\r\n" ? 2 : 1));
    }
    return lines;
}

}  // namespace

TCustomMemo::TCustomMemo(TComponent* owner) : TCustomEdit(owner) {
    SetAutoSize(false);
    SetBounds(0, 0, 185, 89);
    FLines.OnChange = [this](TObject*) { LinesToWindow(); };
}

TStringList* TCustomMemo::Lines() {
    if (HandleAllocated() && !FReading) {
        FReading = true;
        FLines.SetLines(SplitLines(Text()));
        FReading = false;
    }
    return &FLines;
}

void TCustomMemo::LinesToWindow() {
    if (FReading) return;
    std::wstring text;
    const std::vector<std::wstring>& lines = FLines.Lines();
    for (size_t i = 0; i < lines.size(); ++i) text += (i ? L"\r\n" : L"") + lines[i];
    SetText(text);
}

void TCustomMemo::SetScrollBars(TScrollStyle value) {
    if (value == FScrollBars) return;
    FScrollBars = value;
    RecreateWnd();
}

void TCustomMemo::SetWordWrap(bool value) {
    if (value == FWordWrap) return;
    FWordWrap = value;
    RecreateWnd();
}

void TCustomMemo::Loaded() {
    TCustomEdit::Loaded();
    LinesToWindow();
}

void TCustomMemo::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    params.Style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!FWordWrap) params.Style |= ES_AUTOHSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= WS_VSCROLL;
    if ((FScrollBars == ssHorizontal || FScrollBars == ssBoth) && !FWordWrap) params.Style |= WS_HSCROLL;
}

void TCustomMemo::CreateWnd() {
    TCustomEdit::CreateWnd();
    // The window takes the text it was made with only up to its first line break on some systems.
    SetWindowTextW(WindowHandle(), FText.c_str());
}

void TCustomMemo::WndProc(TMessage& message) {
    if (message.Msg == WM_GETDLGCODE) {
        // Return makes a new line; Tab moves on to the next control unless the memo wants tabs.
        TCustomEdit::WndProc(message);
        message.Result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        if (FWantTabs) message.Result |= DLGC_WANTTAB;
        const auto* msg = reinterpret_cast<const MSG*>(message.LParam);
        if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) message.Result |= DLGC_WANTMESSAGE;
        return;
    }
    TCustomEdit::WndProc(message);
}

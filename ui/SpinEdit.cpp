#include "ui/SpinEdit.h"

#include "ui/Properties.h"

#include <commctrl.h>

#include <climits>
#include <cwctype>
#include <string>

namespace {

constexpr int UpDownWidth = 15;
// Unbounded still needs a range for the up-down; a step past it must not overflow.
constexpr int UnboundedMin = INT_MIN + 1;
constexpr int UnboundedMax = INT_MAX - 1;

// A whole number with an optional sign and surrounding blanks; false for anything else or too big.
bool ParseNumber(const std::wstring& text, int& value) {
    std::size_t at = 0, end = text.size();
    while (at < end && std::iswspace(text[at])) ++at;
    while (end > at && std::iswspace(text[end - 1])) --end;
    bool negative = false;
    if (at < end && (text[at] == L'-' || text[at] == L'+')) negative = text[at++] == L'-';
    if (at == end) return false;
    long long number = 0;
    for (; at < end; ++at) {
        if (text[at] < L'0' || text[at] > L'9') return false;
        number = number * 10 + (text[at] - L'0');
        if (number > static_cast<long long>(INT_MAX) + 1) return false;
    }
    if (negative) number = -number;
    if (number < INT_MIN || number > INT_MAX) return false;
    value = static_cast<int>(number);
    return true;
}

}  // namespace

const TClassInfo TSpinEdit::MetaClass(
    "TSpinEdit", &TCustomEdit::MetaClass, ComponentFactory<TSpinEdit>,
    {
        IntProp<TSpinEdit>("Increment", &TSpinEdit::Increment, &TSpinEdit::SetIncrement),
        IntProp<TSpinEdit>("MaxValue", &TSpinEdit::MaxValue, &TSpinEdit::SetMaxValue),
        IntProp<TSpinEdit>("MinValue", &TSpinEdit::MinValue, &TSpinEdit::SetMinValue),
        IntProp<TSpinEdit>("Value", &TSpinEdit::Value, &TSpinEdit::SetValue),
    });

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner) {
    SetText(L"0");
}

int TSpinEdit::Bounded(int value) const {
    if (!Limited()) return value;
    if (value < FMinValue) return FMinValue;
    if (value > FMaxValue) return FMaxValue;
    return value;
}

int TSpinEdit::Value() const {
    int value = 0;
    return Bounded(ParseNumber(Text(), value) ? value : FMinValue);
}

void TSpinEdit::SetValue(int value) {
    SetText(std::to_wstring(Bounded(value)));
}

void TSpinEdit::SetMinValue(int value) {
    FMinValue = value;
    ApplyRange();
}

void TSpinEdit::SetMaxValue(int value) {
    FMaxValue = value;
    ApplyRange();
}

void TSpinEdit::SetIncrement(int value) {
    FIncrement = value > 0 ? value : 1;
    if (!FUpDown) return;
    UDACCEL step{0, static_cast<UINT>(FIncrement)};
    SendMessageW(FUpDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
}

void TSpinEdit::ApplyRange() {
    if (!FUpDown) return;
    SendMessageW(FUpDown, UDM_SETRANGE32, static_cast<WPARAM>(Limited() ? FMinValue : UnboundedMin),
                 Limited() ? FMaxValue : UnboundedMax);
}

void TSpinEdit::CreateParams(TCreateParams& params) {
    TCustomEdit::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;  // the edit must not paint over its arrows
}

void TSpinEdit::CreateWnd() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    TCustomEdit::CreateWnd();
    HWND edit = WindowHandle();
    // The edit is the up-down's buddy: the arrows and keys read and write its text as a number.
    FUpDown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr,
                              WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS, 0, 0,
                              UpDownWidth, 0, edit, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!FUpDown) return;
    SendMessageW(FUpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    ApplyRange();
    SetIncrement(FIncrement);
    PlaceUpDown();
}

void TSpinEdit::PlaceUpDown() {
    if (!FUpDown) return;
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    MoveWindow(FUpDown, client.right - UpDownWidth, 0, UpDownWidth, client.bottom, TRUE);
    // The text stops short of the arrows.
    SendMessageW(WindowHandle(), EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, UpDownWidth + 1));
}

void TSpinEdit::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_CHAR: {
        // Digits, a sign and control keys (backspace, clipboard shortcuts); anything else is dropped.
        wchar_t c = static_cast<wchar_t>(message.WParam);
        if (c >= L' ' && !(c >= L'0' && c <= L'9') && c != L'-' && c != L'+') {
            MessageBeep(MB_OK);
            message.Result = 0;
            return;
        }
        break;
    }
    case WM_SIZE:
        TCustomEdit::WndProc(message);
        PlaceUpDown();
        return;
    case WM_DESTROY:
        FUpDown = nullptr;
        break;
    }
    TCustomEdit::WndProc(message);
}

#include "ui/GroupBox.h"

#include "base/StrUtils.h"
#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TCustomGroupBox::MetaClass("TCustomGroupBox", &TWinControl::MetaClass, nullptr, {});
const TClassInfo TGroupBox::MetaClass("TGroupBox", &TCustomGroupBox::MetaClass, ComponentFactory<TGroupBox>, {});

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 185, 105);
    SetParentColor(true);
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    // The frame follows the size: the whole window is drawn again when it changes.
    params.WinClassName = RegisterOwnClass(Utf8ToWide(ClassName()).c_str(), CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
}

void TCustomGroupBox::WndProc(TMessage& message) {
    if (message.Msg == CM_TEXTCHANGED || message.Msg == CM_FONTCHANGED) Invalidate();
    TWinControl::WndProc(message);
}

int TCustomGroupBox::CaptionHeight() const {
    TWindowDC screen(nullptr);
    TSelectObject font(screen.get(), Font()->Handle());
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    return metrics.tmHeight;
}

TRect TCustomGroupBox::FrameInterior() const {
    TRect client = ClientRect();
    return {client.Left + 2, client.Top + CaptionHeight() + 1, client.Right - 2, client.Bottom - 2};
}

void TCustomGroupBox::PaintWindow(HDC dc) {
    const int textHeight = CaptionHeight();
    RECT frame = ClientRect().ToRECT();
    frame.top += textHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

    const std::wstring caption = Caption();
    if (caption.empty()) return;
    TSelectObject font(dc, Font()->Handle());
    UINT format = DT_SINGLELINE | DT_NOPREFIX | (UseRightToLeftReading() ? DT_RTLREADING : 0u);
    RECT text{0, 0, 0, 0};
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, format | DT_CALCRECT);
    // The caption interrupts the top edge, with a little of the background either side.
    const int width = std::min(static_cast<int>(text.right), Width() - 16);
    RECT gap{6, 0, 8 + width + 2, textHeight};
    FillRect(dc, &gap, Brush()->Handle());
    RECT at{8, 0, 8 + width, textHeight};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(Enabled() ? Font()->Color() : clGrayText));
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &at, format | DT_END_ELLIPSIS);
}

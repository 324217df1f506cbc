#include "ui/DateTimePicker.h"

#include "ui/Properties.h"

#include <commctrl.h>
#include <oleauto.h>

const TClassInfo TCustomDateTimePicker::MetaClass(
    "TCustomDateTimePicker", &TWinControl::MetaClass, nullptr,
    {
        EnumProp<TCustomDateTimePicker, TDTDateFormat>("DateFormat", {"dfShort", "dfLong"},
                                                       &TCustomDateTimePicker::DateFormat,
                                                       &TCustomDateTimePicker::SetDateFormat),
        EnumProp<TCustomDateTimePicker, TDateTimeKind>("Kind", {"dtkDate", "dtkTime"}, &TCustomDateTimePicker::Kind,
                                                       &TCustomDateTimePicker::SetKind),
        EventProp<TCustomDateTimePicker>("OnChange", &TCustomDateTimePicker::OnChange),
        EventProp<TCustomDateTimePicker>("OnCloseUp", &TCustomDateTimePicker::OnCloseUp),
        EventProp<TCustomDateTimePicker>("OnDropDown", &TCustomDateTimePicker::OnDropDown),
    });

const TClassInfo TDateTimePicker::MetaClass("TDateTimePicker", &TCustomDateTimePicker::MetaClass,
                                            ComponentFactory<TDateTimePicker>, {});

TCustomDateTimePicker::TCustomDateTimePicker(TComponent* owner) : TWinControl(owner) {
    SetBounds(0, 0, 186, 21);
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    SystemTimeToVariantTime(&now, &FDateTime);  // the same day count as a date-time value
}

TDateTime TCustomDateTimePicker::DateTime() const {
    if (!HandleAllocated()) return FDateTime;
    SYSTEMTIME shown{};
    if (DateTime_GetSystemtime(WindowHandle(), &shown) != GDT_VALID) return FDateTime;
    double value = 0;
    return SystemTimeToVariantTime(&shown, &value) ? value : FDateTime;
}

void TCustomDateTimePicker::SetDateTime(TDateTime value) {
    FDateTime = value;
    SYSTEMTIME shown{};
    if (HandleAllocated() && VariantTimeToSystemTime(value, &shown)) DateTime_SetSystemtime(WindowHandle(), GDT_VALID, &shown);
}

void TCustomDateTimePicker::SetKind(TDateTimeKind value) {
    if (value == FKind) return;
    FKind = value;
    RecreateWnd();
}

void TCustomDateTimePicker::SetDateFormat(TDTDateFormat value) {
    if (value == FDateFormat) return;
    FDateFormat = value;
    RecreateWnd();
}

bool TCustomDateTimePicker::DroppedDown() const {
    HWND calendar = HandleAllocated() ? DateTime_GetMonthCal(WindowHandle()) : nullptr;
    return calendar && IsWindowVisible(calendar);
}

void TCustomDateTimePicker::CreateParams(TCreateParams& params) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_DATE_CLASSES};
    InitCommonControlsEx(&classes);
    TWinControl::CreateParams(params);
    params.WinClassName = DATETIMEPICK_CLASSW;
    params.ExStyle |= WS_EX_CLIENTEDGE;
    if (FKind == dtkTime)
        params.Style |= DTS_TIMEFORMAT;
    else
        params.Style |= FDateFormat == dfLong ? DTS_LONGDATEFORMAT : DTS_SHORTDATEFORMAT;
}

void TCustomDateTimePicker::CreateWnd() {
    TWinControl::CreateWnd();
    SetDateTime(FDateTime);
}

void TCustomDateTimePicker::DestroyWnd() {
    FDateTime = DateTime();
    TWinControl::DestroyWnd();
}

void TCustomDateTimePicker::WndProc(TMessage& message) {
    if (message.Msg == CN_NOTIFY) {
        switch (reinterpret_cast<const NMHDR*>(message.LParam)->code) {
        case DTN_DATETIMECHANGE:
            FDateTime = DateTime();
            if (OnChange) OnChange(this);
            return;
        case DTN_DROPDOWN:
            if (OnDropDown) OnDropDown(this);
            return;
        case DTN_CLOSEUP:
            if (OnCloseUp) OnCloseUp(this);
            return;
        default:
            break;
        }
    }
    TWinControl::WndProc(message);
}

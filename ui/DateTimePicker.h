#pragma once
// TCustomDateTimePicker / TDateTimePicker: the system date and time picker. Kind picks a date (with a
// calendar that drops down from its button) or a time of day (with spin arrows); DateFormat the short
// or long date. DateTime is the value, days since 30 December 1899. A change by the user raises
// OnChange; the calendar's opening and closing raise OnDropDown and OnCloseUp.
#include "base/DateTime.h"
#include "ui/WinControl.h"

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

class TCustomDateTimePicker : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomDateTimePicker(TComponent* owner);

    TDateTime DateTime() const;
    void SetDateTime(TDateTime value);
    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value);
    TDTDateFormat DateFormat() const { return FDateFormat; }
    void SetDateFormat(TDTDateFormat value);
    // The calendar is open.
    bool DroppedDown() const;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    TDateTime FDateTime = 0;  // kept while there is no window
    TDateTimeKind FKind = dtkDate;
    TDTDateFormat FDateFormat = dfShort;
};

class TDateTimePicker : public TCustomDateTimePicker {
public:
    CLARIVO_CLASS
    explicit TDateTimePicker(TComponent* owner) : TCustomDateTimePicker(owner) {}
};

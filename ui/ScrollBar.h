#pragma once
// TScrollBar: the system's stand-alone scroll bar. Position runs from Min to Max − PageSize + 1 (to Max
// without a page); arrows step it by SmallChange, page clicks by LargeChange, the thumb sets it.
// OnScroll sees each request and may change the position it asks for; OnChange follows every change of
// Position, from the user or from code.
#include "ui/WinControl.h"

#include <functional>

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };

using TScrollEvent = std::function<void(TObject* Sender, TScrollCode Code, int& ScrollPos)>;

class TScrollBar : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return FKind; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return FMin; }
    void SetMin(int value) { SetParams(FPosition, value, FMax); }
    int Max() const { return FMax; }
    void SetMax(int value) { SetParams(FPosition, FMin, value); }
    int Position() const { return FPosition; }
    void SetPosition(int value) { SetParams(value, FMin, FMax); }
    int PageSize() const { return FPageSize; }
    void SetPageSize(int value);
    int SmallChange() const { return FSmallChange; }
    void SetSmallChange(int value) { FSmallChange = value; }
    int LargeChange() const { return FLargeChange; }
    void SetLargeChange(int value) { FLargeChange = value; }
    // Sets the three together, the position brought inside the range.
    void SetParams(int position, int min, int max);
    // The last position the thumb can reach.
    int LastPosition() const;

    void Loaded() override;

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ApplyToWindow();
    void Scroll(TScrollCode code, int trackPosition);

    TScrollBarKind FKind = sbHorizontal;
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FPageSize = 0;
    int FSmallChange = 1;
    int FLargeChange = 1;
};

#pragma once
// TCustomEdit / TEdit: a single-line edit (the system "EDIT" class). With AutoSize on, its height is
// fixed by its font; ReadOnly, a flat (single line) or sunken (Ctl3D) border, and OnChange.
#include "ui/WinControl.h"

enum TBorderStyle { bsNoBorder, bsSingleBorder };

class TCustomEdit : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomEdit(TComponent* owner);

    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle style);
    // Sunken 3-D border (otherwise a flat single line).
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int length);

    void SelectAll();
    // With AutoSize the height is always the one the font needs.
    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;
    virtual void DoChange();

private:
    int AutoHeight() const;
    void AdjustHeight();

    bool FReadOnly = false;
    TBorderStyle FBorderStyle = bsSingleBorder;
    bool FCtl3D = true;
    bool FAutoSize = true;
    int FMaxLength = 0;
};

class TEdit : public TCustomEdit {
public:
    CLARIVO_CLASS
    explicit TEdit(TComponent* owner) : TCustomEdit(owner) {}
};

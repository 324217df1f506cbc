#pragma once
// TCustomUpDown / TUpDown: the system up-down control, two arrows that step Position between Min and
// Max by Increment. With an Associate it sits against that control's edge and shows Position as its
// text, and the arrow keys in the associate step it too. Before a step OnChanging may refuse it; after
// it OnClick says which arrow made it. Setting Position from code raises neither.
#include "ui/WinControl.h"

#include <functional>

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

using TUDClickEvent = std::function<void(TObject* Sender, TUDBtnType Button)>;
using TUDChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TCustomUpDown : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomUpDown(TComponent* owner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Increment() const { return FIncrement; }
    void SetIncrement(int value);
    // Always within Min and Max.
    int Position() const;
    void SetPosition(int value);
    TWinControl* Associate() const { return FAssociate; }
    void SetAssociate(TWinControl* control);
    TUDOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TUDOrientation value);
    // The arrow keys in the associate step the position.
    bool ArrowKeys() const { return FArrowKeys; }
    void SetArrowKeys(bool value);
    // Past one end the position goes round to the other.
    bool Wrap() const { return FWrap; }
    void SetWrap(bool value);

    // Hides the control's plain OnClick: an up-down says which arrow was used.
    TUDClickEvent OnClick;
    TUDChangingEvent OnChanging;

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component) override;
    virtual bool CanChange();
    virtual void Click(TUDBtnType button);

private:
    int Bounded(int value) const;
    void ApplyRange();
    void ApplyAssociate();

    int FMin = 0;
    int FMax = 100;
    int FIncrement = 1;
    int FPosition = 0;
    TWinControl* FAssociate = nullptr;
    TUDOrientation FOrientation = udVertical;
    bool FArrowKeys = true;
    bool FWrap = false;
    TUDBtnType FStepButton = btNext;  // the arrow of the step under way
};

class TUpDown : public TCustomUpDown {
public:
    CLARIVO_CLASS
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

#pragma once
// TCustomComboBox / TComboBox: the system combo box. Style picks an editable drop-down, a simple list
// under an edit, a drop-down list, or a drop-down list whose items the program draws. Items are lines
// of text; ItemIndex is the selected one (-1: none); Text is the edit's text, or the selected item's.
// A choice or an edit by the user raises OnChange; setting ItemIndex or Text from code does not.
#include "ui/StringList.h"
#include "ui/WinControl.h"

#include <functional>

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

// Draws item Index into DC within Rect; State holds the system's ODS_* bits (ODS_SELECTED, ...).
using TDrawItemEvent = std::function<void(TObject* Sender, int Index, HDC DC, const TRect& Rect, UINT State)>;

class TCustomComboBox : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomComboBox(TComponent* owner);

    TStringList* Items() { return &FItems; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TComboBoxStyle style);
    // How many items the dropped list shows before it scrolls.
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int count);
    bool DroppedDown() const;
    void SetDroppedDown(bool value);
    // The text can only be one of the items (no edit of its own).
    bool IsListStyle() const { return FStyle != csDropDown && FStyle != csSimple; }

    void Loaded() override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;
    TDrawItemEvent OnDrawItem;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void TextChanged() override;
    void BoundsChanged() override;
    virtual void DoChange();
    // An owner-drawn item: OnDrawItem, or the item's text on the selection or window colour.
    virtual void DrawItem(int index, HDC dc, const TRect& rect, UINT state);

private:
    // The window's list made again from Items, keeping the selection (and an edit's text).
    void FillList();
    // The height the window is given: the closed box and, below it, the dropped list.
    int WindowHeight() const;

    TStringList FItems;
    TComboBoxStyle FStyle = csDropDown;
    int FItemIndex = -1;  // kept while there is no window
    int FDropDownCount = 8;
};

class TComboBox : public TCustomComboBox {
public:
    CLARIVO_CLASS
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}
};

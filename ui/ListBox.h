#pragma once
// TListBox: the system list box. Items are its lines of text, ItemIndex the selected one (-1: none);
// Sorted keeps the items in order; MultiSelect lets the user select several (Selected tells which).
// A selection by the user raises OnClick.
#include "ui/StringList.h"
#include "ui/WinControl.h"

class TCustomListBox : public TWinControl {
public:
    CLARIVO_CLASS

    explicit TCustomListBox(TComponent* owner);

    TStringList* Items() { return &FItems; }
    int ItemIndex() const;
    void SetItemIndex(int index);
    int TopIndex() const;
    void SetTopIndex(int index);
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool Selected(int index) const;
    int ItemHeight() const;

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    void ItemsChanged();
    // The window's list made again from Items, keeping the selection and the scroll position.
    void FillList();

    TStringList FItems;
    int FItemIndex = -1;  // kept while there is no window
    int FTopIndex = 0;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FSorting = false;
};

class TListBox : public TCustomListBox {
public:
    CLARIVO_CLASS
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}
};

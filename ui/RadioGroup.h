#pragma once
// TCustomRadioGroup / TRadioGroup: a group box holding one radio button (TGroupButton) per line of
// Items, laid out in Columns inside the frame, filled column by column. ItemIndex is the checked one
// (-1: none). A click on a button or the arrow keys change it and raise OnClick; setting ItemIndex
// from code does not.
#include "ui/GroupBox.h"
#include "ui/RadioButton.h"
#include "ui/StringList.h"

#include <vector>

class TCustomRadioGroup;

// One button of a radio group: made and freed by its group, which hears its clicks and arrow keys.
class TGroupButton : public TRadioButton {
public:
    CLARIVO_CLASS

    TGroupButton(TCustomRadioGroup& group, int index);

    int Index() const { return FIndex; }

protected:
    void WndProc(TMessage& message) override;
    void Clicked() override;

private:
    TCustomRadioGroup& FGroup;
    int FIndex;
};

class TCustomRadioGroup : public TCustomGroupBox {
public:
    CLARIVO_CLASS

    explicit TCustomRadioGroup(TComponent* owner);

    TStringList* Items() { return &FItems; }
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);

    int ButtonCount() const { return static_cast<int>(FButtons.size()); }
    TGroupButton* Buttons(int index) const { return FButtons.at(static_cast<size_t>(index)); }

    void Loaded() override;

protected:
    friend class TGroupButton;
    void BoundsChanged() override;
    void WndProc(TMessage& message) override;
    // A button was clicked, or an arrow key asked for the item at index: it becomes ItemIndex.
    void ButtonChosen(int index, bool focus);
    // The item an arrow key moves to from index (clamped to the items).
    int ItemBeside(int index, WPARAM key) const;

private:
    void UpdateButtons();
    void ArrangeButtons();
    void CheckItemIndex();

    TStringList FItems;
    std::vector<TGroupButton*> FButtons;
    int FItemIndex = -1;
    int FColumns = 1;
};

class TRadioGroup : public TCustomRadioGroup {
public:
    CLARIVO_CLASS
    explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};

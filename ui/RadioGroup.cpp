#include "ui/RadioGroup.h"

#include "ui/Properties.h"

#include <algorithm>

const TClassInfo TGroupButton::MetaClass("TGroupButton", &TRadioButton::MetaClass, nullptr, {});

const TClassInfo TCustomRadioGroup::MetaClass(
    "TCustomRadioGroup", &TCustomGroupBox::MetaClass, nullptr,
    {
        IntProp<TCustomRadioGroup>("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns),
        IntProp<TCustomRadioGroup>("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex),
        ClassProp<TCustomRadioGroup, TStringList>("Items", &TCustomRadioGroup::Items),
    });

const TClassInfo TRadioGroup::MetaClass("TRadioGroup", &TCustomRadioGroup::MetaClass, ComponentFactory<TRadioGroup>,
                                        {});

// ---- TGroupButton ----

TGroupButton::TGroupButton(TCustomRadioGroup& group, int index) : TRadioButton(&group), FGroup(group), FIndex(index) {
    SetParent(&group);
}

void TGroupButton::Clicked() { FGroup.ButtonChosen(FIndex, false); }

void TGroupButton::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_GETDLGCODE:
        // The arrows move through the group's items; the dialog manager would only move the focus.
        TRadioButton::WndProc(message);
        message.Result |= DLGC_WANTARROWS;
        return;
    case WM_KEYDOWN:
        if (message.WParam == VK_UP || message.WParam == VK_DOWN || message.WParam == VK_LEFT ||
            message.WParam == VK_RIGHT) {
            const int next = FGroup.ItemBeside(FIndex, message.WParam);
            if (next != FIndex) FGroup.ButtonChosen(next, true);
            message.Result = 0;
            return;
        }
        break;
    }
    TRadioButton::WndProc(message);
}

// ---- TCustomRadioGroup ----

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
    FItems.OnChange = [this](TObject*) { UpdateButtons(); };
}

void TCustomRadioGroup::SetItemIndex(int index) {
    // A description may give the index before the items: it is checked once all has been read.
    if (!IsLoading()) index = std::clamp(index, -1, static_cast<int>(FButtons.size()) - 1);
    FItemIndex = index;
    if (!IsLoading()) CheckItemIndex();
}

void TCustomRadioGroup::SetColumns(int columns) {
    columns = std::clamp(columns, 1, 16);
    if (columns == FColumns) return;
    FColumns = columns;
    ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
    TCustomGroupBox::Loaded();
    SetItemIndex(FItemIndex);
}

void TCustomRadioGroup::ButtonChosen(int index, bool focus) {
    FItemIndex = index;
    CheckItemIndex();
    TGroupButton* button = FButtons.at(static_cast<size_t>(index));
    if (focus && button->HandleAllocated()) ::SetFocus(button->WindowHandle());
    DoClick();
}

int TCustomRadioGroup::ItemBeside(int index, WPARAM key) const {
    const int step = key == VK_UP || key == VK_LEFT ? -1 : 1;
    return std::clamp(index + step, 0, static_cast<int>(FButtons.size()) - 1);
}

void TCustomRadioGroup::CheckItemIndex() {
    for (size_t i = 0; i < FButtons.size(); ++i) {
        const auto index = static_cast<int>(i);
        FButtons[i]->SetChecked(index == FItemIndex);
        // One tab stop for the group, on the checked button: the others are reached with the arrows.
        FButtons[i]->SetTabStop(index == std::max(FItemIndex, 0));
    }
}

void TCustomRadioGroup::UpdateButtons() {
    const int count = FItems.Count();
    while (static_cast<int>(FButtons.size()) > count) {
        delete FButtons.back();
        FButtons.pop_back();
    }
    while (static_cast<int>(FButtons.size()) < count)
        FButtons.push_back(new TGroupButton(*this, static_cast<int>(FButtons.size())));
    for (int i = 0; i < count; ++i) {
        TGroupButton* button = FButtons[static_cast<size_t>(i)];
        button->SetCaption(FItems.Strings(i));
        button->SetEnabled(Enabled());
    }
    if (!IsLoading() && FItemIndex >= count) FItemIndex = -1;
    CheckItemIndex();
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (FButtons.empty()) return;
    const int count = static_cast<int>(FButtons.size());
    const int perColumn = (count + FColumns - 1) / FColumns;
    const TRect area = FrameInterior();
    const int columnWidth = (area.Width() - 6) / FColumns;
    const int rowHeight = std::max(area.Height() / perColumn, 1);
    const int top = area.Top + (area.Height() - rowHeight * perColumn) / 2;
    for (int i = 0; i < count; ++i) {
        const int column = i / perColumn, row = i % perColumn;
        FButtons[static_cast<size_t>(i)]->SetBounds(area.Left + 6 + column * columnWidth, top + row * rowHeight,
                                                    columnWidth - 4, rowHeight);
    }
}

void TCustomRadioGroup::BoundsChanged() {
    TCustomGroupBox::BoundsChanged();
    ArrangeButtons();
}

void TCustomRadioGroup::WndProc(TMessage& message) {
    TCustomGroupBox::WndProc(message);
    switch (message.Msg) {
    case CM_FONTCHANGED: ArrangeButtons(); break;
    case CM_ENABLEDCHANGED:
        for (TGroupButton* button : FButtons) button->SetEnabled(Enabled());
        break;
    }
}

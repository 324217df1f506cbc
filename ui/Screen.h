#pragma once
// TScreen: the forms that exist, in the order they were made, and the screen's size.
#include "ui/Component.h"

#include <vector>

class TCustomForm;

class TScreen : public TComponent {
public:
    CLARIVO_CLASS

    explicit TScreen(TComponent* owner) : TComponent(owner) {}

    int FormCount() const { return static_cast<int>(FForms.size()); }
    TCustomForm* Forms(int index) const { return FForms.at(static_cast<size_t>(index)); }
    const std::vector<TCustomForm*>& FormList() const { return FForms; }
    // The form whose window is the active one, or null.
    TCustomForm* ActiveForm() const;

    int Width() const;
    int Height() const;

    // Called by every form when it is made and when it goes.
    void InsertForm(TCustomForm* form);
    void RemoveForm(TCustomForm* form);

private:
    std::vector<TCustomForm*> FForms;
};

// The process's screen object.
TScreen& Screen();

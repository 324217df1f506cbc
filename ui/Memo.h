#pragma once
// TMemo: a multi-line edit. Lines holds its text line by line (read back from the window, so it follows
// what the user typed); ScrollBars picks the bars it shows, WordWrap breaks long lines at the edge (and
// then there is no horizontal bar to show). Return and Tab are the memo's own keys.
#include "ui/Edit.h"
#include "ui/StringList.h"

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TCustomMemo : public TCustomEdit {
public:
    CLARIVO_CLASS

    explicit TCustomMemo(TComponent* owner);

    // The lines as the window holds them now.
    TStringList* Lines();
    TScrollStyle ScrollBars() const { return FScrollBars; }
    void SetScrollBars(TScrollStyle value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool WantTabs() const { return FWantTabs; }
    void SetWantTabs(bool value) { FWantTabs = value; }

    void Loaded() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& message) override;

private:
    void LinesToWindow();

    TStringList FLines;
    TScrollStyle FScrollBars = ssNone;
    bool FWordWrap = true;
    bool FWantTabs = false;
    bool FReading = false;  // Lines is being filled from the window
};

class TMemo : public TCustomMemo {
public:
    CLARIVO_CLASS
    explicit TMemo(TComponent* owner) : TCustomMemo(owner) {}
};

#pragma once
// The fixture of painter suites: a framework form that the test fills with controls and then shows,
// skinned with the shipped default skin, its controls found and painted. Teardown undoes it all.
#include "Pump.h"
#include "ShippedSkin.h"
#include "skin/controls/ControlDiscovery.h"
#include "skin/window/SkinManager.h"
#include "skin/window/WinSkinForm.h"
#include "ui/CustomForm.h"

#include <gtest/gtest.h>

class SkinnedForm : public ::testing::Test {
protected:
    explicit SkinnedForm(TSize clientSize) {
        InstallControlPainters();
        form = new TForm(nullptr);
        form->SetClientSize(clientSize);
    }
    ~SkinnedForm() override {
        TCustomForm::Free(form);
        skin.reset();
        FreeSkinManager();
        SetControlDiscovery({});
        Pump(2);
    }

    // Shows the form with the skin on: the controls made so far get their painters.
    void ShowSkinned() {
        skin = ShippedSkin("default");
        form->Show();
        SetForegroundWindow(form->Handle());
        Pump();
        skinner = SkinManager->FindSkinForm(form->Handle());
    }

    TForm* form = nullptr;
    std::unique_ptr<TSkinData> skin;
    TWinSkinForm* skinner = nullptr;
};

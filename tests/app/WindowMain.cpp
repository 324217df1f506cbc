// The window suites run with the application initialised on this thread, its controls' painters installed
// and titled as the program is.
#include "skin/controls/ControlDiscovery.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Application().Initialize();
    InstallControlPainters();
    Application().SetTitle(L"Clarivo");
    return RUN_ALL_TESTS();
}

// The window suites run with the application initialised on this thread and titled as the program is.
#include "ui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Application().Initialize();
    Application().SetTitle(L"Clarivo");
    return RUN_ALL_TESTS();
}

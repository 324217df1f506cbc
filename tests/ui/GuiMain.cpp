// The GUI suites run with the application initialised (common controls, COM) on this thread.
#include "ui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    Application().Initialize();
    return RUN_ALL_TESTS();
}

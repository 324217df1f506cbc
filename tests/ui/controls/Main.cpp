// The controls need the application's common controls and COM before the first window is made.
#include "ui/Application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    Application().Initialize();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

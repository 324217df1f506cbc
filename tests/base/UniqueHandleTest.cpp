#include "base/UniqueHandle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> closed;
void CloseFake(int value) { closed.push_back(value); }
using FakeHandle = UniqueHandle<NullHandleTraits<int, CloseFake>>;
}  // namespace

TEST(UniqueHandle, ClosesExactlyOnceWhateverHappensToIt) {
    closed.clear();
    {
        FakeHandle a(1);
        FakeHandle b(std::move(a));
        EXPECT_FALSE(a);
        FakeHandle c(3);
        c = std::move(b);            // 3 is closed here, 1 moves on
        FakeHandle d(4);
        int given = d.release();     // ownership leaves: never closed by us
        EXPECT_EQ(given, 4);
        FakeHandle e(5);
        e.reset(6);                  // 5 closed now, 6 at scope end
    }
    EXPECT_EQ(closed, (std::vector<int>{3, 5, 6, 1}));
}

#include "base/UniqueHandle.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
std::vector<int> closed;
void CloseFake(int value) { closed.push_back(value); }
using FakeHandle = UniqueHandle<NullHandleTraits<int, CloseFake>>;

int held = 0;
struct CountedFakeTraits : NullHandleTraits<int, CloseFake> {
    static void Count(int delta) noexcept { held += delta; }
};
using CountedFake = UniqueHandle<CountedFakeTraits>;
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

TEST(UniqueHandle, CountsWhatItHoldsUntilFreedOrGivenAway) {
    held = 0;
    {
        CountedFake none;
        CountedFake a(1);
        CountedFake b(std::move(a));  // moves change nothing
        EXPECT_EQ(held, 1);
        CountedFake c(3);
        c = std::move(b);             // 3 freed
        EXPECT_EQ(held, 1);
        c.reset(4);                   // 1 freed, 4 taken
        EXPECT_EQ(held, 1);
        (void)c.release();            // given away: no longer ours
        EXPECT_EQ(held, 0);
        c.reset(0);                   // the invalid value is nothing to count
        none = CountedFake(5);
        EXPECT_EQ(held, 1);
    }
    EXPECT_EQ(held, 0);
}

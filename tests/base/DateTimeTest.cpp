#include "base/DateTime.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTime, EncodesDaysSinceTheEndOf1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
    EXPECT_EQ(EncodeDate(2024, 2, 29), 45351);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
    EXPECT_DOUBLE_EQ(EncodeTime(18, 30, 15, 500), (18 * 3600 + 30 * 60 + 15.5) / 86400);
}

TEST(DateTime, UnpacksTheListingsPackedLocalTime) {
    // 2024-07-01 18:30:14: years since 1980 in bits 25-31, month, day; hours, minutes, seconds / 2.
    const uint32_t packed = (uint32_t{44} << 25 | 7u << 21 | 1u << 16) | (18u << 11 | 30u << 5 | 7u);
    EXPECT_DOUBLE_EQ(PackedDateTimeToDateTime(packed), EncodeDate(2024, 7, 1) + EncodeTime(18, 30, 14, 0));
    EXPECT_EQ(PackedDateTimeToDateTime(uint32_t{1} << 21 | 1u << 16), EncodeDate(1980, 1, 1));
}

TEST(DateTime, RangeComparesDatesTimesAndFullValuesInclusively) {
    const double day = EncodeDate(2024, 7, 1), noon = 0.5;
    const double morning = day + EncodeTime(9, 0, 0, 0), evening = day + EncodeTime(18, 0, 0, 0);
    struct Case {
        double Value, Before, After;
        bool Expected;
    } cases[] = {
        {morning, 0, 0, true},                    // no bounds
        {evening, day, day, true},                // the same date as both bounds: that whole day
        {day + 1, day, day, false},
        {day - 0.25, day, day, false},
        {morning, 0, noon, false},                // a time alone: at or after noon, any date
        {evening, 0, noon, true},
        {day + 100 + noon, 0, noon, true},        // the bound itself is inside
        {morning, noon, 0, true},
        {morning, evening, 0, true},              // a full value compares with the full value
        {evening, morning, 0, false},
        {evening, evening, morning, true},
        {day + 5, day + 10, day, true},           // dates alone on both sides
        {day + 11, day + 10, day, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DateTimeInRange(c.Value, c.Before, c.After), c.Expected)
            << c.Value << " before " << c.Before << " after " << c.After;
}

}  // namespace

// Date arithmetic never counts with an empty or impossible date.
#include "core/clock.h"

#include <gtest/gtest.h>

using namespace vestral::core;

TEST(DateArithmetic, EmptyOrInvalidDatesGiveNothingInsteadOfBillionsOfDays) {
    EXPECT_FALSE(days_between(Date{}, Date{2024, 1, 1}));
    EXPECT_FALSE(days_between(Date{2024, 1, 1}, Date{}));
    EXPECT_FALSE(days_between(Date{2023, 2, 29}, Date{2024, 1, 1}));
    EXPECT_FALSE(days_between(Date{2024, 13, 1}, Date{2024, 1, 1}));
    EXPECT_FALSE(add_days(Date{}, 1));
    EXPECT_FALSE(add_days(Date{2024, 4, 31}, 1));
    EXPECT_FALSE(add_days(Date{9999, 12, 31}, 1)) << "no year 10000";
    EXPECT_FALSE(add_days(Date{1, 1, 1}, -1));
    EXPECT_FALSE(add_days(Date{2024, 1, 1}, 5'000'000'000L));
}

TEST(DateArithmetic, ValidDatesCountAcrossMonthsYearsAndLeapDays) {
    EXPECT_EQ(days_between(Date{2024, 2, 28}, Date{2024, 3, 1}), 2);
    EXPECT_EQ(days_between(Date{2023, 2, 28}, Date{2023, 3, 1}), 1);
    EXPECT_EQ(days_between(Date{2025, 1, 1}, Date{2024, 1, 1}), -366);
    EXPECT_EQ(days_between(Date{1900, 1, 1}, Date{2000, 1, 1}), 36524);
    EXPECT_EQ(add_days(Date{2024, 12, 31}, 1), (Date{2025, 1, 1}));
    EXPECT_EQ(add_days(Date{2024, 3, 1}, -1), (Date{2024, 2, 29}));
    EXPECT_EQ(add_days(Date{9999, 12, 30}, 1), (Date{9999, 12, 31}));
}

// NormDateEntry with today fixed through the layer's clock.
#include "datenorm_cases.h"
#include "lin32/lin32_hooks.h"

#include <gtest/gtest.h>

namespace {

class FixedToday : public ::testing::Test {
protected:
    void TearDown() override { Lin32ClearToday(); }
};

TEST_F(FixedToday, MidJune2004)
{
    Lin32SetToday(2004, 6, 15);
    const DateCase cases[] = {
        {"1.2.04", "01.02.2004"},     {"1/2/4", "01.02.2004"},
        {"1-2-4", "01.02.2004"},      {"1 2 4", "01.02.2004"},
        {"24.12.", "24.12.2004"},     {"5", "05.06.2004"},
        {"abc", "15.06.2004"},        {"1.1.78", "01.01.2078"},
        {"1.1.79", "01.01.1979"},     {"1.1.0", "01.01.2000"},
        {"1.1.100", "01.01.0100"},    {"31.4.2004", "30.04.2004"},
        {"30.2.2003", "29.02.2003"},  {"0.13.2004", "01.12.2004"},
        {"010104", "30.06.2004"},     {"-5.3", "15.05.2003"},
        {"5..3", "05.03.2004"},       {"1.2.3.4", "01.02.2003"},
        {"1a.b2.2004", "01.02.2004"},
    };
    for (const DateCase &c : cases) {
        SCOPED_TRACE("typed \"" + c.typed + "\"");
        EXPECT_EQ(NormalisedDate(c.typed), c.expected);
    }
}

TEST_F(FixedToday, TodaysPartsArePulledIntoRangeLikeTypedOnes)
{
    struct Case {
        int year, month, day;
        const char *typed;
        const char *expected;
    };
    const Case cases[] = {
        {2010, 1, 31, "-2", "29.02.2010"},   // today's day 31 in February
        {2010, 1, 31, "-4.11", "30.04.2011"},
        {2010, 1, 31, "-12", "31.12.2010"},
        {2004, 7, 31, "99", "31.07.2004"},   // a huge day, pulled to 31 in July
        {2004, 9, 10, "99", "30.09.2004"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("typed \"") + c.typed + "\" on " + std::to_string(c.day) +
                     "." + std::to_string(c.month) + "." + std::to_string(c.year));
        Lin32SetToday(c.year, c.month, c.day);
        EXPECT_EQ(NormalisedDate(c.typed), c.expected);
    }
}

TEST_F(FixedToday, TodayIsReadAtEveryCall)
{
    Lin32SetToday(2004, 6, 15);
    EXPECT_EQ(NormalisedDate("abc"), "15.06.2004");
    Lin32SetToday(1999, 1, 2);
    EXPECT_EQ(NormalisedDate("abc"), "02.01.1999");
    EXPECT_EQ(NormalisedDate("7"), "07.01.1999");
}

TEST_F(FixedToday, SharedCasesOnSeveralDays)
{
    const int days[][3] = {{2004, 6, 15}, {1999, 12, 31}, {2078, 2, 28}, {2000, 1, 1}};
    for (const auto &day : days) {
        Lin32SetToday(day[0], day[1], day[2]);
        SYSTEMTIME today;
        GetLocalTime(&today);
        for (const DateCase &c : DateCasesForAnyToday()) {
            SCOPED_TRACE("typed \"" + c.typed + "\" on " + std::to_string(day[2]) + "." +
                         std::to_string(day[1]) + "." + std::to_string(day[0]));
            EXPECT_EQ(NormalisedDate(c.typed), TodayExpanded(c.expected, today));
        }
    }
}

}  // namespace

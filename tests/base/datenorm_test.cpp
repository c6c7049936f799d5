// NormDateEntry on the real clock: parts not typed are today's. A case whose date
// changed while it ran (midnight) is run again.
#include "datenorm_cases.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

bool SameDay(const SYSTEMTIME &a, const SYSTEMTIME &b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

TEST(NormDateEntry, TypedDatesOnTheRealClock)
{
    for (const DateCase &c : DateCasesForAnyToday()) {
        SCOPED_TRACE("typed \"" + c.typed + "\"");
        SYSTEMTIME before, after;
        std::string date;
        for (int attempt = 0; attempt < 2; ++attempt) {
            GetLocalTime(&before);
            date = NormalisedDate(c.typed);
            GetLocalTime(&after);
            if (SameDay(before, after)) {
                break;
            }
        }
        EXPECT_EQ(date, TodayExpanded(c.expected, after));
    }
}

TEST(NormDateEntry, ReadsNoFurtherThanLengthAndSize)
{
    // Buffers of exactly the size given: a sanitizer build sees any access beyond.
    int length = 0;
    std::vector<char> buffer = Normalised("1.2.04     ", 11, &length);
    EXPECT_EQ(length, 10);
    EXPECT_EQ(std::string(buffer.data(), 11), std::string("01.02.2004\0", 11));

    // A length beyond the buffer: only the buffer is read.
    std::vector<char> exact = {'3', '.', '4', '.', '0', '5', ' ', ' ', ' ', ' ', ' '};
    length = 200;
    NormDateEntry(exact.data(), (int)exact.size(), &length);
    EXPECT_EQ(length, 10);
    EXPECT_EQ(std::string(exact.data(), 11), std::string("03.04.2005\0", 11));

    // Only length characters count, whatever follows them.
    std::vector<char> longer(32, 'x');
    const char typed[] = "7.8.1999";
    std::copy(typed, typed + 8, longer.begin());
    length = 5;  // "7.8.1"
    NormDateEntry(longer.data(), (int)longer.size(), &length);
    EXPECT_EQ(length, 10);
    EXPECT_EQ(std::string(longer.data(), 11), std::string("07.08.2001\0", 11));
    EXPECT_EQ(std::string(longer.begin() + 11, longer.end()), std::string(21, 'x'));
}

TEST(NormDateEntry, LongestEntry)
{
    // 255 characters: the date, then separators and letters; the fourth field and all
    // after it are ignored.
    std::string typed = "9.10.2011";
    while (typed.size() < 255) {
        typed += (typed.size() % 3 == 0) ? "-" : "q7";
    }
    typed.resize(255);
    EXPECT_EQ(NormalisedDate(typed), "09.10.2011");
}

TEST(NormDateEntry, NoTextGivesToday)
{
    for (int given : {0, -1}) {
        SCOPED_TRACE("length " + std::to_string(given));
        std::vector<char> buffer(11, 'x');
        int length = given;
        SYSTEMTIME before, after;
        GetLocalTime(&before);
        NormDateEntry(buffer.data(), (int)buffer.size(), &length);
        GetLocalTime(&after);
        EXPECT_EQ(length, 10);
        std::string date(buffer.data(), 10);
        EXPECT_TRUE(date == TodayExpanded("DD.MM.YYYY", before) ||
                    date == TodayExpanded("DD.MM.YYYY", after))
            << date;
    }
}

TEST(NormDateEntry, BufferTooSmallForTheDateGetsWhatFits)
{
    struct Small {
        int size;
        std::string left;
        int length;
    };
    const Small cases[] = {
        {10, std::string("01.02.200\0", 10), 9},
        {5, std::string("01.0\0", 5), 4},
        {1, std::string("\0", 1), 0},
    };
    for (const Small &c : cases) {
        SCOPED_TRACE("size " + std::to_string(c.size));
        std::vector<char> buffer(c.size, ' ');
        std::string typed = "1.2.04";
        typed.copy(buffer.data(), std::min(typed.size(), buffer.size()));
        int length = std::min((int)typed.size(), c.size);
        // With size 5 and "1.2.0" only the year 0 is read, so the date is 01.02.2000.
        NormDateEntry(buffer.data(), c.size, &length);
        EXPECT_EQ(std::string(buffer.begin(), buffer.end()), c.left);
        EXPECT_EQ(length, c.length);
    }
    char untouched = 'x';
    int length = 1;
    NormDateEntry(&untouched, 0, &length);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(length, 0);
}

}  // namespace

// Compare in the real program under Wine, on a source list longer than its window: it
// selects exactly the charts that the destination lacks or holds older, and leaves the
// list where the user had it: the same lines on view, the focus and the anchor of the
// selection on the line the user clicked.
#include "e2e_common.h"

namespace {

using e2e::Chart;
using e2e::NoBoxOpen;

const char SYSTEM[] = "KOS";

class CompareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(e2e::ResetDrives());
        for (char drive : {'C', 'D', 'E'}) {
            ASSERT_TRUE(e2e::MakeSystem(drive, SYSTEM, "Kos system"));
        }
    }

    LRESULT List(UINT message, WPARAM wParam = 0)
    {
        return SendMessageW(GetDlgItem(program_.Dialog(), IDC_SOURCE_LIST), message, wParam, 0);
    }

    e2e::Program program_;
};

// Where the user left the source list.
struct View {
    LRESULT top, caret, anchor;
};

bool operator==(const View &a, const View &b)
{
    return a.top == b.top && a.caret == b.caret && a.anchor == b.anchor;
}

std::ostream &operator<<(std::ostream &out, const View &view)
{
    return out << "top " << view.top << ", caret " << view.caret << ", anchor " << view.anchor;
}

TEST_F(CompareTest, SelectsExactlyAndLeavesTheListWhereTheUserHadIt)
{
    // 60 charts; E: lacks every third and the last one, holds some older and the rest
    // as they are: runs of selected lines of every length, down to the end of the list.
    std::vector<Chart> source;
    std::vector<Chart> destination;
    std::vector<int> expected;
    for (int i = 0; i < 60; ++i) {
        char name[8];
        snprintf(name, sizeof name, "C%02d", i);
        Chart chart = {name, {2024, 3, 5, 14, 10}, std::string(name) + " of D\r\n"};
        source.push_back(chart);
        bool missing = i % 3 == 0 || i == 59;
        bool older = i % 7 == 1 || (i >= 40 && i < 45);
        if (missing || older) {
            expected.push_back(i);
        }
        if (!missing) {
            Chart copy = chart;
            copy.time.minute -= older ? 1 : 0;
            destination.push_back(copy);
        }
    }
    ASSERT_TRUE(e2e::PutCharts('D', SYSTEM, source));
    ASSERT_TRUE(e2e::PutCharts('E', SYSTEM, destination));
    ASSERT_TRUE(e2e::StartOnDrives(program_, 'D', 'E'));
    ASSERT_EQ(program_.ListLines(IDC_SOURCE_LIST).size(), source.size());

    // The user scrolls a little way down and clicks a line there.
    List(LB_SETTOPINDEX, 10);
    ASSERT_TRUE(program_.ClickLine(IDC_SOURCE_LIST, 12));
    View before = {List(LB_GETTOPINDEX), List(LB_GETCARETINDEX), List(LB_GETANCHORINDEX)};
    ASSERT_EQ(before.top, 10);
    ASSERT_EQ(before.caret, 12);

    ASSERT_TRUE(program_.ClickButton(IDC_COMPARE));
    EXPECT_TRUE(NoBoxOpen(program_));
    EXPECT_EQ(program_.SelectedLines(IDC_SOURCE_LIST), expected);
    EXPECT_EQ(List(LB_GETSELCOUNT), (LRESULT)expected.size());
    View after = {List(LB_GETTOPINDEX), List(LB_GETCARETINDEX), List(LB_GETANCHORINDEX)};
    EXPECT_EQ(after, before);
    EXPECT_TRUE(program_.IsEnabled(IDC_COPY));

    // Compare again, with the selection it made: the same lines, and the list stays.
    ASSERT_TRUE(program_.ClickButton(IDC_COMPARE));
    EXPECT_EQ(program_.SelectedLines(IDC_SOURCE_LIST), expected);
    after = {List(LB_GETTOPINDEX), List(LB_GETCARETINDEX), List(LB_GETANCHORINDEX)};
    EXPECT_EQ(after, before);
}

}  // namespace

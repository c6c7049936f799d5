// The date filters "until:", "at:" and "since:": alone and together, the dates they
// show after a refresh, the century of the list lines, and lines without a date.
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <functional>

using namespace scenario;

namespace {

// Source charts on C:, destination charts on D:.
const struct {
    const char *name;
    Stamp stamp;
} kSourceCharts[] = {
    {"A1", {2003, 1, 1, 0, 0}},    {"A2", {2003, 6, 15, 12, 0}}, {"A3", {2003, 12, 31, 23, 59}},
    {"A4", {2004, 3, 7, 9, 5}},    {"A5", {2004, 6, 15, 8, 0}},  {"A6", {1999, 12, 31, 23, 59}},
    {"A7", {2079, 6, 1, 12, 30}},  {"A8", {1980, 11, 2, 8, 0}},
};
const struct {
    const char *name;
    Stamp stamp;
} kDestinationCharts[] = {
    {"B1", {2003, 1, 1, 0, 0}},
    {"B2", {2004, 3, 7, 23, 59}},
    {"B3", {2004, 6, 15, 0, 0}},
};

// A filter as the user sets it: unchecked (nullptr), or checked with this text typed.
struct FilterCase {
    const char *what;
    const char *until;
    const char *at;
    const char *since;
    std::vector<std::string> source;
    std::vector<std::string> destination;
    std::string untilShown, atShown, sinceShown;
};

class DateFilter : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        Lin32SetToday(2004, 6, 15);
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        for (const auto &chart : kSourceCharts) {
            MakeChart('C', "DOB", std::string(chart.name) + ".mas", chart.stamp);
        }
        for (const auto &chart : kDestinationCharts) {
            MakeChart('D', "DOB", std::string(chart.name) + ".mas", chart.stamp);
        }
    }

    void TearDown() override
    {
        Lin32ClearToday();
        Drives::TearDown();
    }

    void Run(const std::function<void(HWND)> &user)
    {
        // A list build leaves its chart directory current; the INI file is found from C:\.
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
            user(dialog);
        });
        EXPECT_TRUE(opened);
    }
};

const std::vector<std::string> kAllSource{"A1", "A2", "A3", "A4", "A5", "A6", "A7", "A8"};
const std::vector<std::string> kAllDestination{"B1", "B2", "B3"};

TEST_F(DateFilter, KeepsLinesThatMeetOneActiveCondition)
{
    const std::string longText = "15" + std::string(77, 'x') + ".3.2004";
    const FilterCase cases[] = {
        {"at alone", nullptr, "07.03.2004", nullptr, {"A4"}, {"B2"}, "", "07.03.2004", ""},
        {"until and since as one range", "31.12.2003", nullptr, "01.01.2003",
         {"A1", "A2", "A3"}, {"B1"}, "31.12.2003", "", "01.01.2003"},
        {"until before since: two alternatives", "01.01.2003", nullptr, "31.12.2003",
         {"A1", "A3", "A4", "A5", "A6", "A7", "A8"}, kAllDestination, "01.01.2003", "",
         "31.12.2003"},
        {"since on the day of until: one day", "15.06.2003", nullptr, "15.06.2003", {"A2"}, {},
         "15.06.2003", "", "15.06.2003"},
        {"until and at", "31.12.2003", "15.06.2004", nullptr,
         {"A1", "A2", "A3", "A5", "A6", "A8"}, {"B1", "B3"}, "31.12.2003", "15.06.2004", ""},
        {"all three", "31.12.2003", "15.06.2004", "01.01.2003", {"A1", "A2", "A3", "A5"},
         {"B1", "B3"}, "31.12.2003", "15.06.2004", "01.01.2003"},
        // Year 79 of a line is 2079, year 80 is 1980.
        {"since 2000", nullptr, nullptr, "01.01.2000", {"A1", "A2", "A3", "A4", "A5", "A7"},
         kAllDestination, "", "", "01.01.2000"},
        {"until 1999", "31.12.1999", nullptr, nullptr, {"A6", "A8"}, {}, "31.12.1999", "", ""},
        // What was typed is shown as the date the filter uses.
        {"short date", nullptr, "7.3.4", nullptr, {"A4"}, {"B2"}, "", "07.03.2004", ""},
        {"day and month only", "24.12.", nullptr, nullptr,
         {"A1", "A2", "A3", "A4", "A5", "A6", "A8"}, kAllDestination, "24.12.2004", "", ""},
        {"day only", nullptr, nullptr, "5", {"A5", "A7"}, {"B3"}, "", "", "05.06.2004"},
        // Only the first 79 characters are read: "15" and letters, so month and year
        // are today's.
        {"text longer than the field", nullptr, longText.c_str(), nullptr, {"A5"}, {"B3"}, "",
         "15.06.2004", ""},
        {"checked box with empty edit", nullptr, "", nullptr, kAllSource, kAllDestination, "",
         "", ""},
    };
    for (const FilterCase &c : cases) {
        SCOPED_TRACE(c.what);
        BoxScript boxes;
        Run([&](HWND dialog) {
            const struct {
                const char *text;
                int check, edit;
            } filters[] = {{c.until, IDC_UNTIL_CHECK, IDC_UNTIL_EDIT},
                           {c.at, IDC_AT_CHECK, IDC_AT_EDIT},
                           {c.since, IDC_SINCE_CHECK, IDC_SINCE_EDIT}};
            for (const auto &filter : filters) {
                if (filter.text != nullptr) {
                    driver::ClickButton(dialog, filter.check);
                    driver::TypeText(dialog, filter.edit, filter.text);
                }
            }
            driver::PressEnter(dialog);
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), c.source);
            EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), c.destination);
            EXPECT_EQ(driver::ItemText(dialog, IDC_UNTIL_EDIT), c.untilShown);
            EXPECT_EQ(driver::ItemText(dialog, IDC_AT_EDIT), c.atShown);
            EXPECT_EQ(driver::ItemText(dialog, IDC_SINCE_EDIT), c.sinceShown);
            EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_SOURCE_LIST)));
            EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_DEST_LIST)));
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    }
}

TEST_F(DateFilter, UncheckedBoxIgnoresItsDate)
{
    BoxScript boxes;
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, IDC_AT_CHECK);
        driver::TypeText(dialog, IDC_AT_EDIT, "7.3.4");
        driver::PressEnter(dialog);
        ASSERT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"A4"});
        driver::ClickButton(dialog, IDC_AT_CHECK);
        EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), kAllSource);
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), kAllDestination);
        EXPECT_EQ(driver::ItemText(dialog, IDC_AT_EDIT), "07.03.2004");
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

// The fixed text of a list without a chart directory has no date: it stays, so the
// list still says why it holds no charts.
TEST_F(DateFilter, FixedTextStays)
{
    Map('E', DRIVE_FIXED);
    MakeSystem('E', "DOB", "Ladies", false);
    WriteIni("[PATH]\r\nDRIVES=CDE\r\nSTARTUPDRIVE=1\r\n");
    BoxScript boxes({IDNO});
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, IDC_SINCE_CHECK);
        driver::TypeText(dialog, IDC_SINCE_EDIT, "1.1.2004");
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 2);  // refreshes E: and filters
        EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), (std::vector<std::string>{"A4", "A5", "A7"}));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{CreateBox('E')});
}

// Lines that no list build gives: the filter reads only what each line holds, and a
// line without the date columns stays.
TEST_F(DateFilter, ReadsOnlyWhatALineHolds)
{
    BoxScript boxes;
    Run([&](HWND dialog) {
        const std::string longLine = "LONG    \t07.03.03  10:15" + std::string(200, 'x');
        const std::vector<std::string> odd{"<nicht bereit>", "", "GH      \t07.03", longLine};
        SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_RESETCONTENT, 0, 0);
        SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, 0,
                            (LPARAM) "OLD     \t07.03.03  10:15");
        for (const std::string &line : odd) {
            SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, 0, (LPARAM)line.c_str());
        }
        SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, 0,
                            (LPARAM) "NEW     \t07.03.04  10:15");
        CheckDlgButton(dialog, IDC_SINCE_CHECK, BST_CHECKED);
        SetDlgItemTextA(dialog, IDC_SINCE_EDIT, "1.1.2004");
        ApplyDateFilter(dialog);
        std::vector<std::string> expected = odd;
        expected.push_back("NEW     \t07.03.04  10:15");
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), expected);
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), (std::vector<std::string>{"B2", "B3"}));
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

}  // namespace

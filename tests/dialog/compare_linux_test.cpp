// Compare: which source charts it selects against the destination list, by the minute,
// with four-digit years, after the date filter, and against the fixed list texts.
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <functional>

using namespace scenario;

namespace {

struct Chart {
    const char *name;
    Stamp stamp;
    int second;
};

class Compare : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        // Both combos start on C:; the tests choose D: as destination.
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
    }

    void Put(char drive, const Chart &chart)
    {
        fs::path path = MakeChart(drive, "DOB", std::string(chart.name) + ".mas", chart.stamp);
        struct tm fields = {};
        fields.tm_year = chart.stamp.year - 1900;
        fields.tm_mon = chart.stamp.month - 1;
        fields.tm_mday = chart.stamp.day;
        fields.tm_hour = chart.stamp.hour;
        fields.tm_min = chart.stamp.minute;
        fields.tm_sec = chart.second;
        fields.tm_isdst = -1;
        struct utimbuf times;
        times.actime = times.modtime = mktime(&fields);
        ASSERT_EQ(utime(path.c_str(), &times), 0);
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

// The chart names (columns 1-8, blanks removed) of the selected source lines.
std::vector<std::string> SelectedNames(HWND dialog)
{
    std::vector<std::string> lines = driver::ListLines(dialog, IDC_SOURCE_LIST);
    std::vector<std::string> names;
    for (int index : driver::SelectedLines(dialog, IDC_SOURCE_LIST)) {
        names.push_back(driver::ChartName(lines.at((size_t)index)));
    }
    return names;
}

TEST_F(Compare, SelectsChartsTheDestinationLacksOrHasOlder)
{
    struct Case {
        const char *what;
        std::vector<Chart> source;
        std::vector<Chart> destination;
        std::vector<std::string> selected;
    };
    const Stamp t1015{2004, 3, 7, 10, 15};
    const Stamp t1014{2004, 3, 7, 10, 14};
    const Stamp y1999{1999, 12, 31, 23, 59};
    const Stamp y2000{2000, 1, 1, 0, 0};
    const Stamp y2004{2004, 1, 1, 0, 0};
    const Case cases[] = {
        {"missing on the destination", {{"AB", t1015, 0}}, {}, {"AB"}},
        {"newer by a minute", {{"AB", t1015, 0}}, {{"AB", t1014, 59}}, {"AB"}},
        {"same minute, other seconds", {{"AB", t1015, 59}}, {{"AB", t1015, 0}}, {}},
        {"older by a minute", {{"AB", t1014, 0}}, {{"AB", t1015, 0}}, {}},
        {"1999 is older than 2004", {{"AB", y1999, 0}}, {{"AB", y2004, 0}}, {}},
        {"2004 is newer than 1999", {{"AB", y2004, 0}}, {{"AB", y1999, 0}}, {"AB"}},
        {"a minute across the century", {{"AB", y2000, 0}}, {{"AB", y1999, 0}}, {"AB"}},
        {"a longer name is another chart", {{"AB", t1014, 0}}, {{"ABC", t1015, 0}}, {"AB"}},
        {"a shorter name is another chart", {{"ABC", t1014, 0}}, {{"AB", t1015, 0}}, {"ABC"}},
        {"several",
         {{"A1", t1015, 0}, {"A2", t1015, 0}, {"A3", t1014, 0}, {"A4", y2004, 0}},
         {{"A1", t1014, 0}, {"A3", t1014, 0}, {"A4", y1999, 0}, {"A5", t1015, 0}},
         {"A1", "A2", "A4"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(Folder('C') / "vornix/DOB/mas");
        fs::remove_all(Folder('D') / "vornix/DOB/mas");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        for (const Chart &chart : c.source) {
            Put('C', chart);
        }
        for (const Chart &chart : c.destination) {
            Put('D', chart);
        }
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        BoxScript boxes;
        Run([&](HWND dialog) {
            ASSERT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST).size(), c.source.size());
            driver::ClickButton(dialog, IDC_COMPARE);
            EXPECT_EQ(SelectedNames(dialog), c.selected);
            bool any = !c.selected.empty();
            EXPECT_EQ(driver::IsEnabled(dialog, IDC_COPY), any);
            EXPECT_EQ(driver::IsEnabled(dialog, IDC_MOVE), any);
            EXPECT_EQ(driver::IsEnabled(dialog, IDC_DELETE), any);
            EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_SOURCE_LIST)));
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    }
}

TEST_F(Compare, ReplacesTheSelectionTheUserMade)
{
    const Stamp t1015{2004, 3, 7, 10, 15};
    Put('C', {"AB", t1015, 0});
    Put('C', {"CD", t1015, 0});
    Put('D', {"AB", t1015, 0});
    BoxScript boxes;
    Run([&](HWND dialog) {
        driver::ClickLine(dialog, IDC_SOURCE_LIST, 0);  // AB, up to date on D:
        ASSERT_EQ(SelectedNames(dialog), std::vector<std::string>{"AB"});
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_EQ(SelectedNames(dialog), std::vector<std::string>{"CD"});
        // The destination list is not touched.
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  std::vector<std::string>{Line("AB", t1015)});
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_DEST_LIST).empty());
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

// A chart that the date filter took out of the destination list counts as missing there.
TEST_F(Compare, ChartFilteredAwayOnTheDestinationCountsAsMissing)
{
    const Stamp march7{2004, 3, 7, 10, 15};
    const Stamp march8{2004, 3, 8, 10, 15};
    Put('C', {"AB", march7, 0});
    Put('D', {"AB", march8, 0});
    BoxScript boxes;
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_TRUE(SelectedNames(dialog).empty());

        driver::ClickButton(dialog, IDC_UNTIL_CHECK);
        driver::TypeText(dialog, IDC_UNTIL_EDIT, "7.3.2004");
        driver::PressEnter(dialog);
        ASSERT_TRUE(driver::ListLines(dialog, IDC_DEST_LIST).empty());
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_EQ(SelectedNames(dialog), std::vector<std::string>{"AB"});
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

// A list that holds the text of a drive without a chart directory: against it every
// source chart is missing, and the text itself is selected like a chart.
TEST_F(Compare, FixedTextsAreNoCharts)
{
    const Stamp t1015{2004, 3, 7, 10, 15};
    Map('E', DRIVE_FIXED);
    MakeSystem('E', "DOB", "Ladies", false);  // no chart directory on E:
    WriteIni("[PATH]\r\nDRIVES=CDE\r\nSTARTUPDRIVE=1\r\n");
    Put('C', {"AB", t1015, 0});
    Put('C', {"CD", t1015, 0});
    Put('D', {"AB", t1015, 0});
    Put('D', {"CD", t1015, 0});
    BoxScript boxes({IDNO, IDNO});  // do not create the directories on E:
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 2);
        ASSERT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_EQ(SelectedNames(dialog), (std::vector<std::string>{"AB", "CD"}));

        driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, 2);
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        ASSERT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), std::vector<int>{0});
    });
    EXPECT_EQ(Describe(boxes), (std::vector<std::string>{CreateBox('E'), CreateBox('E')}));
}

// Lines that no list build gives: Compare reads only what each line holds.
TEST_F(Compare, ReadsOnlyWhatALineHolds)
{
    BoxScript boxes;
    Run([&](HWND dialog) {
        auto fill = [&](int listId, const std::vector<std::string> &lines) {
            SendDlgItemMessageA(dialog, listId, LB_RESETCONTENT, 0, 0);
            for (const std::string &line : lines) {
                SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, (LPARAM)line.c_str());
            }
        };
        const std::string longLine = "LONG    \t07.03.04  10:15" + std::string(200, 'x');
        fill(IDC_SOURCE_LIST, {"AB      \t07.03.04  10:15", "CD      \t07.03.04  10:15",
                               "EF", "", "GH      \t07.03", longLine});
        // Letters of another case are found by the search but are not the same chart.
        fill(IDC_DEST_LIST, {"ab      \t07.03.04  10:15", "CD      \t07.03.04  10:15",
                             "EF      \t07.03.04  10:15", "GH      \t07.03.04  10:15",
                             longLine});
        CompareLists(dialog);
        // AB: other case; EF, the empty line and GH: no date to compare; the line too
        // long to read cannot be named and is left unselected.
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<int>{0, 2, 3, 4}));
    });
}

}  // namespace

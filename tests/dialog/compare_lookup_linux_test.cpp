// How Compare finds a source chart in the destination list: the first destination line
// that begins with the chart's 8 columns, letters compared without regard to case, and
// then those 8 columns exactly. Compare reads the destination list once instead of
// searching it for every source line; these cases hold it to the list box's own search,
// also where it falls back to that search (a line it cannot read, more lines than a
// list build gives).
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

using namespace scenario;

namespace {

const char kOlder[] = "\t07.03.04  10:14";
const char kNewer[] = "\t07.03.04  10:15";

class CompareLookup : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
    }
};

void Fill(HWND dialog, int listId, const std::vector<std::string> &lines)
{
    SendDlgItemMessageA(dialog, listId, LB_RESETCONTENT, 0, 0);
    for (const std::string &line : lines) {
        SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, (LPARAM)line.c_str());
    }
}

// The destination lines of a case, then as many filler lines as asked for.
std::vector<std::string> Destination(const std::vector<std::string> &lines, int fillers)
{
    std::vector<std::string> all = lines;
    for (int i = 0; i < fillers; i++) {
        char name[16];
        snprintf(name, sizeof name, "Z%07d", i);
        all.push_back(std::string(name) + kNewer);
    }
    return all;
}

TEST_F(CompareLookup, TakesTheFirstLineOfTheNameInAnyCase)
{
    const std::string longLine = std::string("QQ      ") + kNewer + std::string(100, 'x');
    struct Case {
        const char *what;
        std::vector<std::string> destination;
        bool selected;  // the source line "AB" changed at 10:15
    };
    const Case cases[] = {
        {"same chart, older", {std::string("AB      ") + kOlder}, true},
        {"same chart, same minute", {std::string("AB      ") + kNewer}, false},
        {"other case first: not the same chart",
         {std::string("ab      ") + kOlder, std::string("AB      ") + kNewer}, true},
        {"other case after the chart",
         {std::string("AB      ") + kNewer, std::string("ab      ") + kOlder}, false},
        {"mixed case first",
         {std::string("CD      ") + kNewer, std::string("aB      ") + kNewer,
          std::string("AB      ") + kNewer},
         true},
        {"the first of two equal names decides",
         {std::string("AB      ") + kNewer, std::string("AB      ") + kOlder}, false},
        {"the first of two equal names decides, older first",
         {std::string("AB      ") + kOlder, std::string("AB      ") + kNewer}, true},
        {"a longer name", {std::string("ABC     ") + kNewer}, true},
        {"a line shorter than a name", {"AB", "AB      "}, true},
        {"a name without the date", {"AB      ", std::string("AB      ") + kNewer}, true},
        {"a fixed text", {"<nicht bereit>"}, true},
        {"no lines", {}, true},
    };
    // 0: a short list; 2000: with the lines of the case more than a list build gives.
    const int fillerCounts[] = {0, 2000};
    // Without and with a line too long to read, which the search may still pass.
    const bool withLongLine[] = {false, true};
    for (const Case &c : cases) {
        for (int fillers : fillerCounts) {
            for (bool withLong : withLongLine) {
                SCOPED_TRACE(std::string(c.what) + ", fillers " + std::to_string(fillers) +
                             (withLong ? ", with a long line" : ""));
                ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
                BoxScript boxes;
                driver::RunProgram("", [&](HWND dialog) {
                    std::vector<std::string> destination = Destination(c.destination, fillers);
                    if (withLong) {
                        destination.push_back(longLine);
                    }
                    Fill(dialog, IDC_SOURCE_LIST,
                         {std::string("AB      ") + kNewer, std::string("ZZ      ") + kNewer});
                    Fill(dialog, IDC_DEST_LIST, destination);
                    CompareLists(dialog);
                    // ZZ is never on the destination.
                    std::vector<int> expected = c.selected ? std::vector<int>{0, 1}
                                                           : std::vector<int>{1};
                    EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), expected);
                    EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), destination);
                });
                EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
            }
        }
    }
}

}  // namespace

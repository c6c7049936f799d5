// The chart lists: one line per chart as the list shows it, the sorts, the name filter,
// charts that are left out, and the lines for drives that are not ready or not prepared.
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <algorithm>
#include <functional>

using namespace scenario;

namespace {

const Stamp k1985{1985, 11, 2, 8, 0};
const Stamp k1999{1999, 12, 31, 23, 59};
const Stamp k2004a{2004, 1, 1, 0, 0};
const Stamp k2004b{2004, 3, 7, 9, 5};
const Stamp k2079{2079, 6, 1, 12, 30};

class ChartList : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=2\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
    }

    // Runs the program; user acts on the open dialog.
    void Run(const std::function<void(HWND)> &user)
    {
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            user(dialog);
        });
        EXPECT_TRUE(opened);
    }
};

TEST_F(ChartList, LinesSortedByNameAndByDate)
{
    MakeChart('C', "DOB", "abc.mas", k2004b);
    MakeChart('C', "DOB", "AB1.MAS", k1999);
    MakeChart('C', "DOB", "Ab.mas", k2004a);
    MakeChart('C', "DOB", "1a.mas", k1985);
    MakeChart('C', "DOB", "zed.mas", k2079);
    BoxScript boxes;
    Run([&](HWND dialog) {
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<std::string>{"1A      \t02.11.85  08:00",
                                            "AB      \t01.01.04  00:00",
                                            "AB1     \t31.12.99  23:59",
                                            "ABC     \t07.03.04  09:05",
                                            "ZED     \t01.06.79  12:30"}));
        // By date the two-digit years count from 1980 to 2079.
        driver::ClickButton(dialog, IDC_SORT_DATE);
        const std::vector<std::string> byDate{Line("1A", k1985), Line("AB1", k1999),
                                              Line("AB", k2004a), Line("ABC", k2004b),
                                              Line("ZED", k2079)};
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), byDate);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), byDate);
        EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_SOURCE_LIST)));
        EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_DEST_LIST)));
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

TEST_F(ChartList, NameFilter)
{
    MakeChart('C', "DOB", "ab.mas", k2004a);
    MakeChart('C', "DOB", "ab1.mas", k1999);
    MakeChart('C', "DOB", "abc.mas", k2004b);
    MakeChart('C', "DOB", "xb.mas", k1985);
    // A chart beside the chart directory that a path in the filter would reach.
    WriteText(Folder('C') / "vornix/DOB/outside.mas", "not a chart of this list\r\n");
    WriteText(Folder('C') / "outside.mas", "not a chart of this list\r\n");
    const std::string ab = Line("AB", k2004a), ab1 = Line("AB1", k1999),
                      abc = Line("ABC", k2004b), xb = Line("XB", k1985);
    struct {
        const char *filter;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {ab, ab1, abc, xb}},
        {"AB", {ab}},
        {"ab", {ab}},
        {"AB*", {ab, ab1, abc}},
        {"?B", {ab, xb}},
        {"A?C", {abc}},
        {"Q*", {}},
        {"..\\*", {}},
        {"\\*", {}},
        {"C:*", {}},
        {"../*", {}},
    };
    BoxScript boxes;
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, IDC_NAME_CHECK);
        for (const auto &test : cases) {
            SCOPED_TRACE(test.filter);
            driver::TypeText(dialog, IDC_NAME_EDIT, test.filter);
            driver::PressEnter(dialog);
            EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), test.lines);
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), test.lines);
        }
        // Switched off, the filter text stays but no longer counts.
        driver::ClickButton(dialog, IDC_NAME_CHECK);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<std::string>{ab, ab1, abc, xb}));
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

// Every line must name exactly one file by its 8 characters and ".mas": charts whose
// name does not have that form and no 8.3 alias are left out, as are empty files; a
// long name with an alias is listed by its alias.
TEST_F(ChartList, OnlyChartsTheLineCanName)
{
    MakeChart('C', "DOB", "plain.mas", k2004a);
    MakeChart('C', "DOB", "LONGNAME.mas", k2004a);
    MakeChart('C', "DOB", "Messtabelle2.mas", k2004b);
    ASSERT_TRUE(Lin32SetShortName("C:\\vornix\\DOB\\mas\\Messtabelle2.mas", "MESSTA~1.MAS"));
    MakeChart('C', "DOB", "two.dots.mas", k2004a);
    MakeChart('C', "DOB", "Messtabelle.mas", k2004a);  // reads MESSTABE without its alias
    MakeChart('C', "DOB", "LONGNAMEX.mas", k2004b);     // would read as LONGNAME.mas
    MakeChart('C', "DOB", "ab cd.mas", k2004a);
    MakeChart('C', "DOB", "empty.mas", k2004a, "");
    fs::create_directories(Folder('C') / "vornix/DOB/mas/folder.mas");
    BoxScript boxes;
    Run([&](HWND dialog) {
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<std::string>{Line("LONGNAME", k2004a), Line("MESSTA~1", k2004b),
                                            Line("PLAIN", k2004a)}));
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

TEST_F(ChartList, EmptyLists)
{
    struct {
        const char *name;
        void (*prepare)(const fs::path &charts);
    } cases[] = {
        {"empty chart directory", [](const fs::path &) {}},
        {"only empty files",
         [](const fs::path &charts) {
             WriteText(charts / "a.mas", "");
             WriteText(charts / "b.mas", "");
         }},
        {"no chart files", [](const fs::path &charts) { WriteText(charts / "a.txt", "text"); }},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        fs::path charts = Folder('D') / "vornix/DOB/mas";
        fs::remove_all(charts);
        fs::create_directories(charts);
        test.prepare(charts);
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        BoxScript boxes;
        Run([&](HWND dialog) {
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 2);
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), std::vector<std::string>{});
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    }
}

TEST_F(ChartList, AtMost2000Charts)
{
    for (int i = 0; i < 2001; i++) {
        char name[16];
        snprintf(name, sizeof name, "C%04d.mas", i);
        MakeChart('C', "DOB", name, k2004a);
    }
    BoxScript boxes;
    Run([&](HWND dialog) {
        std::vector<std::string> lines = driver::ListLines(dialog, IDC_SOURCE_LIST);
        ASSERT_EQ(lines.size(), 2000u);
        EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end()));
        EXPECT_TRUE(Lin32IsRedrawOn(GetDlgItem(dialog, IDC_SOURCE_LIST)));
    });
}

// ---- diskette drives ---------------------------------------------------------------------

// Inserts a disk (makes the drive's folder exist) when the first box is shown.
struct DiskAtPrompt {
    fs::path staged;
    fs::path drive;
    bool insert;
    std::vector<ShownBox> shown;

    static int Answer(void *context, HWND owner, const char *text, const char *caption,
                      UINT type)
    {
        DiskAtPrompt *self = static_cast<DiskAtPrompt *>(context);
        self->shown.push_back(ShownBox{owner != nullptr, text, caption, type & MB_TYPEMASK,
                                       type & MB_ICONMASK, IDOK});
        if (self->insert && self->shown.size() == 1) {
            fs::rename(self->staged, self->drive);
        }
        return IDOK;
    }
};

TEST_F(ChartList, DisketteDrivePrompts)
{
    const std::string insertDisk =
        Box("VORNIX - Disk", "Please insert disk.", MB_OK, MB_ICONWARNING);
    const std::string removeProtection =
        Box("VORNIX - Disk", "Remove write protection from VORNIX-disk and insert disk again.",
            MB_OK, MB_ICONWARNING);
    const std::string notReady = Box(
        "VORNIX - Disk",
        "The selected drive is not ready or there are errors on the disk or it is write "
        "protected.",
        MB_OK, MB_ICONERROR);
    const std::string chart = Line("DISK", k2004a);
    struct {
        const char *name;
        int comboId;
        int listId;
        bool insert;
        std::vector<std::string> boxes;
        std::vector<std::string> lines;
    } cases[] = {
        {"source, no disk", IDC_SOURCE_DRIVE, IDC_SOURCE_LIST, false,
         {insertDisk, notReady}, {"<nicht bereit>"}},
        {"destination, no disk", IDC_DEST_DRIVE, IDC_DEST_LIST, false,
         {removeProtection, notReady}, {"<nicht bereit>"}},
        {"source, disk inserted at the prompt", IDC_SOURCE_DRIVE, IDC_SOURCE_LIST, true,
         {insertDisk}, {chart}},
        {"destination, disk inserted at the prompt", IDC_DEST_DRIVE, IDC_DEST_LIST, true,
         {removeProtection}, {chart}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        DiskAtPrompt disk;
        disk.staged = root_ / "disk";
        disk.drive = Folder('A');
        disk.insert = test.insert;
        fs::remove_all(disk.drive);
        fs::remove_all(disk.staged);
        WriteText(disk.staged / "vornix/DOB/mas/disk.mas", "chart");
        SetStamp(disk.staged / "vornix/DOB/mas/disk.mas", k2004a);
        Map('A', DRIVE_REMOVABLE, false);
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        Run([&](HWND dialog) {
            Lin32SetMessageBoxHook(DiskAtPrompt::Answer, &disk);
            driver::ChooseComboItem(dialog, test.comboId, 0);
            Lin32SetMessageBoxHook(nullptr, nullptr);
            EXPECT_EQ(driver::ListLines(dialog, test.listId), test.lines);
        });
        std::vector<std::string> shown;
        for (const ShownBox &box : disk.shown) {
            shown.push_back(Describe(box));
        }
        EXPECT_EQ(shown, test.boxes);
    }
}

TEST_F(ChartList, ReadyDisketteWithoutPrompt)
{
    Map('A', DRIVE_REMOVABLE);
    MakeSystem('A', "DOB", "Ladies");
    MakeChart('A', "DOB", "disk.mas", k2004a);
    BoxScript boxes;
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, 0);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  std::vector<std::string>{Line("DISK", k2004a)});
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

TEST_F(ChartList, NotPreparedWhenTheTreeIsDeclined)
{
    fs::remove_all(Folder('D') / "vornix");
    BoxScript boxes({IDNO});
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 2);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
    });
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{CreateBox('D')});
    EXPECT_FALSE(Exists("D:\\VORNIX"));
}

}  // namespace

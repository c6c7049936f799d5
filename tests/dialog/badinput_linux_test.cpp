// Bad input, each with a clear reaction and nothing lost or made: drive lists and
// start-up drives that name no drive, overlong command lines, /K: names that are no
// plain directory name, chart directories with names the lists cannot show, a chart
// directory of 100,000 files, and date entries of 255 characters.
#include "drivecheck.h"
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

using namespace scenario;

namespace {

const Stamp kOld{2003, 2, 1, 8, 0};
const Stamp kNew{2004, 3, 7, 10, 15};

// What the user sees once the dialog is open; opened false when it never opened.
struct Seen {
    bool opened = false;
    std::vector<std::string> drives;
    std::vector<std::string> systems;
    std::vector<std::string> source;
};

class BadInput : public Drives {
protected:
    std::vector<fs::path> DriveFolders() const { return {Folder('C'), Folder('D')}; }

    Seen Open(const std::string &commandLine)
    {
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        Seen seen;
        int exitCode = driver::RunProgram(commandLine.c_str(), [&](HWND dialog) {
            seen.opened = true;
            seen.drives = driver::ComboItems(dialog, IDC_SOURCE_DRIVE);
            seen.systems = driver::ComboItems(dialog, IDC_SYSTEM);
            seen.source = driver::ListNames(dialog, IDC_SOURCE_LIST);
        });
        EXPECT_EQ(exitCode, 0);
        return seen;
    }
};

// Settings and command lines that name no drive or no construction system: the box
// that says so, and nothing on any drive is created, changed or removed, not even
// where a name that was not refused would have led (files planted there).
TEST_F(BadInput, StartInputThatNamesNothingTouchesNothing)
{
    MakeSystem('C', "DOB", "Ladies");
    MakeSystem('D', "DOB", "Ladies", false);  // D: would need its chart directory made
    MakeChart('C', "DOB", "AB.mas", kNew);
    WriteText(Folder('C') / "vornix_s.kon", "Root of the drive\r\n");
    WriteText(Folder('C') / "vornix/vornix_s.kon", "Product directory\r\n");
    WriteText(Folder('C') / "PRIV/vornix_s.kon", "Private\r\n");
    WriteText(Folder('C') / "PRIV/mas/SECRET.mas", "private chart\r\n");
    const std::string longLine = std::string(300, 'x');
    const std::vector<std::string> noSystem{NoSystemBox(), ErrorBox("Error: 1004")};
    struct Case {
        const char *what;
        const char *drives;       // DRIVES= value; nullptr: no such line
        const char *startUpDrive;  // STARTUPDRIVE= value; nullptr: no such line
        std::string commandLine;
        std::vector<std::string> boxes;
        bool opens;
        std::vector<std::string> systems;
    };
    const Case cases[] = {
        {"24 drive letters", "CDEFGHIJKLMNOPQRSTUVWXYZ", "1", "", {IniErrorBox()}, false, {}},
        {"empty drive list", "", "1", "", {IniErrorBox()}, false, {}},
        {"drive list with a colon", "C:", "1", "", {IniErrorBox()}, false, {}},
        {"drive list with a digit", "C1", "1", "", {IniErrorBox()}, false, {}},
        {"drive list with a blank", "C D", "1", "", {IniErrorBox()}, false, {}},
        {"drive list with a backslash", "C\\", "1", "", {IniErrorBox()}, false, {}},
        {"start-up drive 0", "CD", "0", "", {IniErrorBox()}, false, {}},
        {"start-up drive beyond the list", "CD", "3", "", {IniErrorBox()}, false, {}},
        {"start-up drive 2147483647", "CD", "2147483647", "", {IniErrorBox()}, false, {}},
        // Ten digits beyond 32 bits do not read as a number: as if there were none,
        // the last drive is the start-up drive. Its chart directory is missing, and
        // without a Yes it is not made.
        {"start-up drive of eleven digits", "CD", "99999999999", "",
         {CreateBox('D'), CreateBox('D')}, true, {Display("Ladies")}},
        {"/K: beyond the 256 characters", "CD", "1", longLine + " /K:..\\PRIV", {}, true,
         {Display("Ladies")}},
        {"/K: with nothing after it", "CD", "1", "/K:", noSystem, true, {}},
        {"/K:..", "CD", "1", "/K:..", noSystem, true, {}},
        {"/K:.", "CD", "1", "/K:.", noSystem, true, {}},
        {"/K:..\\PRIV", "CD", "1", "/K:..\\PRIV", noSystem, true, {}},
        {"/K:../PRIV", "CD", "1", "/K:../PRIV", noSystem, true, {}},
        {"/K:C:\\PRIV", "CD", "1", "/K:C:\\PRIV", noSystem, true, {}},
        {"/K:\\DOB", "CD", "1", "/K:\\DOB", noSystem, true, {}},
        {"/K:DO?", "CD", "1", "/K:DO?", noSystem, true, {}},
        {"/K:D*", "CD", "1", "/K:D*", noSystem, true, {}},
        {"/K:DOB: refused, not stripped", "CD", "1", "/K:DOB:", noSystem, true, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::string ini = "[PATH]\r\n";
        if (c.drives != nullptr) {
            ini += std::string("DRIVES=") + c.drives + "\r\n";
        }
        if (c.startUpDrive != nullptr) {
            ini += std::string("STARTUPDRIVE=") + c.startUpDrive + "\r\n";
        }
        WriteIni(ini);
        drivecheck::Snapshot before = drivecheck::Take(DriveFolders());
        // A box beyond the script would get No: nothing is made without a Yes.
        BoxScript boxes;
        Seen seen = Open(c.commandLine);
        EXPECT_EQ(Describe(boxes), c.boxes);
        EXPECT_EQ(seen.opened, c.opens);
        EXPECT_EQ(seen.systems, c.systems);
        EXPECT_EQ(drivecheck::Changes(before, drivecheck::Take(DriveFolders())),
                  std::vector<std::string>{});
    }
}

// Entries of a chart directory that no list line can name (blanks, long names without
// an 8.3 alias, names the code page cannot hold, folders named like charts, empty
// files) are not listed and survive Copy, Move and Delete of everything listed; a long
// name with an alias is listed by its alias and copied and moved under its long name.
TEST_F(BadInput, ChartDirectoryWithNamesNoLineCanHold)
{
    const std::string longName = std::string(200, 'L') + ".mas";
    struct Odd {
        std::string name;
        bool folder;
    };
    const std::vector<Odd> odd = {
        {"ab cd.mas", false},      {" LEAD.mas", false},  {longName, false},
        {"\xCE\xA9MEGA.mas", false}, {"\xD0\x96UK.mas", false},  // Greek, Cyrillic
        {"FOLDER.mas", true},      {"EMPTY.mas", false},
    };
    struct Case {
        int command;
        const char *verb;
    };
    const Case cases[] = {{IDC_COPY, "copied"}, {IDC_MOVE, "moved"}, {IDC_DELETE, "deleted"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.verb);
        fs::remove_all(Folder('C') / "vornix");
        fs::remove_all(Folder('D') / "vornix");
        // The layer keeps an alias with the file's inode; files removed behind its back
        // leave their inodes free for the next case's files.
        Lin32ClearShortNames();
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        fs::path charts = Folder('C') / "vornix/DOB/mas";
        for (const Odd &entry : odd) {
            if (entry.folder) {
                WriteText(charts / entry.name / "INSIDE.mas", "inside a folder\r\n");
            } else {
                WriteText(charts / entry.name,
                          entry.name == "EMPTY.mas" ? std::string() : "odd " + entry.name);
            }
        }
        MakeChart('C', "DOB", "PLAIN.mas", kNew, "plain chart\r\n");
        MakeChart('C', "DOB", "Messtabelle2.mas", kOld, "long-named chart\r\n");
        ASSERT_TRUE(Lin32SetShortName("C:\\vornix\\DOB\\mas\\Messtabelle2.mas", "MESSTA~1.MAS"));
        drivecheck::Snapshot before = drivecheck::Take(DriveFolders());

        BoxScript boxes({IDYES});
        Seen seen;
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        driver::RunProgram("", [&](HWND dialog) {
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
            seen.source = driver::ListNames(dialog, IDC_SOURCE_LIST);
            driver::ClickButton(dialog, IDC_ALL);
            driver::ClickButton(dialog, c.command);
        });
        EXPECT_EQ(seen.source, (std::vector<std::string>{"MESSTA~1", "PLAIN"}));
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{Question(c.verb, 2)});
        drivecheck::Snapshot after = drivecheck::Take(DriveFolders());
        if (c.command != IDC_DELETE) {
            EXPECT_EQ(drivecheck::Lost(before, after), std::vector<std::string>{});
            EXPECT_EQ(drivecheck::ReadFile(Folder('D') / "vornix/DOB/mas/Messtabelle2.mas"),
                      "long-named chart\r\n");
            EXPECT_EQ(drivecheck::ReadFile(Folder('D') / "vornix/DOB/mas/PLAIN.mas"),
                      "plain chart\r\n");
        }
        // Whatever the command did to the two listed charts, the rest is as it was.
        std::vector<std::string> changes = drivecheck::Changes(before, after);
        std::vector<std::string> expected;
        if (c.command != IDC_COPY) {
            expected.push_back("folder 0: vornix/DOB/mas/Messtabelle2.mas removed");
            expected.push_back("folder 0: vornix/DOB/mas/PLAIN.mas removed");
        }
        if (c.command != IDC_DELETE) {
            expected.push_back("folder 1: vornix/DOB/mas/Messtabelle2.mas added");
            expected.push_back("folder 1: vornix/DOB/mas/PLAIN.mas added");
        }
        std::sort(changes.begin(), changes.end());
        EXPECT_EQ(changes, expected);
    }
}

// 100,000 charts on D:: the list shows 2000 of them; Move to C: takes exactly those,
// and every chart is afterwards on one of the two drives, byte for byte.
TEST_F(BadInput, HundredThousandCharts)
{
    drivecheck::MemoryFolder memory(Folder('D'));
    WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
    MakeSystem('C', "DOB", "Ladies");
    MakeSystem('D', "DOB", "Ladies");
    const int kCount = 100000;
    std::string charts = (Folder('D') / "vornix/DOB/mas/").string();
    for (int i = 0; i < kCount; ++i) {
        char name[16];
        snprintf(name, sizeof name, "M%06d", i);
        std::string content = std::string("chart ") + name;
        int fd = open((charts + name + ".mas").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, content.data(), content.size()), (ssize_t)content.size());
        close(fd);
    }
    drivecheck::Snapshot before = drivecheck::Take(DriveFolders());
    BoxScript boxes({IDYES});
    std::vector<std::string> listed;
    std::vector<std::string> arrived;
    EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
    driver::RunProgram("", [&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, 1);
        listed = driver::ListNames(dialog, IDC_SOURCE_LIST);
        driver::ClickButton(dialog, IDC_ALL);
        driver::ClickButton(dialog, IDC_MOVE);
        arrived = driver::ListNames(dialog, IDC_DEST_LIST);
    });
    ASSERT_EQ(listed.size(), 2000u);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{Question("moved", 2000)});
    EXPECT_EQ(arrived, listed) << "the destination list shows the charts moved";

    std::vector<std::string> onC;
    for (const auto &entry : fs::directory_iterator(Folder('C') / "vornix/DOB/mas")) {
        onC.push_back(entry.path().stem().string());
    }
    std::sort(onC.begin(), onC.end());
    EXPECT_EQ(onC, listed);
    drivecheck::Snapshot after = drivecheck::Take(DriveFolders());
    EXPECT_EQ(drivecheck::Lost(before, after), std::vector<std::string>{});
    EXPECT_EQ(after.entries[1].size(), before.entries[1].size() - 2000);
}

// 255 characters typed into a date edit: the date read from what it holds (at most the
// first 79 characters count) is shown in the edit and applied; nothing else happens.
TEST_F(BadInput, DateEntriesOf255Characters)
{
    Lin32SetToday(2004, 3, 7);
    WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
    MakeSystem('C', "DOB", "Ladies");
    MakeSystem('D', "DOB", "Ladies");
    MakeChart('C', "DOB", "OLD.mas", kOld);
    MakeChart('C', "DOB", "NEW.mas", kNew);
    struct Case {
        const char *what;
        std::string typed;
        const char *shown;
        std::vector<std::string> at;  // the source list with the "at" filter
    };
    const Case cases[] = {
        {"a date, then letters", "1.2.2003" + std::string(247, 'x'), "01.02.2003", {"OLD"}},
        {"digits only", std::string(255, '9'), "31.03.2004", {}},
        {"separators only", std::string(255, '.'), "07.03.2004", {"NEW"}},
        {"a year of 250 digits", "7.3." + std::string(251, '7'), "07.03.9999", {}},
        {"the date after the 79th character", std::string(200, 'x') + "1.2.2003" +
                                                  std::string(47, 'x'),
         "07.03.2004", {"NEW"}},
    };
    const int filters[][2] = {{IDC_UNTIL_CHECK, IDC_UNTIL_EDIT},
                              {IDC_AT_CHECK, IDC_AT_EDIT},
                              {IDC_SINCE_CHECK, IDC_SINCE_EDIT}};
    drivecheck::Snapshot before = drivecheck::Take(DriveFolders());
    BoxScript boxes;
    EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
    driver::RunProgram("", [&](HWND dialog) {
        for (const auto &filter : filters) {
            for (const Case &c : cases) {
                SCOPED_TRACE(std::string(c.what) + " in edit " + std::to_string(filter[1]));
                ASSERT_EQ(c.typed.size(), 255u);
                driver::ClickButton(dialog, filter[0]);
                driver::TypeText(dialog, filter[1], c.typed.c_str());
                ASSERT_EQ(driver::ItemText(dialog, filter[1]), c.typed);
                driver::PressEnter(dialog);
                EXPECT_EQ(driver::ItemText(dialog, filter[1]), c.shown);
                if (filter[1] == IDC_AT_EDIT) {
                    EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), c.at);
                }
                driver::ClickButton(dialog, filter[0]);
                EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), (std::vector<std::string>{"NEW", "OLD"}));
            }
        }
    });
    Lin32ClearToday();
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    EXPECT_EQ(drivecheck::Changes(before, drivecheck::Take(DriveFolders())),
              std::vector<std::string>{});
}

}  // namespace

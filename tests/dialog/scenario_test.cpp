// Scenarios of the main dialog that run on both sides: natively on the Linux layer's
// dialog model and, built for Windows, under Wine on the real controls, so that the
// layer and the platform meet the same expectations. The drives C: and D: are laid out
// through Win32 calls only: on Linux they are temporary folders of the layer's drive
// map, under Wine the prefix's C: and its D: (the prefix set-up maps D: to a folder of
// its own); there the test clears \vornix on both before and after.
#include "app/dialog.h"
#include "app/language.h"
#include "resources/resource.h"
#include "support/boxes.h"
#include "support/box_while_open.h"
#include "support/dialog_driver.h"
#include "support/filetimes.h"
#include "support/wintree.h"

#include <gtest/gtest.h>

#include <ctype.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include "lin32/lin32_files.h"
#include "lin32/lin32_hooks.h"

#include <stdlib.h>

#include <filesystem>
#endif

namespace {

const char kCopyQuestion3[] = "   3 selected files really to be copied?";
const char kDeleteQuestion1[] = "   1 selected files really to be deleted?";
const char kSameDrive[] =
    "Source and destination drive are the same. The command cannot be executed.";
const char kDeleteFailed[] =
    "This file cannot be deleted. It is write protected or drive is not ready.";
const char kAttention[] = "VORNIX - Attention";
const char kFiles[] = "VORNIX - Files ...";

// The charts of construction system DOB; the times are UTC at about noon, so that every
// time zone shows them on the same day.
struct Chart {
    char drive;
    const char *file;
    UtcTime time;
    const char *content;
};

const Chart kCharts[] = {
    {'C', "AB.mas", {2004, 3, 7, 12, 15, 0}, "AB on C\r\n"},
    {'C', "AB1.mas", {2003, 6, 15, 12, 0, 0}, "AB1 on C\r\n"},
    {'C', "Abc.mas", {2004, 1, 10, 12, 0, 0}, "ABC on C\r\n"},
    {'C', "B2.mas", {2004, 11, 20, 12, 30, 0}, "B2 on C\r\n"},
    {'C', "OLD99.mas", {1999, 5, 2, 12, 0, 0}, "OLD99 on C\r\n"},
    {'C', "EMPTY.mas", {2004, 1, 1, 12, 0, 0}, ""},  // zero bytes: never listed
    {'C', "NOTES.txt", {2004, 1, 1, 12, 0, 0}, "not a chart\r\n"},
    // On D: ABC as on C, B2 a day older, AB newer, ZZ only here; AB1 and OLD99 missing.
    {'D', "ABC.mas", {2004, 1, 10, 12, 0, 0}, "ABC on D\r\n"},
    {'D', "B2.mas", {2004, 11, 19, 12, 30, 0}, "B2 on D\r\n"},
    {'D', "AB.mas", {2005, 1, 1, 12, 0, 0}, "AB on D\r\n"},
    {'D', "ZZ.mas", {2004, 2, 2, 12, 0, 0}, "ZZ on D\r\n"},
};

// The charts of C: in the two sort orders; the sort by date knows the century, so the
// chart of 1999 comes first.
const std::vector<std::string> kSourceByName = {"AB", "AB1", "Abc", "B2", "OLD99"};
const std::vector<std::string> kSourceByDate = {"OLD99", "AB1", "Abc", "AB", "B2"};
const std::vector<std::string> kDestByName = {"AB", "ABC", "B2", "ZZ"};
const std::vector<std::string> kDestByDate = {"ABC", "ZZ", "B2", "AB"};

std::string ChartDir(char drive, const char *system = "DOB")
{
    return std::string(1, drive) + ":\\vornix\\" + system + "\\mas";
}

std::string ChartPath(char drive, const std::string &name, const char *system = "DOB")
{
    return ChartDir(drive, system) + "\\" + name + ".mas";
}

// A construction system's display name as its combo shows it: 32 columns.
std::string Display(const std::string &name)
{
    std::string text = name.substr(0, 29);
    text.resize(32, ' ');
    return text;
}

// ---- files, through Win32 only ------------------------------------------------------

bool MakeDirs(const std::string &path)
{
    for (size_t at = path.find('\\', 3); ; at = path.find('\\', at + 1)) {
        std::string part = path.substr(0, at);
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "CreateDirectoryA " << part << ": error " << GetLastError();
            return false;
        }
        if (at == std::string::npos) {
            return true;
        }
    }
}

// Writes the file whole; with a time, that is its time of last change.
bool WriteWhole(const std::string &path, const std::string &bytes,
                const FILETIME *lastWrite = nullptr)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "CreateFileA " << path << ": error " << GetLastError();
        return false;
    }
    DWORD written = 0;
    bool done = bytes.empty() ||
                (WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr) &&
                 written == bytes.size());
    if (done && lastWrite != nullptr) {
        done = SetFileTime(file, nullptr, nullptr, lastWrite) != FALSE;
    }
    if (!done) {
        ADD_FAILURE() << "writing " << path << ": error " << GetLastError();
    }
    CloseHandle(file);
    return done;
}

std::string ReadWhole(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "<missing>";
    }
    std::string bytes;
    char buffer[512];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

bool Exists(const std::string &path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string Upper(std::string text)
{
    for (char &c : text) {
        c = (char)toupper((unsigned char)c);
    }
    return text;
}

// The line that a list shows for a chart file, from the time of last change that the
// platform reports for it, in local time as the platform converts it.
std::string ExpectedLine(char drive, const std::string &name, const char *system = "DOB")
{
    std::string path = ChartPath(drive, name, system);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no chart " << path;
        return "<no chart " + path + ">";
    }
    FindClose(search);
    FILETIME local;
    SYSTEMTIME t;
    if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) ||
        !FileTimeToSystemTime(&local, &t)) {
        ADD_FAILURE() << "no local time for " << path;
        return "<no time>";
    }
    char line[64];
    snprintf(line, sizeof line, "%-8s\t%02u.%02u.%02u  %02u:%02u", Upper(name).c_str(),
             (unsigned)t.wDay, (unsigned)t.wMonth, (unsigned)(t.wYear % 100),
             (unsigned)t.wHour, (unsigned)t.wMinute);
    return line;
}

std::vector<std::string> ExpectedLines(char drive, const std::vector<std::string> &names)
{
    std::vector<std::string> lines;
    for (const std::string &name : names) {
        lines.push_back(ExpectedLine(drive, name));
    }
    return lines;
}

#ifdef _WIN32
bool UnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}
#endif

// ---- the fixture ------------------------------------------------------------------

class Scenario : public ::testing::Test {
protected:
    void SetUp() override
    {
#ifdef _WIN32
        // The chart directory is fixed under \vornix: never touch a real installation.
        ASSERT_TRUE(UnderWine() || !Exists("C:\\vornix"))
            << "C:\\vornix exists and this is not Wine; the test would clear it";
        ASSERT_EQ(GetDriveTypeA("D:\\"), (UINT)DRIVE_FIXED)
            << "the Wine prefix must map D: to a folder (cmake/wine-prefix.sh does)";
        ClearTree("C:\\vornix", true);
        ClearTree("D:\\vornix", true);
        ASSERT_FALSE(Exists("C:\\vornix"));
        ASSERT_FALSE(Exists("D:\\vornix"));
#else
        char folder[] = "/tmp/chartxfer-scenario-XXXXXX";
        ASSERT_NE(mkdtemp(folder), nullptr);
        root_ = folder;
        Lin32SetDosDevices((root_ / "dosdevices").c_str());
        for (char drive : {'c', 'd'}) {
            std::filesystem::path drivePath = root_ / (std::string("drive_") + drive);
            std::filesystem::create_directories(drivePath);
            ASSERT_TRUE(Lin32MapDrive(drive, drivePath.c_str(), DRIVE_FIXED));
        }
#endif
        // The texts are checked where the user's language gives the English dialog.
        WORD language = 0;
        DialogLanguageFor(GetUserDefaultUILanguage(), &language);
        english_ = language == DIALOG_ENGLISH_UK;
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        ASSERT_TRUE(MakeDirs("C:\\vornix"));
        // Both drive combos start on C:.
        ASSERT_TRUE(
            WriteWhole("C:\\vornix\\vornix.ini", "[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n"));
        ASSERT_TRUE(MakeSystem('C', "DOB", "Dresses"));
        ASSERT_TRUE(MakeSystem('C', "KOS", "Knitwear"));
        ASSERT_TRUE(MakeSystem('C', "HILFEN", "Help texts"));  // never a system
        ASSERT_TRUE(MakeDirs("C:\\vornix\\NOSYS\\mas"));        // no system file
        ASSERT_TRUE(MakeSystem('D', "DOB", "Dresses"));
        ASSERT_TRUE(MakeSystem('D', "ALT", "Alterations"));    // not on the start-up drive
        for (const Chart &chart : kCharts) {
            FILETIME time = FileTimeOf(chart.time);
            ASSERT_TRUE(
                WriteWhole(ChartDir(chart.drive) + "\\" + chart.file, chart.content, &time));
        }
        FILETIME knit = FileTimeOf({2004, 4, 4, 12, 0, 0});
        ASSERT_TRUE(WriteWhole(ChartPath('C', "KNIT1", "KOS"), "knit\r\n", &knit));
    }

    void TearDown() override
    {
        // A list build leaves its chart directory current.
        SetCurrentDirectoryA("C:\\");
#ifdef _WIN32
        ClearTree("C:\\vornix", true);
        ClearTree("D:\\vornix", true);
#else
        Lin32ResetDrives();
        Lin32SetDosDevices(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
#endif
    }

    static bool MakeSystem(char drive, const char *dir, const std::string &display)
    {
        std::string root = std::string(1, drive) + ":\\vornix\\" + dir;
        return MakeDirs(root + "\\mas") &&
               WriteWhole(root + "\\vornix_s.kon", display + "\r\nsecond line\r\n");
    }

    // Runs the program; user acts in its dialog.
    void Run(const std::function<void(HWND)> &user)
    {
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool acted = false;
        int exitCode = driver::RunProgram("", [&](HWND dialog) {
            acted = true;
            user(dialog);
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(acted);
    }

    // One line per box: "caption | text | buttons/icon/owner". Where the dialog is not
    // English the texts are left out; the Windows hook does not see the icon.
    std::string Describe(const std::string &caption, const std::string &text, UINT buttons,
                         UINT icon, bool owned = true) const
    {
#ifdef _WIN32
        icon = 0;
#endif
        char flags[64];
        snprintf(flags, sizeof flags, "%u/%#x/%s", buttons, icon, owned ? "owned" : "ownerless");
        return english_ ? caption + " | " + text + " | " + flags : std::string(flags);
    }

    std::vector<std::string> Shown() const
    {
        std::vector<std::string> lines;
        for (const ShownBox &box : boxes_.Shown()) {
            lines.push_back(Describe(box.caption, box.text, box.buttons, box.icon, box.owned));
        }
        return lines;
    }

    static int LineOf(HWND dialog, int listId, const std::string &name)
    {
        std::vector<std::string> names = driver::ListNames(dialog, listId);
        for (size_t i = 0; i < names.size(); ++i) {
            if (names[i] == name) {
                return (int)i;
            }
        }
        ADD_FAILURE() << "list " << listId << " has no chart " << name;
        return -1;
    }

    static void ExpectTransferButtons(HWND dialog, bool enabled)
    {
        for (int id : {IDC_COPY, IDC_MOVE, IDC_DELETE}) {
            EXPECT_EQ(driver::IsEnabled(dialog, id), enabled) << "button " << id;
        }
    }

    BoxScript boxes_;
    bool english_ = false;
#ifndef _WIN32
    std::filesystem::path root_;
#endif
};

// ---- start-up --------------------------------------------------------------------

const UINT kQuietDriveErrors = SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX;

// The process's error mode, read through SetErrorMode, which returns the mode it
// replaces, and left as it was.
UINT CurrentErrorMode()
{
    UINT mode = SetErrorMode(0);
    SetErrorMode(mode);
    return mode;
}

// A drive without its disk fails the call quietly once the start-up routine has run,
// whatever mode the process started with.
TEST(CriticalErrorMode, TheStartUpRoutineSetsIt)
{
    UINT before = CurrentErrorMode();
    for (UINT start : {0u, (UINT)SEM_FAILCRITICALERRORS, (UINT)SEM_NOOPENFILEERRORBOX}) {
        SCOPED_TRACE(start);
        SetErrorMode(start);
        ASSERT_EQ(CurrentErrorMode(), start);
        SetCriticalErrorMode();
        EXPECT_EQ(CurrentErrorMode() & kQuietDriveErrors, kQuietDriveErrors);
    }
    SetErrorMode(before);
}

// Start-up sets it: it is in effect in the dialog, whose initialisation has read the
// INI file and listed the drives.
TEST_F(Scenario, StartUpSetsTheCriticalErrorMode)
{
    UINT before = CurrentErrorMode();
    SetErrorMode(0);
    UINT seen = 0;
    Run([&](HWND) { seen = CurrentErrorMode(); });
    EXPECT_EQ(seen & kQuietDriveErrors, kQuietDriveErrors);
    SetErrorMode(before);
}

TEST_F(Scenario, StartsWithTheDrivesOfTheIniAndTheSystemsOfTheStartUpDrive)
{
    Run([&](HWND dialog) {
        // The dialog is English exactly when the texts below are expected in English.
        EXPECT_EQ(driver::ItemText(dialog, IDCANCEL) == "Close", english_);
        const std::vector<std::string> drives = {" [ C: ] ", " [ D: ] "};
        for (int combo : {IDC_SOURCE_DRIVE, IDC_DEST_DRIVE}) {
            SCOPED_TRACE("combo " + std::to_string(combo));
            EXPECT_EQ(driver::ComboItems(dialog, combo), drives);
            EXPECT_EQ(driver::ComboSelection(dialog, combo), 0);
        }
        // From C: only, sorted by display name; HILFEN and a directory without a system
        // file are not offered, nor the system that only D: has.
        EXPECT_EQ(driver::ComboItems(dialog, IDC_SYSTEM),
                  (std::vector<std::string>{Display("Dresses"), Display("Knitwear")}));
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_SYSTEM), 0);
        EXPECT_TRUE(driver::IsEnabled(dialog, IDC_SYSTEM));

        // Byte for byte, by name; the empty chart and the text file are not listed.
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_NAME));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_DATE));
        for (int check : {IDC_UNTIL_CHECK, IDC_AT_CHECK, IDC_SINCE_CHECK, IDC_NAME_CHECK}) {
            EXPECT_FALSE(driver::IsChecked(dialog, check)) << "check box " << check;
        }
        for (int edit : {IDC_UNTIL_EDIT, IDC_AT_EDIT, IDC_SINCE_EDIT, IDC_NAME_EDIT}) {
            EXPECT_TRUE(driver::IsReadOnly(dialog, edit)) << "edit " << edit;
            EXPECT_EQ(driver::ItemText(dialog, edit), "") << "edit " << edit;
        }
        ExpectTransferButtons(dialog, false);

        // The destination drive: only its list changes.
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEST_DRIVE), 1);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', kDestByName));
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));

        // The other construction system: its charts on C:; D: lacks its directory and
        // the offer to create it is declined.
        boxes_.Answer({IDNO});
        driver::ChooseComboItem(dialog, IDC_SYSTEM, 1);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<std::string>{ExpectedLine('C', "KNIT1", "KOS")}));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  (std::vector<std::string>{"<nicht vorbereitet>"}));
    });
    EXPECT_EQ(Shown(), (std::vector<std::string>{Describe(
                           "VORNIX - Create VORNIX Directory",
                           "VORNIX-directory for active construction system on drive D: does "
                           "not exist. Create now?",
                           MB_YESNO, MB_ICONQUESTION)}));
    EXPECT_EQ(boxes_.Unexpected(), 0);
    EXPECT_FALSE(Exists("D:\\vornix\\KOS"));
}

// The option /K: offers one construction system, in either case, and locks the combo;
// a system that does not exist leaves it empty, and every refresh then says so in the
// ownerless error box.
TEST_F(Scenario, CommandLineNamesTheOnlySystem)
{
    struct Case {
        const char *commandLine;
        std::vector<std::string> systems;
        std::vector<std::string> source;
        std::vector<std::string> boxes;
    };
    const Case cases[] = {
        {"/k:kos", {Display("Knitwear")}, {"KNIT1   "}, {}},
        {"/K:NOSUCH",
         {},
         {},
         {Describe(kAttention, "Construction systems not found !", MB_OK, 0),
          Describe("VORNIX System Info-Box", "Error: 1004", MB_OK, 0, false)}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.commandLine);
        boxes_.Clear();
        boxes_.Answer(std::vector<int>(c.boxes.size(), IDOK));
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool acted = false;
        int exitCode = driver::RunProgram(c.commandLine, [&](HWND dialog) {
            acted = true;
            EXPECT_EQ(driver::ComboItems(dialog, IDC_SYSTEM), c.systems);
            EXPECT_FALSE(driver::IsEnabled(dialog, IDC_SYSTEM));
            std::vector<std::string> names;
            for (const std::string &line : driver::ListLines(dialog, IDC_SOURCE_LIST)) {
                names.push_back(line.substr(0, 8));
            }
            EXPECT_EQ(names, c.source);
        });
        EXPECT_EQ(exitCode, 0);
        EXPECT_TRUE(acted);
        EXPECT_EQ(Shown(), c.boxes);
    }
    EXPECT_EQ(boxes_.Unexpected(), 0);
}

// Drive entries that cannot be used end the dialog during its initialisation: the
// user never gets to it.
TEST_F(Scenario, AnUnusableIniEndsTheDialogBeforeTheUserActs)
{
    ASSERT_TRUE(
        WriteWhole("C:\\vornix\\vornix.ini", "[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=-1\r\n"));
    boxes_.Answer({IDOK});
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
    bool acted = false;
    EXPECT_EQ(driver::RunProgram("", [&](HWND) { acted = true; }), 0);
    EXPECT_FALSE(acted);
    EXPECT_EQ(Shown(), (std::vector<std::string>{Describe(
                           kAttention, "Error while reading VORNIX.INI !", MB_OK, MB_ICONERROR)}));
    EXPECT_EQ(boxes_.Unexpected(), 0);
}

// ---- selection ----------------------------------------------------------------------

TEST_F(Scenario, ClicksAndAllSetTheSelectionAndTheTransferButtons)
{
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        driver::ClickButton(dialog, IDC_ALL);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<int>{0, 1, 2, 3, 4}));
        ExpectTransferButtons(dialog, true);

        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 2);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), (std::vector<int>{0, 1, 3, 4}));
        driver::ClickLine(dialog, IDC_SOURCE_LIST, 3);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), (std::vector<int>{3}));
        ExpectTransferButtons(dialog, true);
        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 3);
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
        ExpectTransferButtons(dialog, false);

        // The destination list keeps no selection.
        driver::ClickLine(dialog, IDC_DEST_LIST, 1);
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_DEST_LIST).empty());

        // A change of the destination drive disables the buttons, though source lines
        // stay selected.
        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 0);
        ExpectTransferButtons(dialog, true);
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 0);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), (std::vector<int>{0}));
        ExpectTransferButtons(dialog, false);
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

// ---- sorting and filters ------------------------------------------------------------

TEST_F(Scenario, SortsByDateAndBackByName)
{
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        driver::ClickButton(dialog, IDC_SORT_DATE);
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_DATE));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_NAME));
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByDate));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', kDestByDate));

        driver::ClickButton(dialog, IDC_SORT_NAME);
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_NAME));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_DATE));
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', kDestByName));

        // The radio button already checked refreshes all the same.
        FILETIME time = FileTimeOf({2006, 6, 6, 12, 0, 0});
        ASSERT_TRUE(WriteWhole(ChartPath('C', "ZNEW"), "new\r\n", &time));
        driver::ClickButton(dialog, IDC_SORT_NAME);
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_NAME));
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  ExpectedLines('C', {"AB", "AB1", "Abc", "B2", "OLD99", "ZNEW"}));
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Scenario, FilterCheckBoxesMakeTheirEditsWritableAndRefresh)
{
    struct Filter {
        int check, edit;
    };
    const Filter filters[] = {{IDC_UNTIL_CHECK, IDC_UNTIL_EDIT},
                              {IDC_AT_CHECK, IDC_AT_EDIT},
                              {IDC_SINCE_CHECK, IDC_SINCE_EDIT},
                              {IDC_NAME_CHECK, IDC_NAME_EDIT}};
    Run([&](HWND dialog) {
        int added = 0;
        std::vector<std::string> addedNames;
        for (const Filter &filter : filters) {
            SCOPED_TRACE("check box " + std::to_string(filter.check));
            // A read-only edit takes nothing from the keyboard.
            driver::TypeText(dialog, filter.edit, "1");
            EXPECT_EQ(driver::ItemText(dialog, filter.edit), "");

            // Each switch refreshes: a chart that appeared meanwhile is listed.
            for (bool checked : {true, false}) {
                std::string name = "NEW" + std::to_string(++added);
                FILETIME time = FileTimeOf({2005, 5, 5, 12, added, 0});
                ASSERT_TRUE(WriteWhole(ChartPath('C', name), "new\r\n", &time));
                addedNames.push_back(name);
                driver::ClickButton(dialog, filter.check);
                EXPECT_EQ(driver::IsChecked(dialog, filter.check), checked);
                EXPECT_EQ(driver::IsReadOnly(dialog, filter.edit), !checked);
                // An empty edit filters nothing; by name the new charts come before OLD99.
                std::vector<std::string> names = {"AB", "AB1", "Abc", "B2"};
                names.insert(names.end(), addedNames.begin(), addedNames.end());
                names.push_back("OLD99");
                EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', names));
            }
        }
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

// A date filter shows the date it uses in its edit and keeps the lines it lets pass.
TEST_F(Scenario, DateFiltersKeepTheirDays)
{
    struct Case {
        int check, edit;
        const char *typed, *shown;
        std::vector<std::string> source, dest;
    };
    const Case cases[] = {
        {IDC_SINCE_CHECK, IDC_SINCE_EDIT, "1.1.04", "01.01.2004", {"AB", "Abc", "B2"},
         kDestByName},
        {IDC_AT_CHECK, IDC_AT_EDIT, "15.6.3", "15.06.2003", {"AB1"}, {}},
        {IDC_UNTIL_CHECK, IDC_UNTIL_EDIT, "10.1.2004", "10.01.2004", {"AB1", "Abc", "OLD99"},
         {"ABC"}},
    };
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.typed);
            driver::ClickButton(dialog, c.check);
            driver::TypeText(dialog, c.edit, c.typed);
            driver::PressEnter(dialog);
            EXPECT_EQ(driver::ItemText(dialog, c.edit), c.shown);
            EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', c.source));
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', c.dest));
            // Switched off, the filter keeps its date and lets everything pass again.
            driver::ClickButton(dialog, c.check);
            EXPECT_EQ(driver::ItemText(dialog, c.edit), c.shown);
            EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                      ExpectedLines('C', kSourceByName));
        }
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Scenario, NameFilterWithWildcards)
{
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        driver::ClickButton(dialog, IDC_NAME_CHECK);
        ASSERT_FALSE(driver::IsReadOnly(dialog, IDC_NAME_EDIT));

        struct Case {
            const char *typed;
            const char *shown;  // the edit takes 8 characters
            std::vector<std::string> source, dest;
        };
        const Case cases[] = {
            {"ab*", "ab*", {"AB", "AB1", "Abc"}, {"AB", "ABC"}},
            {"?2", "?2", {"B2"}, {"B2"}},
            {"Abc", "Abc", {"Abc"}, {"ABC"}},
            {"ZZ", "ZZ", {}, {"ZZ"}},
            {"OLD99.MASXYZ", "OLD99.MA", {}, {}},
        };
        for (const Case &c : cases) {
            SCOPED_TRACE(c.typed);
            driver::TypeText(dialog, IDC_NAME_EDIT, c.typed);
            EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), c.shown);
            driver::PressEnter(dialog);
            EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', c.source));
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', c.dest));
        }

        // Switched off, the filter keeps its text and lists every chart again.
        driver::TypeText(dialog, IDC_NAME_EDIT, "B*");
        driver::ClickButton(dialog, IDC_NAME_CHECK);
        EXPECT_TRUE(driver::IsReadOnly(dialog, IDC_NAME_EDIT));
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "B*");
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), ExpectedLines('D', kDestByName));
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

TEST_F(Scenario, EnterRefreshesBothLists)
{
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        FILETIME time = FileTimeOf({2006, 6, 6, 12, 0, 0});
        ASSERT_TRUE(WriteWhole(ChartPath('C', "ENTER"), "new\r\n", &time));
        ASSERT_TRUE(DeleteFileA(ChartPath('D', "ZZ").c_str()));
        // Nothing changes by itself.
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), kDestByName);

        driver::PressEnter(dialog);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  ExpectedLines('C', {"AB", "AB1", "Abc", "B2", "ENTER", "OLD99"}));
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  ExpectedLines('D', {"AB", "ABC", "B2"}));

        // Escape ends the dialog: it takes no more input.
        driver::PressEscape(dialog);
        driver::ClickButton(dialog, IDC_SORT_DATE);
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_DATE));
    });
    EXPECT_TRUE(boxes_.Shown().empty());
}

// ---- compare and transfers ----------------------------------------------------------

TEST_F(Scenario, CompareSelectsWhatTheDestinationLacksOrHasOlderAndCopyBringsIt)
{
    Run([&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        driver::ClickButton(dialog, IDC_COMPARE);
        // AB1 and OLD99 are missing on D:, B2 is older there; ABC is the same and AB
        // newer.
        const std::vector<int> compared = {1, 3, 4};
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), compared);
        ExpectTransferButtons(dialog, true);

        // No: nothing is copied, nothing rebuilt, the buttons stay.
        boxes_.Answer({IDNO});
        driver::ClickButton(dialog, IDC_COPY);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), compared);
        ExpectTransferButtons(dialog, true);
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), kDestByName);
        EXPECT_EQ(ReadWhole(ChartPath('D', "B2")), "B2 on D\r\n");

        boxes_.Answer({IDYES});
        driver::ClickButton(dialog, IDC_COPY);
        // The copies keep their time of last change: the lines on D: are those of C:.
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  (std::vector<std::string>{ExpectedLine('D', "AB"), ExpectedLine('C', "AB1"),
                                            ExpectedLine('D', "ABC"), ExpectedLine('C', "B2"),
                                            ExpectedLine('C', "OLD99"), ExpectedLine('D', "ZZ")}));
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
        ExpectTransferButtons(dialog, false);

        // Compared again, nothing is left to copy.
        driver::ClickButton(dialog, IDC_COMPARE);
        EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
        ExpectTransferButtons(dialog, false);
    });
    const std::string question = Describe(kFiles, kCopyQuestion3, MB_YESNO, MB_ICONQUESTION);
    EXPECT_EQ(Shown(), (std::vector<std::string>{question, question}));
    EXPECT_EQ(boxes_.Unexpected(), 0);
    for (const char *name : {"AB1", "B2", "OLD99"}) {
        EXPECT_EQ(ReadWhole(ChartPath('D', name)), ReadWhole(ChartPath('C', name))) << name;
    }
    EXPECT_EQ(ReadWhole(ChartPath('D', "AB")), "AB on D\r\n");
    EXPECT_EQ(ReadWhole(ChartPath('D', "ABC")), "ABC on D\r\n");
    EXPECT_TRUE(Exists(ChartPath('C', "B2")));
}

TEST_F(Scenario, CopyAndMoveRefuseTheSameDrive)
{
    for (int command : {IDC_COPY, IDC_MOVE}) {
        SCOPED_TRACE("command " + std::to_string(command));
        boxes_.Clear();
        boxes_.Answer({IDOK});
        Run([&](HWND dialog) {
            driver::ClickLine(dialog, IDC_SOURCE_LIST, LineOf(dialog, IDC_SOURCE_LIST, "B2"));
            ExpectTransferButtons(dialog, true);
            driver::ClickButton(dialog, command);
            // Nothing rebuilt: the selection and the buttons stay.
            EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST),
                      std::vector<int>{LineOf(dialog, IDC_SOURCE_LIST, "B2")});
            ExpectTransferButtons(dialog, true);
        });
        EXPECT_EQ(Shown(), (std::vector<std::string>{
                               Describe(kAttention, kSameDrive, MB_OK, MB_ICONWARNING)}));
        EXPECT_EQ(ReadWhole(ChartPath('C', "B2")), "B2 on C\r\n");
    }
    EXPECT_EQ(boxes_.Unexpected(), 0);
}

// A chart that another program holds open without sharing cannot be deleted: the
// prompt offers Abort, Retry and Ignore. Ignore keeps it; a Retry once the other
// program has let it go deletes it.
TEST_F(Scenario, DeleteOfAChartHeldOpenPromptsUntilItIsFree)
{
    const std::string path = ChartPath('C', "AB1");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Run([&](HWND dialog) {
        driver::ClickLine(dialog, IDC_SOURCE_LIST, LineOf(dialog, IDC_SOURCE_LIST, "AB1"));
        boxes_.Answer({IDYES, IDIGNORE});
        driver::ClickButton(dialog, IDC_DELETE);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), ExpectedLines('C', kSourceByName));
        EXPECT_TRUE(Exists(path));
        ExpectTransferButtons(dialog, false);

        driver::ClickLine(dialog, IDC_SOURCE_LIST, LineOf(dialog, IDC_SOURCE_LIST, "AB1"));
        boxes_.Answer({IDYES, IDRETRY});
        {
            // The second box of this Delete is its prompt.
            WhileBoxOpen release(2, [&] {
                EXPECT_TRUE(CloseHandle(held));
                held = INVALID_HANDLE_VALUE;
            });
            driver::ClickButton(dialog, IDC_DELETE);
            EXPECT_TRUE(release.Done());
        }
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  ExpectedLines('C', {"AB", "Abc", "B2", "OLD99"}));
        ExpectTransferButtons(dialog, false);
    });
    if (held != INVALID_HANDLE_VALUE) {
        CloseHandle(held);  // the test failed before the prompt; the folder must go
    }
    const std::string question = Describe(kFiles, kDeleteQuestion1, MB_YESNO, MB_ICONQUESTION);
    const std::string prompt = Describe(kAttention, path + "\r" + kDeleteFailed,
                                        MB_ABORTRETRYIGNORE, MB_ICONWARNING);
    EXPECT_EQ(Shown(), (std::vector<std::string>{question, prompt, question, prompt}));
    EXPECT_EQ(boxes_.Unexpected(), 0);
    EXPECT_FALSE(Exists(path));
}

}  // namespace

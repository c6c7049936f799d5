// Opening the main dialog: drives from the INI file, construction systems of the start-up
// drive (or the one named with /K:), the remaining controls, and the first list build.
#include "scenario.h"

#include "app/dialog.h"
#include "Lm4/scan.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <algorithm>

using namespace scenario;

namespace {

std::vector<std::string> DriveEntries(const std::string &letters)
{
    std::vector<std::string> entries;
    for (char letter : letters) {
        entries.push_back(std::string(" [ ") + letter + ": ] ");
    }
    return entries;
}

struct DialogState {
    bool opened = false;
    std::vector<std::string> sourceDrives;
    std::vector<std::string> destinationDrives;
    int sourceSelection = -2;
    int destinationSelection = -2;
    std::vector<std::string> systems;
    bool systemsEnabled = false;
    std::vector<std::string> sourceLines;
};

class InitDialog : public Drives {
protected:
    // Runs the program from the current directory given (the INI file is looked for
    // from there) and takes down what the user sees once the dialog is open.
    DialogState Open(const char *commandLine, const char *currentDirectory = "C:\\")
    {
        EXPECT_TRUE(SetCurrentDirectoryA(currentDirectory)) << currentDirectory;
        DialogState state;
        int exitCode = driver::RunProgram(commandLine, [&](HWND dialog) {
            state.opened = true;
            state.sourceDrives = driver::ComboItems(dialog, IDC_SOURCE_DRIVE);
            state.destinationDrives = driver::ComboItems(dialog, IDC_DEST_DRIVE);
            state.sourceSelection = driver::ComboSelection(dialog, IDC_SOURCE_DRIVE);
            state.destinationSelection = driver::ComboSelection(dialog, IDC_DEST_DRIVE);
            state.systems = driver::ComboItems(dialog, IDC_SYSTEM);
            state.systemsEnabled = driver::IsEnabled(dialog, IDC_SYSTEM);
            state.sourceLines = driver::ListLines(dialog, IDC_SOURCE_LIST);
        });
        EXPECT_EQ(exitCode, 0);
        return state;
    }
};

// ---- drives --------------------------------------------------------------------------

struct DriveCase {
    const char *name;
    const char *ini;      // section PATH lines; nullptr: no INI file
    const char *drives;   // drive letters both combos show; nullptr: the dialog ends
    int selection;        // selected in both combos
};

const DriveCase kDriveCases[] = {
    {"start-up drive given", "DRIVES=ACD\r\nSTARTUPDRIVE=2\r\n", "ACD", 1},
    {"no start-up drive: the last", "DRIVES=ACD\r\n", "ACD", 2},
    {"start-up drive not a number: the last", "DRIVES=ACD\r\nSTARTUPDRIVE=x\r\n", "ACD", 2},
    {"order as written", "DRIVES=DCA\r\nSTARTUPDRIVE=2\r\n", "DCA", 1},
    {"lower case letters", "DRIVES=dca\r\nSTARTUPDRIVE=2\r\n", "DCA", 1},
    {"23 drives fill the table", "DRIVES=ABCDEFGHIJKLMNOPQRSTUVW\r\nSTARTUPDRIVE=3\r\n",
     "ABCDEFGHIJKLMNOPQRSTUVW", 2},
    {"negative start-up drive", "DRIVES=ACD\r\nSTARTUPDRIVE=-1\r\n", nullptr, 0},
    {"start-up drive 0", "DRIVES=ACD\r\nSTARTUPDRIVE=0\r\n", nullptr, 0},
    {"start-up drive beyond the list", "DRIVES=ACD\r\nSTARTUPDRIVE=4\r\n", nullptr, 0},
    {"huge start-up drive", "DRIVES=ACD\r\nSTARTUPDRIVE=2147483647\r\n", nullptr, 0},
    {"24 drives", "DRIVES=ABCDEFGHIJKLMNOPQRSTUVWX\r\n", nullptr, 0},
    {"empty drive list", "DRIVES=\r\nSTARTUPDRIVE=1\r\n", nullptr, 0},
    {"digit in the drive list", "DRIVES=A1C\r\n", nullptr, 0},
    {"blank in the drive list", "DRIVES=A C\r\n", nullptr, 0},
    {"colon in the drive list", "DRIVES=A:C:\r\n", nullptr, 0},
    {"national letter in the drive list", "DRIVES=A\xE4\r\n", nullptr, 0},
};

TEST_F(InitDialog, DrivesFromTheIniFile)
{
    for (const DriveCase &test : kDriveCases) {
        SCOPED_TRACE(test.name);
        WriteIni(std::string("[OPTIONS]\r\nDRIVES=XY\r\n[PATH]\r\n") + test.ini);
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        BoxScript boxes;
        DialogState state = Open("");
        if (test.drives == nullptr) {
            EXPECT_FALSE(state.opened);
            EXPECT_EQ(Describe(boxes), std::vector<std::string>{IniErrorBox()});
            continue;
        }
        ASSERT_TRUE(state.opened);
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
        EXPECT_EQ(state.sourceDrives, DriveEntries(test.drives));
        EXPECT_EQ(state.destinationDrives, DriveEntries(test.drives));
        EXPECT_EQ(state.sourceSelection, test.selection);
        EXPECT_EQ(state.destinationSelection, test.selection);
        EXPECT_EQ(g_DriveCount, (int)strlen(test.drives));
        EXPECT_EQ(std::string(g_DriveLetters, (size_t)g_DriveCount), test.drives);
        EXPECT_EQ(g_StartIndex, test.selection + 1);
    }
}

TEST_F(InitDialog, WithoutDrivesTheDefaultsAndTheCurrentDrive)
{
    struct {
        const char *name;
        const char *ini;
        const char *current;
        const char *drives;
    } cases[] = {
        {"no INI file, current drive C:", nullptr, "C:\\", "AC"},
        {"no INI file, current drive D:", nullptr, "D:\\vornix", "AD"},
        {"DRIVES only in another section", "[OPTIONS]\r\nDRIVES=D\r\n", "C:\\", "AC"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        if (test.ini != nullptr) {
            WriteIni(test.ini);
        }
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        BoxScript boxes;
        DialogState state = Open("", test.current);
        ASSERT_TRUE(state.opened);
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{NoIniBox()});
        EXPECT_EQ(state.sourceDrives, DriveEntries(test.drives));
        EXPECT_EQ(state.destinationDrives, DriveEntries(test.drives));
        EXPECT_EQ(state.sourceSelection, 1);
        EXPECT_EQ(state.destinationSelection, 1);
        EXPECT_EQ(state.systems, std::vector<std::string>{Display("Ladies")});
        fs::remove_all(Folder('C') / "vornix");
    }
}

// A combo that refuses a drive entry: the error box, and the combos keep standing for
// the drive letters behind them.
TEST_F(InitDialog, ComboRefusingADriveEntry)
{
    struct {
        const char *name;
        int comboId;
        int nth;
        LRESULT result;
        DWORD lastError;
        const char *startUpDrive;
        std::string errorText;
        const char *sourceDrives;
        const char *destinationDrives;
        int selection;
        const char *driveLetters;
        std::vector<std::string> laterBoxes;
        const char *commandLine = "";
        std::vector<std::string> systems{Display("Ladies")};
    } cases[] = {
        {"source refuses C:", IDC_SOURCE_DRIVE, 2, CB_ERRSPACE, 8, "3",
         "    8  Fehler in INITDIALOG-1", "AD", "AD", 1, "AD", {}},
        {"error code of six digits", IDC_SOURCE_DRIVE, 1, CB_ERR, 123456, "3",
         "*****  Fehler in INITDIALOG-1", "CD", "CD", 1, "CD", {}},
        {"error code of five digits", IDC_SOURCE_DRIVE, 1, CB_ERR, 99999, "3",
         "99999  Fehler in INITDIALOG-1", "CD", "CD", 1, "CD", {}},
        {"the start-up drive refused", IDC_SOURCE_DRIVE, 3, CB_ERR, 14, "3",
         "   14  Fehler in INITDIALOG-1", "AC", "AC", -1, "AC",
         {ErrorBox("Error: 1002")}},
        {"the start-up drive refused, no construction system", IDC_SOURCE_DRIVE, 3, CB_ERR,
         14, "3", "   14  Fehler in INITDIALOG-1", "AC", "AC", -1, "AC",
         {NoSystemBox(), ErrorBox("Error: 1004")}, "/K:NONE", {}},
        {"destination refuses C:", IDC_DEST_DRIVE, 2, CB_ERR, 1400, "1",
         " 1400  Fehler in INITDIALOG-1", "ACD", "A", 0, "ACD", {}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        WriteIni(std::string("[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=") + test.startUpDrive +
                 "\r\n");
        Map('A', DRIVE_FIXED);
        MakeSystem('A', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        Lin32FailComboAdd(test.comboId, test.nth, test.result, test.lastError);
        BoxScript boxes;
        DialogState state = Open(test.commandLine);
        Lin32ClearComboFailures();
        ASSERT_TRUE(state.opened);
        std::vector<std::string> expected{ErrorBox(test.errorText)};
        expected.insert(expected.end(), test.laterBoxes.begin(), test.laterBoxes.end());
        EXPECT_EQ(Describe(boxes), expected);
        EXPECT_EQ(state.sourceDrives, DriveEntries(test.sourceDrives));
        EXPECT_EQ(state.destinationDrives, DriveEntries(test.destinationDrives));
        EXPECT_EQ(state.sourceSelection, test.selection);
        EXPECT_EQ(state.destinationSelection, test.selection);
        EXPECT_EQ(std::string(g_DriveLetters, (size_t)g_DriveCount), test.driveLetters);
        // The construction systems still come from the start-up drive.
        EXPECT_EQ(state.systems, test.systems);
    }
}

// ---- construction systems --------------------------------------------------------------

TEST_F(InitDialog, SystemsSortedByDisplayNameWithoutHelpAndNonSystems)
{
    WriteIni("[PATH]\r\nDRIVES=C\r\n");
    MakeSystem('C', "KOS", "Kos system");
    MakeSystem('C', "ABC", "Alpha");
    MakeSystem('C', "LONG", "A very long construction system name");
    MakeSystem('C', "Hilfen", "Help pages");
    fs::create_directories(Folder('C') / "vornix/NOFILE/mas");
    WriteText(Folder('C') / "vornix/EMPTY/vornix_s.kon", "");
    WriteText(Folder('C') / "vornix/WITHDOT.X/vornix_s.kon", "Dotted\r\n");
    BoxScript boxes;
    DialogState state = Open("");
    ASSERT_TRUE(state.opened);
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
    EXPECT_EQ(state.systems,
              (std::vector<std::string>{Display("A very long construction system name"),
                                        Display("Alpha"), Display("Kos system")}));
    EXPECT_EQ(state.systems[0], "A very long construction syst   ");
    EXPECT_TRUE(state.systemsEnabled);
    EXPECT_EQ(std::string(g_SystemDirNames[0], 8), "LONG    ");
    EXPECT_EQ(std::string(g_SystemDirNames[1], 8), "ABC     ");
    EXPECT_EQ(std::string(g_SystemDirNames[2], 8), "KOS     ");
    EXPECT_EQ(std::string(g_SystemDirNames[3], 8), "        ");
}

// A construction system the combo refuses is not offered, and the one offered in its
// place lists its own charts.
TEST_F(InitDialog, ComboRefusingASystem)
{
    WriteIni("[PATH]\r\nDRIVES=C\r\n");
    MakeSystem('C', "KOS", "Kos system");
    MakeSystem('C', "ABC", "Alpha");
    MakeChart('C', "KOS", "kos.mas", {2004, 3, 7, 9, 5});
    MakeChart('C', "ABC", "alpha.mas", {2004, 3, 7, 9, 5});
    Lin32FailComboAdd(IDC_SYSTEM, 1, CB_ERRSPACE, 8);
    BoxScript boxes;
    DialogState state = Open("");
    Lin32ClearComboFailures();
    ASSERT_TRUE(state.opened);
    EXPECT_EQ(state.systems, std::vector<std::string>{Display("Kos system")});
    EXPECT_EQ(std::string(g_SystemDirNames[0], 8), "KOS     ");
    EXPECT_EQ(state.sourceLines, std::vector<std::string>{Line("KOS", {2004, 3, 7, 9, 5})});
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

TEST_F(InitDialog, AtMostFiftySystemsInScanOrderThenSorted)
{
    WriteIni("[PATH]\r\nDRIVES=C\r\n");
    for (int i = 1; i <= 60; i++) {
        char dir[16];
        char display[32];
        snprintf(dir, sizeof dir, "S%02d", i);
        snprintf(display, sizeof display, "System %03d", 200 - i);
        MakeSystem('C', dir, display, false);
    }
    // The order in which the directory search yields them decides which 50 are taken.
    char entries[200 * NAME_ENTRY_LENGTH];
    short found = 0;
    ScanDirNames("C:\\vornix\\*.", 12, entries, 200, &found);
    ASSERT_EQ(found, 60);
    std::vector<std::string> expected;
    for (int i = 0; i < 50; i++) {
        int number = atoi(std::string(entries + i * NAME_ENTRY_LENGTH + 2, 2).c_str());
        char display[32];
        snprintf(display, sizeof display, "System %03d", 200 - number);
        expected.push_back(Display(display));
    }
    std::sort(expected.begin(), expected.end());

    BoxScript boxes;
    DialogState state = Open("");
    ASSERT_TRUE(state.opened);
    EXPECT_EQ(state.systems, expected);
}

TEST_F(InitDialog, NoSystemOnTheStartUpDrive)
{
    struct {
        const char *name;
        void (*prepare)(const fs::path &drive);
        std::vector<std::string> boxes;
    } cases[] = {
        {"no \\vornix\\", [](const fs::path &) {},
         {NoDirectoryBox(), NoSystemBox(), ErrorBox("Error: 1004")}},
        {"only HILFEN",
         [](const fs::path &drive) { WriteText(drive / "vornix/HILFEN/vornix_s.kon", "Help\r\n"); },
         {NoSystemBox(), ErrorBox("Error: 1004")}},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        WriteIni("[PATH]\r\nDRIVES=CD\r\n");
        fs::remove_all(Folder('D') / "vornix");
        test.prepare(Folder('D'));
        BoxScript boxes;
        DialogState state = Open("");
        ASSERT_TRUE(state.opened);
        EXPECT_EQ(Describe(boxes), test.boxes);
        EXPECT_EQ(state.systems, std::vector<std::string>{});
        EXPECT_EQ(state.sourceLines, std::vector<std::string>{});
    }
}

// /K:name offers only that system, from the start-up drive, and disables the combo; a
// name that is no plain directory name names no system, and nothing outside \vornix\ is
// read for it.
TEST_F(InitDialog, OptionNamesTheOnlySystem)
{
    WriteIni("[PATH]\r\nDRIVES=C\r\n");
    MakeSystem('C', "KOS", "Kos system");
    MakeSystem('C', "ABC", "Alpha");
    MakeSystem('C', "ABCDEFGH", "Eight letters");
    WriteText(Folder('C') / "vornix_s.kon", "Root of the drive\r\n");
    WriteText(Folder('C') / "vornix/vornix_s.kon", "Product directory\r\n");
    WriteText(Folder('C') / "PRIV/vornix_s.kon", "Private\r\n");
    WriteText(Folder('C') / "vornix/KO X/vornix_s.kon", "Blank inside\r\n");
    const std::vector<std::string> none{NoSystemBox(), ErrorBox("Error: 1004")};
    struct {
        const char *commandLine;
        std::vector<std::string> systems;
        std::vector<std::string> boxes;
    } cases[] = {
        {"/K:KOS", {Display("Kos system")}, {}},
        {"/k:kos", {Display("Kos system")}, {}},
        {"-x /K:ABC", {Display("Alpha")}, {}},
        {"/K:ABCDEFGHIJ", {Display("Eight letters")}, {}},
        {"/K:NONE", {}, none},
        {"/K:", {}, none},
        {"/K:   ", {}, none},
        {"/K:..", {}, none},
        {"/K:.", {}, none},
        {"/K:..\\PRIV", {}, none},
        {"/K:\\PRIV", {}, none},
        {"/K:C:..", {}, none},
        {"/K:KO?", {}, none},
        {"/K:K*", {}, none},
        {"/K:KO X", {}, none},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.commandLine);
        BoxScript boxes;
        DialogState state = Open(test.commandLine);
        ASSERT_TRUE(state.opened);
        EXPECT_EQ(Describe(boxes), test.boxes);
        EXPECT_EQ(state.systems, test.systems);
        EXPECT_FALSE(state.systemsEnabled);
    }
}

// ---- the remaining controls and the first build -----------------------------------------

TEST_F(InitDialog, ControlsAfterOpening)
{
    WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
    MakeSystem('C', "DOB", "Ladies");
    MakeChart('C', "DOB", "abc.mas", {2004, 3, 7, 9, 5});
    BoxScript boxes;
    bool opened = false;
    driver::RunProgram("", [&](HWND dialog) {
        opened = true;
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_NAME));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_DATE));
        EXPECT_EQ(Lin32GetTabStops(GetDlgItem(dialog, IDC_SOURCE_LIST)), std::vector<int>{60});
        EXPECT_EQ(Lin32GetTabStops(GetDlgItem(dialog, IDC_DEST_LIST)), std::vector<int>{60});
        EXPECT_EQ(Lin32GetEditLimit(GetDlgItem(dialog, IDC_NAME_EDIT)), 8);
        const std::vector<std::string> lines{Line("ABC", {2004, 3, 7, 9, 5})};
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), lines);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), lines);
        for (int id : {IDC_COPY, IDC_MOVE, IDC_DELETE}) {
            EXPECT_FALSE(driver::IsEnabled(dialog, id)) << id;
        }
        // The name edit takes 8 characters once its filter is switched on.
        driver::ClickButton(dialog, IDC_NAME_CHECK);
        driver::TypeText(dialog, IDC_NAME_EDIT, "ABCDEFGHIJ");
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "ABCDEFGH");
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(Describe(boxes), std::vector<std::string>{});
}

}  // namespace

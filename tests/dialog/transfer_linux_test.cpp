// Copy, Move and Delete through the main dialog: the question with its count, the
// same-drive warning, the per-chart prompt and the user's answers, Move that never
// loses a chart, and the lists afterwards.
#include "drivecheck.h"
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include "Ftn/ftn.h"

#include <algorithm>
#include <functional>

using namespace scenario;

namespace {

const Stamp kOld{2003, 5, 1, 8, 0};
const Stamp kNew{2004, 3, 7, 10, 15};

std::string Question(const std::string &text)
{
    return Box("VORNIX - Files ...", text, MB_YESNO, MB_ICONQUESTION);
}

std::string SameDriveBox()
{
    return Box("VORNIX - Attention",
               "Source and destination drive are the same. The command cannot be executed.",
               MB_OK, MB_ICONWARNING);
}

class Transfer : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        // Both drive combos start on C:.
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
    }

    // Charts on a drive: each file holds its own name, so a copy shows where it came from.
    void Charts(char drive, const std::vector<std::string> &names, const Stamp &stamp = kNew)
    {
        for (const std::string &name : names) {
            MakeChart(drive, "DOB", name + ".mas", stamp, "chart " + name + "\r\n");
        }
    }

    fs::path ChartFile(char drive, const std::string &name) const
    {
        return Folder(drive) / "vornix/DOB/mas" / (name + ".mas");
    }

    // The charts present on a drive, by name.
    std::vector<std::string> OnDrive(char drive) const
    {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(Folder(drive) / "vornix/DOB/mas")) {
            std::string name = entry.path().stem().string();
            for (char &c : name) {
                c = (char)toupper((unsigned char)c);
            }
            names.push_back(name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Runs the program with destination drive index `destination`; user acts on it.
    void Run(int destination, const std::function<void(HWND)> &user)
    {
        // A list build leaves its chart directory current; the INI file is found from C:\.
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            if (destination != 0) {
                driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, destination);
            }
            user(dialog);
        });
        EXPECT_TRUE(opened);
    }

    static void SelectLines(HWND dialog, const std::vector<int> &lines)
    {
        for (int line : lines) {
            driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, line);
        }
    }

    static bool TransferButtonsEnabled(HWND dialog)
    {
        bool copy = driver::IsEnabled(dialog, IDC_COPY);
        EXPECT_EQ(driver::IsEnabled(dialog, IDC_MOVE), copy);
        EXPECT_EQ(driver::IsEnabled(dialog, IDC_DELETE), copy);
        return copy;
    }
};

std::vector<std::string> Numbered(const char *prefix, int count)
{
    std::vector<std::string> names;
    for (int i = 1; i <= count; i++) {
        names.push_back(prefix + std::to_string(i));
    }
    return names;
}

TEST_F(Transfer, AsksWithTheCountThenTransfersEveryChart)
{
    struct Case {
        int command;
        int selected;
        const char *question;
    };
    const Case cases[] = {
        {IDC_COPY, 3, "   3 selected files really to be copied?"},
        {IDC_MOVE, 12, "  12 selected files really to be moved?"},
        {IDC_DELETE, 2, "   2 selected files really to be deleted?"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.question);
        fs::remove_all(Folder('C') / "vornix/DOB/mas");
        fs::remove_all(Folder('D') / "vornix/DOB/mas");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        std::vector<std::string> all = Numbered("C", 13);
        std::sort(all.begin(), all.end());
        Charts('C', all);
        Charts('D', {"X"});
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        std::vector<int> lines;
        std::vector<std::string> chosen;
        for (int i = 0; i < c.selected; i++) {
            lines.push_back(i);
            chosen.push_back(all[(size_t)i]);
        }
        std::vector<std::string> rest(all.begin() + c.selected, all.end());
        BoxScript boxes({IDYES});
        Run(1, [&](HWND dialog) {
            SelectLines(dialog, lines);
            ASSERT_TRUE(TransferButtonsEnabled(dialog));
            driver::ClickButton(dialog, c.command);

            std::vector<std::string> onC = c.command == IDC_COPY ? all : rest;
            std::vector<std::string> onD = {"X"};
            if (c.command != IDC_DELETE) {
                onD.insert(onD.begin(), chosen.begin(), chosen.end());
            }
            EXPECT_EQ(OnDrive('C'), onC);
            EXPECT_EQ(OnDrive('D'), onD);
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), onC);
            EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), onD);
            EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
            EXPECT_FALSE(TransferButtonsEnabled(dialog));
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{Question(c.question)});
        if (c.command != IDC_DELETE) {
            EXPECT_EQ(drivecheck::ReadFile(ChartFile('D', chosen[0])), "chart " + chosen[0] + "\r\n");
        }
    }
}

TEST_F(Transfer, NoChangesNothing)
{
    const int commands[] = {IDC_COPY, IDC_MOVE, IDC_DELETE};
    Charts('C', {"AB", "CD"});
    Charts('D', {"X"});
    for (int command : commands) {
        SCOPED_TRACE(command);
        BoxScript boxes({IDNO});
        Run(1, [&](HWND dialog) {
            SelectLines(dialog, {0, 1});
            driver::ClickButton(dialog, command);
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), (std::vector<std::string>{"AB", "CD"}));
            EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), (std::vector<int>{0, 1}));
            EXPECT_TRUE(TransferButtonsEnabled(dialog));
        });
        EXPECT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(OnDrive('C'), (std::vector<std::string>{"AB", "CD"}));
        EXPECT_EQ(OnDrive('D'), std::vector<std::string>{"X"});
    }
}

// Four columns hold any count a list build gives (at most 2000 lines); a larger count
// would not fit, and the question then keeps its placeholder rather than a wrong number.
TEST_F(Transfer, CountTooLargeForFourColumns)
{
    for (int count : {9999, 10000}) {
        SCOPED_TRACE(count);
        BoxScript boxes({IDNO});
        Run(1, [&](HWND dialog) {
            for (int i = 0; i < count; i++) {
                SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, 0,
                                    (LPARAM) "AB      \t07.03.04  10:15");
            }
            driver::ClickButton(dialog, IDC_ALL);
            driver::ClickButton(dialog, IDC_COPY);
        });
        const char *expected = count == 9999 ? "9999 selected files really to be copied?"
                                             : "#### selected files really to be copied?";
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{Question(expected)});
    }
}

TEST_F(Transfer, SameDriveOnBothSides)
{
    struct Case {
        int command;
        std::vector<std::string> boxes;
        std::vector<std::string> left;
    };
    const Case cases[] = {
        {IDC_COPY, {SameDriveBox()}, {"AB", "CD"}},
        {IDC_MOVE, {SameDriveBox()}, {"AB", "CD"}},
        // Delete works on the source drive alone.
        {IDC_DELETE, {Question("   1 selected files really to be deleted?")}, {"CD"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.command);
        Charts('C', {"AB", "CD"});
        BoxScript boxes({IDYES});
        Run(0, [&](HWND dialog) {
            SelectLines(dialog, {0});
            driver::ClickButton(dialog, c.command);
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), c.left);
        });
        EXPECT_EQ(Describe(boxes), c.boxes);
        EXPECT_EQ(OnDrive('C'), c.left);
    }
}

// Four charts selected, the copy of the second fails once; the user answers the prompt.
TEST_F(Transfer, AnswersToAFailedChart)
{
    struct Case {
        int command;
        int answer;
        std::vector<std::string> onC;
        std::vector<std::string> onD;
    };
    const Case cases[] = {
        {IDC_COPY, IDABORT, {"A1", "A2", "A3", "A4"}, {"A1"}},
        {IDC_COPY, IDIGNORE, {"A1", "A2", "A3", "A4"}, {"A1", "A3", "A4"}},
        {IDC_COPY, IDRETRY, {"A1", "A2", "A3", "A4"}, {"A1", "A2", "A3", "A4"}},
        {IDC_MOVE, IDABORT, {"A2", "A3", "A4"}, {"A1"}},
        // The chart whose copy failed stays on the source drive.
        {IDC_MOVE, IDIGNORE, {"A2"}, {"A1", "A3", "A4"}},
        {IDC_MOVE, IDRETRY, {}, {"A1", "A2", "A3", "A4"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.command) + " answer " + std::to_string(c.answer));
        fs::remove_all(Folder('C') / "vornix/DOB/mas");
        fs::remove_all(Folder('D') / "vornix/DOB/mas");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        Charts('C', {"A1", "A2", "A3", "A4"});
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        BoxScript boxes({IDYES, c.answer});
        Run(1, [&](HWND dialog) {
            driver::ClickButton(dialog, IDC_ALL);
            Lin32FailOperation(LIN32_OP_COPY, 2, ERROR_WRITE_FAULT, 1);
            driver::ClickButton(dialog, c.command);
            Lin32ClearFailures();
            // Both lists rebuilt, however the loop ended.
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), c.onC);
            EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), c.onD);
            EXPECT_FALSE(TransferButtonsEnabled(dialog));
        });
        const char *verb = c.command == IDC_COPY ? "copied" : "moved";
        EXPECT_EQ(Describe(boxes),
                  (std::vector<std::string>{
                      Question(std::string("   4 selected files really to be ") + verb + "?"),
                      Prompt("C:\\vornix\\DOB\\mas\\A2.mas", kCopyFailed)}));
        EXPECT_EQ(OnDrive('C'), c.onC);
        EXPECT_EQ(OnDrive('D'), c.onD);
    }
}

TEST_F(Transfer, DeleteOfAReadOnlyChart)
{
    Charts('C', {"AB", "CD", "EF"});
    ASSERT_TRUE(SetFileAttributesA("C:\\vornix\\DOB\\mas\\CD.mas", FILE_ATTRIBUTE_READONLY));
    BoxScript boxes({IDYES, IDIGNORE});
    Run(1, [&](HWND dialog) {
        driver::ClickButton(dialog, IDC_ALL);
        driver::ClickButton(dialog, IDC_DELETE);
        EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"CD"});
    });
    EXPECT_EQ(Describe(boxes),
              (std::vector<std::string>{Question("   3 selected files really to be deleted?"),
                                        Prompt("C:\\vornix\\DOB\\mas\\CD.mas", kDeleteFailed)}));
    EXPECT_EQ(OnDrive('C'), std::vector<std::string>{"CD"});
}

TEST_F(Transfer, CopyReplacesAnExistingChart)
{
    Charts('C', {"AB"}, kNew);
    MakeChart('D', "DOB", "AB.mas", kOld, "an older state\r\n");
    BoxScript boxes({IDYES});
    Run(1, [&](HWND dialog) {
        SelectLines(dialog, {0});
        driver::ClickButton(dialog, IDC_COPY);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                  std::vector<std::string>{Line("AB", kNew)});
    });
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(drivecheck::ReadFile(ChartFile('D', "AB")), "chart AB\r\n");
}

// Two drive letters for one folder: the "copy" would be the chart itself, and deleting
// the source would lose it.
TEST_F(Transfer, MoveOntoTheSameFolderKeepsTheChart)
{
    EXPECT_TRUE(Lin32MapDrive('E', Folder('C').c_str(), DRIVE_FIXED));
    WriteIni("[PATH]\r\nDRIVES=CDE\r\nSTARTUPDRIVE=1\r\n");
    Charts('C', {"AB"});
    for (int answer : {IDIGNORE, IDABORT}) {
        SCOPED_TRACE(answer);
        BoxScript boxes({IDYES, answer});
        Run(2, [&](HWND dialog) {
            SelectLines(dialog, {0});
            driver::ClickButton(dialog, IDC_MOVE);
            EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"AB"});
        });
        EXPECT_EQ(Describe(boxes),
                  (std::vector<std::string>{Question("   1 selected files really to be moved?"),
                                            Prompt("C:\\vornix\\DOB\\mas\\AB.mas", kCopyFailed)}));
        EXPECT_EQ(drivecheck::ReadFile(ChartFile('C', "AB")), "chart AB\r\n");
    }
}

// A Move to a diskette deletes the source only after the copy was written through.
TEST_F(Transfer, MoveToARemovableDrive)
{
    Map('A', DRIVE_REMOVABLE);
    MakeSystem('A', "DOB", "Ladies");
    WriteIni("[PATH]\r\nDRIVES=CA\r\nSTARTUPDRIVE=1\r\n");
    Charts('C', {"AB", "CD"});

    // How many flushes the copy itself makes.
    short status = 3;
    Lin32ClearFailures();
    FTNFCO(&status, "C:\\vornix\\DOB\\mas\\AB.mas", 24, "A:\\vornix\\DOB\\mas\\XX.mas", 24);
    ASSERT_EQ(status, 0);
    int copyFlushes = Lin32OperationCount(LIN32_OP_FLUSH);
    fs::remove(Folder('A') / "vornix/DOB/mas/XX.mas");

    // The flush after the first copy fails: the prompt, and AB stays; CD moves.
    BoxScript boxes({IDYES, IDIGNORE});
    Run(1, [&](HWND dialog) {
        driver::ClickButton(dialog, IDC_ALL);
        Lin32FailOperation(LIN32_OP_FLUSH, copyFlushes + 1, ERROR_WRITE_FAULT, 1);
        driver::ClickButton(dialog, IDC_MOVE);
        EXPECT_EQ(Lin32OperationCount(LIN32_OP_FLUSH), 2 * (copyFlushes + 1));
        Lin32ClearFailures();
        EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"AB"});
    });
    EXPECT_EQ(Describe(boxes),
              (std::vector<std::string>{Question("   2 selected files really to be moved?"),
                                        Prompt("C:\\vornix\\DOB\\mas\\AB.mas", kCopyFailed)}));
    EXPECT_EQ(OnDrive('C'), std::vector<std::string>{"AB"});
    EXPECT_EQ(OnDrive('A'), (std::vector<std::string>{"AB", "CD"}));
    EXPECT_EQ(drivecheck::ReadFile(ChartFile('A', "CD")), "chart CD\r\n");
}

TEST_F(Transfer, ListsShowEveryChartAfterwards)
{
    Charts('C', {"AB"}, kNew);
    Charts('C', {"OLD"}, kOld);
    Charts('D', {"DOLD"}, kOld);
    BoxScript boxes({IDYES});
    Run(1, [&](HWND dialog) {
        driver::ClickButton(dialog, IDC_SINCE_CHECK);
        driver::TypeText(dialog, IDC_SINCE_EDIT, "1.1.2004");
        driver::PressEnter(dialog);
        ASSERT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"AB"});
        ASSERT_TRUE(driver::ListNames(dialog, IDC_DEST_LIST).empty());
        SelectLines(dialog, {0});
        driver::ClickButton(dialog, IDC_COPY);
        EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), (std::vector<std::string>{"AB", "OLD"}));
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), (std::vector<std::string>{"AB", "DOLD"}));
        // The next refresh filters again.
        driver::PressEnter(dialog);
        EXPECT_EQ(driver::ListNames(dialog, IDC_DEST_LIST), std::vector<std::string>{"AB"});
    });
    EXPECT_EQ(boxes.Shown().size(), 1u);
}

// A selected fixed text is taken like a chart: its first 8 characters without blanks
// name a file that does not exist.
TEST_F(Transfer, FixedTextSelected)
{
    Map('E', DRIVE_FIXED);
    MakeSystem('E', "DOB", "Ladies", false);
    WriteIni("[PATH]\r\nDRIVES=CE\r\nSTARTUPDRIVE=1\r\n");
    Charts('C', {"AB"});
    BoxScript boxes({IDNO, IDYES, IDIGNORE, IDNO});
    Run(0, [&](HWND dialog) {
        driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, 1);
        ASSERT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
        SelectLines(dialog, {0});
        driver::ClickButton(dialog, IDC_COPY);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  std::vector<std::string>{"<nicht vorbereitet>"});
    });
    EXPECT_EQ(Describe(boxes),
              (std::vector<std::string>{CreateBox('E'),
                                        Question("   1 selected files really to be copied?"),
                                        Prompt("E:\\vornix\\DOB\\mas\\<nichtv.mas", kCopyFailed),
                                        CreateBox('E')}));
    EXPECT_EQ(OnDrive('C'), std::vector<std::string>{"AB"});
}

// A combo that lost its selection: the error box, and the command stops there.
TEST_F(Transfer, ComboWithoutSelectionStops)
{
    struct Case {
        int combo;
        const char *error;
    };
    const Case cases[] = {
        {IDC_SYSTEM, "Error: 1004"},
        {IDC_SOURCE_DRIVE, "Error: 1002"},
        {IDC_DEST_DRIVE, "Error: 1001"},
    };
    Charts('C', {"AB"});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.error);
        for (int command : {IDC_COPY, IDC_MOVE, IDC_DELETE}) {
            BoxScript boxes({IDYES});
            Run(1, [&](HWND dialog) {
                SelectLines(dialog, {0});
                SendDlgItemMessageA(dialog, c.combo, CB_SETCURSEL, (WPARAM)-1, 0);
                driver::ClickButton(dialog, command);
                EXPECT_EQ(driver::ListNames(dialog, IDC_SOURCE_LIST), std::vector<std::string>{"AB"});
            });
            EXPECT_EQ(Describe(boxes), std::vector<std::string>{ErrorBox(c.error)});
            EXPECT_EQ(OnDrive('C'), std::vector<std::string>{"AB"});
            EXPECT_TRUE(OnDrive('D').empty());
        }
    }
}

}  // namespace

// Start-up of the real program: the English dialog opens with the drives of the INI
// file and the construction systems of the start-up drive, and closing it ends the
// program with exit code 0.
#include "e2e_common.h"

namespace {

using e2e::AnswerBox;
using e2e::ENGLISH_CAPTION;
using e2e::NoBoxOpen;

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(e2e::ResetDrives()); }
};

// A display name as the combo shows it: the 29 characters of the system file,
// blank-padded to 32.
std::wstring SystemEntry(const std::wstring &name)
{
    return name + std::wstring(32 - name.size(), L' ');
}

TEST_F(StartupTest, OpensWithTheIniDrivesAndClosesWithExitCodeZero)
{
    ASSERT_TRUE(e2e::WriteTextFile("C:\\vornix\\vornix.ini",
                                   "[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=2\r\n"));
    ASSERT_TRUE(e2e::MakeSystem('C', "KOS", "Kos system"));
    ASSERT_TRUE(e2e::MakeSystem('C', "ABC", "Alpha"));
    ASSERT_TRUE(e2e::WriteChart('C', "ABC", "ANNA", {2024, 3, 5, 14, 7}));

    e2e::Program program;
    ASSERT_TRUE(program.Start("", "C:\\vornix"));
    ASSERT_NE(program.WaitForDialog(ENGLISH_CAPTION), nullptr);
    program.Settle();

    std::vector<e2e::Box> boxes = program.Boxes();
    for (const e2e::Box &box : boxes) {
        ADD_FAILURE() << "unexpected box \"" << e2e::Utf8(box.caption) << "\": "
                      << e2e::Utf8(box.text);
    }
    ASSERT_TRUE(boxes.empty());

    const std::vector<std::wstring> drives = {L" [ A: ] ", L" [ C: ] ", L" [ D: ] "};
    EXPECT_EQ(program.ComboItems(IDC_SOURCE_DRIVE), drives);
    EXPECT_EQ(program.ComboItems(IDC_DEST_DRIVE), drives);
    EXPECT_EQ(program.ComboSelection(IDC_SOURCE_DRIVE), 1);
    EXPECT_EQ(program.ComboSelection(IDC_DEST_DRIVE), 1);

    const std::vector<std::wstring> systems = {SystemEntry(L"Alpha"), SystemEntry(L"Kos system")};
    EXPECT_EQ(program.ComboItems(IDC_SYSTEM), systems);
    EXPECT_EQ(program.ComboSelection(IDC_SYSTEM), 0);

    // Both lists show drive C, construction system Alpha.
    const std::vector<std::wstring> charts = {L"ANNA    \t05.03.24  14:07"};
    EXPECT_EQ(program.ListLines(IDC_SOURCE_LIST), charts);
    EXPECT_EQ(program.ListLines(IDC_DEST_LIST), charts);

    ASSERT_TRUE(program.ClickButton(IDCANCEL));
    DWORD exitCode = 0;
    ASSERT_TRUE(program.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);

    // Looking is all it did: the chart is there as before, the other drives untouched.
    EXPECT_EQ(e2e::ChartNames('C', "ABC"), std::vector<std::string>{"ANNA"});
    e2e::LocalTime changed = {};
    ASSERT_TRUE(e2e::GetLastWriteTime(e2e::ChartDir('C', "ABC") + "\\ANNA.mas", changed));
    EXPECT_EQ(e2e::Format(changed), "2024-03-05 14:07");
    EXPECT_FALSE(e2e::DirExists("A:\\vornix"));
    EXPECT_FALSE(e2e::DirExists("D:\\vornix"));
}

// Without vornix.ini the program says so and offers A: and the current drive.
TEST_F(StartupTest, WithoutIniOffersDriveAAndTheCurrentDrive)
{
    ASSERT_TRUE(e2e::MakeSystem('C', "KOS", "Kos system"));

    e2e::Program program;
    ASSERT_TRUE(program.Start("", "C:\\vornix"));
    ASSERT_NE(program.WaitForDialog(ENGLISH_CAPTION), nullptr);
    ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                          L"VORNIX.INI could not be found on current drive. Standard drives "
                          L"A: and C: will be used.",
                          MB_OK, IDOK));
    EXPECT_TRUE(NoBoxOpen(program));

    const std::vector<std::wstring> drives = {L" [ A: ] ", L" [ C: ] "};
    EXPECT_EQ(program.ComboItems(IDC_SOURCE_DRIVE), drives);
    EXPECT_EQ(program.ComboSelection(IDC_SOURCE_DRIVE), 1);
    EXPECT_EQ(program.ComboSelection(IDC_DEST_DRIVE), 1);
    EXPECT_EQ(program.ComboItems(IDC_SYSTEM), std::vector<std::wstring>{SystemEntry(L"Kos system")});
    EXPECT_FALSE(e2e::FileExists("C:\\vornix\\vornix.ini"));
}

// /K: names the only construction system and locks the combo; a name that is no
// system leaves it empty with "Construction systems not found !".
TEST_F(StartupTest, CommandLineNamesTheOnlySystem)
{
    ASSERT_TRUE(e2e::WriteTextFile("C:\\vornix\\vornix.ini",
                                   "[PATH]\r\nDRIVES=AC\r\nSTARTUPDRIVE=2\r\n"));
    ASSERT_TRUE(e2e::MakeSystem('C', "KOS", "Kos system"));
    ASSERT_TRUE(e2e::MakeSystem('C', "ABC", "Alpha"));
    ASSERT_TRUE(e2e::WriteChart('C', "KOS", "KARL", {2024, 7, 8, 9, 10}));

    struct Case {
        const char *arguments;
        std::vector<std::wstring> systems;
        bool missing;
    };
    const Case cases[] = {
        {"/k:kos", {SystemEntry(L"Kos system")}, false},
        {"/K:NOSUCH", {}, true},
        {"/K:..", {}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.arguments);
        e2e::Program program;
        ASSERT_TRUE(program.Start(c.arguments, "C:\\vornix"));
        ASSERT_NE(program.WaitForDialog(ENGLISH_CAPTION), nullptr);
        if (c.missing) {
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  L"Construction systems not found !", MB_OK, IDOK));
            // Then the first refresh finds no construction system to list: the error
            // box, which has no owner.
            ASSERT_TRUE(AnswerBox(program, L"VORNIX System Info-Box", L"Error: 1004", MB_OK,
                                  IDOK, false));
        }
        EXPECT_TRUE(NoBoxOpen(program));
        EXPECT_EQ(program.ComboItems(IDC_SYSTEM), c.systems);
        EXPECT_FALSE(program.IsEnabled(IDC_SYSTEM));
        if (!c.missing) {
            EXPECT_EQ(program.ListLines(IDC_SOURCE_LIST),
                      std::vector<std::wstring>{L"KARL    \t08.07.24  09:10"});
        }
        ASSERT_TRUE(program.ClickButton(IDCANCEL));
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(exitCode));
    }
}

}  // namespace

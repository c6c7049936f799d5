// Copy and Move onto an older chart of a drive that runs out of room, in the real program
// under Wine. CopyFileA fails there with error 112 and leaves what it wrote under the
// chart's name; the program copies to a temporary file instead, so the prompt comes, the
// old chart stays byte for byte with its time, nothing else is left, and once there is
// room the copy goes through.
//
// G: is a small file system of its own (a size-limited tmpfs that e2e_diskfull.sh
// mounts and links before this test program starts; it runs only there).
#include "e2e_common.h"

#include "tests/support/wintree.h"

namespace {

using e2e::AnswerBox;
using e2e::NoBoxOpen;
using e2e::PromptText;
using e2e::Question;

const char SYSTEM[] = "KOS";
const e2e::LocalTime OLD_TIME = {2023, 4, 1, 9, 15};
const e2e::LocalTime NEW_TIME = {2024, 6, 2, 16, 40};

class DiskFull : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(e2e::ResetDrives());
        ASSERT_TRUE(ClearTree("G:", false));
        ASSERT_TRUE(e2e::MakeSystem('D', SYSTEM, "Kos system"));
        ASSERT_TRUE(e2e::MakeSystem('G', SYSTEM, "Kos system"));
        oldChart_ = Pattern("old chart on G: ", 20 * 1024);
        newChart_ = Pattern("new chart on D: ", 120 * 1024);
        ASSERT_TRUE(e2e::WriteChart('D', SYSTEM, "BIG", NEW_TIME, newChart_));
        ASSERT_TRUE(e2e::WriteChart('G', SYSTEM, "BIG", OLD_TIME, oldChart_));
        // Fill G: so that the old chart fits and the new one does not.
        ULARGE_INTEGER free;
        ASSERT_TRUE(GetDiskFreeSpaceExA("G:\\", &free, nullptr, nullptr));
        ASSERT_GT(free.QuadPart, 64u * 1024u) << "G: is too small for the test";
        const size_t room = 48 * 1024;
        ASSERT_TRUE(e2e::WriteTextFile(FILLER, std::string((size_t)free.QuadPart - room, 'f')));
        ASSERT_TRUE(GetDiskFreeSpaceExA("G:\\", &free, nullptr, nullptr));
        ASSERT_LT(free.QuadPart, newChart_.size()) << "G: did not fill up";
    }

    static std::string Pattern(const std::string &lead, size_t size)
    {
        std::string text = lead;
        while (text.size() < size) {
            text += (char)('a' + text.size() % 26);
        }
        return text;
    }

    static std::string ChartPath(char drive)
    {
        return e2e::ChartDir(drive, SYSTEM) + "\\BIG.mas";
    }

    // Starts the program with D: as source and G: as destination.
    ::testing::AssertionResult Start(e2e::Program &program)
    {
        if (!e2e::WriteTextFile("C:\\vornix\\vornix.ini",
                                "[PATH]\r\nDRIVES=DG\r\nSTARTUPDRIVE=1\r\n") ||
            !program.Start("", "C:\\vornix") ||
            program.WaitForDialog(e2e::ENGLISH_CAPTION) == nullptr) {
            return ::testing::AssertionFailure() << "the dialog did not open";
        }
        ::testing::AssertionResult quiet = NoBoxOpen(program);
        if (!quiet) {
            return quiet;
        }
        if (!program.ChooseComboItem(IDC_DEST_DRIVE, 1)) {
            return ::testing::AssertionFailure() << "cannot choose G:";
        }
        return ::testing::AssertionSuccess();
    }

    // The command on BIG, with Yes to its question and the given answers to the prompt.
    void Run(e2e::Program &program, int command, const std::vector<int> &answers)
    {
        ASSERT_TRUE(program.ClickButton(IDC_ALL));
        ASSERT_TRUE(program.ClickButton(command));
        const wchar_t *rest = command == IDC_COPY ? L" selected files really to be copied?"
                                                  : L" selected files really to be moved?";
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES, Question(1, rest), MB_YESNO, IDYES));
        for (int answer : answers) {
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  PromptText(e2e::ProgramPath('D', SYSTEM, "BIG"),
                                             e2e::COPY_FAILED),
                                  MB_ABORTRETRYIGNORE, answer));
        }
        EXPECT_TRUE(NoBoxOpen(program));
    }

    // G: holds the old chart as it was, and nothing beside it in the chart directory.
    void ExpectOldChartKept(e2e::Program &program)
    {
        std::string bytes;
        ASSERT_TRUE(e2e::ReadTextFile(ChartPath('G'), bytes));
        EXPECT_TRUE(bytes == oldChart_) << "G:'s BIG holds " << bytes.size() << " bytes";
        e2e::LocalTime time;
        ASSERT_TRUE(e2e::GetLastWriteTime(ChartPath('G'), time));
        EXPECT_EQ(e2e::Format(time), e2e::Format(OLD_TIME));
        EXPECT_EQ(e2e::FolderEntries(e2e::ChartDir('G', SYSTEM)),
                  std::vector<std::string>{"BIG.mas"});
        EXPECT_EQ(program.ListLines(IDC_DEST_LIST),
                  std::vector<std::wstring>{e2e::ListLine("BIG", OLD_TIME)});
        ASSERT_TRUE(e2e::ReadTextFile(ChartPath('D'), bytes));
        EXPECT_TRUE(bytes == newChart_) << "D:'s BIG holds " << bytes.size() << " bytes";
    }

    static constexpr const char *FILLER = "G:\\filler.bin";
    std::string oldChart_;
    std::string newChart_;
};

// Copy and Move fail with the prompt; Ignore, and also Retry while the disk is still
// full, leave G:'s chart as it was and D:'s chart where it is.
TEST_F(DiskFull, CopyAndMoveKeepTheChartThatWasThere)
{
    struct Case {
        const char *title;
        int command;
        std::vector<int> answers;
    } cases[] = {
        {"copy, ignore", IDC_COPY, {IDIGNORE}},
        {"copy, retry, abort", IDC_COPY, {IDRETRY, IDABORT}},
        {"move, ignore", IDC_MOVE, {IDIGNORE}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        e2e::Program program;
        ASSERT_TRUE(Start(program));
        Run(program, c.command, c.answers);
        ExpectOldChartKept(program);
        ASSERT_TRUE(program.ClickButton(IDCANCEL));
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(exitCode));
    }
}

// With room made while the prompt waits, Retry copies the chart whole, with its time.
TEST_F(DiskFull, RetryCopiesOnceThereIsRoom)
{
    e2e::Program program;
    ASSERT_TRUE(Start(program));
    ASSERT_TRUE(program.ClickButton(IDC_ALL));
    ASSERT_TRUE(program.ClickButton(IDC_COPY));
    ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES,
                          Question(1, L" selected files really to be copied?"), MB_YESNO, IDYES));
    e2e::Box prompt;
    ASSERT_TRUE(program.WaitForBox(prompt));
    EXPECT_EQ(prompt.text, PromptText(e2e::ProgramPath('D', SYSTEM, "BIG"), e2e::COPY_FAILED));
    ASSERT_TRUE(DeleteFileA(FILLER));
    ASSERT_TRUE(program.Answer(prompt, IDRETRY));
    EXPECT_TRUE(NoBoxOpen(program));
    std::string bytes;
    ASSERT_TRUE(e2e::ReadTextFile(ChartPath('G'), bytes));
    EXPECT_TRUE(bytes == newChart_) << "G:'s BIG holds " << bytes.size() << " bytes";
    EXPECT_EQ(e2e::FolderEntries(e2e::ChartDir('G', SYSTEM)), std::vector<std::string>{"BIG.mas"});
    EXPECT_EQ(program.ListLines(IDC_DEST_LIST),
              std::vector<std::wstring>{e2e::ListLine("BIG", NEW_TIME)});
    ASSERT_TRUE(program.ClickButton(IDCANCEL));
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(exitCode));
}

}  // namespace

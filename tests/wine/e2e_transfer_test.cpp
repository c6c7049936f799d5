// Copy, Move and Delete in the real program under Wine, from D: to E: (both fixed
// drives): the date filter and Compare choose the charts, the question carries their
// count, a destination that another program holds open and a read-only chart give the
// per-file prompt, and every answer leaves the charts where the user expects them.
#include "e2e_common.h"

#include <map>

namespace {

using e2e::AnswerBox;
using e2e::Chart;
using e2e::Contents;
using e2e::Lines;
using e2e::NoBoxOpen;
using e2e::PromptText;
using e2e::Question;

const char SYSTEM[] = "KOS";

std::string ChartPath(char drive, const std::string &name)
{
    return e2e::ChartDir(drive, SYSTEM) + "\\" + name + ".mas";
}

std::string ProgramPath(char drive, const std::string &name)
{
    return e2e::ProgramPath(drive, SYSTEM, name);
}

// A chart that another program holds open without sharing, until it lets it go.
class HeldOpen {
public:
    explicit HeldOpen(const std::string &path)
        : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~HeldOpen() { Release(); }
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Release()
    {
        if (IsOpen()) {
            CloseHandle(handle_);
            handle_ = INVALID_HANDLE_VALUE;
        }
    }

private:
    HANDLE handle_;
};

class TransferTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }

    // Empty drives with the construction system on C:, D: and E:.
    void Reset()
    {
        ASSERT_TRUE(e2e::ResetDrives());
        for (char drive : {'C', 'D', 'E'}) {
            ASSERT_TRUE(e2e::MakeSystem(drive, SYSTEM, "Kos system"));
        }
    }

    void Put(char drive, const std::vector<Chart> &charts)
    {
        ASSERT_TRUE(e2e::PutCharts(drive, SYSTEM, charts));
    }

    std::map<std::string, std::string> Holds(char drive) { return e2e::Holds(drive, SYSTEM); }

    e2e::Program program_;
};

const Chart ANNA = {"ANNA", {2024, 3, 5, 14, 7}, "ANNA 2024\r\n"};
const Chart BERT = {"BERT", {2023, 11, 20, 9, 30}, "BERT 2023\r\n"};
const Chart CARL = {"CARL", {2024, 1, 2, 8, 0}, "CARL 2024\r\n"};
const Chart CARL_OLDER = {"CARL", {2023, 12, 1, 8, 0}, "CARL 2023\r\n"};
const Chart DORA = {"DORA", {2022, 6, 15, 17, 45}, "DORA 2022\r\n"};
const Chart BERT_OLDER = {"BERT", {2021, 2, 3, 4, 5}, "BERT 2021\r\n"};

// The lists show both drives byte for byte; a date filter narrows them; Compare selects
// what E: lacks or holds older; No to the question changes nothing; Yes copies with
// the source's times and rebuilds both lists.
TEST_F(TransferTest, FilterCompareAndCopyBringTheDestinationUpToDate)
{
    Put('D', {ANNA, BERT, CARL, DORA});
    Put('E', {BERT, CARL_OLDER});
    ASSERT_TRUE(e2e::StartOnDrives(program_, 'D', 'E'));

    EXPECT_EQ(program_.ListLines(IDC_SOURCE_LIST), Lines({ANNA, BERT, CARL, DORA}));
    EXPECT_EQ(program_.ListLines(IDC_DEST_LIST), Lines({BERT, CARL_OLDER}));
    EXPECT_FALSE(program_.IsEnabled(IDC_COPY));

    // Since 1 December 2023: the lines of 2022 and November 2023 go, on both sides.
    ASSERT_TRUE(program_.ClickButton(IDC_SINCE_CHECK));
    ASSERT_TRUE(program_.TypeText(IDC_SINCE_EDIT, L"1.12.23"));
    ASSERT_TRUE(program_.ClickButton(IDC_REFRESH));
    EXPECT_EQ(program_.ItemText(IDC_SINCE_EDIT), L"01.12.2023");
    EXPECT_EQ(program_.ListLines(IDC_SOURCE_LIST), Lines({ANNA, CARL}));
    EXPECT_EQ(program_.ListLines(IDC_DEST_LIST), Lines({CARL_OLDER}));
    ASSERT_TRUE(program_.ClickButton(IDC_SINCE_CHECK));
    EXPECT_EQ(program_.ListLines(IDC_SOURCE_LIST), Lines({ANNA, BERT, CARL, DORA}));
    EXPECT_EQ(program_.ListLines(IDC_DEST_LIST), Lines({BERT, CARL_OLDER}));

    ASSERT_TRUE(program_.ClickButton(IDC_COMPARE));
    EXPECT_EQ(program_.SelectedLines(IDC_SOURCE_LIST), (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(program_.IsEnabled(IDC_COPY));

    ASSERT_TRUE(program_.ClickButton(IDC_COPY));
    ASSERT_TRUE(AnswerBox(program_, e2e::CAPTION_FILES,
                          Question(3, L" selected files really to be copied?"), MB_YESNO, IDNO));
    EXPECT_TRUE(NoBoxOpen(program_));
    EXPECT_EQ(Holds('E'), Contents({BERT, CARL_OLDER}));
    EXPECT_EQ(program_.SelectedLines(IDC_SOURCE_LIST), (std::vector<int>{0, 2, 3}));
    EXPECT_TRUE(program_.IsEnabled(IDC_COPY));

    ASSERT_TRUE(program_.ClickButton(IDC_COPY));
    ASSERT_TRUE(AnswerBox(program_, e2e::CAPTION_FILES,
                          Question(3, L" selected files really to be copied?"), MB_YESNO,
                          IDYES));
    EXPECT_TRUE(NoBoxOpen(program_));
    EXPECT_EQ(Holds('E'), Contents({ANNA, BERT, CARL, DORA}));
    EXPECT_EQ(Holds('D'), Contents({ANNA, BERT, CARL, DORA}));
    EXPECT_EQ(program_.ListLines(IDC_SOURCE_LIST), Lines({ANNA, BERT, CARL, DORA}));
    EXPECT_EQ(program_.ListLines(IDC_DEST_LIST), Lines({ANNA, BERT, CARL, DORA}));
    EXPECT_TRUE(program_.SelectedLines(IDC_SOURCE_LIST).empty());
    EXPECT_FALSE(program_.IsEnabled(IDC_COPY));
    EXPECT_FALSE(program_.IsEnabled(IDC_MOVE));
    EXPECT_FALSE(program_.IsEnabled(IDC_DELETE));

    // Now nothing is newer on D:.
    ASSERT_TRUE(program_.ClickButton(IDC_COMPARE));
    EXPECT_TRUE(program_.SelectedLines(IDC_SOURCE_LIST).empty());
}

TEST_F(TransferTest, MoveTakesTheChartsAcrossWithTheirTimes)
{
    Put('D', {ANNA, BERT, CARL});
    Put('E', {BERT_OLDER});
    ASSERT_TRUE(e2e::StartOnDrives(program_, 'D', 'E'));

    ASSERT_TRUE(program_.ClickLine(IDC_SOURCE_LIST, 0));
    ASSERT_TRUE(program_.CtrlClickLine(IDC_SOURCE_LIST, 1));
    ASSERT_TRUE(program_.ClickButton(IDC_MOVE));
    ASSERT_TRUE(AnswerBox(program_, e2e::CAPTION_FILES,
                          Question(2, L" selected files really to be moved?"), MB_YESNO, IDYES));
    EXPECT_TRUE(NoBoxOpen(program_));

    EXPECT_EQ(Holds('D'), Contents({CARL}));
    EXPECT_EQ(Holds('E'), Contents({ANNA, BERT}));
    EXPECT_EQ(program_.ListLines(IDC_SOURCE_LIST), Lines({CARL}));
    EXPECT_EQ(program_.ListLines(IDC_DEST_LIST), Lines({ANNA, BERT}));
}

// E:'s BERT is held open by another program without sharing: copying onto it fails
// until the handle is closed. RELEASE closes it before the next answer.
TEST_F(TransferTest, DestinationHeldOpenGivesThePromptForEachAnswer)
{
    const int RELEASE = 0;
    struct Case {
        const char *title;
        int command;
        std::vector<int> answers;
        std::vector<Chart> source, dest;
    };
    const Case cases[] = {
        {"copy, abort", IDC_COPY, {IDABORT}, {ANNA, BERT, CARL}, {ANNA, BERT_OLDER}},
        {"copy, ignore", IDC_COPY, {IDIGNORE}, {ANNA, BERT, CARL}, {ANNA, BERT_OLDER, CARL}},
        {"copy, retry", IDC_COPY, {IDRETRY, RELEASE, IDRETRY}, {ANNA, BERT, CARL},
         {ANNA, BERT, CARL}},
        {"move, abort", IDC_MOVE, {IDABORT}, {BERT, CARL}, {ANNA, BERT_OLDER}},
        {"move, ignore", IDC_MOVE, {IDIGNORE}, {BERT}, {ANNA, BERT_OLDER, CARL}},
        {"move, retry", IDC_MOVE, {IDRETRY, RELEASE, IDRETRY}, {}, {ANNA, BERT, CARL}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Reset();
        Put('D', {ANNA, BERT, CARL});
        Put('E', {BERT_OLDER});
        HeldOpen held(ChartPath('E', "BERT"));
        ASSERT_TRUE(held.IsOpen());

        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'D', 'E'));
        ASSERT_TRUE(program.ClickButton(IDC_ALL));
        ASSERT_TRUE(program.ClickButton(c.command));
        const wchar_t *rest = c.command == IDC_COPY ? L" selected files really to be copied?"
                                                    : L" selected files really to be moved?";
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES, Question(3, rest), MB_YESNO, IDYES));
        for (int answer : c.answers) {
            if (answer == RELEASE) {
                held.Release();
                continue;
            }
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  PromptText(ProgramPath('D', "BERT"), e2e::COPY_FAILED),
                                  MB_ABORTRETRYIGNORE, answer));
        }
        EXPECT_TRUE(NoBoxOpen(program));
        held.Release();

        EXPECT_EQ(Holds('D'), Contents(c.source));
        EXPECT_EQ(Holds('E'), Contents(c.dest));
        // Both lists are rebuilt whatever the answer, with the files' own times.
        EXPECT_EQ(program.ListLines(IDC_SOURCE_LIST), Lines(c.source));
        EXPECT_EQ(program.ListLines(IDC_DEST_LIST), Lines(c.dest));
        ASSERT_TRUE(program.ClickButton(IDCANCEL));
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(exitCode));
    }
}

// A read-only chart on the destination is refused by the program itself (Wine run as
// root would write over it): the prompt comes on every Retry and the chart stays as it
// was, until the attribute is taken off outside the program; then Retry copies.
TEST_F(TransferTest, CopyOntoAReadOnlyChartPromptsUntilTheAttributeGoes)
{
    Put('D', {ANNA, BERT});
    Put('E', {BERT_OLDER});
    const std::string target = ChartPath('E', "BERT");
    ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY));
    e2e::Program program;
    ASSERT_TRUE(e2e::StartOnDrives(program, 'D', 'E'));
    ASSERT_TRUE(program.ClickButton(IDC_ALL));
    ASSERT_TRUE(program.ClickButton(IDC_COPY));
    ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES,
                          Question(2, L" selected files really to be copied?"), MB_YESNO, IDYES));
    const std::wstring prompt = PromptText(ProgramPath('D', "BERT"), e2e::COPY_FAILED);
    for (int retry = 0; retry < 3; ++retry) {
        SCOPED_TRACE(retry);
        e2e::Box box;
        ASSERT_TRUE(program.WaitForBox(box));
        EXPECT_EQ(e2e::Utf8(box.text), e2e::Utf8(prompt));
        EXPECT_EQ(Holds('E'), Contents({ANNA, BERT_OLDER}));
        if (retry == 2) {
            ASSERT_TRUE(SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL));
        }
        ASSERT_TRUE(program.Answer(box, IDRETRY));
    }
    EXPECT_TRUE(NoBoxOpen(program));
    EXPECT_EQ(Holds('E'), Contents({ANNA, BERT}));
    EXPECT_EQ(program.ListLines(IDC_DEST_LIST), Lines({ANNA, BERT}));
    EXPECT_EQ(e2e::FolderEntries(e2e::ChartDir('E', SYSTEM)),
              (std::vector<std::string>{"ANNA.mas", "BERT.mas"}));
    ASSERT_TRUE(program.ClickButton(IDCANCEL));
    DWORD exitCode = 0;
    EXPECT_TRUE(program.WaitForExit(exitCode));
}

// A read-only chart cannot be deleted: the delete prompt comes for it, Retry brings it
// back, and the chart stays, still read-only; Abort also spares the charts after it.
TEST_F(TransferTest, DeleteCannotDeleteAReadOnlyChart)
{
    struct Case {
        const char *title;
        std::vector<int> answers;
        std::vector<Chart> left;
    };
    const Case cases[] = {
        {"ignore", {IDIGNORE}, {ANNA}},
        {"retry, then ignore", {IDRETRY, IDIGNORE}, {ANNA}},
        {"abort", {IDABORT}, {ANNA, BERT}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Reset();
        Put('D', {ANNA, BERT});
        ASSERT_TRUE(SetFileAttributesA(ChartPath('D', "ANNA").c_str(), FILE_ATTRIBUTE_READONLY));

        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'D', 'C'));
        ASSERT_TRUE(program.ClickButton(IDC_ALL));
        ASSERT_TRUE(program.ClickButton(IDC_DELETE));
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES,
                              Question(2, L" selected files really to be deleted?"), MB_YESNO,
                              IDYES));
        for (int answer : c.answers) {
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  PromptText(ProgramPath('D', "ANNA"), e2e::DELETE_FAILED),
                                  MB_ABORTRETRYIGNORE, answer));
        }
        EXPECT_TRUE(NoBoxOpen(program));

        EXPECT_EQ(Holds('D'), Contents(c.left));
        EXPECT_EQ(program.ListLines(IDC_SOURCE_LIST), Lines(c.left));
        DWORD attributes = GetFileAttributesA(ChartPath('D', "ANNA").c_str());
        EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(program.ClickButton(IDCANCEL));
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(exitCode));
    }
}

}  // namespace

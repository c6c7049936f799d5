// Drives in the real program under Wine: the diskette prompt of A: and B:, the offer to
// create the product tree on an unprepared drive, two letters for one folder, and a disk
// taken out between the list build and the transfer. Whatever the user answers, every
// chart stays where it was, whole.
#include "e2e_common.h"

#include <algorithm>
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

const Chart ANNA = {"ANNA", {2024, 3, 5, 14, 7}, "ANNA on disk\r\n"};
const Chart BERT = {"BERT", {2023, 11, 20, 9, 30}, "BERT on disk\r\n"};

std::string ProgramPath(char drive, const std::string &name)
{
    return e2e::ProgramPath(drive, SYSTEM, name);
}

class DrivesTest : public ::testing::Test {
protected:
    void SetUp() override { Reset(); }

    void Reset()
    {
        ASSERT_TRUE(e2e::ResetDrives());
        ASSERT_TRUE(e2e::MakeSystem('C', SYSTEM, "Kos system"));
    }

    void Put(char drive, const std::vector<Chart> &charts)
    {
        ASSERT_TRUE(e2e::MakeSystem(drive, SYSTEM, "Kos system"));
        ASSERT_TRUE(e2e::PutCharts(drive, SYSTEM, charts));
    }

    std::map<std::string, std::string> Holds(char drive) { return e2e::Holds(drive, SYSTEM); }

    static void Close(e2e::Program &program)
    {
        ASSERT_TRUE(program.ClickButton(IDCANCEL));
        DWORD exitCode = 0;
        EXPECT_TRUE(program.WaitForExit(exitCode));
    }
};

struct Side {
    const char *title;
    int combo, list;
    const wchar_t *insertDisk;  // the first box of the diskette prompt on this side
};
const Side SIDES[] = {
    {"source", IDC_SOURCE_DRIVE, IDC_SOURCE_LIST, e2e::INSERT_DISK},
    {"destination", IDC_DEST_DRIVE, IDC_DEST_LIST, e2e::INSERT_DEST_DISK},
};

// B: has no disk: the prompt asks for one, then tells that the drive is not ready, and
// the list says so.
TEST_F(DrivesTest, DisketteDriveWithoutDiskPromptsAndListsNotReady)
{
    for (const Side &side : SIDES) {
        SCOPED_TRACE(side.title);
        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'C', 'C'));
        ASSERT_TRUE(program.ChooseComboItem(side.combo, e2e::DrivePosition('B')));
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_DISK, side.insertDisk, MB_OK, IDOK));
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_DISK, e2e::DISK_NOT_READY, MB_OK, IDOK));
        EXPECT_TRUE(NoBoxOpen(program));
        EXPECT_EQ(program.ListLines(side.list), std::vector<std::wstring>{e2e::NOT_READY_LINE});
        Close(program);
    }
}

// A disk put into A: while the prompt asks for it is read at once.
TEST_F(DrivesTest, DiskInsertedAtThePromptIsListed)
{
    for (const Side &side : SIDES) {
        SCOPED_TRACE(side.title);
        Reset();
        Put('A', {ANNA, BERT});
        ASSERT_TRUE(e2e::SetDiskInA(false));
        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'C', 'C'));
        ASSERT_TRUE(program.ChooseComboItem(side.combo, e2e::DrivePosition('A')));
        e2e::Box box;
        ASSERT_TRUE(program.WaitForBox(box));
        EXPECT_EQ(box.text, side.insertDisk);
        ASSERT_TRUE(e2e::SetDiskInA(true));
        ASSERT_TRUE(program.Answer(box, IDOK));
        EXPECT_TRUE(NoBoxOpen(program));
        EXPECT_EQ(program.ListLines(side.list), Lines({ANNA, BERT}));
        Close(program);
    }
}

// An empty D: offers to create the construction system's tree; Yes creates it in upper
// case and lists its empty chart directory, No creates nothing.
TEST_F(DrivesTest, UnpreparedDriveOffersToCreateTheTree)
{
    const std::wstring offer =
        L"VORNIX-directory for active construction system on drive D: does not exist. "
        L"Create now?";
    struct Case {
        const Side &side;
        int answer;
    };
    const Case cases[] = {{SIDES[1], IDYES}, {SIDES[1], IDNO}, {SIDES[0], IDYES}};
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.side.title) + (c.answer == IDYES ? ", yes" : ", no"));
        Reset();
        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'C', 'C'));
        ASSERT_TRUE(program.ChooseComboItem(c.side.combo, e2e::DrivePosition('D')));
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_CREATE, offer, MB_YESNO, c.answer));
        EXPECT_TRUE(NoBoxOpen(program));
        if (c.answer == IDYES) {
            EXPECT_EQ(e2e::FolderEntries("D:"), std::vector<std::string>{"VORNIX"});
            EXPECT_EQ(e2e::FolderEntries("D:\\VORNIX"), std::vector<std::string>{"KOS"});
            EXPECT_EQ(e2e::FolderEntries("D:\\VORNIX\\KOS"),
                      (std::vector<std::string>{"KOLLEKT", "MAS", "MASK", "PROG", "ST", "XWERT"}));
            EXPECT_TRUE(e2e::FolderEntries("D:\\VORNIX\\KOS\\MAS").empty());
            EXPECT_TRUE(program.ListLines(c.side.list).empty());
        } else {
            EXPECT_TRUE(e2e::FolderEntries("D:").empty());
            EXPECT_EQ(program.ListLines(c.side.list),
                      std::vector<std::wstring>{e2e::NOT_PREPARED_LINE});
        }
        Close(program);
    }
}

// D: and F: are one folder. A copy from one to the other would copy each chart onto
// itself: it fails with the copy prompt, and a Move never deletes what it could not copy.
TEST_F(DrivesTest, TwoLettersForOneFolderKeepEveryChart)
{
    struct Case {
        const char *title;
        int command;
        std::vector<int> answers;
    };
    const Case cases[] = {
        {"move, ignore", IDC_MOVE, {IDIGNORE, IDIGNORE}},
        {"move, retry, abort", IDC_MOVE, {IDRETRY, IDABORT}},
        {"copy, ignore", IDC_COPY, {IDIGNORE, IDIGNORE}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Reset();
        Put('D', {ANNA, BERT});
        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, 'D', 'F'));
        EXPECT_EQ(program.ListLines(IDC_DEST_LIST), Lines({ANNA, BERT}));
        ASSERT_TRUE(program.ClickButton(IDC_ALL));
        ASSERT_TRUE(program.ClickButton(c.command));
        const wchar_t *rest = c.command == IDC_COPY ? L" selected files really to be copied?"
                                                    : L" selected files really to be moved?";
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES, Question(2, rest), MB_YESNO, IDYES));
        size_t chart = 0;
        const std::string names[] = {"ANNA", "BERT"};
        for (int answer : c.answers) {
            ASSERT_LT(chart, 2u);
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  PromptText(ProgramPath('D', names[chart]), e2e::COPY_FAILED),
                                  MB_ABORTRETRYIGNORE, answer));
            if (answer == IDIGNORE) {
                ++chart;
            }
        }
        EXPECT_TRUE(NoBoxOpen(program));
        EXPECT_EQ(Holds('D'), Contents({ANNA, BERT}));
        EXPECT_EQ(program.ListLines(IDC_SOURCE_LIST), Lines({ANNA, BERT}));
        EXPECT_EQ(program.ListLines(IDC_DEST_LIST), Lines({ANNA, BERT}));
        Close(program);
    }
}

// The disk is taken out of A: after the lists were built. Each chart gets its prompt;
// the rebuilt list of A: runs the diskette prompt and says not ready; with the disk back,
// every chart is where it was and nothing half-copied is anywhere.
TEST_F(DrivesTest, DiskTakenOutBeforeTheTransferLosesNothing)
{
    struct Case {
        const char *title;
        int command;
        char source, dest;
        std::vector<int> answers;
    };
    const Case cases[] = {
        {"copy from A:, ignore", IDC_COPY, 'A', 'E', {IDIGNORE, IDIGNORE}},
        {"move from A:, retry, abort", IDC_MOVE, 'A', 'E', {IDRETRY, IDABORT}},
        {"delete on A:, ignore", IDC_DELETE, 'A', 'E', {IDIGNORE, IDIGNORE}},
        {"copy to A:, ignore", IDC_COPY, 'E', 'A', {IDIGNORE, IDIGNORE}},
        {"move to A:, abort", IDC_MOVE, 'E', 'A', {IDABORT}},
    };
    const Chart onDisk[] = {ANNA, BERT};
    const Chart onE[] = {{"ANNA", {2025, 1, 2, 3, 4}, "ANNA on E\r\n"},
                         {"BERT", {2025, 5, 6, 7, 8}, "BERT on E\r\n"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.title);
        Reset();
        Put('A', {onDisk[0], onDisk[1]});
        Put('E', {onE[0], onE[1]});
        e2e::Program program;
        ASSERT_TRUE(e2e::StartOnDrives(program, c.source, c.dest));
        ASSERT_TRUE(program.ClickButton(IDC_ALL));
        ASSERT_TRUE(e2e::SetDiskInA(false));

        ASSERT_TRUE(program.ClickButton(c.command));
        const wchar_t *rest = c.command == IDC_COPY   ? L" selected files really to be copied?"
                              : c.command == IDC_MOVE ? L" selected files really to be moved?"
                                                      : L" selected files really to be deleted?";
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_FILES, Question(2, rest), MB_YESNO, IDYES));
        const wchar_t *failed = c.command == IDC_DELETE ? e2e::DELETE_FAILED : e2e::COPY_FAILED;
        size_t chart = 0;
        for (int answer : c.answers) {
            ASSERT_LT(chart, 2u);
            ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_ATTENTION,
                                  PromptText(ProgramPath(c.source, onDisk[chart].name), failed),
                                  MB_ABORTRETRYIGNORE, answer));
            if (answer == IDIGNORE) {
                ++chart;
            }
        }
        // The source list is rebuilt first, then the destination list.
        const wchar_t *insert = c.source == 'A' ? e2e::INSERT_DISK : e2e::INSERT_DEST_DISK;
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_DISK, insert, MB_OK, IDOK));
        ASSERT_TRUE(AnswerBox(program, e2e::CAPTION_DISK, e2e::DISK_NOT_READY, MB_OK, IDOK));
        EXPECT_TRUE(NoBoxOpen(program));
        const int listOfA = c.source == 'A' ? IDC_SOURCE_LIST : IDC_DEST_LIST;
        const int listOfE = c.source == 'A' ? IDC_DEST_LIST : IDC_SOURCE_LIST;
        EXPECT_EQ(program.ListLines(listOfA), std::vector<std::wstring>{e2e::NOT_READY_LINE});
        EXPECT_EQ(program.ListLines(listOfE), Lines({onE[0], onE[1]}));
        Close(program);

        ASSERT_TRUE(e2e::SetDiskInA(true));
        EXPECT_EQ(Holds('A'), Contents({onDisk[0], onDisk[1]}));
        EXPECT_EQ(Holds('E'), Contents({onE[0], onE[1]}));
        EXPECT_EQ(e2e::FolderEntries(e2e::ChartDir('A', SYSTEM)),
                  (std::vector<std::string>{"ANNA.mas", "BERT.mas"}));
        EXPECT_EQ(e2e::FolderEntries(e2e::ChartDir('E', SYSTEM)),
                  (std::vector<std::string>{"ANNA.mas", "BERT.mas"}));
    }
}

}  // namespace

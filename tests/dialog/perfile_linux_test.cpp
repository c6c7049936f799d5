// Copy and delete of one chart with the Abort/Retry/Ignore prompt, called on the open
// main dialog, and the check that Move makes of a copy before it deletes the source.
#include "drivecheck.h"
#include "scenario.h"

#include "app/dialog.h"
#include "app/perfile.h"
#include "Ftn/ftn.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <functional>

using namespace scenario;

namespace {

const Stamp kStamp{2004, 3, 7, 10, 15};
const char kSource[] = "C:\\vornix\\DOB\\mas\\AB.mas";
const char kTarget[] = "D:\\vornix\\DOB\\mas\\AB.mas";
const int kLength = sizeof kSource - 1;
const int kUnset = -7;  // a choice the routines must leave alone on a first success

class PerFile : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        source_ = MakeChart('C', "DOB", "AB.mas", kStamp, "new chart\r\n");
        target_ = Folder('D') / "vornix/DOB/mas/AB.mas";
    }

    void TearDown() override
    {
        Lin32SetMessageBoxHook(nullptr, nullptr);
        Drives::TearDown();
    }

    // Runs the program and calls body with the open dialog; the boxes of start-up are
    // forgotten, so that boxes holds only what body caused.
    void WithDialog(BoxScript &boxes, const std::function<void(HWND)> &body)
    {
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            boxes.Clear();
            body(dialog);
        });
        EXPECT_TRUE(opened);
    }

    fs::path source_;
    fs::path target_;
};

// The primitive fails `failures` times in a row; the user answers from the script.
struct CopyCase {
    const char *what;
    int failures;
    std::vector<int> answers;
    bool result;
    int choice;
    int attempts;
};

TEST_F(PerFile, CopyAsksUntilDoneOrStopped)
{
    const CopyCase cases[] = {
        {"first attempt succeeds", 0, {}, true, kUnset, 1},
        {"retry succeeds", 1, {IDRETRY}, true, IDRETRY, 2},
        {"retry twice then ignore", 10, {IDRETRY, IDRETRY, IDIGNORE}, false, IDIGNORE, 3},
        {"abort", 10, {IDABORT}, false, IDABORT, 1},
    };
    for (const CopyCase &c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(target_, ignored);
        BoxScript boxes(c.answers);
        WithDialog(boxes, [&](HWND dialog) {
            Lin32FailOperation(LIN32_OP_COPY, 1, ERROR_WRITE_FAULT, c.failures);
            int choice = kUnset;
            EXPECT_EQ(CopyWithPrompt(dialog, kSource, kLength, kTarget, kLength, &choice),
                      c.result);
            EXPECT_EQ(choice, c.choice);
            EXPECT_EQ(Lin32OperationCount(LIN32_OP_COPY), c.attempts);
            Lin32ClearFailures();
        });
        // The same prompt for every failed attempt, never rebuilt in between.
        std::vector<std::string> expected(c.answers.size(), Prompt(kSource, kCopyFailed));
        EXPECT_EQ(Describe(boxes), expected);
        EXPECT_EQ(boxes.Unexpected(), 0);
        EXPECT_EQ(fs::exists(target_), c.result);
        if (c.result) {
            EXPECT_EQ(drivecheck::ReadFile(target_), "new chart\r\n");
        }
        EXPECT_EQ(drivecheck::ReadFile(source_), "new chart\r\n");
    }
}

TEST_F(PerFile, CopyReplacesAWritableChartWithoutAsking)
{
    MakeChart('D', "DOB", "AB.mas", Stamp{1999, 1, 1, 0, 0}, "old\r\n");
    BoxScript boxes;
    WithDialog(boxes, [&](HWND dialog) {
        int choice = kUnset;
        EXPECT_TRUE(CopyWithPrompt(dialog, kSource, kLength, kTarget, kLength, &choice));
        EXPECT_EQ(choice, kUnset);
    });
    EXPECT_TRUE(boxes.Shown().empty());
    EXPECT_EQ(drivecheck::ReadFile(target_), "new chart\r\n");
}

// A hook that acts as a user who, while the prompt is open, removes the read-only
// attribute of a file outside the program and then presses Retry.
struct Unprotect {
    std::string path;
    int boxes = 0;
    std::string text;
};

int UnprotectAndRetry(void *context, HWND, const char *text, const char *, UINT)
{
    Unprotect *user = static_cast<Unprotect *>(context);
    ++user->boxes;
    user->text = text;
    SetFileAttributesA(user->path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return IDRETRY;
}

TEST_F(PerFile, ReadOnlyFileAsksAgainUntilTheAttributeIsGone)
{
    struct Case {
        const char *what;
        bool deleting;
        const char *protectedPath;
        const char *message;
    };
    const Case cases[] = {
        {"copy onto a read-only chart", false, kTarget, kCopyFailed},
        {"delete of a read-only chart", true, kSource, kDeleteFailed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        MakeChart('C', "DOB", "AB.mas", kStamp, "new chart\r\n");
        MakeChart('D', "DOB", "AB.mas", kStamp, "old\r\n");
        ASSERT_TRUE(SetFileAttributesA(c.protectedPath, FILE_ATTRIBUTE_READONLY));

        // Ignore first: the file stays as it was.
        BoxScript boxes({IDIGNORE});
        WithDialog(boxes, [&](HWND dialog) {
            int choice = kUnset;
            bool done = c.deleting ? DeleteWithPrompt(dialog, kSource, kLength, &choice)
                                   : CopyWithPrompt(dialog, kSource, kLength, kTarget, kLength,
                                                    &choice);
            EXPECT_FALSE(done);
            EXPECT_EQ(choice, IDIGNORE);
        });
        EXPECT_EQ(Describe(boxes), std::vector<std::string>{Prompt(kSource, c.message)});
        EXPECT_TRUE(fs::exists(source_));
        EXPECT_EQ(drivecheck::ReadFile(target_), "old\r\n");

        // Then Retry after the attribute was removed: done, with Retry as the choice.
        Unprotect user;
        user.path = c.protectedPath;
        WithDialog(boxes, [&](HWND dialog) {
            Lin32SetMessageBoxHook(UnprotectAndRetry, &user);
            int choice = kUnset;
            bool done = c.deleting ? DeleteWithPrompt(dialog, kSource, kLength, &choice)
                                   : CopyWithPrompt(dialog, kSource, kLength, kTarget, kLength,
                                                    &choice);
            EXPECT_TRUE(done);
            EXPECT_EQ(choice, IDRETRY);
        });
        EXPECT_EQ(user.boxes, 1);
        EXPECT_EQ(user.text, std::string(kSource) + "\r" + c.message);
        if (c.deleting) {
            EXPECT_FALSE(fs::exists(source_));
        } else {
            EXPECT_EQ(drivecheck::ReadFile(target_), "new chart\r\n");
        }
    }
}

TEST_F(PerFile, DeleteAnswersAsTheUserChose)
{
    struct Case {
        const char *what;
        bool exists;
        std::vector<int> answers;
        bool result;
        int choice;
    };
    const Case cases[] = {
        {"deletes", true, {}, true, kUnset},
        {"missing chart, ignore", false, {IDIGNORE}, false, IDIGNORE},
        {"missing chart, retry then abort", false, {IDRETRY, IDABORT}, false, IDABORT},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(source_, ignored);
        if (c.exists) {
            MakeChart('C', "DOB", "AB.mas", kStamp);
        }
        BoxScript boxes(c.answers);
        WithDialog(boxes, [&](HWND dialog) {
            int choice = kUnset;
            EXPECT_EQ(DeleteWithPrompt(dialog, kSource, kLength, &choice), c.result);
            EXPECT_EQ(choice, c.choice);
        });
        std::vector<std::string> expected(c.answers.size(), Prompt(kSource, kDeleteFailed));
        EXPECT_EQ(Describe(boxes), expected);
        EXPECT_FALSE(fs::exists(source_));
    }
}

TEST_F(PerFile, PromptStaysWithin253Characters)
{
    struct Case {
        int pathLength;
        size_t shownPath;     // characters of the path in the prompt
        size_t shownMessage;  // characters of the message after the line break
    };
    const size_t message = sizeof kDeleteFailed - 1;
    const Case cases[] = {
        {24, 24, message},
        {200, 200, 52},
        {251, 251, 1},
        {252, 252, 0},
        {300, 252, 0},  // never built by the program: cut so that the break still fits
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pathLength);
        std::string path = "C:\\" + std::string((size_t)c.pathLength - 3, 'x');
        BoxScript boxes({IDIGNORE});
        WithDialog(boxes, [&](HWND dialog) {
            int choice = kUnset;
            EXPECT_FALSE(DeleteWithPrompt(dialog, path.c_str(), c.pathLength, &choice));
        });
        ASSERT_EQ(boxes.Shown().size(), 1u);
        std::string expected = path.substr(0, c.shownPath) + "\r" +
                               std::string(kDeleteFailed).substr(0, c.shownMessage);
        EXPECT_EQ(boxes.Shown()[0].text, expected);
        EXPECT_LE(boxes.Shown()[0].text.size(), 253u);
    }
}

TEST_F(PerFile, MoveCountsACopyOnlyWhenTheDestinationIsComplete)
{
    struct Case {
        const char *what;
        const char *target;
        std::function<void()> prepare;
        bool confirmed;
    };
    fs::path folderTarget = Folder('D') / "vornix/DOB/mas/DIR.mas";
    const Case cases[] = {
        {"same size", kTarget, [&] { MakeChart('D', "DOB", "AB.mas", kStamp, "new chart\r\n"); },
         true},
        {"shorter", kTarget, [&] { MakeChart('D', "DOB", "AB.mas", kStamp, "new"); }, false},
        {"longer", kTarget, [&] { MakeChart('D', "DOB", "AB.mas", kStamp, "new chart\r\n!"); },
         false},
        {"missing", kTarget, [] {}, false},
        {"a folder", "D:\\vornix\\DOB\\mas\\DIR.mas",
         [&] { fs::create_directories(folderTarget); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::error_code ignored;
        fs::remove(target_, ignored);
        c.prepare();
        EXPECT_EQ(ConfirmChartCopy(kSource, kLength, c.target, (int)strlen(c.target), false),
                  c.confirmed);
    }
    // A source that is gone, and lengths that name no path.
    EXPECT_FALSE(
        ConfirmChartCopy("C:\\vornix\\DOB\\mas\\NONE.mas", 26, kTarget, kLength, false));
    EXPECT_FALSE(ConfirmChartCopy(kSource, 0, kTarget, kLength, false));
    EXPECT_FALSE(ConfirmChartCopy(kSource, kLength, kTarget, -1, false));
    EXPECT_FALSE(ConfirmChartCopy(kSource, kLength, kTarget, 260, false));
}

TEST_F(PerFile, MoveWritesACopyOnARemovableDriveThroughToTheDisk)
{
    Map('A', DRIVE_REMOVABLE);
    MakeSystem('A', "DOB", "Ladies");
    const char target[] = "A:\\vornix\\DOB\\mas\\AB.mas";
    short status = 3;
    FTNFCO(&status, kSource, kLength, target, kLength);
    ASSERT_EQ(status, 0);

    Lin32ClearFailures();
    ASSERT_TRUE(IsRemovableDrive('A'));
    EXPECT_TRUE(ConfirmChartCopy(kSource, kLength, target, kLength, true));
    EXPECT_EQ(Lin32OperationCount(LIN32_OP_FLUSH), 1);

    Lin32FailOperation(LIN32_OP_FLUSH, 1, ERROR_WRITE_FAULT, 1);
    EXPECT_FALSE(ConfirmChartCopy(kSource, kLength, target, kLength, true));

    // On a fixed drive nothing is flushed.
    MakeChart('D', "DOB", "AB.mas", kStamp, "new chart\r\n");
    Lin32ClearFailures();
    ASSERT_FALSE(IsRemovableDrive('D'));
    EXPECT_TRUE(ConfirmChartCopy(kSource, kLength, kTarget, kLength, false));
    EXPECT_EQ(Lin32OperationCount(LIN32_OP_FLUSH), 0);
}

}  // namespace

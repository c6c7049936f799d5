// The command table of the main dialog: which commands the procedure takes, which lists
// they rebuild, and what the transfer buttons follow afterwards.
#include "scenario.h"

#include "app/dialog.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"

#include <functional>

using namespace scenario;

namespace {

const Stamp kMarch{2004, 3, 7, 9, 5};
const Stamp kJune{2004, 6, 15, 10, 0};

const int kTransferButtons[] = {IDC_COPY, IDC_MOVE, IDC_DELETE};

class Dispatch : public Drives {
protected:
    void SetUp() override
    {
        Drives::SetUp();
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('C', "KOS", "Men");
        MakeSystem('D', "DOB", "Ladies");
        MakeSystem('D', "KOS", "Men");
        MakeChart('C', "DOB", "a.mas", kMarch);
        MakeChart('C', "DOB", "b.mas", kJune);
        MakeChart('D', "DOB", "x.mas", kMarch);
        MakeChart('C', "KOS", "kid.mas", kJune);
    }

    void Run(const std::function<void(HWND)> &user)
    {
        bool opened = false;
        EXPECT_EQ(driver::RunProgram("", [&](HWND dialog) {
                      opened = true;
                      user(dialog);
                  }),
                  0);
        EXPECT_TRUE(opened);
    }

    static std::vector<bool> Buttons(HWND dialog)
    {
        std::vector<bool> states;
        for (int id : kTransferButtons) {
            states.push_back(driver::IsEnabled(dialog, id));
        }
        return states;
    }

    BoxScript boxes_;
};

const std::vector<bool> kEnabled{true, true, true};
const std::vector<bool> kDisabled{false, false, false};

TEST_F(Dispatch, AnswersByTheWholeCommandWord)
{
    struct {
        WPARAM command;
        INT_PTR answer;
    } cases[] = {
        {IDOK, TRUE},
        {IDC_REFRESH, TRUE},
        {IDC_ALL, TRUE},
        {IDC_SORT_NAME, TRUE},
        {MAKEWPARAM(IDC_SOURCE_LIST, LBN_SELCHANGE), TRUE},
        {MAKEWPARAM(IDC_DEST_LIST, LBN_SELCHANGE), TRUE},
        {MAKEWPARAM(IDC_SYSTEM, CBN_SELCHANGE), TRUE},
        {MAKEWPARAM(IDC_REFRESH, 1), FALSE},
        {MAKEWPARAM(IDOK, 1), FALSE},
        {IDC_SOURCE_LIST, FALSE},
        {IDC_SOURCE_DRIVE, FALSE},
        {MAKEWPARAM(IDC_SOURCE_DRIVE, 2), FALSE},
        {MAKEWPARAM(IDC_COPY, 1), FALSE},
        {IDM_SAME_DRIVE, FALSE},
        {0, FALSE},
        {9999, FALSE},
    };
    Run([&](HWND dialog) {
        for (const auto &test : cases) {
            SCOPED_TRACE(test.command);
            EXPECT_EQ(MainDialogProc(dialog, WM_COMMAND, test.command, 0), test.answer);
            EXPECT_FALSE(Lin32IsDialogEnded(dialog));
        }
        EXPECT_EQ(MainDialogProc(dialog, WM_CLOSE, 0, 0), FALSE);
        EXPECT_EQ(MainDialogProc(dialog, WM_SETTEXT, 0, (LPARAM) "x"), FALSE);
    });
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{});
}

TEST_F(Dispatch, CloseEndsTheProgram)
{
    for (bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Esc" : "Close");
        HWND seen = nullptr;
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        Run([&](HWND dialog) {
            seen = dialog;
            if (escape) {
                driver::PressEscape(dialog);
            } else {
                driver::ClickButton(dialog, IDCANCEL);
            }
            EXPECT_TRUE(Lin32IsDialogEnded(dialog));
        });
        EXPECT_NE(seen, nullptr);
    }
}

// Enter and every refresh command rebuild both lists; the drive changes only their own.
TEST_F(Dispatch, ListsRebuiltPerCommand)
{
    const std::vector<std::string> before{Line("A", kMarch), Line("B", kJune)};
    const std::vector<std::string> after{Line("A", kMarch), Line("B", kJune),
                                         Line("NEW", kJune)};
    const std::vector<std::string> onD{Line("NEW", kJune), Line("X", kMarch)};
    const std::vector<std::string> otherSystem{Line("KID", kJune), Line("NEW", kJune)};
    struct {
        const char *name;
        std::function<void(HWND)> act;
        std::vector<std::string> source;
        std::vector<std::string> destination;
    } cases[] = {
        {"Enter", [](HWND d) { driver::PressEnter(d); }, after, after},
        {"Refresh List", [](HWND d) { driver::ClickButton(d, IDC_REFRESH); }, after, after},
        {"sort by name again", [](HWND d) { driver::ClickButton(d, IDC_SORT_NAME); }, after,
         after},
        {"construction system", [](HWND d) { driver::ChooseComboItem(d, IDC_SYSTEM, 1); },
         otherSystem, otherSystem},
        {"source drive", [](HWND d) { driver::ChooseComboItem(d, IDC_SOURCE_DRIVE, 1); }, onD,
         before},
        {"destination drive", [](HWND d) { driver::ChooseComboItem(d, IDC_DEST_DRIVE, 1); },
         before, onD},
        {"All", [](HWND d) { driver::ClickButton(d, IDC_ALL); }, before, before},
        {"Compare", [](HWND d) { driver::ClickButton(d, IDC_COMPARE); }, before, before},
        {"source line", [](HWND d) { driver::ClickLine(d, IDC_SOURCE_LIST, 0); }, before,
         before},
    };
    const fs::path newCharts[] = {Folder('C') / "vornix/DOB/mas/new.mas",
                                  Folder('C') / "vornix/KOS/mas/new.mas",
                                  Folder('D') / "vornix/DOB/mas/new.mas"};
    for (const auto &test : cases) {
        SCOPED_TRACE(test.name);
        for (const fs::path &chart : newCharts) {
            fs::remove(chart);
        }
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\"));
        Run([&](HWND dialog) {
            ASSERT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), before);
            ASSERT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), before);
            for (const fs::path &chart : newCharts) {
                WriteText(chart, "new chart");
                SetStamp(chart, kJune);
            }
            test.act(dialog);
            EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), test.source);
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), test.destination);
        });
    }
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{});
}

// Copy, Move and Delete follow the source list after a selection, All and Compare, and
// the destination list (always disabled) after every refresh.
TEST_F(Dispatch, TransferButtonsFollowTheList)
{
    struct {
        const char *name;
        std::function<void(HWND)> act;
        std::vector<int> sourceSelection;
        std::vector<bool> buttons;
    } steps[] = {
        {"opened", [](HWND) {}, {}, kDisabled},
        {"source line clicked", [](HWND d) { driver::ClickLine(d, IDC_SOURCE_LIST, 1); }, {1},
         kEnabled},
        {"destination drive changed",
         [](HWND d) { driver::ChooseComboItem(d, IDC_DEST_DRIVE, 1); }, {1}, kDisabled},
        {"source line clicked again",
         [](HWND d) { driver::CtrlClickLine(d, IDC_SOURCE_LIST, 0); }, {0, 1}, kEnabled},
        {"destination line clicked",
         [](HWND d) { driver::ClickLine(d, IDC_DEST_LIST, 0); }, {0, 1}, kEnabled},
        {"selection taken back",
         [](HWND d) {
             driver::CtrlClickLine(d, IDC_SOURCE_LIST, 0);
             driver::CtrlClickLine(d, IDC_SOURCE_LIST, 1);
         },
         {}, kDisabled},
        {"All", [](HWND d) { driver::ClickButton(d, IDC_ALL); }, {0, 1}, kEnabled},
        {"Refresh List", [](HWND d) { driver::ClickButton(d, IDC_REFRESH); }, {}, kDisabled},
        {"Compare", [](HWND d) { driver::ClickButton(d, IDC_COMPARE); }, {0, 1}, kEnabled},
        {"sort by date", [](HWND d) { driver::ClickButton(d, IDC_SORT_DATE); }, {},
         kDisabled},
        {"source drive to an empty list",
         [](HWND d) {
             driver::ChooseComboItem(d, IDC_SYSTEM, 1);
             driver::ChooseComboItem(d, IDC_SOURCE_DRIVE, 1);
         },
         {}, kDisabled},
        {"All on the empty list", [](HWND d) { driver::ClickButton(d, IDC_ALL); }, {},
         kDisabled},
    };
    Run([&](HWND dialog) {
        for (const auto &step : steps) {
            SCOPED_TRACE(step.name);
            step.act(dialog);
            EXPECT_EQ(driver::SelectedLines(dialog, IDC_SOURCE_LIST), step.sourceSelection);
            EXPECT_EQ(driver::SelectedLines(dialog, IDC_DEST_LIST), std::vector<int>{});
            EXPECT_EQ(Buttons(dialog), step.buttons);
        }
    });
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{});
}

// A filter check box makes its edit writable while checked and refreshes at once.
TEST_F(Dispatch, FilterCheckBoxes)
{
    struct {
        int check;
        int edit;
    } filters[] = {{IDC_UNTIL_CHECK, IDC_UNTIL_EDIT},
                   {IDC_AT_CHECK, IDC_AT_EDIT},
                   {IDC_SINCE_CHECK, IDC_SINCE_EDIT},
                   {IDC_NAME_CHECK, IDC_NAME_EDIT}};
    Run([&](HWND dialog) {
        for (const auto &filter : filters) {
            SCOPED_TRACE(filter.check);
            fs::remove(Folder('C') / "vornix/DOB/mas/new.mas");
            driver::ClickButton(dialog, IDC_REFRESH);
            EXPECT_TRUE(driver::IsReadOnly(dialog, filter.edit));

            MakeChart('C', "DOB", "new.mas", kJune);
            driver::ClickButton(dialog, filter.check);
            EXPECT_TRUE(driver::IsChecked(dialog, filter.check));
            EXPECT_FALSE(driver::IsReadOnly(dialog, filter.edit));
            // Checked with an empty edit it filters nothing.
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST).size(), 3u);

            driver::TypeText(dialog, filter.edit, "text");
            fs::remove(Folder('C') / "vornix/DOB/mas/new.mas");
            driver::ClickButton(dialog, filter.check);
            EXPECT_FALSE(driver::IsChecked(dialog, filter.check));
            EXPECT_TRUE(driver::IsReadOnly(dialog, filter.edit));
            EXPECT_EQ(driver::ItemText(dialog, filter.edit), "text");
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST),
                      (std::vector<std::string>{Line("A", kMarch), Line("B", kJune)}));
        }
    });
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{});
}

// The date filter works on both lists after every refresh, also on a list that the
// command did not rebuild.
TEST_F(Dispatch, DateFilterAfterEveryRefresh)
{
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, IDC_AT_CHECK);
        driver::TypeText(dialog, IDC_AT_EDIT, "7.3.4");
        driver::PressEnter(dialog);
        EXPECT_EQ(driver::ItemText(dialog, IDC_AT_EDIT), "07.03.2004");
        const std::vector<std::string> march{Line("A", kMarch)};
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), march);
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), march);
        driver::TypeText(dialog, IDC_AT_EDIT, "15.06.2004");
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, 1);
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), std::vector<std::string>{});
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), std::vector<std::string>{});
    });
    EXPECT_EQ(Describe(boxes_), std::vector<std::string>{});
}

// Without a construction system no list can be built: one box per refresh, and the date
// filter and the buttons are still handled.
TEST_F(Dispatch, RefreshWithoutAConstructionSystem)
{
    bool opened = false;
    driver::RunProgram("/K:NONE", [&](HWND dialog) {
        opened = true;
        EXPECT_EQ(Describe(boxes_), (std::vector<std::string>{NoSystemBox(),
                                                              ErrorBox("Error: 1004")}));
        boxes_.Clear();
        driver::ClickButton(dialog, IDC_AT_CHECK);
        driver::TypeText(dialog, IDC_AT_EDIT, "7.3.4");
        driver::PressEnter(dialog);
        EXPECT_EQ(Describe(boxes_), (std::vector<std::string>{ErrorBox("Error: 1004"),
                                                              ErrorBox("Error: 1004")}));
        EXPECT_EQ(driver::ItemText(dialog, IDC_AT_EDIT), "07.03.2004");
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST), std::vector<std::string>{});
        EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST), std::vector<std::string>{});
        EXPECT_EQ(Buttons(dialog), kDisabled);
    });
    EXPECT_TRUE(opened);
}

}  // namespace

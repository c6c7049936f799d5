// The user's input on the Linux layer's dialog model, through the dialog driver: each
// action changes what the platform changes and delivers the notification the platform
// delivers, in that order, and nothing on controls a user cannot reach.
#include "model_support.h"
#include "support/dialog_driver.h"

#include <gtest/gtest-spi.h>

#include <string.h>

namespace {

using Input = ModelTest;

void Fill(HWND dialog, int id, UINT message, std::initializer_list<const char *> texts)
{
    for (const char *text : texts) {
        SendDlgItemMessageA(dialog, id, message, 0, (LPARAM)text);
    }
}

WPARAM Word(int id, WORD code) { return MAKEWPARAM(id, code); }

TEST_F(Input, ComboChoiceSelectsThenNotifies)
{
    onInit = [](HWND dialog) { Fill(dialog, IDC_SYSTEM, CB_ADDSTRING, {"A", "B", "C"}); };
    LRESULT selectedWhenNotified = -2;
    onCommand = [&](HWND dialog, WPARAM) {
        selectedWhenNotified = SendDlgItemMessageA(dialog, IDC_SYSTEM, CB_GETCURSEL, 0, 0);
    };
    HWND combo = nullptr;
    Run([&](HWND dialog) {
        combo = GetDlgItem(dialog, IDC_SYSTEM);
        driver::ChooseComboItem(dialog, IDC_SYSTEM, 2);
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_SYSTEM), 2);
        EXPECT_EQ(driver::ComboItems(dialog, IDC_SYSTEM), (std::vector<std::string>{"A", "B", "C"}));
        EXPECT_EQ(driver::ItemText(dialog, IDC_SYSTEM), "C");
    });
    EXPECT_EQ(Commands(), std::vector<WPARAM>{Word(IDC_SYSTEM, CBN_SELCHANGE)});
    EXPECT_EQ(received.back().lParam, (LPARAM)combo);
    EXPECT_EQ(selectedWhenNotified, 2);
}

TEST_F(Input, ClicksOnTheExtendedList)
{
    onInit = [](HWND dialog) { Fill(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, {"a", "b", "c", "d"}); };
    std::vector<std::vector<int>> seen;
    Run([&](HWND dialog) {
        onCommand = [&](HWND d, WPARAM) { seen.push_back(driver::SelectedLines(d, IDC_SOURCE_LIST)); };
        driver::ClickLine(dialog, IDC_SOURCE_LIST, 1);
        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 3);
        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 1);  // toggles it off again
        driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, 0);
        driver::ClickLine(dialog, IDC_SOURCE_LIST, 2);       // this line alone
        EXPECT_EQ(driver::ListLines(dialog, IDC_SOURCE_LIST),
                  (std::vector<std::string>{"a", "b", "c", "d"}));
    });
    EXPECT_EQ(seen, (std::vector<std::vector<int>>{{1}, {1, 3}, {3}, {0, 3}, {2}}));
    EXPECT_EQ(Commands(), std::vector<WPARAM>(5, Word(IDC_SOURCE_LIST, LBN_SELCHANGE)));
}

TEST_F(Input, ClickOnTheSingleListSelectsTheLine)
{
    onInit = [](HWND dialog) { Fill(dialog, IDC_DEST_LIST, LB_ADDSTRING, {"a", "b"}); };
    Run([&](HWND dialog) {
        driver::ClickLine(dialog, IDC_DEST_LIST, 1);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_DEST_LIST), std::vector<int>{1});
        driver::CtrlClickLine(dialog, IDC_DEST_LIST, 0);
        EXPECT_EQ(driver::SelectedLines(dialog, IDC_DEST_LIST), std::vector<int>{0});
    });
    EXPECT_EQ(Commands(), std::vector<WPARAM>(2, Word(IDC_DEST_LIST, LBN_SELCHANGE)));
}

TEST_F(Input, ListsNotifyOnlyWithTheirStyleAndMultipleSelectionToggles)
{
    UseDialog(DLG_LIST_KINDS);
    onInit = [](HWND dialog) {
        Fill(dialog, 1, LB_ADDSTRING, {"a", "b"});
        Fill(dialog, 2, LB_ADDSTRING, {"a", "b"});
    };
    Run([&](HWND dialog) {
        driver::ClickLine(dialog, 1, 0);
        EXPECT_EQ(driver::SelectedLines(dialog, 1), std::vector<int>{0});
        driver::ClickLine(dialog, 2, 0);
        driver::ClickLine(dialog, 2, 1);
        EXPECT_EQ(driver::SelectedLines(dialog, 2), (std::vector<int>{0, 1}));
        driver::ClickLine(dialog, 2, 0);
        EXPECT_EQ(driver::SelectedLines(dialog, 2), std::vector<int>{1});
    });
    EXPECT_EQ(Commands(), std::vector<WPARAM>(3, Word(2, LBN_SELCHANGE)));
}

TEST_F(Input, ButtonClicksChangeTheStateBeforeTheNotification)
{
    std::vector<std::string> states;
    onCommand = [&](HWND dialog, WPARAM) {
        states.push_back(std::to_string(IsDlgButtonChecked(dialog, IDC_UNTIL_CHECK)) +
                         std::to_string(IsDlgButtonChecked(dialog, IDC_SORT_NAME)) +
                         std::to_string(IsDlgButtonChecked(dialog, IDC_SORT_DATE)));
    };
    Run([&](HWND dialog) {
        CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_DATE, IDC_SORT_NAME);
        driver::ClickButton(dialog, IDC_UNTIL_CHECK);  // checks
        driver::ClickButton(dialog, IDC_UNTIL_CHECK);  // unchecks
        driver::ClickButton(dialog, IDC_SORT_DATE);    // checks, unchecks "name"
        driver::ClickButton(dialog, IDC_SORT_DATE);    // already checked: stays, notifies
        driver::ClickButton(dialog, IDC_COPY);         // push button
        Lin32UserClickButton(Lin32ControlAt(dialog, 28));  // the "Filter" group box
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_SORT_DATE));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_SORT_NAME));
    });
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDC_UNTIL_CHECK, IDC_UNTIL_CHECK, IDC_SORT_DATE,
                                               IDC_SORT_DATE, IDC_COPY}));
    EXPECT_EQ(states, (std::vector<std::string>{"110", "010", "001", "001", "001"}));
}

TEST_F(Input, AutomaticRadioButtonsUncheckOnlyTheirGroup)
{
    UseDialog(DLG_RADIO_GROUPS);
    Run([&](HWND dialog) {
        for (int id : {1, 3, 4, 5}) {
            CheckDlgButton(dialog, id, BST_CHECKED);
        }
        driver::ClickButton(dialog, 2);
        EXPECT_FALSE(driver::IsChecked(dialog, 1));
        EXPECT_TRUE(driver::IsChecked(dialog, 2));
        EXPECT_TRUE(driver::IsChecked(dialog, 3));  // not a radio button
        EXPECT_TRUE(driver::IsChecked(dialog, 4));  // another group
        driver::ClickButton(dialog, 4);
        EXPECT_FALSE(driver::IsChecked(dialog, 5));  // radio buttons of any kind
        CheckDlgButton(dialog, 4, BST_UNCHECKED);
        driver::ClickButton(dialog, 5);  // not automatic: the program decides
        EXPECT_FALSE(driver::IsChecked(dialog, 5));
    });
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{2, 4, 5}));
}

TEST_F(Input, EnterEscapeAndTheCloseBox)
{
    HWND close = nullptr;
    Run([&](HWND dialog) {
        close = GetDlgItem(dialog, IDCANCEL);
        driver::PressEnter(dialog);
        driver::PressEscape(dialog);
        Lin32UserCloseBox(dialog);
    });
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{IDOK, IDCANCEL, IDCANCEL}));
    std::vector<Received> commands;
    for (const Received &r : received) {
        if (r.message == WM_COMMAND || r.message == WM_CLOSE) {
            commands.push_back(r);
        }
    }
    ASSERT_EQ(commands.size(), 4u);
    EXPECT_EQ(commands[0].lParam, 0);  // dialog 101 has no IDOK button
    EXPECT_EQ(commands[1].lParam, (LPARAM)close);
    EXPECT_EQ(commands[2].message, (UINT)WM_CLOSE);
    EXPECT_EQ(commands[3].lParam, (LPARAM)close);
}

TEST_F(Input, EnterClicksTheEnabledDefaultButtonAndADisabledCancelKeepsTheDialogOpen)
{
    UseDialog(DLG_DEFAULT_BUTTON);
    Run([&](HWND dialog) {
        driver::PressEnter(dialog);
        EnableWindow(GetDlgItem(dialog, 7), FALSE);
        driver::PressEnter(dialog);
        Lin32UserCloseBox(dialog);
    });
    EXPECT_EQ(Commands(), (std::vector<WPARAM>{Word(7, BN_CLICKED), IDOK}));
    EXPECT_EQ(received.back().message, (UINT)WM_CLOSE);
}

TEST_F(Input, UnreachableControlsIgnoreTheUser)
{
    UseDialog(DLG_UNREACHABLE);
    onInit = [](HWND dialog) {
        Fill(dialog, 2, CB_ADDSTRING, {"a", "b"});
        Fill(dialog, 3, LB_ADDSTRING, {"a", "b"});
        for (int id : {2, 3, 4, 5}) {
            EnableWindow(GetDlgItem(dialog, id), FALSE);
        }
    };
    Run([&](HWND dialog) {
        driver::ClickButton(dialog, 1);
        driver::ChooseComboItem(dialog, 2, 1);
        driver::ClickLine(dialog, 3, 1);
        driver::TypeText(dialog, 4, "typed");
        driver::ClickButton(dialog, 5);
        EXPECT_FALSE(driver::IsChecked(dialog, 1));
        EXPECT_EQ(driver::ComboSelection(dialog, 2), -1);
        EXPECT_TRUE(driver::SelectedLines(dialog, 3).empty());
        EXPECT_EQ(driver::ItemText(dialog, 4), "");
        EXPECT_FALSE(driver::IsEnabled(dialog, 5));
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Input, AnEndedDialogTakesNoMoreInput)
{
    onInit = [](HWND dialog) { Fill(dialog, IDC_SOURCE_LIST, LB_ADDSTRING, {"a"}); };
    EXPECT_EQ(Run([&](HWND dialog) {
                  EndDialog(dialog, 3);
                  driver::ClickButton(dialog, IDC_COPY);
                  driver::ClickLine(dialog, IDC_SOURCE_LIST, 0);
                  driver::PressEnter(dialog);
                  driver::PressEscape(dialog);
                  EXPECT_TRUE(driver::SelectedLines(dialog, IDC_SOURCE_LIST).empty());
              }),
              3);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Input, TypingHonoursReadOnlyAndTheLimit)
{
    Run([&](HWND dialog) {
        EXPECT_TRUE(driver::IsReadOnly(dialog, IDC_NAME_EDIT));
        driver::TypeText(dialog, IDC_NAME_EDIT, "KOS");
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "");
        SendDlgItemMessageA(dialog, IDC_NAME_EDIT, EM_SETREADONLY, FALSE, 0);
        SendDlgItemMessageA(dialog, IDC_NAME_EDIT, EM_LIMITTEXT, 8, 0);
        EXPECT_FALSE(driver::IsReadOnly(dialog, IDC_NAME_EDIT));
        driver::TypeText(dialog, IDC_NAME_EDIT, "KOS");
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "KOS");
        driver::TypeText(dialog, IDC_NAME_EDIT, "ABCDEFGHIJ");  // replaces, cut at the limit
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "ABCDEFGH");
        driver::TypeText(dialog, IDC_NAME_EDIT, "");
        EXPECT_EQ(driver::ItemText(dialog, IDC_NAME_EDIT), "");
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Input, ReadBackOfStates)
{
    Run([&](HWND dialog) {
        EXPECT_TRUE(driver::IsEnabled(dialog, IDC_MOVE));
        EnableWindow(GetDlgItem(dialog, IDC_MOVE), FALSE);
        EXPECT_FALSE(driver::IsEnabled(dialog, IDC_MOVE));
        EXPECT_FALSE(driver::IsChecked(dialog, IDC_AT_CHECK));
        CheckDlgButton(dialog, IDC_AT_CHECK, BST_CHECKED);
        EXPECT_TRUE(driver::IsChecked(dialog, IDC_AT_CHECK));
        EXPECT_EQ(driver::ItemText(dialog, IDCANCEL), "Close");
        EXPECT_EQ(driver::ItemText(dialog, IDM_ASK_COPY), "#### selected files really to be copied?");
        EXPECT_TRUE(driver::ListLines(dialog, IDC_DEST_LIST).empty());
        EXPECT_EQ(driver::ComboSelection(dialog, IDC_DEST_DRIVE), -1);
    });
}

// A script that asks for what the dialog does not have fails the test that runs it.
TEST_F(Input, ImpossibleRequestsFailTheTest)
{
    Run([&](HWND dialog) {
        EXPECT_NONFATAL_FAILURE(driver::ClickLine(dialog, IDC_SOURCE_LIST, 0), "has no line 0");
        EXPECT_NONFATAL_FAILURE(driver::ChooseComboItem(dialog, IDC_SYSTEM, 0), "has no entry 0");
        EXPECT_NONFATAL_FAILURE(driver::ClickButton(dialog, 4711), "no control 4711");
        EXPECT_NONFATAL_FAILURE(driver::ClickButton(dialog, IDC_SOURCE_LIST), "not Button");
        EXPECT_NONFATAL_FAILURE(driver::TypeText(dialog, IDC_COPY, "x"), "not Edit");
        EXPECT_NONFATAL_FAILURE(driver::ListLines(dialog, IDC_SYSTEM), "not ListBox");
        EXPECT_NONFATAL_FAILURE(driver::PressEnter(GetDlgItem(dialog, IDC_COPY)), "not a dialog");
    });
    EXPECT_TRUE(Commands().empty());
}

// The program's own start-up with a user script: the script runs inside the dialog's
// modal loop once initialisation is done, and the dialog is closed afterwards.
TEST(RunProgram, RunsTheUserInsideTheDialogAndClosesIt)
{
    LocaleScope locale("en_GB.UTF-8");
    int calls = 0;
    HWND seen = nullptr;
    int code = driver::RunProgram("", [&](HWND dialog) {
        ++calls;
        seen = dialog;
        EXPECT_FALSE(Lin32IsDialogEnded(dialog));
        EXPECT_EQ(Lin32ControlCount(dialog), 50);
        // Initialisation has limited the name edit to 8 characters.
        EXPECT_EQ(Lin32GetEditLimit(GetDlgItem(dialog, IDC_NAME_EDIT)), 8);
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Lin32ControlCount(seen), 0);  // closed and gone
}

}  // namespace

// The controls of the Linux layer's dialog model under the messages the program sends:
// lists (single and extended selection), combos, edits, buttons and dialog-item texts.
// None of these messages may notify the dialog procedure.
#include "model_support.h"

#include <string.h>

namespace {

using Controls = ModelTest;

LRESULT List(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, message, wParam, lParam);
}

LRESULT Single(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, IDC_DEST_LIST, message, wParam, lParam);
}

LRESULT Combo(HWND dialog, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return SendDlgItemMessageA(dialog, IDC_SYSTEM, message, wParam, lParam);
}

void AddLines(HWND dialog, int listId, std::initializer_list<const char *> lines)
{
    for (const char *line : lines) {
        SendDlgItemMessageA(dialog, listId, LB_ADDSTRING, 0, (LPARAM)line);
    }
}

std::string LineText(HWND dialog, int listId, int index)
{
    char buffer[64];
    memset(buffer, 'x', sizeof buffer);
    LRESULT length = SendDlgItemMessageA(dialog, listId, LB_GETTEXT, (WPARAM)index, (LPARAM)buffer);
    if (length < 0) {
        return "<error>";
    }
    EXPECT_EQ(buffer[length], '\0');
    return std::string(buffer, (size_t)length);
}

TEST_F(Controls, LinesAreAddedReadAndDeleted)
{
    Run([&](HWND dialog) {
        EXPECT_EQ(List(dialog, LB_ADDSTRING, 0, (LPARAM) "ALPHA\t01.02.99"), 0);
        EXPECT_EQ(List(dialog, LB_ADDSTRING, 0, (LPARAM) "zulu"), 1);  // the list is not sorted
        const char withNul[] = "BE\0TA";
        EXPECT_EQ(List(dialog, LB_ADDSTRING, 0, (LPARAM)withNul), 2);
        EXPECT_EQ(List(dialog, LB_GETCOUNT), 3);
        EXPECT_EQ(LineText(dialog, IDC_SOURCE_LIST, 0), "ALPHA\t01.02.99");
        EXPECT_EQ(LineText(dialog, IDC_SOURCE_LIST, 2), "BE");  // up to the first NUL
        EXPECT_EQ(List(dialog, LB_GETTEXTLEN, 1), 4);
        for (int bad : {-1, 3, 100}) {
            SCOPED_TRACE(bad);
            EXPECT_EQ(List(dialog, LB_GETTEXTLEN, (WPARAM)bad), LB_ERR);
            EXPECT_EQ(LineText(dialog, IDC_SOURCE_LIST, bad), "<error>");
            EXPECT_EQ(List(dialog, LB_DELETESTRING, (WPARAM)bad), LB_ERR);
        }
        EXPECT_EQ(List(dialog, LB_GETCOUNT), 3);
        EXPECT_EQ(List(dialog, LB_DELETESTRING, 0), 2);  // the lines left
        EXPECT_EQ(LineText(dialog, IDC_SOURCE_LIST, 0), "zulu");
        List(dialog, LB_RESETCONTENT);
        EXPECT_EQ(List(dialog, LB_GETCOUNT), 0);
        EXPECT_EQ(List(dialog, LB_ADDSTRING, 0, 0), 0);  // no text is an empty line
        EXPECT_EQ(List(dialog, LB_GETTEXTLEN, 0), 0);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, SelectionOfTheExtendedList)
{
    Run([&](HWND dialog) {
        AddLines(dialog, IDC_SOURCE_LIST, {"a", "b", "c", "d"});
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 0);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, 1), 0);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, 3), 0);
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 2);
        EXPECT_EQ(List(dialog, LB_GETSEL, 1), 1);
        EXPECT_EQ(List(dialog, LB_GETSEL, 0), 0);
        EXPECT_EQ(List(dialog, LB_GETSEL, 4), LB_ERR);
        int items[8] = {-5, -5, -5, -5, -5, -5, -5, -5};
        EXPECT_EQ(List(dialog, LB_GETSELITEMS, 8, (LPARAM)items), 2);
        EXPECT_EQ(items[0], 1);
        EXPECT_EQ(items[1], 3);
        EXPECT_EQ(List(dialog, LB_GETSELITEMS, 1, (LPARAM)items), 1);  // never past its room
        EXPECT_EQ(items[1], 3);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, 4), LB_ERR);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, -2), LB_ERR);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, -1), 0);  // every line
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 4);
        EXPECT_EQ(List(dialog, LB_DELETESTRING, 0), 3);  // the selection moves with its lines
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 3);
        EXPECT_EQ(List(dialog, LB_SETSEL, FALSE, 1), 0);
        EXPECT_EQ(List(dialog, LB_GETSEL, 1), 0);
        EXPECT_EQ(List(dialog, LB_SETSEL, FALSE, -1), 0);
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 0);
        EXPECT_EQ(List(dialog, LB_SETCURSEL, 0), LB_ERR);  // not for multiple selection
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 0);
        List(dialog, LB_RESETCONTENT);
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, -1), 0);  // "All" on an empty list
        EXPECT_EQ(List(dialog, LB_GETSELCOUNT), 0);
    });
    EXPECT_TRUE(Commands().empty());
}

// LB_SELITEMRANGE: the lines from the low word to the high word (either may be the
// greater; the end is cut to the list) all selected or all cleared, the others and the
// caret as they were; a single-selection list refuses it.
TEST_F(Controls, RangesOfTheExtendedList)
{
    Run([&](HWND dialog) {
        AddLines(dialog, IDC_SOURCE_LIST, {"a", "b", "c", "d", "e", "f"});
        AddLines(dialog, IDC_DEST_LIST, {"a", "b"});
        EXPECT_EQ(List(dialog, LB_SETSEL, TRUE, 5), 0);
        LRESULT caret = List(dialog, LB_GETCURSEL);
        auto selected = [&]() {
            std::string lines;
            for (int i = 0; i < 6; ++i) {
                lines += List(dialog, LB_GETSEL, (WPARAM)i) > 0 ? '1' : '0';
            }
            return lines;
        };
        const struct {
            BOOL select;
            WORD first, last;
            const char *lines;
        } steps[] = {
            {TRUE, 1, 2, "011001"},
            {TRUE, 3, 3, "011101"},   // one line
            {FALSE, 2, 1, "000101"},  // the greater word first
            {TRUE, 4, 900, "000111"}, // cut to the list
            {FALSE, 0, 5, "000000"},
            {TRUE, 0, 0, "100000"},
        };
        for (const auto &step : steps) {
            SCOPED_TRACE(step.lines);
            EXPECT_EQ(List(dialog, LB_SELITEMRANGE, (WPARAM)step.select,
                           (LPARAM)(DWORD)MAKELONG(step.first, step.last)),
                      LB_OKAY);
            EXPECT_EQ(selected(), step.lines);
            EXPECT_EQ(List(dialog, LB_GETCURSEL), caret);
        }
        EXPECT_EQ(Single(dialog, LB_SELITEMRANGE, TRUE, (LPARAM)MAKELONG(0, 1)), LB_ERR);
        EXPECT_EQ(Single(dialog, LB_GETSEL, 0), 0);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, SelectionOfTheSingleList)
{
    Run([&](HWND dialog) {
        AddLines(dialog, IDC_DEST_LIST, {"a", "b", "c"});
        EXPECT_EQ(Single(dialog, LB_GETSELCOUNT), LB_ERR);
        EXPECT_EQ(Single(dialog, LB_SETSEL, TRUE, 1), LB_ERR);
        EXPECT_EQ(Single(dialog, LB_GETCURSEL), LB_ERR);
        EXPECT_EQ(Single(dialog, LB_SETCURSEL, 2), 2);
        EXPECT_EQ(Single(dialog, LB_GETCURSEL), 2);
        EXPECT_EQ(Single(dialog, LB_GETSEL, 2), 1);
        EXPECT_EQ(Single(dialog, LB_GETSEL, 0), 0);
        EXPECT_EQ(Single(dialog, LB_SETCURSEL, 3), LB_ERR);  // out of range: unchanged
        EXPECT_EQ(Single(dialog, LB_GETCURSEL), 2);
        EXPECT_EQ(Single(dialog, LB_DELETESTRING, 0), 2);  // the selection moves up
        EXPECT_EQ(Single(dialog, LB_GETCURSEL), 1);
        EXPECT_EQ(Single(dialog, LB_SETCURSEL, (WPARAM)-1), LB_ERR);  // cleared, yet LB_ERR
        EXPECT_EQ(Single(dialog, LB_GETCURSEL), LB_ERR);
        EXPECT_EQ(Single(dialog, LB_GETSEL, 1), 0);
        EXPECT_EQ(Single(dialog, LB_GETSELITEMS, 4, (LPARAM) nullptr), LB_ERR);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, FindStringMatchesPrefixesWithoutCaseAndWraps)
{
    Run([&](HWND dialog) {
        // Windows-1252: e-acute E9/C9, a-umlaut E4/C4.
        AddLines(dialog, IDC_SOURCE_LIST, {"KOS\t01", "abc", "ABD", "\xC4pfel", "k\xE9ramique"});
        const struct {
            WPARAM start;
            const char *text;
            LRESULT found;
        } cases[] = {
            {(WPARAM)-1, "kos", 0},  {(WPARAM)-1, "AB", 1},      {1, "ab", 2},
            {2, "ab", 1},            {(WPARAM)-1, "\xE4PF", 3},  {(WPARAM)-1, "K\xC9R", 4},
            {4, "KOS", 0},           {(WPARAM)-1, "abcd", LB_ERR}, {(WPARAM)-1, "x", LB_ERR},
            {(WPARAM)-1, "", 0},     {0, "", 1},                 {99, "kos", 0},
            {0, "KOS\t01", 0},
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(std::string(c.text) + " after " + std::to_string((int)c.start));
            EXPECT_EQ(List(dialog, LB_FINDSTRING, c.start, (LPARAM)c.text), c.found);
        }
        List(dialog, LB_RESETCONTENT);
        EXPECT_EQ(List(dialog, LB_FINDSTRING, (WPARAM)-1, (LPARAM) ""), LB_ERR);
    });
}

TEST_F(Controls, TabStopsNeedTheirStyle)
{
    UseDialog(DLG_TAB_STOPS);
    Run([&](HWND dialog) {
        int stops[2] = {60, 90};
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_SETTABSTOPS, 1, (LPARAM)stops), TRUE);
        EXPECT_EQ(Lin32GetTabStops(GetDlgItem(dialog, 1)), std::vector<int>{60});
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_SETTABSTOPS, 0, 0), TRUE);
        EXPECT_TRUE(Lin32GetTabStops(GetDlgItem(dialog, 1)).empty());
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_SETTABSTOPS, 1, 0), FALSE);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 2, LB_SETTABSTOPS, 1, (LPARAM)stops), FALSE);
        EXPECT_TRUE(Lin32GetTabStops(GetDlgItem(dialog, 2)).empty());
    });
}

TEST_F(Controls, SortedControlsInsertInOrderAndInsertStringPlacesExactly)
{
    UseDialog(DLG_SORTED);
    Run([&](HWND dialog) {
        const struct {
            const char *text;
            LRESULT index;
        } adds[] = {{"b", 0}, {"A", 0}, {"c", 2}, {"Ba", 2}};
        for (const auto &a : adds) {
            SCOPED_TRACE(a.text);
            EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_ADDSTRING, 0, (LPARAM)a.text), a.index);
            EXPECT_EQ(SendDlgItemMessageA(dialog, 2, CB_ADDSTRING, 0, (LPARAM)a.text), a.index);
        }
        EXPECT_EQ(LineText(dialog, 1, 1), "b");
        EXPECT_EQ(LineText(dialog, 1, 2), "Ba");
        SendDlgItemMessageA(dialog, 1, LB_SETSEL, TRUE, 2);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_INSERTSTRING, 1, (LPARAM) "z"), 1);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_GETSEL, 3, 0), 1);  // moved with its line
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_INSERTSTRING, (WPARAM)-1, (LPARAM) "y"), 5);
        EXPECT_EQ(SendDlgItemMessageA(dialog, 1, LB_INSERTSTRING, 7, (LPARAM) "x"), LB_ERR);
        EXPECT_EQ(LineText(dialog, 1, 5), "y");
    });
}

TEST_F(Controls, RedrawSwitchIsAccepted)
{
    Run([&](HWND dialog) {
        HWND list = GetDlgItem(dialog, IDC_SOURCE_LIST);
        EXPECT_TRUE(Lin32IsRedrawOn(list));
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        EXPECT_FALSE(Lin32IsRedrawOn(list));
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        EXPECT_TRUE(InvalidateRect(list, nullptr, TRUE));
        EXPECT_TRUE(Lin32IsRedrawOn(list));
    });
}

TEST_F(Controls, ComboEntriesAndSelection)
{
    Run([&](HWND dialog) {
        EXPECT_EQ(Combo(dialog, CB_ADDSTRING, 0, (LPARAM) " [ C: ] "), 0);
        EXPECT_EQ(Combo(dialog, CB_ADDSTRING, 0, (LPARAM) " [ A: ] "), 1);  // order kept
        EXPECT_EQ(Combo(dialog, CB_GETCOUNT), 2);
        char buffer[16];
        EXPECT_EQ(Combo(dialog, CB_GETLBTEXT, 1, (LPARAM)buffer), 8);
        EXPECT_STREQ(buffer, " [ A: ] ");
        EXPECT_EQ(Combo(dialog, CB_GETLBTEXTLEN, 0), 8);
        EXPECT_EQ(Combo(dialog, CB_GETLBTEXTLEN, 2), CB_ERR);
        EXPECT_EQ(Combo(dialog, CB_GETLBTEXT, (WPARAM)-1, (LPARAM)buffer), CB_ERR);
        const struct {
            WPARAM index;
            LRESULT answer;
            LRESULT selected;
        } selections[] = {{1, 1, 1}, {0, 0, 0}, {2, CB_ERR, -1}, {1, 1, 1}, {(WPARAM)-1, CB_ERR, -1}};
        for (const auto &s : selections) {
            SCOPED_TRACE((int)s.index);
            EXPECT_EQ(Combo(dialog, CB_SETCURSEL, s.index), s.answer);
            EXPECT_EQ(Combo(dialog, CB_GETCURSEL), s.selected);
        }
        Combo(dialog, CB_SETCURSEL, 0);
        char shown[16];
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_SYSTEM, shown, sizeof shown), 8u);
        EXPECT_STREQ(shown, " [ C: ] ");  // a drop-down list shows its selected entry
        EXPECT_EQ(Combo(dialog, CB_RESETCONTENT), CB_OKAY);
        EXPECT_EQ(Combo(dialog, CB_GETCOUNT), 0);
        EXPECT_EQ(Combo(dialog, CB_GETCURSEL), CB_ERR);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, InjectedComboFailures)
{
    Lin32FailComboAdd(IDC_SOURCE_DRIVE, 2, CB_ERR, ERROR_NOT_ENOUGH_MEMORY);
    Lin32FailComboAdd(IDC_SOURCE_DRIVE, 3, CB_ERRSPACE, ERROR_INVALID_PARAMETER);
    Run([&](HWND dialog) {
        const char *entry = " [ C: ] ";
        SetLastError(0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_DEST_DRIVE, CB_ADDSTRING, 0, (LPARAM)entry), 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_ADDSTRING, 0, (LPARAM)entry), 0);
        EXPECT_EQ(GetLastError(), 0u);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_ADDSTRING, 0, (LPARAM)entry), CB_ERR);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_ADDSTRING, 0, (LPARAM)entry),
                  CB_ERRSPACE);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_ADDSTRING, 0, (LPARAM)entry), 1);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_DRIVE, CB_GETCOUNT, 0, 0), 2);
    });
}

TEST_F(Controls, ClearedComboFailuresDoNotFire)
{
    Lin32FailComboAdd(IDC_SYSTEM, 1, CB_ERR, ERROR_NOT_ENOUGH_MEMORY);
    Lin32ClearComboFailures();
    Run([&](HWND dialog) { EXPECT_EQ(Combo(dialog, CB_ADDSTRING, 0, (LPARAM) "x"), 0); });
}

TEST_F(Controls, EditsReadOnlyAndLimit)
{
    Run([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_NAME_EDIT);
        EXPECT_EQ(SendMessageA(edit, EM_SETREADONLY, FALSE, 0), TRUE);
        EXPECT_EQ(Lin32GetWindowStyle(edit) & ES_READONLY, 0u);
        EXPECT_EQ(SendMessageA(edit, EM_SETREADONLY, TRUE, 0), TRUE);
        EXPECT_NE(Lin32GetWindowStyle(edit) & ES_READONLY, 0u);
        SendMessageA(edit, EM_LIMITTEXT, 8, 0);
        EXPECT_EQ(Lin32GetEditLimit(edit), 8);
        // The limit binds the user only: the program may set a longer text.
        EXPECT_TRUE(SetDlgItemTextA(dialog, IDC_NAME_EDIT, "TWELVECHARS!"));
        char buffer[32];
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_NAME_EDIT, buffer, sizeof buffer), 12u);
        EXPECT_EQ(SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0), 12);
        SendMessageA(edit, EM_LIMITTEXT, 0, 0);
        EXPECT_EQ(Lin32GetEditLimit(edit), 0x7FFFFFFE);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, GetDlgItemTextCutsToTheBuffer)
{
    const struct {
        int id;
        int count;
        UINT copied;
        const char *text;
    } cases[] = {
        {IDC_REFRESH, 256, 12, "Refresh List"}, {IDC_REFRESH, 13, 12, "Refresh List"},
        {IDC_REFRESH, 12, 11, "Refresh Lis"},   {IDC_REFRESH, 2, 1, "R"},
        {IDC_REFRESH, 1, 0, ""},                {9999, 16, 0, ""},
        {IDC_UNTIL_EDIT, 16, 0, ""},
    };
    Run([&](HWND dialog) {
        for (const auto &c : cases) {
            SCOPED_TRACE(std::to_string(c.id) + " into " + std::to_string(c.count));
            char buffer[300];
            memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(GetDlgItemTextA(dialog, c.id, buffer, c.count), c.copied);
            EXPECT_STREQ(buffer, c.text);
            EXPECT_EQ(buffer[c.count], 'x');  // nothing beyond the count
        }
        // No room at all: nothing is written.
        for (int count : {0, -1, -1000}) {
            char buffer[4] = {'x', 'x', 'x', 'x'};
            EXPECT_EQ(GetDlgItemTextA(dialog, IDC_REFRESH, buffer, count), 0u);
            EXPECT_EQ(buffer[0], 'x');
        }
        EXPECT_EQ(GetDlgItemTextA(dialog, IDC_REFRESH, nullptr, 10), 0u);
        SetLastError(0);
        EXPECT_EQ(GetDlgItem(dialog, 9999), nullptr);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_CONTROL_ID_NOT_FOUND);
        EXPECT_FALSE(SetDlgItemTextA(dialog, 9999, "x"));
    });
}

TEST_F(Controls, CheckStatesFollowTheButtonType)
{
    Run([&](HWND dialog) {
        const struct {
            int id;
            UINT set;
            UINT got;
        } cases[] = {
            {IDC_UNTIL_CHECK, BST_CHECKED, BST_CHECKED},   // check box
            {IDC_UNTIL_CHECK, BST_UNCHECKED, BST_UNCHECKED},
            {IDC_UNTIL_CHECK, 7, BST_CHECKED},              // no third state
            {IDC_SORT_DATE, BST_CHECKED, BST_CHECKED},     // radio button
            {IDC_COPY, BST_CHECKED, BST_UNCHECKED},        // push buttons hold no check
        };
        for (const auto &c : cases) {
            SCOPED_TRACE(c.id);
            EXPECT_TRUE(CheckDlgButton(dialog, c.id, c.set));
            EXPECT_EQ(IsDlgButtonChecked(dialog, c.id), c.got);
        }
        EXPECT_FALSE(CheckDlgButton(dialog, 9999, BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dialog, 9999), 0u);
        EXPECT_TRUE(CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_DATE, IDC_SORT_NAME));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SORT_NAME), (UINT)BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SORT_DATE), (UINT)BST_UNCHECKED);
        EXPECT_TRUE(CheckRadioButton(dialog, IDC_SORT_NAME, IDC_SORT_DATE, IDC_SORT_DATE));
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SORT_NAME), (UINT)BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SORT_DATE), (UINT)BST_CHECKED);
    });
    EXPECT_TRUE(Commands().empty());
}

TEST_F(Controls, EnableWindowAnswersThePreviousState)
{
    Run([&](HWND dialog) {
        HWND copy = GetDlgItem(dialog, IDC_COPY);
        EXPECT_FALSE(EnableWindow(copy, FALSE));  // was enabled
        EXPECT_FALSE(IsWindowEnabled(copy));
        EXPECT_TRUE(EnableWindow(copy, FALSE));   // was disabled
        EXPECT_TRUE(EnableWindow(copy, TRUE));
        EXPECT_TRUE(IsWindowEnabled(copy));
        EXPECT_EQ(Lin32GetWindowStyle(copy) & WS_DISABLED, 0u);
    });
}

}  // namespace

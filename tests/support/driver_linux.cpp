// The dialog driver on the Linux layer's dialog model: the user's actions go through the
// layer's input calls (which deliver the platform's notifications), the read-back
// through the same USER32 calls the program uses. A request the dialog cannot meet (no
// such control, line or entry) fails the running test.
#ifndef _WIN32

#include "support/dialog_driver.h"

#include "app/dialog.h"
#include "lin32_dialog.h"

#include <gtest/gtest.h>

namespace driver {

namespace {

// The modal loop's stand-in: the script acts, then the user closes the dialog by its
// close box if the script has not.
void ActAsUser(void *context, HWND dialog)
{
    const std::function<void(HWND)> &user = *static_cast<const std::function<void(HWND)> *>(context);
    if (user) {
        user(dialog);
    }
    if (!Lin32IsDialogEnded(dialog)) {
        Lin32UserCloseBox(dialog);
        if (!Lin32IsDialogEnded(dialog)) {
            ADD_FAILURE() << "the dialog did not close from its close box";
        }
    }
}

// The control id of dialog, which must be of the class given ("" for any).
HWND Control(HWND dialog, int id, const char *className, const char *caller)
{
    HWND control = GetDlgItem(dialog, id);
    if (control == nullptr) {
        ADD_FAILURE() << caller << ": the dialog has no control " << id;
        return nullptr;
    }
    if (className[0] != '\0' && Lin32GetClassName(control) != className) {
        ADD_FAILURE() << caller << ": control " << id << " is of class "
                      << Lin32GetClassName(control) << ", not " << className;
        return nullptr;
    }
    return control;
}

}  // namespace

int RunProgram(const char *commandLine, const std::function<void(HWND)> &user)
{
    struct UserGuard {
        ~UserGuard() { Lin32SetDialogUser(nullptr, nullptr); }
    } guard;
    Lin32SetDialogUser(ActAsUser, const_cast<std::function<void(HWND)> *>(&user));
    return RunChartTransfer(nullptr, commandLine);
}

void ChooseComboItem(HWND dialog, int comboId, int index)
{
    HWND combo = Control(dialog, comboId, "ComboBox", "ChooseComboItem");
    if (combo != nullptr && !Lin32UserChooseComboItem(combo, index)) {
        ADD_FAILURE() << "ChooseComboItem: combo " << comboId << " has no entry " << index;
    }
}

void ClickLine(HWND dialog, int listId, int index)
{
    HWND list = Control(dialog, listId, "ListBox", "ClickLine");
    if (list != nullptr && !Lin32UserClickLine(list, index, false)) {
        ADD_FAILURE() << "ClickLine: list " << listId << " has no line " << index;
    }
}

void CtrlClickLine(HWND dialog, int listId, int index)
{
    HWND list = Control(dialog, listId, "ListBox", "CtrlClickLine");
    if (list != nullptr && !Lin32UserClickLine(list, index, true)) {
        ADD_FAILURE() << "CtrlClickLine: list " << listId << " has no line " << index;
    }
}

void ClickButton(HWND dialog, int id)
{
    HWND button = Control(dialog, id, "Button", "ClickButton");
    if (button != nullptr) {
        Lin32UserClickButton(button);
    }
}

void TypeText(HWND dialog, int editId, const char *text)
{
    HWND edit = Control(dialog, editId, "Edit", "TypeText");
    if (edit != nullptr) {
        Lin32UserType(edit, text);
    }
}

void PressEnter(HWND dialog)
{
    if (!Lin32UserPressEnter(dialog)) {
        ADD_FAILURE() << "PressEnter: not a dialog";
    }
}

void PressEscape(HWND dialog)
{
    if (!Lin32UserPressEscape(dialog)) {
        ADD_FAILURE() << "PressEscape: not a dialog";
    }
}

std::vector<std::string> ListLines(HWND dialog, int listId)
{
    std::vector<std::string> lines;
    HWND list = Control(dialog, listId, "ListBox", "ListLines");
    if (list == nullptr) {
        return lines;
    }
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
        std::string line((size_t)length + 1, '\0');
        SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)&line[0]);
        line.resize((size_t)length);
        lines.push_back(line);
    }
    return lines;
}

// LB_GETSEL serves both kinds of list: a single-selection list answers it for its one
// selected line.
std::vector<int> SelectedLines(HWND dialog, int listId)
{
    std::vector<int> selected;
    HWND list = Control(dialog, listId, "ListBox", "SelectedLines");
    if (list == nullptr) {
        return selected;
    }
    LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageA(list, LB_GETSEL, (WPARAM)i, 0) > 0) {
            selected.push_back((int)i);
        }
    }
    return selected;
}

std::vector<std::string> ComboItems(HWND dialog, int comboId)
{
    std::vector<std::string> items;
    HWND combo = Control(dialog, comboId, "ComboBox", "ComboItems");
    if (combo == nullptr) {
        return items;
    }
    LRESULT count = SendMessageA(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, (WPARAM)i, 0);
        std::string item((size_t)length + 1, '\0');
        SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)&item[0]);
        item.resize((size_t)length);
        items.push_back(item);
    }
    return items;
}

int ComboSelection(HWND dialog, int comboId)
{
    HWND combo = Control(dialog, comboId, "ComboBox", "ComboSelection");
    return combo == nullptr ? -1 : (int)SendMessageA(combo, CB_GETCURSEL, 0, 0);
}

std::string ItemText(HWND dialog, int id)
{
    HWND control = Control(dialog, id, "", "ItemText");
    if (control == nullptr) {
        return std::string();
    }
    LRESULT length = SendMessageA(control, WM_GETTEXTLENGTH, 0, 0);
    std::string text((size_t)length + 1, '\0');
    UINT copied = GetDlgItemTextA(dialog, id, &text[0], (int)length + 1);
    text.resize(copied);
    return text;
}

bool IsEnabled(HWND dialog, int id)
{
    HWND control = Control(dialog, id, "", "IsEnabled");
    return control != nullptr && IsWindowEnabled(control);
}

bool IsChecked(HWND dialog, int id)
{
    return Control(dialog, id, "Button", "IsChecked") != nullptr &&
           IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

bool IsReadOnly(HWND dialog, int editId)
{
    HWND edit = Control(dialog, editId, "Edit", "IsReadOnly");
    return edit != nullptr && (Lin32GetWindowStyle(edit) & ES_READONLY) != 0;
}

}  // namespace driver

#endif

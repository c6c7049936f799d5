// The dialog driver on the Linux layer's dialog model: the user's actions go through the
// layer's input calls (which deliver the platform's notifications), the read-back
// through the same USER32 calls the program uses. A request the dialog cannot meet (no
// such control, line or entry) fails the running test.
#ifndef _WIN32

#include "support/dialog_driver.h"
#include "support/driver_internal.h"

#include "app/dialog.h"
#include "app/language.h"
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

}  // namespace

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

DWORD ControlStyle(HWND control) { return Lin32GetWindowStyle(control); }

int RunProgram(const char *commandLine, const std::function<void(HWND)> &user)
{
    struct UserGuard {
        ~UserGuard() { Lin32SetDialogUser(nullptr, nullptr); }
    } guard;
    Lin32SetDialogUser(ActAsUser, const_cast<std::function<void(HWND)> *>(&user));
    // As the program's entry point does: the dialog in the user's language.
    SelectDialogLanguage();
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

}  // namespace driver

#endif

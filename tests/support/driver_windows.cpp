// The dialog driver on Windows (and under Wine): the program's real dialog, made by the
// real DialogBoxParamA from the resource linked into the test, in this process. The
// script runs from a one-shot timer of the dialog, so it acts inside the platform's
// modal loop as a user does; the user's actions go to the real controls as the messages
// that the platform makes of them, the read-back through the same USER32 calls the
// program uses. A request the dialog cannot meet (no such control, line or entry) fails
// the running test.
#ifdef _WIN32

#include "support/dialog_driver.h"
#include "support/driver_internal.h"

#include "app/dialog.h"
#include "app/language.h"

#include <gtest/gtest.h>

namespace driver {

namespace {

const UINT_PTR kUserTimer = 0x5C21;
const UINT_PTR kCloseTimer = 0x5C22;
// Time the dialog gets to end after its close box before the driver ends it.
const UINT kCloseWaitMs = 10000;

struct Run {
    const std::function<void(HWND)> *user = nullptr;
    HHOOK hook = nullptr;
    HWND dialog = nullptr;
};

thread_local Run *activeRun = nullptr;

// EndDialog hides the dialog at once; the modal loop destroys it later.
bool IsOpen(HWND dialog) { return IsWindow(dialog) && IsWindowVisible(dialog); }

void CALLBACK GiveUpClosing(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    KillTimer(dialog, id);
    if (IsOpen(dialog)) {
        ADD_FAILURE() << "the dialog did not close from its close box";
        EndDialog(dialog, 0);
    }
}

// The user at the dialog: once the modal loop shows it, the script acts; then the user
// closes the dialog by its close box if the script has not.
void CALLBACK ActAsUser(HWND dialog, UINT, UINT_PTR id, DWORD)
{
    Run *run = activeRun;
    if (!IsWindowVisible(dialog)) {
        return;  // the loop has not shown it yet; the timer comes again
    }
    KillTimer(dialog, id);
    if (run == nullptr || run->dialog != dialog) {
        return;
    }
    if (*run->user) {
        (*run->user)(dialog);
    }
    if (IsOpen(dialog)) {
        // DefDlgProc posts IDCANCEL for WM_CLOSE: the dialog ends once this returns.
        SendMessageA(dialog, WM_CLOSE, 0, 0);
        SetTimer(dialog, kCloseTimer, kCloseWaitMs, GiveUpClosing);
    }
}

// Sees every message the thread's windows have handled; the main dialog's
// WM_INITDIALOG, once handled, starts the user's timer. A dialog that initialisation
// ended never runs its loop, so the timer never comes.
LRESULT CALLBACK AfterMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPRETSTRUCT *message = (const CWPRETSTRUCT *)lParam;
    Run *run = activeRun;
    if (code == HC_ACTION && run != nullptr && run->dialog == nullptr &&
        message->message == WM_INITDIALOG &&
        GetWindowLongPtrA(message->hwnd, DWLP_DLGPROC) == (LONG_PTR)MainDialogProc) {
        run->dialog = message->hwnd;
        SetTimer(message->hwnd, kUserTimer, USER_TIMER_MINIMUM, ActAsUser);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool IsClass(HWND window, const char *className)
{
    char name[64];
    int length = GetClassNameA(window, name, sizeof name);
    return length > 0 && lstrcmpiA(name, className) == 0;
}

std::string ClassOf(HWND window)
{
    char name[64];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? (size_t)length : 0);
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
    if (className[0] != '\0' && !IsClass(control, className)) {
        ADD_FAILURE() << caller << ": control " << id << " is of class " << ClassOf(control)
                      << ", not " << className;
        return nullptr;
    }
    return control;
}

DWORD ControlStyle(HWND control) { return (DWORD)GetWindowLongA(control, GWL_STYLE); }

namespace {

// What a user can reach: a visible, enabled control of an enabled dialog still open.
bool Reachable(HWND dialog, HWND control)
{
    return IsOpen(dialog) && (ControlStyle(control) & WS_VISIBLE) != 0 &&
           IsWindowEnabled(control) && IsWindowEnabled(dialog);
}

void Notify(HWND dialog, HWND control, WORD code)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), (LPARAM)control);
}

void Click(HWND dialog, int listId, int index, bool withCtrl, const char *caller)
{
    HWND list = Control(dialog, listId, "ListBox", caller);
    if (list == nullptr) {
        return;
    }
    if (index < 0 || index >= (int)SendMessageA(list, LB_GETCOUNT, 0, 0)) {
        ADD_FAILURE() << caller << ": list " << listId << " has no line " << index;
        return;
    }
    if (!Reachable(dialog, list)) {
        return;
    }
    LONG style = ControlStyle(list);
    if ((style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) == 0) {
        SendMessageA(list, LB_SETCURSEL, (WPARAM)index, 0);
    } else if (withCtrl || (style & LBS_EXTENDEDSEL) == 0) {
        LRESULT selected = SendMessageA(list, LB_GETSEL, (WPARAM)index, 0);
        SendMessageA(list, LB_SETSEL, selected > 0 ? FALSE : TRUE, (LPARAM)index);
    } else {
        SendMessageA(list, LB_SETSEL, FALSE, -1);
        SendMessageA(list, LB_SETSEL, TRUE, (LPARAM)index);
    }
    SendMessageA(list, LB_SETCARETINDEX, (WPARAM)index, FALSE);
    if (style & LBS_NOTIFY) {
        Notify(dialog, list, LBN_SELCHANGE);
    }
}

}  // namespace

int RunProgram(const char *commandLine, const std::function<void(HWND)> &user)
{
    Run run;
    run.user = &user;
    Run *outer = activeRun;
    activeRun = &run;
    run.hook = SetWindowsHookExA(WH_CALLWNDPROCRET, AfterMessage, nullptr, GetCurrentThreadId());
    if (run.hook == nullptr) {
        ADD_FAILURE() << "RunProgram: no message hook (error " << GetLastError() << ")";
    }
    // As the program's entry point does: the dialog in the user's language.
    SelectDialogLanguage();
    int exitCode = RunChartTransfer(GetModuleHandleA(nullptr), commandLine);
    if (run.hook != nullptr) {
        UnhookWindowsHookEx(run.hook);
    }
    activeRun = outer;
    return exitCode;
}

// The list of a drop-down combo closes on the chosen entry: the selection changes and
// the dialog hears CBN_SELCHANGE.
void ChooseComboItem(HWND dialog, int comboId, int index)
{
    HWND combo = Control(dialog, comboId, "ComboBox", "ChooseComboItem");
    if (combo == nullptr) {
        return;
    }
    if (index < 0 || index >= (int)SendMessageA(combo, CB_GETCOUNT, 0, 0)) {
        ADD_FAILURE() << "ChooseComboItem: combo " << comboId << " has no entry " << index;
        return;
    }
    if (Reachable(dialog, combo)) {
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)index, 0);
        Notify(dialog, combo, CBN_SELCHANGE);
    }
}

void ClickLine(HWND dialog, int listId, int index)
{
    Click(dialog, listId, index, false, "ClickLine");
}

void CtrlClickLine(HWND dialog, int listId, int index)
{
    Click(dialog, listId, index, true, "CtrlClickLine");
}

// BM_CLICK is the button's own press and release: an automatic check box toggles, an
// automatic radio button checks itself and unchecks its group, then BN_CLICKED.
void ClickButton(HWND dialog, int id)
{
    HWND button = Control(dialog, id, "Button", "ClickButton");
    if (button != nullptr && Reachable(dialog, button) &&
        (ControlStyle(button) & BS_TYPEMASK) != BS_GROUPBOX) {
        SendMessageA(button, BM_CLICK, 0, 0);
    }
}

// Typed as keys: all the text is selected and erased, then each character goes in as
// WM_CHAR, so the edit itself refuses what a read-only edit or its limit refuses.
void TypeText(HWND dialog, int editId, const char *text)
{
    HWND edit = Control(dialog, editId, "Edit", "TypeText");
    if (edit == nullptr || !Reachable(dialog, edit)) {
        return;
    }
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
    for (const char *c = text == nullptr ? "" : text; *c != '\0'; ++c) {
        SendMessageA(edit, WM_CHAR, (WPARAM)(unsigned char)*c, 0);
    }
}

// Enter where the focus is not on a push button: the dialog's default id, else IDOK.
void PressEnter(HWND dialog)
{
    if (!IsWindow(dialog)) {
        ADD_FAILURE() << "PressEnter: not a dialog";
        return;
    }
    if (!IsOpen(dialog)) {
        return;
    }
    LRESULT defaultId = SendMessageA(dialog, DM_GETDEFID, 0, 0);
    if (HIWORD(defaultId) == DC_HASDEFID) {
        HWND button = GetDlgItem(dialog, LOWORD(defaultId));
        if (button == nullptr || IsWindowEnabled(button)) {
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(defaultId), BN_CLICKED),
                         (LPARAM)button);
        }
        return;
    }
    SendMessageA(dialog, WM_COMMAND, IDOK, (LPARAM)GetDlgItem(dialog, IDOK));
}

void PressEscape(HWND dialog)
{
    if (!IsWindow(dialog)) {
        ADD_FAILURE() << "PressEscape: not a dialog";
        return;
    }
    if (IsOpen(dialog)) {
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, (LPARAM)GetDlgItem(dialog, IDCANCEL));
    }
}

}  // namespace driver

#endif

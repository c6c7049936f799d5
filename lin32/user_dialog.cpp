// Modal dialogs of the model: DialogBoxParamA builds the dialog from the resource script
// in the chosen language, lets the dialog procedure initialise it, hands it to the test's
// user in place of the modal loop and returns what EndDialog was given.
#include "user_window.h"

#include "codepage.h"
#include "lin32_hooks.h"

#include <stdio.h>

enum { LANGUAGE_ENGLISH_UK = 0x0809, PRIMARY_LANGUAGE_MASK = 0x03FF };

static const char masterScript[] = "chartxfer.rc";

static Lin32DialogUser dialogUser = nullptr;
static void *dialogUserContext = nullptr;
static bool scriptInjected = false;
static std::string injectedScript;

void Lin32SetDialogUser(Lin32DialogUser user, void *context)
{
    dialogUser = user;
    dialogUserContext = context;
}

void Lin32UseResourceScript(const char *text, size_t size)
{
    scriptInjected = text != nullptr;
    injectedScript.assign(text == nullptr ? "" : text, text == nullptr ? 0 : size);
}

// The wanted language, else one of the same base language, else English (UK), else the
// first in the script: a user whose language has no dialog gets English on purpose,
// not whatever the script happens to hold first.
static const Lin32DialogTemplate *ChooseTemplate(const Lin32ResourceScript &script, int id,
                                                 WORD wanted)
{
    const Lin32DialogTemplate *sameBase = nullptr, *english = nullptr, *first = nullptr;
    for (const Lin32DialogTemplate &dialog : script.dialogs) {
        if (dialog.id != id) {
            continue;
        }
        if (dialog.language == wanted) {
            return &dialog;
        }
        if (sameBase == nullptr &&
            (dialog.language & PRIMARY_LANGUAGE_MASK) == (wanted & PRIMARY_LANGUAGE_MASK)) {
            sameBase = &dialog;
        }
        if (english == nullptr && dialog.language == LANGUAGE_ENGLISH_UK) {
            english = &dialog;
        }
        if (first == nullptr) {
            first = &dialog;
        }
    }
    return sameBase != nullptr ? sameBase : english != nullptr ? english : first;
}

static bool LoadScript(Lin32ResourceScript &script)
{
    const char *text = nullptr;
    size_t size = 0;
    if (scriptInjected) {
        text = injectedScript.data();
        size = injectedScript.size();
    } else if (!Lin32BuiltInScriptFile(masterScript, &text, &size)) {
        fprintf(stderr, "lin32: no built-in %s\n", masterScript);
        return false;
    }
    std::string error;
    if (!Lin32ParseResourceScript(masterScript, text, size, Lin32BuiltInScriptFile, script,
                                  error)) {
        fprintf(stderr, "lin32: %s\n", error.c_str());
        return false;
    }
    return true;
}

// The control that gets the focus first: the first visible, enabled tab stop.
static HWND FirstTabStop(lin32_window *dialog)
{
    for (const std::unique_ptr<lin32_window> &control : dialog->controls) {
        DWORD style = control->style;
        if ((style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED)) {
            return (HWND)control.get();
        }
    }
    return nullptr;
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE instance, LPCSTR templateName, HWND owner,
                               DLGPROC proc, LPARAM initParam)
{
    (void)instance;
    if (owner != nullptr && Lin32Window(owner) == nullptr) {
        return 0;  // an invalid owner is the one failure that answers 0
    }
    Lin32ResourceScript script;
    if (!LoadScript(script)) {
        SetLastError(LIN32_ERROR_RESOURCE_DATA_NOT_FOUND);
        return -1;
    }
    const Lin32DialogTemplate *chosen = nullptr;
    if (IS_INTRESOURCE(templateName)) {
        chosen = ChooseTemplate(script, (int)(uintptr_t)templateName, Lin32WantedDialogLanguage());
    }
    if (chosen == nullptr) {
        SetLastError(LIN32_ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    // The process's code page follows the dialog's language, as Windows sets both from
    // one locale; the texts are converted into it.
    Lin32SetCodePage(Lin32CodePageForLanguage(chosen->language));
    Lin32NoteDialogLanguage(chosen->language);
    lin32_window *dialog = Lin32CreateDialog(*chosen, proc);
    if (dialog == nullptr) {
        fprintf(stderr, "lin32: dialog %d has a control of an unknown class\n", chosen->id);
        return -1;
    }
    HWND handle = (HWND)dialog;
    if (proc != nullptr) {
        proc(handle, WM_INITDIALOG, (WPARAM)FirstTabStop(dialog), initParam);
    }
    if (!dialog->ended && dialogUser != nullptr) {
        dialogUser(dialogUserContext, handle);
    }
    INT_PTR result = dialog->ended ? dialog->result : 0;
    Lin32DestroyDialog(dialog);
    return result;
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result)
{
    lin32_window *window = Lin32Window(dialog);
    if (window == nullptr || window->kind != KIND_DIALOG) {
        return FALSE;
    }
    window->ended = true;
    window->result = result;
    return TRUE;
}

// What the dialog procedure leaves unhandled gets the default dialog handling: the close
// box becomes IDCANCEL unless a disabled Cancel button forbids it.
LRESULT Lin32DialogMessage(lin32_window *dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (dialog->proc != nullptr && dialog->proc((HWND)dialog, message, wParam, lParam)) {
        return 0;
    }
    LRESULT result = 0;
    if (message == WM_CLOSE) {
        lin32_window *cancel = Lin32FindControl(dialog, IDCANCEL);
        if (cancel == nullptr || (cancel->style & WS_DISABLED) == 0) {
            SendMessageA((HWND)dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         (LPARAM)cancel);
        }
        return 0;
    }
    Lin32WindowTextMessage(dialog, message, wParam, lParam, result);
    return result;
}

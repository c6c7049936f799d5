// Modal dialogs of the model: DialogBoxParamA finds the dialog in the compiled resource
// as the resource loader does, lets the dialog procedure initialise it, hands it to the
// test's user in place of the modal loop and returns what EndDialog was given.
#include "user_window.h"

#include "codepage.h"

#include <stdio.h>

static Lin32DialogUser g_dialogUser = nullptr;
static void *g_dialogUserContext = nullptr;
static bool g_resourceInjected = false;
static std::vector<unsigned char> g_injectedResource;
static WORD g_lastDialogLanguage = 0;

void Lin32SetDialogUser(Lin32DialogUser user, void *context)
{
    g_dialogUser = user;
    g_dialogUserContext = context;
}

void Lin32UseResource(const void *data, size_t size)
{
    const unsigned char *bytes = (const unsigned char *)data;
    g_resourceInjected = bytes != nullptr;
    g_injectedResource.assign(bytes, bytes == nullptr ? bytes : bytes + size);
}

WORD Lin32GetDialogLanguage(void) { return g_lastDialogLanguage; }

// The template in the language the loader looks for, else the first in resource order:
// windres and the linker order a resource's languages by id, so that is the lowest id
// (German for this program). The loader knows no related or English dialog; choosing
// one of those is the program's part.
static const Lin32DialogTemplate *FindTemplate(const Lin32Resource &resource, int id,
                                               WORD language)
{
    const Lin32DialogTemplate *first = nullptr;
    for (const Lin32DialogTemplate &dialog : resource.dialogs) {
        if (dialog.id != id) {
            continue;
        }
        if (dialog.language == language) {
            return &dialog;
        }
        if (first == nullptr || dialog.language < first->language) {
            first = &dialog;
        }
    }
    return first;
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
    Lin32Resource resource;
    std::string error;
    const unsigned char *data = g_resourceInjected ? g_injectedResource.data() : g_lin32Resource;
    size_t size = g_resourceInjected ? g_injectedResource.size() : g_lin32ResourceSize;
    if (!Lin32ReadResource(data, size, resource, error)) {
        fprintf(stderr, "lin32: the resource: %s\n", error.c_str());
        SetLastError(LIN32_ERROR_RESOURCE_DATA_NOT_FOUND);
        return -1;
    }
    const Lin32DialogTemplate *chosen = nullptr;
    if (IS_INTRESOURCE(templateName)) {
        chosen = FindTemplate(resource, (int)(uintptr_t)templateName, Lin32ResourceLanguage());
    }
    if (chosen == nullptr) {
        SetLastError(LIN32_ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    g_lastDialogLanguage = chosen->language;
    lin32_window *dialog = Lin32CreateDialog(*chosen, proc);
    if (dialog == nullptr) {
        fprintf(stderr, "lin32: dialog %d has a control of an unknown class\n", chosen->id);
        return -1;
    }
    HWND handle = (HWND)dialog;
    if (proc != nullptr) {
        proc(handle, WM_INITDIALOG, (WPARAM)FirstTabStop(dialog), initParam);
    }
    if (!dialog->ended && g_dialogUser != nullptr) {
        g_dialogUser(g_dialogUserContext, handle);
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

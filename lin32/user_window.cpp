// The windows of the dialog model: which handles are live, building a dialog from its
// template, and the dialog-item calls that work on any control.
#include "user_window.h"

#include "codepage.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static std::vector<lin32_window *> liveWindows;

lin32_window *Lin32Window(HWND window)
{
    lin32_window *candidate = (lin32_window *)window;
    if (candidate != nullptr &&
        std::find(liveWindows.begin(), liveWindows.end(), candidate) != liveWindows.end()) {
        return candidate;
    }
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
}

lin32_window *Lin32FindControl(lin32_window *dialog, int id)
{
    for (const std::unique_ptr<lin32_window> &control : dialog->controls) {
        if (control->id == id) {
            return control.get();
        }
    }
    return nullptr;
}

lin32_window *Lin32DialogItem(HWND dialog, int id)
{
    lin32_window *window = Lin32Window(dialog);
    if (window == nullptr) {
        return nullptr;
    }
    lin32_window *control = Lin32FindControl(window, id);
    if (control == nullptr) {
        SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    }
    return control;
}

bool Lin32IsMultiSelect(const lin32_window *list)
{
    return (list->style & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

int Lin32ButtonType(const lin32_window *button) { return (int)(button->style & LIN32_BS_TYPEMASK); }

static bool KindOfClass(const std::string &className, Lin32WindowKind &kind)
{
    static const struct {
        const char *name;
        Lin32WindowKind kind;
    } classes[] = {{"button", KIND_BUTTON}, {"edit", KIND_EDIT}, {"static", KIND_STATIC},
                   {"listbox", KIND_LISTBOX}, {"combobox", KIND_COMBOBOX}};
    std::string lower = className;
    for (char &c : lower) {
        c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
    for (const auto &entry : classes) {
        if (lower == entry.name) {
            kind = entry.kind;
            return true;
        }
    }
    return false;
}

static std::unique_ptr<lin32_window> NewWindow(Lin32WindowKind kind)
{
    std::unique_ptr<lin32_window> window(new lin32_window());
    window->kind = kind;
    window->id = 0;
    window->style = 0;
    window->iconId = -1;
    window->dialog = nullptr;
    window->redraw = true;
    window->proc = nullptr;
    window->ended = false;
    window->result = 0;
    window->check = BST_UNCHECKED;
    window->limit = LIN32_EDIT_DEFAULT_LIMIT;
    window->current = -1;
    window->caret = 0;
    return window;
}

lin32_window *Lin32CreateDialog(const Lin32DialogTemplate &dialogTemplate, DLGPROC proc)
{
    std::unique_ptr<lin32_window> dialog = NewWindow(KIND_DIALOG);
    dialog->dialog = dialog.get();
    dialog->style = dialogTemplate.style;
    dialog->text = Lin32WideToAnsi(dialogTemplate.caption);
    dialog->proc = proc;
    for (const Lin32ControlTemplate &item : dialogTemplate.controls) {
        Lin32WindowKind kind = KIND_STATIC;
        if (!KindOfClass(item.className, kind)) {
            SetLastError(LIN32_ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        std::unique_ptr<lin32_window> control = NewWindow(kind);
        control->id = item.id;
        control->style = item.style;
        control->text = Lin32WideToAnsi(item.text);
        control->iconId = item.iconId;
        control->dialog = dialog.get();
        dialog->controls.push_back(std::move(control));
    }
    liveWindows.push_back(dialog.get());
    for (const std::unique_ptr<lin32_window> &control : dialog->controls) {
        liveWindows.push_back(control.get());
    }
    return dialog.release();
}

void Lin32DestroyDialog(lin32_window *dialog)
{
    liveWindows.erase(std::remove_if(liveWindows.begin(), liveWindows.end(),
                                     [dialog](lin32_window *w) { return w->dialog == dialog; }),
                      liveWindows.end());
    delete dialog;
}

int Lin32InsertPosition(const std::vector<std::string> &items, const std::string &text,
                        bool sorted)
{
    if (!sorted) {
        return (int)items.size();
    }
    int position = 0;
    for (const std::string &item : items) {
        int order = 0;
        for (size_t i = 0; order == 0 && (i < item.size() || i < text.size()); ++i) {
            int a = i < item.size() ? Lin32UpperChar((unsigned char)item[i]) : -1;
            int b = i < text.size() ? Lin32UpperChar((unsigned char)text[i]) : -1;
            order = a < b ? -1 : a > b ? 1 : 0;
        }
        if (order > 0) {
            break;
        }
        ++position;
    }
    return position;
}

std::string Lin32TextArgument(LPARAM text)
{
    return text == 0 ? std::string() : std::string((const char *)text);
}

LRESULT Lin32CopyText(const std::string &text, WPARAM count, LPARAM buffer)
{
    if (count == 0 || buffer == 0) {
        return 0;
    }
    size_t length = std::min(text.size(), (size_t)(count - 1));
    memcpy((char *)buffer, text.data(), length);
    ((char *)buffer)[length] = '\0';
    return (LRESULT)length;
}

bool Lin32WindowTextMessage(lin32_window *window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT &result)
{
    switch (message) {
    case WM_SETTEXT:
        window->text = Lin32TextArgument(lParam);
        result = TRUE;
        return true;
    case WM_GETTEXT:
        result = Lin32CopyText(window->text, wParam, lParam);
        return true;
    case WM_GETTEXTLENGTH:
        result = (LRESULT)window->text.size();
        return true;
    case WM_SETREDRAW:
        window->redraw = wParam != 0;
        result = 0;
        return true;
    default:
        return false;
    }
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Deep enough for any real nesting; a command that sends itself without end would
    // overflow the stack on Windows, here it stops the test with a clear word.
    enum { MAX_SEND_DEPTH = 200 };
    static int depth = 0;
    lin32_window *target = Lin32Window(window);
    if (target == nullptr) {
        return 0;
    }
    if (depth >= MAX_SEND_DEPTH) {
        fprintf(stderr, "lin32: SendMessageA nested more than %d deep\n", (int)MAX_SEND_DEPTH);
        abort();
    }
    ++depth;
    LRESULT result = 0;
    switch (target->kind) {
    case KIND_DIALOG: result = Lin32DialogMessage(target, message, wParam, lParam); break;
    case KIND_LISTBOX: result = Lin32ListMessage(target, message, wParam, lParam); break;
    case KIND_COMBOBOX: result = Lin32ComboMessage(target, message, wParam, lParam); break;
    case KIND_BUTTON: result = Lin32ButtonMessage(target, message, wParam, lParam); break;
    case KIND_EDIT: result = Lin32EditMessage(target, message, wParam, lParam); break;
    case KIND_STATIC: Lin32WindowTextMessage(target, message, wParam, lParam, result); break;
    }
    --depth;
    return result;
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam,
                                   LPARAM lParam)
{
    lin32_window *control = Lin32DialogItem(dialog, id);
    return control == nullptr ? 0 : SendMessageA((HWND)control, message, wParam, lParam);
}

HWND WINAPI GetDlgItem(HWND dialog, int id) { return (HWND)Lin32DialogItem(dialog, id); }

UINT WINAPI GetDlgItemTextA(HWND dialog, int id, LPSTR text, int maxCount)
{
    // A count of 0 or less leaves the buffer alone: there is no byte to write.
    if (text == nullptr || maxCount <= 0) {
        return 0;
    }
    text[0] = '\0';
    lin32_window *control = Lin32DialogItem(dialog, id);
    if (control == nullptr) {
        return 0;
    }
    return (UINT)SendMessageA((HWND)control, WM_GETTEXT, (WPARAM)maxCount, (LPARAM)text);
}

BOOL WINAPI SetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    lin32_window *control = Lin32DialogItem(dialog, id);
    if (control == nullptr) {
        return FALSE;
    }
    return SendMessageA((HWND)control, WM_SETTEXT, 0, (LPARAM)text) != 0;
}

UINT WINAPI IsDlgButtonChecked(HWND dialog, int id)
{
    lin32_window *control = Lin32DialogItem(dialog, id);
    if (control == nullptr) {
        return 0;
    }
    return (UINT)SendMessageA((HWND)control, LIN32_BM_GETCHECK, 0, 0);
}

BOOL WINAPI CheckDlgButton(HWND dialog, int id, UINT check)
{
    lin32_window *control = Lin32DialogItem(dialog, id);
    if (control == nullptr) {
        return FALSE;
    }
    SendMessageA((HWND)control, LIN32_BM_SETCHECK, check, 0);
    return TRUE;
}

// Every control with an id in the range is set, whatever its kind: buttons that have no
// check state ignore it.
BOOL WINAPI CheckRadioButton(HWND dialog, int firstId, int lastId, int checkId)
{
    lin32_window *window = Lin32Window(dialog);
    if (window == nullptr) {
        return FALSE;
    }
    for (const std::unique_ptr<lin32_window> &control : window->controls) {
        if (control->id >= firstId && control->id <= lastId) {
            SendMessageA((HWND)control.get(), LIN32_BM_SETCHECK,
                         control->id == checkId ? BST_CHECKED : BST_UNCHECKED, 0);
        }
    }
    return TRUE;
}

BOOL WINAPI EnableWindow(HWND window, BOOL enable)
{
    lin32_window *target = Lin32Window(window);
    if (target == nullptr) {
        return FALSE;
    }
    bool wasDisabled = (target->style & WS_DISABLED) != 0;
    if (enable) {
        target->style &= ~(DWORD)WS_DISABLED;
    } else {
        target->style |= WS_DISABLED;
    }
    return wasDisabled ? TRUE : FALSE;
}

BOOL WINAPI IsWindowEnabled(HWND window)
{
    lin32_window *target = Lin32Window(window);
    return target != nullptr && (target->style & WS_DISABLED) == 0;
}

// Nothing is painted; a null window stands for all of them.
BOOL WINAPI InvalidateRect(HWND window, const void *rect, BOOL erase)
{
    (void)rect;
    (void)erase;
    return window == nullptr || Lin32Window(window) != nullptr;
}

// ---- what only the model shows ------------------------------------------------------

bool Lin32IsDialogEnded(HWND dialog)
{
    lin32_window *window = Lin32Window(dialog);
    return window != nullptr && window->kind == KIND_DIALOG && window->ended;
}

int Lin32ControlCount(HWND dialog)
{
    lin32_window *window = Lin32Window(dialog);
    return window == nullptr ? 0 : (int)window->controls.size();
}

HWND Lin32ControlAt(HWND dialog, int index)
{
    lin32_window *window = Lin32Window(dialog);
    if (window == nullptr || index < 0 || (size_t)index >= window->controls.size()) {
        return nullptr;
    }
    return (HWND)window->controls[(size_t)index].get();
}

int Lin32GetControlId(HWND control)
{
    lin32_window *window = Lin32Window(control);
    return window == nullptr ? 0 : window->id;
}

DWORD Lin32GetWindowStyle(HWND window)
{
    lin32_window *target = Lin32Window(window);
    return target == nullptr ? 0 : target->style;
}

std::string Lin32GetClassName(HWND window)
{
    static const char *const names[] = {"#32770", "Button", "Edit", "Static", "ListBox",
                                        "ComboBox"};
    lin32_window *target = Lin32Window(window);
    return target == nullptr ? std::string() : names[target->kind];
}

int Lin32GetIconId(HWND control)
{
    lin32_window *window = Lin32Window(control);
    return window == nullptr ? -1 : window->iconId;
}

std::vector<int> Lin32GetTabStops(HWND list)
{
    lin32_window *window = Lin32Window(list);
    return window == nullptr ? std::vector<int>() : window->tabStops;
}

int Lin32GetEditLimit(HWND edit)
{
    lin32_window *window = Lin32Window(edit);
    return window == nullptr ? 0 : window->limit;
}

bool Lin32IsRedrawOn(HWND window)
{
    lin32_window *target = Lin32Window(window);
    return target != nullptr && target->redraw;
}

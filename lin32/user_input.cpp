// The user's input to a dialog of the model, each action with the notification that the
// platform sends for it and no other. Acting on a hidden or disabled control, or in a
// dialog that has ended, changes nothing: a real user could not reach it.
#include "user_window.h"

static bool Reachable(const lin32_window *control)
{
    return !control->dialog->ended && (control->style & WS_VISIBLE) &&
           !(control->style & WS_DISABLED) && !(control->dialog->style & WS_DISABLED);
}

static void Notify(lin32_window *control, WORD code)
{
    SendMessageA((HWND)control->dialog, WM_COMMAND, MAKEWPARAM(control->id, code),
                 (LPARAM)control);
}

static lin32_window *ControlOfKind(HWND window, Lin32WindowKind kind)
{
    lin32_window *control = Lin32Window(window);
    return control != nullptr && control->kind == kind ? control : nullptr;
}

bool Lin32UserChooseComboItem(HWND combo, int index)
{
    lin32_window *control = ControlOfKind(combo, KIND_COMBOBOX);
    if (control == nullptr || index < 0 || (size_t)index >= control->items.size()) {
        return false;
    }
    if (Reachable(control)) {
        control->current = index;
        Notify(control, CBN_SELCHANGE);
    }
    return true;
}

// A click selects the line alone; with Ctrl, or in a LBS_MULTIPLESEL list, it toggles
// the line. Every click notifies a LBS_NOTIFY list, changed selection or not.
bool Lin32UserClickLine(HWND list, int index, bool withCtrl)
{
    lin32_window *control = ControlOfKind(list, KIND_LISTBOX);
    if (control == nullptr || index < 0 || (size_t)index >= control->items.size()) {
        return false;
    }
    if (!Reachable(control)) {
        return true;
    }
    size_t line = (size_t)index;
    if (!Lin32IsMultiSelect(control)) {
        control->current = index;
    } else if (withCtrl || (control->style & LBS_EXTENDEDSEL) == 0) {
        control->selected[line] = control->selected[line] ? 0 : 1;
    } else {
        for (unsigned char &selected : control->selected) {
            selected = 0;
        }
        control->selected[line] = 1;
    }
    control->caret = index;
    if (control->style & LBS_NOTIFY) {
        Notify(control, LBN_SELCHANGE);
    }
    return true;
}

static bool IsRadio(const lin32_window *control)
{
    int type = Lin32ButtonType(control);
    return control->kind == KIND_BUTTON && (type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON);
}

// An automatic radio button unchecks the other radio buttons of its group: the controls
// from the nearest WS_GROUP at or before it up to the next WS_GROUP.
static void CheckInGroup(lin32_window *button)
{
    std::vector<std::unique_ptr<lin32_window>> &controls = button->dialog->controls;
    size_t position = 0;
    while (controls[position].get() != button) {
        ++position;
    }
    size_t first = position;
    while (first > 0 && !(controls[first]->style & WS_GROUP)) {
        --first;
    }
    for (size_t i = first; i < controls.size(); ++i) {
        if (i > first && (controls[i]->style & WS_GROUP)) {
            break;
        }
        if (IsRadio(controls[i].get())) {
            controls[i]->check = BST_UNCHECKED;
        }
    }
    button->check = BST_CHECKED;
}

bool Lin32UserClickButton(HWND button)
{
    lin32_window *control = ControlOfKind(button, KIND_BUTTON);
    if (control == nullptr) {
        return false;
    }
    int type = Lin32ButtonType(control);
    if (!Reachable(control) || type == BS_GROUPBOX) {
        return true;
    }
    if (type == BS_AUTOCHECKBOX) {
        control->check = control->check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    } else if (type == BS_AUTORADIOBUTTON) {
        CheckInGroup(control);
    }
    Notify(control, BN_CLICKED);
    return true;
}

// Typing replaces the text, as far as the limit lets it in.
bool Lin32UserType(HWND edit, const char *text)
{
    lin32_window *control = ControlOfKind(edit, KIND_EDIT);
    if (control == nullptr) {
        return false;
    }
    if (Reachable(control) && !(control->style & ES_READONLY)) {
        std::string typed = text == nullptr ? std::string() : std::string(text);
        if (typed.size() > (size_t)control->limit) {
            typed.resize((size_t)control->limit);
        }
        control->text = typed;
    }
    return true;
}

static lin32_window *OpenDialog(HWND dialog, bool &ended)
{
    lin32_window *window = ControlOfKind(dialog, KIND_DIALOG);
    ended = window != nullptr && window->ended;
    return window;
}

// Enter clicks the enabled default push button; without one the dialog gets IDOK.
bool Lin32UserPressEnter(HWND dialog)
{
    bool ended = false;
    lin32_window *window = OpenDialog(dialog, ended);
    if (window == nullptr || ended) {
        return window != nullptr;
    }
    for (const std::unique_ptr<lin32_window> &control : window->controls) {
        if (control->kind == KIND_BUTTON && Lin32ButtonType(control.get()) == BS_DEFPUSHBUTTON &&
            !(control->style & WS_DISABLED)) {
            Notify(control.get(), BN_CLICKED);
            return true;
        }
    }
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 (LPARAM)Lin32FindControl(window, IDOK));
    return true;
}

bool Lin32UserPressEscape(HWND dialog)
{
    bool ended = false;
    lin32_window *window = OpenDialog(dialog, ended);
    if (window != nullptr && !ended) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     (LPARAM)Lin32FindControl(window, IDCANCEL));
    }
    return window != nullptr;
}

bool Lin32UserCloseBox(HWND dialog)
{
    bool ended = false;
    lin32_window *window = OpenDialog(dialog, ended);
    if (window != nullptr && !ended) {
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    }
    return window != nullptr;
}

// Inside the dialog model: a window is the dialog or one of its controls, and it holds
// everything the real control would (text, style, check state, lines, selection).
#ifndef LIN32_USER_WINDOW_H
#define LIN32_USER_WINDOW_H

#include "lin32_dialog.h"

#include <memory>
#include <string>
#include <vector>

enum Lin32WindowKind { KIND_DIALOG, KIND_BUTTON, KIND_EDIT, KIND_STATIC, KIND_LISTBOX, KIND_COMBOBOX };

// Messages of the layer's own that the SDK has but windows.h does not declare.
enum {
    LIN32_BM_GETCHECK = 0x00F0,
    LIN32_BM_SETCHECK = 0x00F1,
    LIN32_BS_TYPEMASK = 0x0000000F,
    LIN32_EDIT_DEFAULT_LIMIT = 30000,       // what a new edit lets the user type
    LIN32_EDIT_MAX_LIMIT = 0x7FFFFFFE,      // EM_LIMITTEXT 0 and anything larger
    LIN32_ERROR_CANNOT_FIND_WND_CLASS = 1407,
    LIN32_ERROR_RESOURCE_DATA_NOT_FOUND = 1812,
    LIN32_ERROR_RESOURCE_NAME_NOT_FOUND = 1814
};

struct lin32_window {
    Lin32WindowKind kind;
    int id;
    DWORD style;
    std::string text;      // window text, in the process's code page
    int iconId;            // icon controls: the icon's resource number; else -1
    lin32_window *dialog;  // the dialog of a control; a dialog's is itself
    bool redraw;
    // the dialog
    std::vector<std::unique_ptr<lin32_window>> controls;  // template order
    DLGPROC proc;
    bool ended;
    INT_PTR result;
    // buttons
    int check;
    // edits
    int limit;
    // lists and combos
    std::vector<std::string> items;
    std::vector<unsigned char> selected;  // multiple-selection lists: a flag per line
    int current;  // the selected line or entry; -1 for none (single-selection lists, combos)
    int caret;    // multiple-selection lists: the line that has the focus
    std::vector<int> tabStops;
};

// The live window behind a handle; nullptr (last error ERROR_INVALID_WINDOW_HANDLE) for
// a handle that is not, or no longer, a window.
lin32_window *Lin32Window(HWND window);

// A control of a dialog by id; nullptr with the last error set when there is none.
lin32_window *Lin32DialogItem(HWND dialog, int id);

// Builds the windows of a template (texts from UTF-16 into the active code page) and
// makes them live. nullptr, with the last error set, for a control of an unknown class.
lin32_window *Lin32CreateDialog(const Lin32DialogTemplate &dialogTemplate, DLGPROC proc);
void Lin32DestroyDialog(lin32_window *dialog);

bool Lin32IsMultiSelect(const lin32_window *list);
int Lin32ButtonType(const lin32_window *button);

// Message handling by kind of window.
LRESULT Lin32DialogMessage(lin32_window *dialog, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Lin32ListMessage(lin32_window *list, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Lin32ComboMessage(lin32_window *combo, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Lin32ButtonMessage(lin32_window *button, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT Lin32EditMessage(lin32_window *edit, UINT message, WPARAM wParam, LPARAM lParam);

// WM_SETTEXT, WM_GETTEXT, WM_GETTEXTLENGTH and WM_SETREDRAW on any window's own text;
// false for other messages.
bool Lin32WindowTextMessage(lin32_window *window, UINT message, WPARAM wParam, LPARAM lParam,
                            LRESULT &result);

// Copies text into buffer of count bytes (cut to count - 1, NUL added); returns the
// characters copied, 0 with nothing written when count or buffer is 0.
LRESULT Lin32CopyText(const std::string &text, WPARAM count, LPARAM buffer);

// A control by id without touching the last error; nullptr when there is none.
lin32_window *Lin32FindControl(lin32_window *dialog, int id);

// Where a new line or entry goes: the end, or in a sorted control after the ones that
// sort before it or with it (letters compared by the code page's upper case).
int Lin32InsertPosition(const std::vector<std::string> &items, const std::string &text,
                        bool sorted);

// Text up to its first NUL; an absent text is empty, as the platform takes it.
std::string Lin32TextArgument(LPARAM text);

#endif

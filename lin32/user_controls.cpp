// Buttons and edits: check states, read-only and the typing limit.
#include "user_window.h"

// The highest check state each button type holds; the others hold none.
static int MaxCheckState(const lin32_window *button)
{
    switch (Lin32ButtonType(button)) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return BST_CHECKED;
    default:
        return BST_UNCHECKED;
    }
}

LRESULT Lin32ButtonMessage(lin32_window *button, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case LIN32_BM_GETCHECK:
        return button->check;
    case LIN32_BM_SETCHECK: {
        int maximum = MaxCheckState(button);
        button->check = wParam > (WPARAM)maximum ? maximum : (int)wParam;
        return 0;
    }
    default: {
        LRESULT result = 0;
        Lin32WindowTextMessage(button, message, wParam, lParam, result);
        return result;
    }
    }
}

// EM_LIMITTEXT binds only the user's typing; WM_SETTEXT may set any text.
LRESULT Lin32EditMessage(lin32_window *edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case EM_SETREADONLY:
        if (wParam) {
            edit->style |= ES_READONLY;
        } else {
            edit->style &= ~(DWORD)ES_READONLY;
        }
        return TRUE;
    case EM_LIMITTEXT:
        edit->limit = (wParam == 0 || wParam > (WPARAM)LIN32_EDIT_MAX_LIMIT) ? LIN32_EDIT_MAX_LIMIT
                                                                            : (int)wParam;
        return 0;
    default: {
        LRESULT result = 0;
        Lin32WindowTextMessage(edit, message, wParam, lParam, result);
        return result;
    }
    }
}

// MessageBoxA without a screen: a test's hook answers the box; without one the box goes
// to standard error and gets the answer that does the least harm.
#include "codepage.h"
#include "lin32_hooks.h"
#include "windows.h"

#include <stdio.h>

static Lin32MessageBoxHook boxHook = nullptr;
static void *boxHookContext = nullptr;

void Lin32SetMessageBoxHook(Lin32MessageBoxHook hook, void *context)
{
    boxHook = hook;
    boxHookContext = context;
}

void Lin32GetMessageBoxHook(Lin32MessageBoxHook *hook, void **context)
{
    if (hook != nullptr) {
        *hook = boxHook;
    }
    if (context != nullptr) {
        *context = boxHookContext;
    }
}

// Cancel wherever the box has one, otherwise No, Abort or OK.
static int SafestButton(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_YESNO:
        return IDNO;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    default:
        return IDOK;
    }
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    // Windows shows an empty text for NULL and captions a NULL caption "Error".
    if (text == nullptr) {
        text = "";
    }
    if (caption == nullptr) {
        caption = "Error";
    }
    if (boxHook != nullptr) {
        return boxHook(boxHookContext, owner, text, caption, type);
    }
    int answer = SafestButton(type);
    // The texts are in the process's code page; the terminal reads UTF-8.
    fprintf(stderr, "[message box] %s: %s -> %d\n", Lin32AnsiToUtf8(caption).c_str(),
            Lin32AnsiToUtf8(text).c_str(), answer);
    return answer;
}

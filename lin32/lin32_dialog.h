// The layer's dialog model seen from the tests: the resource-script parser, the choice of
// the dialog language, the user who acts inside the modal loop, injected control
// failures, and the state of a control that only the model shows. The product code never
// includes this header.
#ifndef LIN32_DIALOG_H
#define LIN32_DIALOG_H

#include "windows.h"

#include <stddef.h>
#include <string>
#include <vector>

// ---- resource scripts ----------------------------------------------------------------
// Dialog templates as the script states them. Texts stay in the script's UTF-8; styles
// are complete (a CONTROL has WS_CHILD | WS_VISIBLE unless the script takes them away).
struct Lin32ControlTemplate {
    std::string className;  // as written: "Button", "ListBox", ... or BUTTON, EDIT, ...
    std::string text;       // empty when the text is a resource number
    int iconId;             // the resource number given as text (icon controls), else -1
    int id;
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
};

struct Lin32DialogTemplate {
    int id;
    WORD language;  // MAKELANGID of the LANGUAGE in force, e.g. 2057 for English (UK)
    bool extended;  // DIALOGEX
    DWORD style;
    DWORD exStyle;
    std::string caption;
    int fontSize;
    std::string fontFace;
    int x, y, width, height;
    std::vector<Lin32ControlTemplate> controls;
};

struct Lin32ResourceScript {
    std::vector<Lin32DialogTemplate> dialogs;  // in script order
    std::vector<int> iconIds;                  // ICON resources (their files are not read)
};

// Finds a file that the script includes by its path relative to the folder of the master
// script ("resource.h", "lang/de.rc"); false when there is none.
typedef bool (*Lin32ScriptLookup)(const char *path, const char **text, size_t *size);

// Parses the size bytes of text, a resource script called name, with its #include files
// from lookup (may be null: then every #include "..." fails). Never reads outside the
// buffers. On failure returns false with error as "name:line: what is wrong"; script is
// then unspecified.
bool Lin32ParseResourceScript(const char *name, const char *text, size_t size,
                              Lin32ScriptLookup lookup, Lin32ResourceScript &script,
                              std::string &error);

// The scripts built into the layer from resources/: "chartxfer.rc" and the files it
// includes. A Lin32ScriptLookup.
bool Lin32BuiltInScriptFile(const char *path, const char **text, size_t *size);

// Makes DialogBoxParamA read text (copied) instead of the built-in chartxfer.rc; its
// #include files still come from the built-in ones. nullptr returns to chartxfer.rc.
void Lin32UseResourceScript(const char *text, size_t size);

// ---- dialog language ----------------------------------------------------------------
// The language of a locale name such as LC_ALL, LC_MESSAGES or LANG give it: its base
// language decides ("de_AT.UTF-8" German 1031, "fr_CA" French 1036, "en_US" and any
// language without a dialog English (UK) 2057; Finnish 1035, Polish 1045, Russian 1049).
WORD Lin32LanguageForLocale(const char *locale);

// The language of the first non-empty one of LC_ALL, LC_MESSAGES and LANG.
WORD Lin32LanguageFromEnvironment(void);

// The ANSI code page that goes with a language: 1250 Polish, 1251 Russian, else 1252.
int Lin32CodePageForLanguage(WORD language);

// DialogBoxParamA takes the dialog in this language (then English (UK), then the first
// in the script) and sets the process's code page to that dialog's (Lin32SetCodePage).
// The language comes from the environment at each DialogBoxParamA unless a test forces
// one here; forcing sets the code page at once as well. 0 returns to the environment.
void Lin32SetDialogLanguage(WORD language);

// The language of the dialog that DialogBoxParamA created last; 0 before the first.
WORD Lin32GetDialogLanguage(void);

// ---- the user ------------------------------------------------------------------------
// DialogBoxParamA calls user(context, dialog) once WM_INITDIALOG has been handled and the
// dialog is still open: the user acts through the Lin32User* calls below and returns.
// A dialog still open afterwards is ended with result 0. Without a user the dialog is
// ended at once (result 0), so nothing waits for input that cannot come.
typedef void (*Lin32DialogUser)(void *context, HWND dialog);
void Lin32SetDialogUser(Lin32DialogUser user, void *context);

// User input, each with the notification that the platform sends for it and no other.
// An action on a hidden or disabled control, or in an ended dialog, does nothing and
// counts as done. False when the action cannot be done at all: no such control, not a
// control of that kind, no such line or entry.
bool Lin32UserChooseComboItem(HWND combo, int index);        // CBN_SELCHANGE
bool Lin32UserClickLine(HWND list, int index, bool withCtrl);  // LBN_SELCHANGE (LBS_NOTIFY)
bool Lin32UserClickButton(HWND button);                      // BN_CLICKED
bool Lin32UserType(HWND edit, const char *text);             // replaces the text
bool Lin32UserPressEnter(HWND dialog);   // default push button, else IDOK
bool Lin32UserPressEscape(HWND dialog);  // IDCANCEL
bool Lin32UserCloseBox(HWND dialog);     // WM_CLOSE

// ---- injected failures ----------------------------------------------------------------
// The nth CB_ADDSTRING (1 = the next one) on a combo with this id, in any dialog, fails:
// it adds nothing, sets the last error to lastError and returns result (CB_ERR or
// CB_ERRSPACE). Several such failures may wait at once.
void Lin32FailComboAdd(int comboId, int nth, LRESULT result, DWORD lastError);
void Lin32ClearComboFailures(void);

// ---- what only the model shows ----------------------------------------------------
// All return 0, false or empty for a window that does not exist.
bool Lin32IsDialogEnded(HWND dialog);
int Lin32ControlCount(HWND dialog);
HWND Lin32ControlAt(HWND dialog, int index);  // in template order
int Lin32GetControlId(HWND control);
DWORD Lin32GetWindowStyle(HWND window);
std::string Lin32GetClassName(HWND window);  // "Button", "Edit", "Static", "ListBox", ...
int Lin32GetIconId(HWND control);            // icon controls; -1 otherwise
std::vector<int> Lin32GetTabStops(HWND list);
int Lin32GetEditLimit(HWND edit);
bool Lin32IsRedrawOn(HWND window);

#endif

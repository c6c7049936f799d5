// The layer's dialog model seen from the tests: the compiled resource it builds dialogs
// from, the user who acts inside the modal loop, injected control failures, and the
// state of a control that only the model shows. The product code never includes this
// header.
#ifndef LIN32_DIALOG_H
#define LIN32_DIALOG_H

#include "windows.h"

#include <stddef.h>
#include <string>
#include <vector>

// ---- the compiled resource -------------------------------------------------------------
// Dialog templates as the resource holds them: texts in UTF-16, styles as windres wrote
// them (a CONTROL has WS_CHILD | WS_VISIBLE unless the .rc takes them away).
struct Lin32ControlTemplate {
    std::string className;  // "Button", "Edit", "Static", "ListBox", "ScrollBar",
                            // "ComboBox" for the predefined classes, else the name given
    std::u16string text;    // empty when the title is a resource number
    int iconId;             // the title as a resource number (icon controls), else -1
    int id;                 // a DIALOG holds ids as WORDs: -1 arrives as 0xFFFF
    DWORD style;
    DWORD exStyle;
    int x, y, width, height;
};

struct Lin32DialogTemplate {
    int id;
    WORD language;  // the resource's language id, e.g. 0x0809 for English (UK)
    bool extended;  // DLGTEMPLATEEX
    DWORD style;
    DWORD exStyle;
    std::u16string caption;
    int fontSize;  // 0 without DS_SETFONT
    std::u16string fontFace;
    int x, y, width, height;
    std::vector<Lin32ControlTemplate> controls;
};

struct Lin32Resource {
    std::vector<Lin32DialogTemplate> dialogs;  // those with a number, in resource order
    std::vector<int> iconIds;                  // group icons whose images are all there
};

// Reads the size bytes of a compiled resource (.res). Never reads outside the buffer. On
// failure returns false with error saying what is wrong at which byte.
bool Lin32ReadResource(const void *data, size_t size, Lin32Resource &resource,
                       std::string &error);

// The resource that windres compiled from resources/chartxfer.rc, as the exe carries it.
extern const unsigned char g_lin32Resource[];
extern const size_t g_lin32ResourceSize;

// Makes DialogBoxParamA read these bytes (copied) instead of g_lin32Resource; nullptr
// returns to it.
void Lin32UseResource(const void *data, size_t size);

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

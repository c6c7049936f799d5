// Drives the program's main dialog as a user would: start the program, choose combo
// entries, click lines and buttons, type, press Enter, close; then read back what the
// controls show. On Linux it works on the layer's dialog model; the same calls serve the
// real dialog under Windows.
#ifndef TESTS_SUPPORT_DIALOG_DRIVER_H
#define TESTS_SUPPORT_DIALOG_DRIVER_H

#include "Kopf01/winapi.h"

#include <functional>
#include <string>
#include <vector>

namespace driver {

// Runs the program's start-up with this command line. Inside the dialog's modal loop,
// once WM_INITDIALOG has been handled, calls user(dialog); closes the dialog afterwards
// if the script has not. Returns the start-up's exit code. When initialisation ends the
// dialog itself, user is not called.
int RunProgram(const char *commandLine, const std::function<void(HWND)> &user);

// Actions. Each does what the platform does for the user's action and delivers the
// notification that the platform would deliver, nothing more. Actions on a disabled
// control do nothing.
void ChooseComboItem(HWND dialog, int comboId, int index);          // CBN_SELCHANGE
void ClickLine(HWND dialog, int listId, int index);                 // select only this line
void CtrlClickLine(HWND dialog, int listId, int index);             // toggle this line
void ClickButton(HWND dialog, int id);      // push, check box (toggles), radio (checks)
void TypeText(HWND dialog, int editId, const char *text);  // replaces; honours limit, read-only
void PressEnter(HWND dialog);
void PressEscape(HWND dialog);

// Read-back.
std::vector<std::string> ListLines(HWND dialog, int listId);
// The chart name of a list line: columns 1-8 without their trailing blanks.
std::string ChartName(const std::string &line);
std::vector<std::string> ListNames(HWND dialog, int listId);  // each line's chart name
std::vector<int> SelectedLines(HWND dialog, int listId);
std::vector<std::string> ComboItems(HWND dialog, int comboId);
int ComboSelection(HWND dialog, int comboId);
std::string ItemText(HWND dialog, int id);
bool IsEnabled(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsReadOnly(HWND dialog, int editId);

}  // namespace driver

#endif

// End-to-end tests of the real chartxfer.exe under Wine. The test program runs in the same
// Wine prefix as the program: it lays out drives and product trees, starts chartxfer.exe,
// works its dialog from outside through USER32 as a user would, answers its message
// boxes and reads back what the controls show.
//
// e2e.sh links the drives before the test program starts: A: a diskette drive with a
// disk in it, B: a diskette drive with no disk, D: and E: fixed drives, each on an empty
// folder of its own, and F: a second letter for the folder of D:; C: is the prefix's own
// drive.
#ifndef TESTS_WINE_HARNESS_H
#define TESTS_WINE_HARNESS_H

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// ---- Drives and files. Paths are Windows paths ("C:\vornix\vornix.ini").

// Empties A:, D:, E: and C:\vornix, and puts the disk back into A:.
bool ResetDrives();
// Takes the disk out of drive A: (its folder is moved away, the drive stays) or puts
// it back.
bool SetDiskInA(bool present);

bool MakeDirs(const std::string &path);  // every missing folder of path
bool WriteTextFile(const std::string &path, const std::string &bytes);  // folders too
bool ReadTextFile(const std::string &path, std::string &bytes);
bool FileExists(const std::string &path);
bool DirExists(const std::string &path);

struct LocalTime {
    int year, month, day, hour, minute;
};
bool SetLastWriteTime(const std::string &path, const LocalTime &time);
std::string Format(const LocalTime &time);  // "2024-03-05 14:07"

// The product tree of one construction system on a drive: \vornix\<dir>\ with the
// system file vornix_s.kon (first line: the display name) and the folders KOLLEKT,
// MASK, MAS, PROG, ST and XWERT.
bool MakeSystem(char drive, const std::string &dir, const std::string &displayName);
std::string ChartDir(char drive, const std::string &dir);  // X:\vornix\<dir>\mas
// A chart <name>.mas in the chart directory, changed last at the given local time.
bool WriteChart(char drive, const std::string &dir, const std::string &name,
                const LocalTime &time, const std::string &content = "chart\r\n");
// The names of the charts in the chart directory, without ".mas", in name order.
std::vector<std::string> ChartNames(char drive, const std::string &dir);
// Every entry of a folder but "." and "..", in name order.
std::vector<std::string> FolderEntries(const std::string &folder);
bool GetLastWriteTime(const std::string &path, LocalTime &time);

// ---- The program.

// A message box of the program as it stands on the screen.
struct Box {
    HWND window = nullptr;
    std::wstring caption;
    std::wstring text;
    bool owned = false;  // owned by the main dialog (only the error box has no owner)
    UINT buttons = 0;    // MB_OK, MB_YESNO, MB_ABORTRETRYIGNORE, ...
};

// chartxfer.exe, started by Start and ended (if still running) by the destructor.
class Program {
public:
    Program() = default;
    ~Program();
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    // arguments: the command line after the program's name; workingDir: its current
    // directory. The exe is the one named by CHARTXFER_EXE.
    bool Start(const std::string &arguments, const std::string &workingDir);

    // The main dialog with this caption, once it shows or a message box of its
    // initialisation does (the dialog is then still hidden).
    HWND WaitForDialog(const std::wstring &caption, DWORD timeoutMs = 30000);
    HWND Dialog() const { return dialog_; }

    // Returns once the program has dealt with everything sent to it so far: it waits in
    // its dialog's loop or in a message box, or it has ended.
    void Settle();

    std::vector<Box> Boxes();  // the program's message boxes open now
    // The box waiting for an answer (the enabled one), as soon as one is open.
    bool WaitForBox(Box &box, DWORD timeoutMs = 20000);
    // Presses a button of the box (IDOK, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE) and
    // waits until the program has gone on.
    bool Answer(const Box &box, int buttonId);

    bool Running();
    bool WaitForExit(DWORD &exitCode, DWORD timeoutMs = 30000);

    // Actions. Each changes the control as the user's action would and delivers the
    // notification the platform would deliver, then settles. Actions on a disabled
    // control, and typing into a read-only edit, do nothing and return false.
    bool ChooseComboItem(int comboId, int index);       // CBN_SELCHANGE
    bool ClickLine(int listId, int index);              // selects only this line
    bool CtrlClickLine(int listId, int index);          // toggles this line
    bool ClickButton(int id);   // push button; check box toggles; radio button checks
    bool TypeText(int editId, const std::wstring &text);  // replaces; honours the limit
    bool PressEnter();          // the Enter key on the control that has the focus

    // Read-back from the main dialog.
    std::vector<std::wstring> ListLines(int listId);
    std::vector<int> SelectedLines(int listId);
    std::vector<std::wstring> ComboItems(int comboId);
    int ComboSelection(int comboId);
    std::wstring ItemText(int id);
    bool IsEnabled(int id);
    bool IsChecked(int id);
    bool IsReadOnly(int editId);

private:
    HWND Item(int id) const;
    PROCESS_INFORMATION process_ = {};
    HWND dialog_ = nullptr;
    unsigned settleCount_ = 0;
};

// Text for failure messages: the wide text as UTF-8.
std::string Utf8(const std::wstring &text);

}  // namespace e2e

#endif

#include "harness.h"

#include "tests/support/wintree.h"

#include <algorithm>
#include <stdio.h>

namespace e2e {

namespace {

const int MAIN_DIALOG_MARK = 1001;  // the source list: only the main dialog has it
const int BOX_TEXT_ID = 0xFFFF;     // the Static that holds a message box's text
const int SETTLE_MARK_ID = 1008;     // the "until" date edit
const WPARAM SETTLE_LIMIT_BASE = 0x40000000;
const DWORD SETTLE_TIMEOUT_MS = 30000;
const DWORD POLL_MS = 50;

// A Unix path from the environment as Wine shows it: Z: is the Unix root.
std::string WindowsPathFromEnv(const char *name)
{
    char value[1024];
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) {
        return std::string();
    }
    std::string path(value, length);
    if (path[0] == '/') {
        path = "Z:" + path;
    }
    for (char &c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

std::string DrivesFolder() { return WindowsPathFromEnv("CHARTXFER_E2E_DRIVES"); }

std::wstring ClassOf(HWND window)
{
    wchar_t name[64];
    int length = GetClassNameW(window, name, 64);
    return std::wstring(name, length > 0 ? (size_t)length : 0);
}

// WM_GETTEXT through SendMessageW: across processes the A forms return only the
// first character under Wine.
std::wstring TextOf(HWND window)
{
    if (window == nullptr) {
        return std::wstring();
    }
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) {
        return std::wstring();
    }
    std::wstring text((size_t)length + 1, L'\0');
    LRESULT copied = SendMessageW(window, WM_GETTEXT, (WPARAM)(length + 1), (LPARAM)&text[0]);
    text.resize(copied > 0 ? (size_t)copied : 0);
    return text;
}

// The texts of the items of a list or combo, read with the control's own messages.
std::vector<std::wstring> ItemTexts(HWND control, UINT countMessage, UINT lengthMessage,
                                    UINT textMessage)
{
    std::vector<std::wstring> texts;
    LRESULT count = control == nullptr ? 0 : SendMessageW(control, countMessage, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(control, lengthMessage, (WPARAM)i, 0);
        std::wstring text(length > 0 ? (size_t)length + 1 : 1, L'\0');
        LRESULT copied = SendMessageW(control, textMessage, (WPARAM)i, (LPARAM)&text[0]);
        text.resize(copied > 0 ? (size_t)copied : 0);
        texts.push_back(text);
    }
    return texts;
}

UINT ButtonsOf(HWND box)
{
    auto has = [box](int id) { return GetDlgItem(box, id) != nullptr; };
    if (has(IDYES) && has(IDNO)) {
        return has(IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    }
    if (has(IDABORT)) {
        return MB_ABORTRETRYIGNORE;
    }
    if (has(IDRETRY)) {
        return MB_RETRYCANCEL;
    }
    if (has(IDCANCEL)) {
        return MB_OKCANCEL;
    }
    return MB_OK;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param)
{
    WindowSearch *search = (WindowSearch *)param;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ClassOf(window) == L"#32770") {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

// ---- Drives and files.

bool SetDiskInA(bool present)
{
    std::string folder = DrivesFolder();
    if (folder.empty()) {
        return false;
    }
    std::string in = folder + "\\a";
    std::string out = folder + "\\a-out";
    if (present) {
        if (DirExists(in)) {
            return true;
        }
        if (DirExists(out)) {
            return MoveFileA(out.c_str(), in.c_str()) != 0;
        }
        return CreateDirectoryA(in.c_str(), nullptr) != 0;
    }
    if (!DirExists(in)) {
        return true;
    }
    if (DirExists(out) && !ClearTree(out, true)) {
        return false;
    }
    return MoveFileA(in.c_str(), out.c_str()) != 0;
}

bool ResetDrives()
{
    bool ok = SetDiskInA(true);
    ok = ClearTree("A:", false) && ok;
    ok = ClearTree("D:", false) && ok;
    ok = ClearTree("E:", false) && ok;
    ok = ClearTree("C:\\vornix", true) && ok;
    return ok;
}

bool DirExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FileExists(const std::string &path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeDirs(const std::string &path)
{
    // Skip the drive ("C:\") and create each folder below it in turn.
    size_t start = (path.size() >= 3 && path[1] == ':') ? 3 : 0;
    for (size_t at = path.find('\\', start); ; at = path.find('\\', at + 1)) {
        std::string part = path.substr(0, at);
        if (!part.empty() && !DirExists(part) && !CreateDirectoryA(part.c_str(), nullptr)) {
            return false;
        }
        if (at == std::string::npos) {
            return true;
        }
    }
}

bool WriteTextFile(const std::string &path, const std::string &bytes)
{
    size_t slash = path.rfind('\\');
    if (slash != std::string::npos && slash > 2 && !MakeDirs(path.substr(0, slash))) {
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

bool ReadTextFile(const std::string &path, std::string &bytes)
{
    bytes.clear();
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    char buffer[4096];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool SetLastWriteTime(const std::string &path, const LocalTime &time)
{
    SYSTEMTIME local = {};
    local.wYear = (WORD)time.year;
    local.wMonth = (WORD)time.month;
    local.wDay = (WORD)time.day;
    local.wHour = (WORD)time.hour;
    local.wMinute = (WORD)time.minute;
    FILETIME localFileTime, fileTime;
    // The inverse of what the program does to show a time (FileTimeToLocalFileTime).
    if (!SystemTimeToFileTime(&local, &localFileTime) ||
        !LocalFileTimeToFileTime(&localFileTime, &fileTime)) {
        return false;
    }
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    BOOL ok = SetFileTime(file, nullptr, nullptr, &fileTime);
    CloseHandle(file);
    return ok != 0;
}

std::string Format(const LocalTime &time)
{
    char text[32];
    snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d", time.year, time.month, time.day,
             time.hour, time.minute);
    return text;
}

bool MakeSystem(char drive, const std::string &dir, const std::string &displayName)
{
    std::string root = std::string(1, drive) + ":\\vornix\\" + dir;
    static const char *const FOLDERS[] = {"KOLLEKT", "MASK", "MAS", "PROG", "ST", "XWERT"};
    for (const char *folder : FOLDERS) {
        if (!MakeDirs(root + "\\" + folder)) {
            return false;
        }
    }
    return WriteTextFile(root + "\\vornix_s.kon", displayName + "\r\n");
}

std::string ChartDir(char drive, const std::string &dir)
{
    return std::string(1, drive) + ":\\vornix\\" + dir + "\\mas";
}

bool WriteChart(char drive, const std::string &dir, const std::string &name,
                const LocalTime &time, const std::string &content)
{
    std::string path = ChartDir(drive, dir) + "\\" + name + ".mas";
    return WriteTextFile(path, content) && SetLastWriteTime(path, time);
}

std::vector<std::string> FolderEntries(const std::string &folder)
{
    return FolderNames(folder);
}

std::vector<std::string> ChartNames(char drive, const std::string &dir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((ChartDir(drive, dir) + "\\*.mas").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > 4) {
            names.push_back(name.substr(0, name.size() - 4));
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

bool GetLastWriteTime(const std::string &path, LocalTime &time)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    FILETIME localFileTime;
    SYSTEMTIME local;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        !FileTimeToLocalFileTime(&data.ftLastWriteTime, &localFileTime) ||
        !FileTimeToSystemTime(&localFileTime, &local)) {
        return false;
    }
    time = {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute};
    return true;
}

std::string Utf8(const std::wstring &text)
{
    if (text.empty()) {
        return std::string();
    }
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0,
                                     nullptr, nullptr);
    std::string result(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &result[0], length,
                            nullptr, nullptr);
    }
    return result;
}

// ---- The program.

Program::~Program()
{
    if (process_.hProcess != nullptr) {
        if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool Program::Start(const std::string &arguments, const std::string &workingDir)
{
    if (process_.hProcess != nullptr) {
        return false;
    }
    std::string exe = WindowsPathFromEnv("CHARTXFER_EXE");
    if (exe.empty()) {
        return false;
    }
    std::string commandLine = "\"" + exe + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    dialog_ = nullptr;
    return CreateProcessA(exe.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingDir.empty() ? nullptr : workingDir.c_str(), &startup,
                          &process_) != 0;
}

HWND Program::WaitForDialog(const std::wstring &caption, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    for (;;) {
        // The caption finds the dialog; it must also be this program's main dialog.
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, L"#32770", caption.c_str())) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == process_.dwProcessId && GetDlgItem(window, MAIN_DIALOG_MARK) != nullptr) {
                // The controls exist before the initialisation fills them: wait until
                // the dialog shows, or a box of the initialisation does.
                dialog_ = window;
                if (IsWindowVisible(window) || !Boxes().empty()) {
                    return window;
                }
                break;
            }
        }
        if (!Running() || GetTickCount() - started > timeoutMs) {
            return nullptr;
        }
        Sleep(POLL_MS);
    }
}

void Program::Settle()
{
    if (dialog_ == nullptr) {
        return;
    }
    // Actions reach the program as posted messages, handled in order by whichever loop
    // runs on its thread: the dialog's, or a message box's. A marker posted after them,
    // once handled, shows that the program has dealt with them: it has finished, or it
    // waits in a message box. The marker is a typing limit far above any text, given to
    // an edit whose limit the program leaves alone. (A font handle on a hidden control
    // would be neater, but Wine does not pass WM_GETFONT between processes.)
    HWND marker = GetDlgItem(dialog_, SETTLE_MARK_ID);
    if (marker == nullptr) {
        return;
    }
    ++settleCount_;
    const WPARAM value = SETTLE_LIMIT_BASE + settleCount_;
    if (!PostMessageW(marker, EM_SETLIMITTEXT, value, 0)) {
        return;
    }
    DWORD started = GetTickCount();
    for (;;) {
        DWORD_PTR limit = 0;
        BOOL answered = SendMessageTimeoutW(marker, EM_GETLIMITTEXT, 0, 0, SMTO_NORMAL,
                                            SETTLE_TIMEOUT_MS, &limit);
        if ((answered && limit == value) || !IsWindow(marker) || !Running() ||
            GetTickCount() - started > SETTLE_TIMEOUT_MS) {
            return;
        }
        Sleep(POLL_MS / 10);
    }
}

std::vector<Box> Program::Boxes()
{
    std::vector<Box> boxes;
    if (process_.hProcess == nullptr) {
        return boxes;
    }
    WindowSearch search = {process_.dwProcessId, {}};
    EnumWindows(CollectDialogs, (LPARAM)&search);
    for (HWND window : search.found) {
        if (GetDlgItem(window, MAIN_DIALOG_MARK) != nullptr) {
            if (dialog_ == nullptr) {
                dialog_ = window;
            }
            continue;
        }
        if (!IsWindowVisible(window) || GetDlgItem(window, BOX_TEXT_ID) == nullptr) {
            continue;
        }
        Box box;
        box.window = window;
        box.caption = TextOf(window);
        box.text = TextOf(GetDlgItem(window, BOX_TEXT_ID));
        HWND owner = GetWindow(window, GW_OWNER);
        box.owned = owner != nullptr && GetDlgItem(owner, MAIN_DIALOG_MARK) != nullptr;
        box.buttons = ButtonsOf(window);
        boxes.push_back(box);
    }
    return boxes;
}

bool Program::WaitForBox(Box &box, DWORD timeoutMs)
{
    DWORD started = GetTickCount();
    for (;;) {
        for (const Box &open : Boxes()) {
            // A box waiting for its answer is enabled; a box under it is not.
            if (IsWindowEnabled(open.window)) {
                box = open;
                return true;
            }
        }
        if (!Running() || GetTickCount() - started > timeoutMs) {
            return false;
        }
        Sleep(POLL_MS);
    }
}

bool Program::Answer(const Box &box, int buttonId)
{
    if (!IsWindow(box.window) || GetDlgItem(box.window, buttonId) == nullptr) {
        return false;
    }
    DWORD_PTR result = 0;
    SendMessageTimeoutW(box.window, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED),
                        (LPARAM)GetDlgItem(box.window, buttonId), SMTO_NORMAL,
                        SETTLE_TIMEOUT_MS, &result);
    DWORD started = GetTickCount();
    while (IsWindow(box.window) && Running() && GetTickCount() - started < SETTLE_TIMEOUT_MS) {
        Sleep(POLL_MS);
    }
    Settle();
    return !IsWindow(box.window);
}

bool Program::Running()
{
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Program::WaitForExit(DWORD &exitCode, DWORD timeoutMs)
{
    exitCode = STILL_ACTIVE;
    if (process_.hProcess == nullptr ||
        WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    return GetExitCodeProcess(process_.hProcess, &exitCode) != 0;
}

HWND Program::Item(int id) const
{
    return dialog_ == nullptr ? nullptr : GetDlgItem(dialog_, id);
}

bool Program::ChooseComboItem(int comboId, int index)
{
    HWND combo = Item(comboId);
    if (combo == nullptr || !IsWindowEnabled(combo)) {
        return false;
    }
    SendMessageW(combo, CB_SETCURSEL, (WPARAM)index, 0);
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(comboId, CBN_SELCHANGE), (LPARAM)combo);
    Settle();
    return true;
}

namespace {

bool IsMultipleSelection(HWND list)
{
    LONG style = GetWindowLongW(list, GWL_STYLE);
    return (style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

}  // namespace

bool Program::ClickLine(int listId, int index)
{
    HWND list = Item(listId);
    if (list == nullptr || !IsWindowEnabled(list)) {
        return false;
    }
    if (IsMultipleSelection(list)) {
        SendMessageW(list, LB_SETSEL, FALSE, -1);
        SendMessageW(list, LB_SETSEL, TRUE, index);
    } else {
        SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
    }
    if (GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY) {
        PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
    }
    Settle();
    return true;
}

bool Program::CtrlClickLine(int listId, int index)
{
    HWND list = Item(listId);
    if (list == nullptr || !IsWindowEnabled(list)) {
        return false;
    }
    if (IsMultipleSelection(list)) {
        LRESULT selected = SendMessageW(list, LB_GETSEL, (WPARAM)index, 0);
        SendMessageW(list, LB_SETSEL, selected > 0 ? FALSE : TRUE, index);
    } else {
        SendMessageW(list, LB_SETCURSEL, (WPARAM)index, 0);
    }
    if (GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY) {
        PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), (LPARAM)list);
    }
    Settle();
    return true;
}

bool Program::ClickButton(int id)
{
    HWND button = Item(id);
    if (button == nullptr || !IsWindowEnabled(button)) {
        return false;
    }
    LONG kind = GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK;
    if (kind == BS_AUTOCHECKBOX) {
        LRESULT checked = SendMessageW(button, BM_GETCHECK, 0, 0);
        SendMessageW(button, BM_SETCHECK, checked == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
    } else if (kind == BS_AUTORADIOBUTTON) {
        // An automatic radio button checks itself and clears the others of its group.
        HWND other = button;
        while ((other = GetNextDlgGroupItem(dialog_, other, FALSE)) != nullptr && other != button) {
            if ((GetWindowLongW(other, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON) {
                SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
            }
        }
        SendMessageW(button, BM_SETCHECK, BST_CHECKED, 0);
    }
    PostMessageW(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
    Settle();
    return true;
}

bool Program::TypeText(int editId, const std::wstring &text)
{
    HWND edit = Item(editId);
    if (edit == nullptr || !IsWindowEnabled(edit) ||
        (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY)) {
        return false;
    }
    // A click into the edit gives it the focus, as before typing; Enter then goes there.
    const LPARAM INSIDE = MAKELPARAM(2, 2);
    PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, INSIDE);
    PostMessageW(edit, WM_LBUTTONUP, 0, INSIDE);
    Settle();
    std::wstring typed = text;
    LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
    if (limit > 0 && typed.size() > (size_t)limit) {
        typed.resize((size_t)limit);
    }
    SendMessageW(edit, WM_SETTEXT, 0, (LPARAM)typed.c_str());
    Settle();
    return true;
}

bool Program::PressEnter()
{
    if (dialog_ == nullptr) {
        return false;
    }
    // The key goes to the control with the focus; the dialog's loop (IsDialogMessage)
    // turns it into the command of the default button.
    GUITHREADINFO thread = {};
    thread.cbSize = sizeof thread;
    HWND target = dialog_;
    if (GetGUIThreadInfo(process_.dwThreadId, &thread) && thread.hwndFocus != nullptr) {
        target = thread.hwndFocus;
    }
    const LPARAM ENTER_DOWN = 0x001C0001;  // repeat 1, scan code 0x1C
    const LPARAM ENTER_UP = (LPARAM)0xC01C0001;
    PostMessageW(target, WM_KEYDOWN, VK_RETURN, ENTER_DOWN);
    PostMessageW(target, WM_KEYUP, VK_RETURN, ENTER_UP);
    Settle();
    return true;
}

std::vector<std::wstring> Program::ListLines(int listId)
{
    return ItemTexts(Item(listId), LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

std::vector<int> Program::SelectedLines(int listId)
{
    std::vector<int> selected;
    HWND list = Item(listId);
    LRESULT count = list == nullptr ? 0 : SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (SendMessageW(list, LB_GETSEL, (WPARAM)i, 0) > 0) {
            selected.push_back((int)i);
        }
    }
    return selected;
}

std::vector<std::wstring> Program::ComboItems(int comboId)
{
    return ItemTexts(Item(comboId), CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

int Program::ComboSelection(int comboId)
{
    HWND combo = Item(comboId);
    return combo == nullptr ? CB_ERR : (int)SendMessageW(combo, CB_GETCURSEL, 0, 0);
}

std::wstring Program::ItemText(int id) { return TextOf(Item(id)); }

bool Program::IsEnabled(int id)
{
    HWND item = Item(id);
    return item != nullptr && IsWindowEnabled(item);
}

bool Program::IsChecked(int id)
{
    HWND item = Item(id);
    return item != nullptr && SendMessageW(item, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Program::IsReadOnly(int editId)
{
    HWND item = Item(editId);
    return item != nullptr && (GetWindowLongW(item, GWL_STYLE) & ES_READONLY) != 0;
}

}  // namespace e2e

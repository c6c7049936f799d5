// Message boxes in tests on Windows: a CBT hook on the test's thread sees each real
// MessageBoxA window as it is activated, reads what it shows and answers it.
#ifdef _WIN32

#include "support/boxes.h"

#include <deque>
#include <set>

// What the hook needs of a script; BoxScript::Impl is private to the class.
struct BoxRecorder {
    std::deque<int> answers;
    std::vector<ShownBox> shown;
    int unexpected = 0;
    HHOOK hook = nullptr;
    // Boxes answered, until a new window takes the handle: a box can be activated again
    // while it closes.
    std::set<HWND> answered;
};

struct BoxScript::Impl : BoxRecorder {};

static thread_local BoxRecorder *activeRecorder = nullptr;

static const int BOX_TEXT_ID = 0xFFFF;  // the Static that holds a message box's text

static std::string WindowText(HWND window)
{
    if (window == nullptr) {
        return std::string();
    }
    int length = GetWindowTextLengthA(window);
    if (length <= 0) {
        return std::string();
    }
    std::string text((size_t)length + 1, '\0');
    int copied = GetWindowTextA(window, &text[0], length + 1);
    text.resize(copied > 0 ? (size_t)copied : 0);
    return text;
}

static std::string ClassName(HWND window)
{
    char name[64];
    int length = GetClassNameA(window, name, sizeof name);
    return std::string(name, length > 0 ? (size_t)length : 0);
}

// A message box is a dialog whose children are only buttons and statics, one of them
// the text Static; the program's own dialog, with its lists and combos, is not one.
static bool IsMessageBox(HWND window)
{
    if (ClassName(window) != "#32770" || GetDlgItem(window, BOX_TEXT_ID) == nullptr) {
        return false;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        std::string kind = ClassName(child);
        if (kind != "Button" && kind != "Static") {
            return false;
        }
    }
    return true;
}

// Wine also calls this thread's hook when the activation passes to a window of another
// program, a box of a test running beside this one for instance: that box is not ours.
static bool OnThisThread(HWND window)
{
    return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

static bool HasButton(HWND box, int id) { return GetDlgItem(box, id) != nullptr; }

// The MB_ type that shows the buttons the box has.
static UINT ButtonsOf(HWND box)
{
    if (HasButton(box, IDYES) && HasButton(box, IDNO)) {
        return HasButton(box, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    }
    if (HasButton(box, IDABORT)) {
        return MB_ABORTRETRYIGNORE;
    }
    if (HasButton(box, IDRETRY)) {
        return MB_RETRYCANCEL;
    }
    if (HasButton(box, IDCANCEL)) {
        return MB_OKCANCEL;
    }
    return MB_OK;
}

static void AnswerBox(BoxRecorder *recorder, HWND box)
{
    ShownBox shown;
    shown.owned = GetWindow(box, GW_OWNER) != nullptr;
    shown.text = WindowText(GetDlgItem(box, BOX_TEXT_ID));
    shown.caption = WindowText(box);
    shown.buttons = ButtonsOf(box);
    shown.icon = 0;
    if (recorder->answers.empty()) {
        shown.answer = SafestAnswer(shown.buttons);
        ++recorder->unexpected;
    } else {
        shown.answer = recorder->answers.front();
        recorder->answers.pop_front();
    }
    recorder->shown.push_back(shown);
    recorder->answered.insert(box);
    // Posted, not sent: the box answers once its own modal loop runs.
    PostMessageA(box, WM_COMMAND, (WPARAM)shown.answer, 0);
}

static LRESULT CALLBACK WatchBoxes(int code, WPARAM wParam, LPARAM lParam)
{
    BoxRecorder *recorder = activeRecorder;
    if (recorder != nullptr && code >= 0) {
        HWND window = (HWND)wParam;
        if (code == HCBT_CREATEWND) {
            recorder->answered.erase(window);
        } else if (code == HCBT_ACTIVATE && recorder->answered.count(window) == 0 &&
                   OnThisThread(window) && IsMessageBox(window)) {
            AnswerBox(recorder, window);
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

BoxScript::BoxScript(std::vector<int> answers) : impl_(new Impl)
{
    Answer(std::move(answers));
    impl_->hook = SetWindowsHookExA(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId());
    activeRecorder = impl_;
}

BoxScript::~BoxScript()
{
    activeRecorder = nullptr;
    if (impl_->hook != nullptr) {
        UnhookWindowsHookEx(impl_->hook);
    }
    delete impl_;
}

void BoxScript::Answer(std::vector<int> answers)
{
    impl_->answers.assign(answers.begin(), answers.end());
}

const std::vector<ShownBox> &BoxScript::Shown() const { return impl_->shown; }

int BoxScript::Unexpected() const { return impl_->unexpected; }

void BoxScript::Clear() { impl_->shown.clear(); }

#endif

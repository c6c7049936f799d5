// What a user does outside the program while one of its message boxes waits: runs an
// action while the nth message box from now is open, before the BoxScript's answer to
// it takes effect. On Linux it stands in front of the BoxScript's hook in the layer and
// hands every box on; on Windows a CBT hook sees the real box being activated (the
// BoxScript answers by a posted command, which comes later). Make it after the
// BoxScript and let it end first.
#ifndef TESTS_SUPPORT_BOX_WHILE_OPEN_H
#define TESTS_SUPPORT_BOX_WHILE_OPEN_H

#include "Kopf01/winapi.h"

#include <functional>
#include <set>
#include <utility>

#ifndef _WIN32
#include "lin32/lin32_hooks.h"
#endif

class WhileBoxOpen {
public:
    WhileBoxOpen(int nth, std::function<void()> action) : nth_(nth), action_(std::move(action))
    {
#ifdef _WIN32
        active_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Watch, nullptr, GetCurrentThreadId());
#else
        Lin32GetMessageBoxHook(&next_, &nextContext_);
        Lin32SetMessageBoxHook(Watch, this);
#endif
    }

    ~WhileBoxOpen()
    {
#ifdef _WIN32
        if (hook_ != nullptr) {
            UnhookWindowsHookEx(hook_);
        }
        active_ = nullptr;
#else
        Lin32SetMessageBoxHook(next_, nextContext_);
#endif
    }

    WhileBoxOpen(const WhileBoxOpen &) = delete;
    WhileBoxOpen &operator=(const WhileBoxOpen &) = delete;

    // Whether the nth box has come (and the action has run).
    bool Done() const { return seen_ >= nth_; }

private:
    void Seen()
    {
        if (++seen_ == nth_) {
            action_();
        }
    }

#ifdef _WIN32
    static bool IsClass(HWND window, const char *className)
    {
        char name[32];
        return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpiA(name, className) == 0;
    }

    // A message box is a dialog with the text Static 0xFFFF and only buttons and
    // statics; a program's own dialog has other controls as well.
    static bool IsMessageBox(HWND window)
    {
        if (!IsClass(window, "#32770") || GetDlgItem(window, 0xFFFF) == nullptr) {
            return false;
        }
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            if (!IsClass(child, "Button") && !IsClass(child, "Static")) {
                return false;
            }
        }
        return true;
    }

    static LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam)
    {
        WhileBoxOpen *self = active_;
        HWND window = (HWND)wParam;
        if (self != nullptr && code == HCBT_ACTIVATE && self->open_.count(window) == 0 &&
            IsMessageBox(window)) {
            // A box may be activated again; it counts once.
            self->open_.insert(window);
            self->Seen();
        } else if (self != nullptr && code == HCBT_DESTROYWND) {
            self->open_.erase(window);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline thread_local WhileBoxOpen *active_ = nullptr;
    HHOOK hook_ = nullptr;
    std::set<HWND> open_;  // boxes open now that were counted
#else
    static int Watch(void *context, HWND owner, const char *text, const char *caption,
                     UINT type)
    {
        WhileBoxOpen *self = static_cast<WhileBoxOpen *>(context);
        self->Seen();
        // Without a hook behind it the box gets the layer's own answer to no hook.
        if (self->next_ == nullptr) {
            Lin32SetMessageBoxHook(nullptr, nullptr);
            int answer = MessageBoxA(owner, text, caption, type);
            Lin32SetMessageBoxHook(Watch, self);
            return answer;
        }
        return self->next_(self->nextContext_, owner, text, caption, type);
    }

    Lin32MessageBoxHook next_ = nullptr;
    void *nextContext_ = nullptr;
#endif
    int nth_;
    std::function<void()> action_;
    int seen_ = 0;
};

#endif

// For the tests of the Linux layer's dialog model: runs dialog 101 with a small dialog
// procedure of the test's own that records what it receives, with the English dialog
// and the built-in script unless a test says otherwise.
#ifndef TESTS_DIALOG_MODEL_SUPPORT_H
#define TESTS_DIALOG_MODEL_SUPPORT_H

#include "Kopf01/winapi.h"
#include "lin32_dialog.h"
#include "lin32_hooks.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

enum : WORD { ENGLISH_UK = 2057, GERMAN = 1031, FINNISH = 1035, FRENCH = 1036, POLISH = 1045,
              RUSSIAN = 1049 };

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class ModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        current = this;
        Lin32SetDialogLanguage(ENGLISH_UK);
        Lin32UseResourceScript(nullptr, 0);
        Lin32ClearComboFailures();
    }

    void TearDown() override
    {
        Lin32SetDialogUser(nullptr, nullptr);
        Lin32UseResourceScript(nullptr, 0);
        Lin32SetDialogLanguage(0);
        Lin32ClearComboFailures();
        current = nullptr;
    }

    // Runs dialog 101; user (if any) acts in place of the modal loop and may end it.
    INT_PTR Run(const std::function<void(HWND)> &user, LPARAM param = 0)
    {
        userCalls = 0;
        user_ = user;
        if (user) {
            Lin32SetDialogUser(&ModelTest::User, this);
        } else {
            Lin32SetDialogUser(nullptr, nullptr);
        }
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), nullptr, &ModelTest::Proc,
                               param);
    }

    // The command words (wParam of WM_COMMAND) the procedure received, in order.
    std::vector<WPARAM> Commands() const
    {
        std::vector<WPARAM> words;
        for (const Received &r : received) {
            if (r.message == WM_COMMAND) {
                words.push_back(r.wParam);
            }
        }
        return words;
    }

    std::function<void(HWND)> onInit;
    std::function<void(HWND, WPARAM)> onCommand;
    std::vector<Received> received;  // every message the procedure got
    int userCalls = 0;

private:
    static void User(void *context, HWND dialog)
    {
        ModelTest *test = static_cast<ModelTest *>(context);
        ++test->userCalls;
        test->user_(dialog);
    }

    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        current->received.push_back(Received{message, wParam, lParam});
        if (message == WM_INITDIALOG && current->onInit) {
            current->onInit(dialog);
        }
        if (message == WM_COMMAND) {
            if (current->onCommand) {
                current->onCommand(dialog, wParam);
            }
            return TRUE;
        }
        return FALSE;
    }

    std::function<void(HWND)> user_;
    static ModelTest *current;
};

inline ModelTest *ModelTest::current = nullptr;

#endif

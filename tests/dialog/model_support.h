// For the tests of the Linux layer's dialog model: runs dialog 101 with a small dialog
// procedure of the test's own that records what it receives, in the locale en_GB (so
// the English dialog) and from the built-in resource unless a test says otherwise.
#ifndef TESTS_DIALOG_MODEL_SUPPORT_H
#define TESTS_DIALOG_MODEL_SUPPORT_H

#include "Kopf01/winapi.h"
#include "lin32_dialog.h"
#include "lin32_hooks.h"
#include "locale_scope.h"
#include "resources/model_dialogs.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// The tests' own dialogs (resources/model_dialogs.rc), compiled as the program's are.
extern const unsigned char g_modelDialogs[];
extern const size_t g_modelDialogsSize;

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
        locale_.Set("en_GB.UTF-8");
        Lin32UseResource(nullptr, 0);
        Lin32ClearComboFailures();
    }

    void TearDown() override
    {
        Lin32SetDialogUser(nullptr, nullptr);
        Lin32UseResource(nullptr, 0);
        Lin32ClearComboFailures();
        current = nullptr;
    }

    // Makes Run open dialog id of the tests' own resource instead of dialog 101.
    void UseDialog(int id)
    {
        Lin32UseResource(g_modelDialogs, g_modelDialogsSize);
        templateId_ = id;
    }

    // Runs the dialog; user (if any) acts in place of the modal loop and may end it.
    INT_PTR Run(const std::function<void(HWND)> &user, LPARAM param = 0)
    {
        userCalls = 0;
        user_ = user;
        if (user) {
            Lin32SetDialogUser(&ModelTest::User, this);
        } else {
            Lin32SetDialogUser(nullptr, nullptr);
        }
        return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(templateId_), nullptr,
                               &ModelTest::Proc, param);
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
    LocaleScope locale_;

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
    int templateId_ = IDD_MAIN;
    static ModelTest *current;
};

inline ModelTest *ModelTest::current = nullptr;

#endif

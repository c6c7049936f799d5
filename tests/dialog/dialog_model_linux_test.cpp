// The modal dialog of the Linux layer's model: DialogBoxParamA with a test's own dialog
// procedure on template 101: initialisation, the user in place of the modal loop, the end
// code, failures to create, the texts and first states of the controls, and handles
// that outlive their dialog.
#include "model_support.h"

#include <string.h>

namespace {

using DialogModel = ModelTest;

TEST_F(DialogModel, ReturnsTheCodeTheUserEndsWith)
{
    HWND seen = nullptr;
    INT_PTR result = Run([&](HWND dialog) {
        seen = dialog;
        EXPECT_FALSE(Lin32IsDialogEnded(dialog));
        EXPECT_TRUE(EndDialog(dialog, 42));
        EXPECT_TRUE(Lin32IsDialogEnded(dialog));
    });
    EXPECT_EQ(result, 42);
    EXPECT_EQ(userCalls, 1);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0].message, (UINT)WM_INITDIALOG);
    EXPECT_NE(seen, nullptr);
}

TEST_F(DialogModel, WithoutAUserEndsAtOnceWithZero)
{
    EXPECT_EQ(Run(nullptr), 0);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, (UINT)WM_INITDIALOG);
}

TEST_F(DialogModel, AUserWhoLeavesTheDialogOpenGetsZero)
{
    EXPECT_EQ(Run([](HWND) {}), 0);
    EXPECT_EQ(userCalls, 1);
}

TEST_F(DialogModel, EndedDuringInitialisationTheUserIsNotCalled)
{
    onInit = [](HWND dialog) { EndDialog(dialog, 7); };
    EXPECT_EQ(Run([](HWND) { ADD_FAILURE() << "user called"; }), 7);
    EXPECT_EQ(userCalls, 0);
}

TEST_F(DialogModel, InitialisationGetsTheParameterAndTheFirstTabStop)
{
    HWND firstTabStop = nullptr;
    onInit = [&](HWND dialog) { firstTabStop = GetDlgItem(dialog, IDC_SOURCE_DRIVE); };
    Run(nullptr, 1234);
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received[0].lParam, 1234);
    EXPECT_EQ(received[0].wParam, (WPARAM)firstTabStop);
    EXPECT_NE(firstTabStop, nullptr);
}

TEST_F(DialogModel, EndDialogAgainReplacesTheCode)
{
    EXPECT_EQ(Run([](HWND dialog) {
                  EndDialog(dialog, 1);
                  EndDialog(dialog, 2);
              }),
              2);
}

// A command sent to the dialog runs in the procedure before SendMessageA returns, also
// from inside another command.
TEST_F(DialogModel, CommandsRunAtOnceAndNest)
{
    std::vector<std::string> order;
    onCommand = [&](HWND dialog, WPARAM command) {
        order.push_back("begin " + std::to_string(command));
        if (command == IDOK) {
            SendMessageA(dialog, WM_COMMAND, IDC_REFRESH, 0);
        }
        order.push_back("end " + std::to_string(command));
    };
    Run([&](HWND dialog) {
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
        order.push_back("returned");
    });
    EXPECT_EQ(order, (std::vector<std::string>{"begin 1", "begin 1027", "end 1027", "end 1",
                                               "returned"}));
}

TEST_F(DialogModel, HandlesOfAClosedDialogAreDead)
{
    HWND dialog = nullptr, list = nullptr;
    Run([&](HWND d) {
        dialog = d;
        list = GetDlgItem(d, IDC_SOURCE_LIST);
    });
    ASSERT_NE(list, nullptr);
    SetLastError(0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_WINDOW_HANDLE);
    EXPECT_EQ(GetDlgItem(dialog, IDC_SOURCE_LIST), nullptr);
    EXPECT_FALSE(EndDialog(dialog, 1));
    EXPECT_FALSE(IsWindowEnabled(list));
    EXPECT_FALSE(EnableWindow(list, TRUE));
    char buffer[8] = "x";
    EXPECT_EQ(GetDlgItemTextA(dialog, IDC_COPY, buffer, sizeof buffer), 0u);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(DialogModel, FailuresToCreateReturnMinusOneAndCallNobody)
{
    const struct {
        const char *name;
        const unsigned char *resource;  // nullptr: the built-in one
        size_t size;
        LPCSTR templateName;
        DWORD lastError;  // 0: the platform has no word for it (a broken exe does not load)
    } cases[] = {
        {"cut resource", g_modelDialogs, g_modelDialogsSize / 2, MAKEINTRESOURCEA(DLG_PLAIN), 0},
        {"no resource at all", g_modelDialogs, 0, MAKEINTRESOURCEA(DLG_PLAIN), 0},
        {"no such template", nullptr, 0, MAKEINTRESOURCEA(999), 1814},
        {"template by name", nullptr, 0, "MAIN", 1814},
        {"control of an unknown class", g_modelDialogs, g_modelDialogsSize,
         MAKEINTRESOURCEA(DLG_UNKNOWN_CLASS), 1407},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Lin32UseResource(c.resource, c.size);
        received.clear();
        Lin32SetDialogUser([](void *, HWND) { ADD_FAILURE() << "user called"; }, nullptr);
        SetLastError(0);
        INT_PTR result = DialogBoxParamA(nullptr, c.templateName, nullptr,
                                         [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR {
                                             ADD_FAILURE() << "procedure called";
                                             return FALSE;
                                         },
                                         0);
        EXPECT_EQ(result, -1);
        if (c.lastError != 0) {
            EXPECT_EQ(GetLastError(), c.lastError);
        }
    }
}

TEST_F(DialogModel, AnInvalidOwnerAnswersZero)
{
    int dummy = 0;
    EXPECT_EQ(DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), (HWND)&dummy, nullptr, 0), 0);
}

// The program reads its messages from these controls with buffers of 256 (texts) and
// 80 (captions): byte for byte, hidden, as the English dialog has them.
TEST_F(DialogModel, MessageControlsHoldTheEnglishMessages)
{
    const struct {
        int id;
        const char *text;
    } messages[] = {
        {1029, "Source and destination drive are the same. The command cannot be executed."},
        {1030, "VORNIX - Attention"},
        {1031, "VORNIX - Files ..."},
        {1032, "#### selected files really to be deleted?"},
        {1033, "#### selected files really to be moved?"},
        {1034, "#### selected files really to be copied?"},
        {1035, "VORNIX - Disk"},
        {1036, "Remove write protection from VORNIX-disk and insert disk again."},
        {1037, "Please insert disk."},
        {1038, "The selected drive is not ready or there are errors on the disk or it is "
               "write protected."},
        {1039, "VORNIX-directory for active construction system on drive #: does not exist. "
               "Create now?"},
        {1040, "VORNIX - Create VORNIX Directory"},
        {1041, "VORNIX.INI could not be found on current drive. Standard drives A: and C: "
               "will be used."},
        {1042, "Error while reading VORNIX.INI !"},
        {1043, "Directory not found !"},
        {1044, "Construction systems not found !"},
        {1045, "This file cannot be copied. Destination file is write protected or "
               "destination drive is not ready or not prepared for VORNIX."},
        {1046, "This file cannot be deleted. It is write protected or drive is not ready."},
    };
    Run([&](HWND dialog) {
        for (const auto &m : messages) {
            SCOPED_TRACE(m.id);
            char buffer[256];
            memset(buffer, 'x', sizeof buffer);
            UINT length = GetDlgItemTextA(dialog, m.id, buffer, sizeof buffer);
            EXPECT_EQ(length, strlen(m.text));
            EXPECT_STREQ(buffer, m.text);
            HWND control = GetDlgItem(dialog, m.id);
            EXPECT_EQ(Lin32GetClassName(control), "Static");
            EXPECT_EQ(Lin32GetWindowStyle(control) & WS_VISIBLE, 0u);
        }
        char caption[80];
        EXPECT_EQ(SendMessageA(dialog, WM_GETTEXT, sizeof caption, (LPARAM)caption), 41);
        EXPECT_STREQ(caption, "VORNIX - Import/Export Measurement Charts");
    });
}

TEST_F(DialogModel, ControlsStartAsTheTemplateHasThem)
{
    Run([&](HWND dialog) {
        ASSERT_EQ(Lin32ControlCount(dialog), 50);
        for (int id : {IDC_UNTIL_EDIT, IDC_AT_EDIT, IDC_SINCE_EDIT, IDC_NAME_EDIT}) {
            SCOPED_TRACE(id);
            EXPECT_NE(Lin32GetWindowStyle(GetDlgItem(dialog, id)) & ES_READONLY, 0u);
            EXPECT_EQ(Lin32GetEditLimit(GetDlgItem(dialog, id)), 30000);
        }
        for (int id : {IDC_UNTIL_CHECK, IDC_AT_CHECK, IDC_SINCE_CHECK, IDC_NAME_CHECK,
                       IDC_SORT_NAME, IDC_SORT_DATE}) {
            SCOPED_TRACE(id);
            EXPECT_EQ(IsDlgButtonChecked(dialog, id), (UINT)BST_UNCHECKED);
        }
        for (int id : {IDC_COPY, IDC_MOVE, IDC_DELETE, IDC_SOURCE_DRIVE, IDC_SYSTEM}) {
            SCOPED_TRACE(id);
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id)));
        }
        for (int id : {IDC_SOURCE_DRIVE, IDC_DEST_DRIVE, IDC_SYSTEM}) {
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0), 0);
            EXPECT_EQ(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0), CB_ERR);
        }
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SOURCE_LIST, LB_GETSELCOUNT, 0, 0), 0);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_DEST_LIST, LB_GETSELCOUNT, 0, 0), LB_ERR);
        HWND icon = Lin32ControlAt(dialog, 25);
        EXPECT_EQ(Lin32GetIconId(icon), IDI_MAIN);
        EXPECT_EQ(Lin32GetControlId(icon), 0xFFFF);  // -1 in a DIALOG's WORD
    });
}

}  // namespace

// The layer's MessageBoxA: handed to a hook when there is one, otherwise written to
// standard error and answered with the button that does the least harm.
#include "lin32/lin32_hooks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Call {
    int calls = 0;
    HWND owner = nullptr;
    std::string text, caption;
    UINT type = 0;
};

int Record(void *context, HWND owner, const char *text, const char *caption, UINT type)
{
    Call *call = static_cast<Call *>(context);
    ++call->calls;
    call->owner = owner;
    call->text = text;
    call->caption = caption;
    call->type = type;
    return IDRETRY;
}

TEST(MessageBoxA, TheHookSeesTheBoxAndAnswersIt)
{
    Call call;
    HWND owner = reinterpret_cast<HWND>(&call);
    Lin32SetMessageBoxHook(Record, &call);
    int answer = MessageBoxA(owner, "Please insert disk.", "VORNIX - Disk",
                             MB_ABORTRETRYIGNORE | MB_ICONWARNING);
    EXPECT_EQ(answer, IDRETRY);
    EXPECT_EQ(call.calls, 1);
    EXPECT_EQ(call.owner, owner);
    EXPECT_EQ(call.text, "Please insert disk.");
    EXPECT_EQ(call.caption, "VORNIX - Disk");
    EXPECT_EQ(call.type, (UINT)(MB_ABORTRETRYIGNORE | MB_ICONWARNING));

    // As on Windows, a NULL caption reads "Error" and a NULL text is empty.
    MessageBoxA(nullptr, nullptr, nullptr, MB_OK);
    EXPECT_EQ(call.calls, 2);
    EXPECT_EQ(call.owner, nullptr);
    EXPECT_EQ(call.text, "");
    EXPECT_EQ(call.caption, "Error");
    Lin32SetMessageBoxHook(nullptr, nullptr);
}

// A test that puts its own hook in front of another one gets the one in place back.
TEST(MessageBoxA, TheHookInPlaceCanBeReadBack)
{
    Lin32MessageBoxHook hook = Record;
    void *context = &hook;
    Lin32SetMessageBoxHook(nullptr, nullptr);
    Lin32GetMessageBoxHook(&hook, &context);
    EXPECT_EQ(hook, nullptr);
    EXPECT_EQ(context, nullptr);

    Call call;
    Lin32SetMessageBoxHook(Record, &call);
    Lin32GetMessageBoxHook(&hook, &context);
    EXPECT_EQ(hook, Record);
    EXPECT_EQ(context, &call);
    // Either half alone may be asked for.
    hook = nullptr;
    Lin32GetMessageBoxHook(&hook, nullptr);
    EXPECT_EQ(hook, Record);
    context = nullptr;
    Lin32GetMessageBoxHook(nullptr, &context);
    EXPECT_EQ(context, &call);
    Lin32SetMessageBoxHook(nullptr, nullptr);
}

TEST(MessageBoxA, WithoutHookTheSafestButtonAnswers)
{
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OK | MB_ICONHAND, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO},
        {MB_YESNOCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_ICONWARNING, IDABORT},
        {MB_RETRYCANCEL, IDCANCEL},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        testing::internal::CaptureStderr();
        int answer = MessageBoxA(nullptr, "Text \xE4", "Caption", c.type);
        std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer);
        // The text reaches the terminal in UTF-8 (ä from 1252).
        EXPECT_NE(written.find("Caption"), std::string::npos) << written;
        EXPECT_NE(written.find("Text \xC3\xA4"), std::string::npos) << written;
    }
}

}  // namespace

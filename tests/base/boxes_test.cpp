// The message-box script of the tests: on Linux through the layer's hook, on Windows on
// the real MessageBoxA. Boxes are answered in order, recorded with what they show, and
// a box beyond the script gets its safest button.
#include "Kopf01/winapi.h"
#include "support/boxes.h"

#include <gtest/gtest.h>

namespace {

// A window to own a box: a real hidden one on Windows; the layer only passes it on.
class OwnerWindow {
public:
#ifdef _WIN32
    OwnerWindow()
        : window_(CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~OwnerWindow() { DestroyWindow(window_); }
#else
    OwnerWindow() : window_(reinterpret_cast<HWND>(this)) {}
#endif
    HWND Get() const { return window_; }

private:
    HWND window_;
};

TEST(BoxScript, AnswersInOrderAndRecordsEachBox)
{
    OwnerWindow owner;
    ASSERT_NE(owner.Get(), nullptr);
    BoxScript boxes({IDNO, IDRETRY, IDIGNORE});
    EXPECT_EQ(MessageBoxA(owner.Get(), "Create now?", "VORNIX - Create", MB_YESNO | MB_ICONQUESTION),
              IDNO);
    EXPECT_EQ(MessageBoxA(owner.Get(), "Cannot copy.", "VORNIX - Files ...",
                          MB_ABORTRETRYIGNORE | MB_ICONWARNING),
              IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "Error: 1001", "VORNIX System Info-Box", MB_OK), IDIGNORE);

    ASSERT_EQ(boxes.Shown().size(), 3u);
    const ShownBox &first = boxes.Shown()[0];
    EXPECT_TRUE(first.owned);
    EXPECT_EQ(first.text, "Create now?");
    EXPECT_EQ(first.caption, "VORNIX - Create");
    EXPECT_EQ(first.buttons, (UINT)MB_YESNO);
    EXPECT_EQ(first.answer, IDNO);
    EXPECT_EQ(boxes.Shown()[1].buttons, (UINT)MB_ABORTRETRYIGNORE);
    EXPECT_EQ(boxes.Shown()[1].answer, IDRETRY);
    EXPECT_FALSE(boxes.Shown()[2].owned);
    EXPECT_EQ(boxes.Shown()[2].buttons, (UINT)MB_OK);
    EXPECT_EQ(boxes.Unexpected(), 0);
#ifndef _WIN32
    EXPECT_EQ(first.icon, (UINT)MB_ICONQUESTION);
    EXPECT_EQ(boxes.Shown()[1].icon, (UINT)MB_ICONWARNING);
#endif
}

TEST(BoxScript, BoxesBeyondTheScriptGetTheSafestButton)
{
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO, IDNO},
        {MB_YESNOCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE, IDABORT},
        {MB_RETRYCANCEL, IDCANCEL},
    };
    BoxScript boxes;
    int expectedUnexpected = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", c.type), c.answer);
        ++expectedUnexpected;
        ASSERT_EQ(boxes.Shown().size(), (size_t)expectedUnexpected);
        EXPECT_EQ(boxes.Shown().back().buttons, c.type);
        EXPECT_EQ(boxes.Shown().back().answer, c.answer);
        EXPECT_EQ(boxes.Unexpected(), expectedUnexpected);
    }
}

TEST(BoxScript, NewAnswersAndClear)
{
    BoxScript boxes({IDYES, IDYES});
    EXPECT_EQ(MessageBoxA(nullptr, "one", "c", MB_YESNO), IDYES);
    boxes.Answer({IDCANCEL});  // replaces the second IDYES
    EXPECT_EQ(MessageBoxA(nullptr, "two", "c", MB_YESNOCANCEL), IDCANCEL);
    EXPECT_EQ(MessageBoxA(nullptr, "three", "c", MB_YESNO), IDNO);
    EXPECT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(boxes.Unexpected(), 1);
    boxes.Clear();
    EXPECT_TRUE(boxes.Shown().empty());
    boxes.Answer({IDOK});
    EXPECT_EQ(MessageBoxA(nullptr, "four", "c", MB_OK), IDOK);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "four");
    // Clear forgets the boxes but not that one of them was unexpected.
    EXPECT_EQ(boxes.Unexpected(), 1);
}

}  // namespace

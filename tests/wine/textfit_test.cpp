// Every visible text of the main dialog fits its control in the dialog's own font, as
// Windows draws it: a label's words wrapped into its height, a push button's text
// within its frame, a check box's or radio button's text beside its box, a group box's
// caption within its frame. The test opens dialog 101 of the language that LANG picks,
// from the resources the program is built with, and measures every control with GDI.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <string>
#include <vector>

namespace {

struct DialogLanguage {
    const char *locale;  // the LANG that picks it, without ".UTF-8"
    WORD language;
    UINT codePage;       // the ANSI code page its texts need
};

const DialogLanguage g_Languages[] = {
    {"en_GB", MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK), 1252},
    {"de_DE", MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), 1252},
    {"fi_FI", MAKELANGID(LANG_FINNISH, SUBLANG_DEFAULT), 1252},
    {"fr_FR", MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH), 1252},
    {"pl_PL", MAKELANGID(LANG_POLISH, SUBLANG_DEFAULT), 1250},
    {"ru_RU", MAKELANGID(LANG_RUSSIAN, SUBLANG_DEFAULT), 1251},
};

const DialogLanguage *LanguageOfLang()
{
    char value[128];
    DWORD length = GetEnvironmentVariableA("LANG", value, sizeof value);
    std::string lang = length > 0 && length < sizeof value ? std::string(value, length) : "";
    for (const DialogLanguage &entry : g_Languages) {
        if (lang.compare(0, 5, entry.locale) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// The dialog as the program gets it (an ANSI dialog: the controls receive their texts in
// the process's code page), hidden, without the program's own initialisation.
HWND OpenDialog(WORD language)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceExA(module, (LPCSTR)RT_DIALOG, MAKEINTRESOURCEA(IDD_MAIN), language);
    HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
    const void *data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return nullptr;
    }
    return CreateDialogIndirectParamA(module, (LPCDLGTEMPLATEA)data, nullptr, QuietDialogProc, 0);
}

std::wstring WindowText(HWND window)
{
    wchar_t text[512];
    int length = GetWindowTextW(window, text, 512);
    return std::wstring(text, length > 0 ? (size_t)length : 0);
}

std::string Utf8(const std::wstring &text)
{
    char bytes[1024];
    int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), (int)text.size(), bytes,
                                     sizeof bytes, nullptr, nullptr);
    return std::string(bytes, length > 0 ? (size_t)length : 0);
}

// How a control lays out its text, and the part of its client area the text may use.
enum TextLayout { NO_TEXT, WRAPPED, ONE_LINE };

struct TextRoom {
    TextLayout layout;
    UINT format;  // DrawText flags of the control
    int width;    // pixels for the text
    int height;
};

// Pixels at 96 DPI, scaled to the screen's DPI.
int Scaled(HDC dc, int pixels)
{
    return MulDiv(pixels, GetDeviceCaps(dc, LOGPIXELSX), 96);
}

TextRoom RoomFor(HWND control, HDC dc)
{
    wchar_t className[64] = L"";
    GetClassNameW(control, className, 64);
    LONG style = GetWindowLongW(control, GWL_STYLE);
    RECT client;
    GetClientRect(control, &client);
    TextRoom room = {NO_TEXT, 0, client.right, client.bottom};
    if (lstrcmpiW(className, L"Static") == 0) {
        // Left, centred and right labels wrap at words; icons, frames and pictures
        // show no text.
        const LONG type = style & SS_TYPEMASK;
        if (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT) {
            const UINT align = type == SS_CENTER ? DT_CENTER : type == SS_RIGHT ? DT_RIGHT : DT_LEFT;
            room = {WRAPPED, align | DT_WORDBREAK | DT_EXPANDTABS, client.right, client.bottom};
        } else if (type == SS_LEFTNOWORDWRAP) {
            room = {ONE_LINE, DT_LEFT | DT_SINGLELINE | DT_EXPANDTABS, client.right, client.bottom};
        }
        if (room.layout != NO_TEXT && (style & SS_NOPREFIX)) {
            room.format |= DT_NOPREFIX;
        }
        return room;
    }
    if (lstrcmpiW(className, L"Button") != 0) {
        return room;  // lists, combos and edits show no text of the template
    }
    // A button draws its text on one line unless it is BS_MULTILINE (none here).
    room.layout = (style & BS_MULTILINE) ? WRAPPED : ONE_LINE;
    room.format = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    // Between a check box's box and its text the button leaves half a digit's width;
    // the focus frame takes one pixel more around the text.
    INT digit = 0;
    GetCharWidth32W(dc, L'0', L'0', &digit);
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        // The raised frame (two pixels) and the focus frame (one) on each side.
        room.width -= 2 * (GetSystemMetrics(SM_CXEDGE) + 1);
        break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        room.width -= GetSystemMetrics(SM_CXMENUCHECK) + digit / 2 + 1;
        break;
    case BS_GROUPBOX:
        // The caption stands in the top line of the frame, which it leaves some pixels
        // of on either side.
        room.width -= 2 * Scaled(dc, 7);
        break;
    default:
        room.layout = NO_TEXT;
        break;
    }
    return room;
}

// A control's text against the room it has: the rectangle DrawText needs in the
// control's font, in the layout the control draws it in.
struct Measure {
    bool failed;  // GDI could not measure it
    TextRoom room;
    RECT needed;

    // Wrapping widens the rectangle only for a word that fits no line.
    bool Cut() const
    {
        return !failed && room.layout != NO_TEXT &&
               (needed.right > room.width || needed.bottom > room.height);
    }
};

Measure MeasureText(HWND control, const std::wstring &text)
{
    Measure result = {true, {NO_TEXT, 0, 0, 0}, {0, 0, 0, 0}};
    HDC dc = GetDC(control);
    if (dc == nullptr) {
        return result;
    }
    HFONT font = (HFONT)SendMessageW(control, WM_GETFONT, 0, 0);
    HGDIOBJ previous = SelectObject(dc, font != nullptr ? (HGDIOBJ)font
                                                        : GetStockObject(SYSTEM_FONT));
    result.room = RoomFor(control, dc);
    result.needed = {0, 0, result.room.width, 0};
    result.failed = result.room.layout != NO_TEXT &&
                    DrawTextW(dc, text.c_str(), (int)text.size(), &result.needed,
                              result.room.format | DT_CALCRECT) == 0;
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return result;
}

// Hidden controls are the message controls.
bool ShowsText(HWND control, const std::wstring &text)
{
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) && !text.empty();
}

std::string Describe(HWND control, const Measure &measure, const std::wstring &text)
{
    char line[256];
    snprintf(line, sizeof line, "control %d: needs %ld x %ld pixels, has %d x %d: ",
             GetDlgCtrlID(control), (long)measure.needed.right, (long)measure.needed.bottom,
             measure.room.width, measure.room.height);
    return line + Utf8(text);
}

// The visible controls whose text does not fit, or could not be measured, one
// description each.
std::vector<std::string> CutTexts(HWND dialog)
{
    std::vector<std::string> cut;
    for (HWND control = GetWindow(dialog, GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
        std::wstring text = WindowText(control);
        if (!ShowsText(control, text)) {
            continue;
        }
        Measure measure = MeasureText(control, text);
        if (measure.failed) {
            cut.push_back(Describe(control, measure, text) + " (not measured)");
        } else if (measure.Cut()) {
            cut.push_back(Describe(control, measure, text));
        }
    }
    return cut;
}

// The face the dialog's font really selects: Wine falls back to another one when the
// prefix lacks MS Sans Serif, and every width then differs from Windows'.
std::wstring SelectedFace(HWND dialog)
{
    HDC dc = GetDC(dialog);
    HGDIOBJ previous = SelectObject(dc, (HGDIOBJ)SendMessageW(dialog, WM_GETFONT, 0, 0));
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    return face;
}

class TextFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        language_ = LanguageOfLang();
        ASSERT_NE(language_, nullptr) << "LANG names none of the six dialog languages";
        // Wine knows a locale only when the system has it; the texts then need its code
        // page to reach the controls as they are.
        ASSERT_EQ(GetACP(), language_->codePage) << "is the locale " << language_->locale
                                                 << " installed?";
        dialog_ = OpenDialog(language_->language);
        ASSERT_NE(dialog_, nullptr) << "no dialog 101 in language " << language_->language
                                    << " (error " << GetLastError() << ")";
    }

    void TearDown() override
    {
        if (dialog_ != nullptr) {
            DestroyWindow(dialog_);
        }
    }

    const DialogLanguage *language_ = nullptr;
    HWND dialog_ = nullptr;
};

TEST_F(TextFit, TheDialogIsDrawnInMsSansSerif)
{
    EXPECT_EQ(Utf8(SelectedFace(dialog_)), "MS Sans Serif")
        << "the prefix lacks Wine's fonts (cmake/wine-prefix.sh copies them)";
}

TEST_F(TextFit, EveryVisibleTextFitsItsControl)
{
    SCOPED_TRACE(language_->locale);
    std::vector<std::string> cut = CutTexts(dialog_);
    for (const std::string &line : cut) {
        ADD_FAILURE() << line;
    }
    EXPECT_TRUE(cut.empty());
}

// The entries of CutTexts that name this control.
size_t CutsOf(HWND dialog, HWND control)
{
    std::string prefix = "control " + std::to_string(GetDlgCtrlID(control)) + ": ";
    size_t count = 0;
    for (const std::string &line : CutTexts(dialog)) {
        if (line.rfind(prefix, 0) == 0) {
            ++count;
        }
    }
    return count;
}

// Gives a control another width, keeping its place and height.
bool SetWidth(HWND dialog, HWND control, int width)
{
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, dialog, (POINT *)&rect, 2);
    return MoveWindow(control, rect.left, rect.top, width, rect.bottom - rect.top, FALSE) != 0;
}

int WidthOf(HWND control)
{
    RECT rect;
    GetWindowRect(control, &rect);
    return rect.right - rect.left;
}

// The measure itself: a control narrowed below its text is reported, for each kind of
// control the dialog has.
TEST_F(TextFit, ANarrowedControlIsReported)
{
    std::vector<HWND> controls = {GetDlgItem(dialog_, IDC_REFRESH),
                                  GetDlgItem(dialog_, IDC_UNTIL_CHECK),
                                  GetDlgItem(dialog_, IDC_SORT_DATE)};
    HWND label = nullptr, group = nullptr;
    for (HWND child = GetWindow(dialog_, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        LONG style = GetWindowLongW(child, GWL_STYLE);
        wchar_t className[64] = L"";
        GetClassNameW(child, className, 64);
        bool visible = (style & WS_VISIBLE) != 0, named = !WindowText(child).empty();
        if (label == nullptr && visible && named && lstrcmpiW(className, L"Static") == 0 &&
            (style & SS_TYPEMASK) == SS_LEFT) {
            label = child;  // "Source:" and its translations
        }
        if (group == nullptr && visible && named && lstrcmpiW(className, L"Button") == 0 &&
            (style & BS_TYPEMASK) == BS_GROUPBOX) {
            group = child;  // "Filter"
        }
    }
    controls.push_back(label);
    controls.push_back(group);
    for (HWND control : controls) {
        ASSERT_NE(control, nullptr);
        std::wstring text = WindowText(control);
        SCOPED_TRACE(Utf8(text));
        ASSERT_EQ(CutsOf(dialog_, control), 0u);
        Measure fits = MeasureText(control, text);
        ASSERT_FALSE(fits.failed);
        ASSERT_NE(fits.room.layout, NO_TEXT);
        // Narrowed until its text has half the width it needs, whatever the metrics of
        // the frame or the box beside it.
        int width = WidthOf(control);
        int narrowed = width - fits.room.width + fits.needed.right / 2;
        ASSERT_TRUE(SetWidth(dialog_, control, narrowed));
        ASSERT_EQ(WidthOf(control), narrowed);
        EXPECT_EQ(CutsOf(dialog_, control), 1u)
            << Describe(control, MeasureText(control, text), text);
        ASSERT_TRUE(SetWidth(dialog_, control, width));
        EXPECT_EQ(CutsOf(dialog_, control), 0u);
    }
}

}  // namespace

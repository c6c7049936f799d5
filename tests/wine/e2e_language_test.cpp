// The real program opens its dialog in the user's language: the base language of LANG
// picks one of the six dialogs, any other language gets the English one. The test reads
// LANG itself and so checks whatever locale its test entry runs under; the message box
// it provokes shows that the texts also reach the screen intact through the A functions
// and the locale's code page.
#include "harness.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {

struct DialogTexts {
    const char *code;  // base language of a locale name: "de" in "de_AT.UTF-8"
    WORD primaryLanguage;
    const wchar_t *caption;
    const wchar_t *close;
    const wchar_t *sameDrive;  // message control 1029
    const wchar_t *attention;  // message control 1030, its caption
};

const DialogTexts ENGLISH = {
    "en", 0x09, L"VORNIX - Import/Export Measurement Charts", L"Close",
    L"Source and destination drive are the same. The command cannot be executed.",
    L"VORNIX - Attention"};

const DialogTexts DIALOGS[] = {
    ENGLISH,
    {"de", 0x07, L"VORNIX - Import/Export von Maßtabellen", L"Schließen",
     L"Quell- und Ziellaufwerk sind identisch! Aktion kann nicht ausgeführt werden.",
     L"VORNIX - Achtung"},
    {"fi", 0x0B, L"VORNIX - Mittataulukoiden tuonti/vienti", L"Sulje",
     L"Lähde- ja kohdelevyasema ovat samat! Toimintoa ei voi suorittaa.", L"VORNIX - Huomio"},
    // The French dialog carries the English messages.
    {"fr", 0x0C, L"VORNIX - Tableaux de mesures Import/Export", L"Fermer", ENGLISH.sameDrive,
     ENGLISH.attention},
    {"pl", 0x15, L"VORNIX - Import/Eksport tabeli miar", L"Zamknij",
     L"Dysk źródłowy i docelowy jest ten sam. Polecenie nie może być wykonane.",
     L"VORNIX - Uwaga"},
    {"ru", 0x19, L"VORNIX - Импорт/Экспорт Таблиц мерок", L"Закрыть",
     L"Источник и целевой диск одинаковые. Нельзя выполнить команду.", L"VORNIX - Внимание"},
};

// Languages without a dialog that the test entries use, to check that Wine knows them.
const struct {
    const char *code;
    WORD primaryLanguage;
} OTHER_LANGUAGES[] = {{"es", 0x0A}};

std::string LocaleName()
{
    char value[128];
    DWORD length = GetEnvironmentVariableA("LANG", value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string BaseLanguage(const std::string &locale)
{
    return locale.substr(0, locale.find_first_of("_.@"));
}

const DialogTexts &ExpectedDialog(const std::string &code)
{
    for (const DialogTexts &dialog : DIALOGS) {
        if (code == dialog.code) {
            return dialog;
        }
    }
    return ENGLISH;
}

bool WaitUntilVisible(HWND window)
{
    const DWORD timeoutMs = 30000, pollMs = 50;
    DWORD started = GetTickCount();
    while (!IsWindowVisible(window)) {
        if (!IsWindow(window) || GetTickCount() - started > timeoutMs) {
            return false;
        }
        Sleep(pollMs);
    }
    return true;
}

TEST(DialogLanguage, TheUsersLanguagePicksTheDialog)
{
    const std::string locale = LocaleName();
    const std::string code = BaseLanguage(locale);
    const DialogTexts &expected = ExpectedDialog(code);
    SCOPED_TRACE("LANG=" + locale);

    // Wine knows a locale only when the system has it; otherwise it falls back to US
    // English and this test would not test what it says.
    WORD primary = GetUserDefaultUILanguage() & 0x3FF;
    for (const DialogTexts &dialog : DIALOGS) {
        if (code == dialog.code) {
            ASSERT_EQ(primary, dialog.primaryLanguage) << "is the locale installed?";
        }
    }
    for (const auto &other : OTHER_LANGUAGES) {
        if (code == other.code) {
            ASSERT_EQ(primary, other.primaryLanguage) << "is the locale installed?";
        }
    }

    ASSERT_TRUE(e2e::ResetDrives());
    ASSERT_TRUE(e2e::WriteTextFile("C:\\vornix\\vornix.ini",
                                   "[PATH]\r\nDRIVES=ACD\r\nSTARTUPDRIVE=2\r\n"));
    ASSERT_TRUE(e2e::MakeSystem('C', "ABC", "Alpha"));
    ASSERT_TRUE(e2e::WriteChart('C', "ABC", "ANNA", {2024, 3, 5, 14, 7}));

    e2e::Program program;
    ASSERT_TRUE(program.Start("", "C:\\vornix"));
    HWND dialog = program.WaitForDialog(expected.caption);
    ASSERT_NE(dialog, nullptr) << "no dialog captioned " << e2e::Utf8(expected.caption);
    // The caption is there as soon as the dialog window is, before its controls; the
    // dialog shows once its initialisation (which opens no box here) is over.
    ASSERT_TRUE(WaitUntilVisible(dialog));
    program.Settle();
    EXPECT_EQ(program.ItemText(IDCANCEL), expected.close);
    EXPECT_EQ(program.ItemText(IDM_CAPTION_ATTENTION), expected.attention);

    // Both drive combos start on C:, so copying the selected chart meets the warning.
    ASSERT_TRUE(program.ClickLine(IDC_SOURCE_LIST, 0));
    ASSERT_TRUE(program.ClickButton(IDC_COPY));
    e2e::Box box;
    ASSERT_TRUE(program.WaitForBox(box));
    EXPECT_TRUE(box.owned);
    EXPECT_EQ(box.caption, expected.attention);
    EXPECT_EQ(box.text, expected.sameDrive);
    ASSERT_TRUE(program.Answer(box, IDOK));

    ASSERT_TRUE(program.ClickButton(IDCANCEL));
    DWORD exitCode = 1;
    ASSERT_TRUE(program.WaitForExit(exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace

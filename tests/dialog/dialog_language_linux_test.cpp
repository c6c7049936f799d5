// The locale and the dialog language on the Linux layer: the user's language and the
// code page from the locale variables, as Wine takes them; the thread's UI language and
// locale; the loader, which takes the dialog in the thread's language or else the first
// in resource order; and the program's SelectDialogLanguage, which names the dialog
// language itself (a related language, else English). Texts arrive in the code page.
#include "model_support.h"

#include "app/language.h"

#include <string.h>

namespace {

// The language and the code page a process gets from its locale variables.
TEST(Locale, TheVariablesGiveTheUserLanguageAndTheCodePage)
{
    const struct {
        const char *lang, *messages, *all, *ctype;
        LANGID language;
        int codePage;
    } cases[] = {
        {"de_DE.UTF-8", nullptr, nullptr, nullptr, 0x0407, 1252},
        {"de_AT", nullptr, nullptr, nullptr, 0x0C07, 1252},
        {"de_CH.UTF-8", nullptr, nullptr, nullptr, 0x0807, 1252},
        {"de", nullptr, nullptr, nullptr, 0x0407, 1252},
        {"de@euro", nullptr, nullptr, nullptr, 0x0407, 1252},
        {"fr_CA.UTF-8", nullptr, nullptr, nullptr, 0x0C0C, 1252},
        {"fr_FR", nullptr, nullptr, nullptr, 0x040C, 1252},
        {"fi_FI.UTF-8", nullptr, nullptr, nullptr, 0x040B, 1252},
        {"pl_PL.UTF-8", nullptr, nullptr, nullptr, 0x0415, 1250},
        {"ru_RU.KOI8-R", nullptr, nullptr, nullptr, 0x0419, 1251},
        {"en_US.UTF-8", nullptr, nullptr, nullptr, 0x0409, 1252},
        {"en_GB", nullptr, nullptr, nullptr, 0x0809, 1252},
        {"es_ES.UTF-8", nullptr, nullptr, nullptr, 0x0C0A, 1252},
        // Locales without a Windows language are English (United States), as in Wine.
        {"C", nullptr, nullptr, nullptr, 0x0409, 1252},
        {"C.UTF-8", nullptr, nullptr, nullptr, 0x0409, 1252},
        {"POSIX", nullptr, nullptr, nullptr, 0x0409, 1252},
        {"", nullptr, nullptr, nullptr, 0x0409, 1252},
        {"deu", nullptr, nullptr, nullptr, 0x0409, 1252},
        {nullptr, nullptr, nullptr, nullptr, 0x0409, 1252},
        // LC_ALL before LC_MESSAGES (the language) or LC_CTYPE (the code page) before
        // LANG; an empty one does not count.
        {"de_DE.UTF-8", "pl_PL.UTF-8", "ru_RU.UTF-8", nullptr, 0x0419, 1251},
        {"de_DE.UTF-8", "pl_PL.UTF-8", "", nullptr, 0x0415, 1252},
        {"fi_FI", "", nullptr, nullptr, 0x040B, 1252},
        {"de_DE.UTF-8", nullptr, "C", nullptr, 0x0409, 1252},
        {"en_GB.UTF-8", nullptr, nullptr, "ru_RU.UTF-8", 0x0809, 1251},
        {"pl_PL.UTF-8", "en_GB.UTF-8", nullptr, nullptr, 0x0809, 1250},
    };
    LocaleScope locale;
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string("LANG=") + (c.lang ? c.lang : "-") + " LC_MESSAGES=" +
                     (c.messages ? c.messages : "-") + " LC_ALL=" + (c.all ? c.all : "-") +
                     " LC_CTYPE=" + (c.ctype ? c.ctype : "-"));
        locale.Set(c.lang, c.messages, c.all, c.ctype);
        EXPECT_EQ(GetUserDefaultUILanguage(), c.language);
        EXPECT_EQ(Lin32GetCodePage(), c.codePage);
    }
}

// The program finds SetThreadUILanguage at run time; nothing else is there to find.
TEST(Locale, Kernel32HasSetThreadUILanguage)
{
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    ASSERT_NE(kernel, nullptr);
    EXPECT_EQ(GetModuleHandleA("kernel32"), kernel);
    EXPECT_TRUE(GetProcAddress(kernel, "SetThreadUILanguage") ==
                (FARPROC)(void (*)(void))SetThreadUILanguage);
    for (const char *name : {"setthreaduilanguage", "SetThreadLocale", ""}) {
        SCOPED_TRACE(name);
        SetLastError(0);
        EXPECT_EQ(GetProcAddress(kernel, name), nullptr);
        EXPECT_EQ(GetLastError(), 127u);  // ERROR_PROC_NOT_FOUND
    }
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleA("user32.dll"), nullptr);
    EXPECT_EQ(GetLastError(), 126u);  // ERROR_MOD_NOT_FOUND
    EXPECT_EQ(GetProcAddress(nullptr, "SetThreadUILanguage"), nullptr);
}

// Dialog 301 of the tests' resource exists in English (UK), German, French, Polish and
// Russian; its caption is the language's Close, its button the language's All.
class Languages : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        UseDialog(DLG_LANGUAGES);
    }

    // The caption and the text of IDC_ALL as DialogBoxParamA shows them.
    std::string Shown()
    {
        std::string shown;
        Run([&](HWND dialog) {
            char caption[64], all[64];
            SendMessageA(dialog, WM_GETTEXT, sizeof caption, (LPARAM)caption);
            GetDlgItemTextA(dialog, IDC_ALL, all, sizeof all);
            shown = std::string(caption) + "|" + all;
        });
        return shown;
    }
};

const char kGermanShown[] = "Schlie\xDF" "en|\xDF";
const char kEnglishShown[] = "Close|?";  // no Cyrillic in Windows-1252

// The loader alone takes the user's language or the first dialog in resource order,
// German; SelectDialogLanguage makes it a related language or English.
TEST_F(Languages, TheLoaderTakesTheLanguageOrTheFirstAndTheProgramNamesIt)
{
    const struct {
        const char *locale;
        int codePage;
        WORD byLoader;
        const char *shownByLoader;  // in the code page
        WORD byProgram;
        const char *shownByProgram;
    } cases[] = {
        {"de_DE.UTF-8", 1252, GERMAN, kGermanShown, GERMAN, kGermanShown},
        {"de_AT.UTF-8", 1252, GERMAN, kGermanShown, GERMAN, kGermanShown},
        {"fr_FR.UTF-8", 1252, FRENCH, "Fermer|\xE9", FRENCH, "Fermer|\xE9"},
        {"fr_CA.UTF-8", 1252, GERMAN, kGermanShown, FRENCH, "Fermer|\xE9"},
        {"pl_PL.UTF-8", 1250, POLISH, "Zamknij|Usu\xF1 \xB3", POLISH, "Zamknij|Usu\xF1 \xB3"},
        {"ru_RU.UTF-8", 1251, RUSSIAN, "\xC7\xE0\xEA\xF0\xFB\xF2\xFC|\xC2\xF1\xE5", RUSSIAN,
         "\xC7\xE0\xEA\xF0\xFB\xF2\xFC|\xC2\xF1\xE5"},
        {"en_GB.UTF-8", 1252, ENGLISH_UK, kEnglishShown, ENGLISH_UK, kEnglishShown},
        {"en_US.UTF-8", 1252, GERMAN, kGermanShown, ENGLISH_UK, kEnglishShown},
        // The program names Finnish, which this resource lacks: the loader takes the first.
        {"fi_FI.UTF-8", 1252, GERMAN, kGermanShown, GERMAN, kGermanShown},
        {"es_ES.UTF-8", 1252, GERMAN, kGermanShown, ENGLISH_UK, kEnglishShown},
        {"C", 1252, GERMAN, kGermanShown, ENGLISH_UK, kEnglishShown},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        locale_.Set(c.locale);
        EXPECT_EQ(Shown(), c.shownByLoader);
        EXPECT_EQ(Lin32GetDialogLanguage(), c.byLoader);
        SelectDialogLanguage();
        EXPECT_EQ(Shown(), c.shownByProgram);
        EXPECT_EQ(Lin32GetDialogLanguage(), c.byProgram);
        EXPECT_EQ(Lin32GetCodePage(), c.codePage);  // the dialog does not change it
    }
}

// Texts convert into the process's code page, whatever the dialog's language: the
// Russian dialog under 1252 has no letter left.
TEST_F(Languages, TextsArriveInTheCodePageOfTheLocale)
{
    locale_.Set("ru_RU.UTF-8", nullptr, nullptr, "en_GB.UTF-8");
    EXPECT_EQ(Lin32GetCodePage(), 1252);
    EXPECT_EQ(Shown(), "???????|???");
    EXPECT_EQ(Lin32GetDialogLanguage(), RUSSIAN);
}

// The thread's UI language comes first, then the thread locale (Wine and Windows before
// Vista look only at that), then the user's language; reading the locale again forgets
// what the thread set.
TEST_F(Languages, TheThreadsUiLanguageAndLocaleChooseForTheLoader)
{
    locale_.Set("pl_PL.UTF-8");
    EXPECT_TRUE(SetThreadLocale(MAKELCID(RUSSIAN, SORT_DEFAULT)));
    Shown();
    EXPECT_EQ(Lin32GetDialogLanguage(), RUSSIAN);
    EXPECT_EQ(SetThreadUILanguage(FRENCH), FRENCH);
    Shown();
    EXPECT_EQ(Lin32GetDialogLanguage(), FRENCH);
    EXPECT_EQ(SetThreadUILanguage(0), POLISH);  // back to the user's
    Shown();
    EXPECT_EQ(Lin32GetDialogLanguage(), RUSSIAN);
    EXPECT_EQ(GetUserDefaultUILanguage(), POLISH);
    Lin32ReadLocale();
    Shown();
    EXPECT_EQ(Lin32GetDialogLanguage(), POLISH);
}

// The program's own dialog: a user language without a dialog gets German from the
// loader and English through SelectDialogLanguage.
TEST_F(ModelTest, ALanguageWithoutADialogGetsEnglishFromTheProgram)
{
    locale_.Set("es_ES.UTF-8");
    auto closeText = [&]() {
        std::string text;
        Run([&](HWND dialog) {
            char buffer[16];
            GetDlgItemTextA(dialog, IDCANCEL, buffer, sizeof buffer);
            text = buffer;
        });
        return text;
    };
    EXPECT_EQ(closeText(), "Schlie\xDF" "en");
    EXPECT_EQ(Lin32GetDialogLanguage(), GERMAN);
    SelectDialogLanguage();
    EXPECT_EQ(closeText(), "Close");
    EXPECT_EQ(Lin32GetDialogLanguage(), ENGLISH_UK);
    EXPECT_EQ(Lin32GetCodePage(), 1252);
}

}  // namespace

// The dialog language of the Linux layer: taken from the locale variables or forced by a
// test; DialogBoxParamA takes the dialog in that language (falling back to English on
// purpose), sets the process's code page to the dialog's and converts its texts into it.
#include "model_support.h"

#include <stdlib.h>
#include <string.h>

namespace {

TEST(DialogLanguage, BaseLanguageOfALocaleName)
{
    const struct {
        const char *locale;
        WORD language;
    } cases[] = {
        {"de_DE.UTF-8", GERMAN},  {"de_AT", GERMAN},          {"de", GERMAN},
        {"de@euro", GERMAN},      {"fr_CA.UTF-8", FRENCH},    {"fr_FR", FRENCH},
        {"fi_FI.UTF-8", FINNISH}, {"pl_PL.UTF-8", POLISH},    {"ru_RU.KOI8-R", RUSSIAN},
        {"en_US.UTF-8", ENGLISH_UK}, {"en_GB", ENGLISH_UK},   {"es_ES.UTF-8", ENGLISH_UK},
        {"C", ENGLISH_UK},        {"C.UTF-8", ENGLISH_UK},    {"POSIX", ENGLISH_UK},
        {"", ENGLISH_UK},         {"deu", ENGLISH_UK},        {nullptr, ENGLISH_UK},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale == nullptr ? "(null)" : c.locale);
        EXPECT_EQ(Lin32LanguageForLocale(c.locale), c.language);
    }
}

TEST(DialogLanguage, CodePageOfALanguage)
{
    const struct {
        WORD language;
        int codePage;
    } cases[] = {{GERMAN, 1252}, {FINNISH, 1252}, {FRENCH, 1252}, {ENGLISH_UK, 1252},
                 {POLISH, 1250}, {RUSSIAN, 1251}, {0x0C0C, 1252}, {0, 1252}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        EXPECT_EQ(Lin32CodePageForLanguage(c.language), c.codePage);
    }
}

// Sets the three locale variables for the life of the object (nullptr: unset).
class LocaleVariables {
public:
    LocaleVariables(const char *all, const char *messages, const char *lang)
    {
        for (int i = 0; i < 3; ++i) {
            const char *old = getenv(names[i]);
            saved[i] = old != nullptr;
            values[i] = old != nullptr ? old : "";
        }
        Set("LC_ALL", all);
        Set("LC_MESSAGES", messages);
        Set("LANG", lang);
    }
    ~LocaleVariables()
    {
        for (int i = 0; i < 3; ++i) {
            Set(names[i], saved[i] ? values[i].c_str() : nullptr);
        }
    }

private:
    static void Set(const char *name, const char *value)
    {
        if (value == nullptr) {
            unsetenv(name);
        } else {
            setenv(name, value, 1);
        }
    }
    const char *names[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    bool saved[3];
    std::string values[3];
};

TEST(DialogLanguage, FirstNonEmptyLocaleVariableDecides)
{
    const struct {
        const char *all, *messages, *lang;
        WORD language;
    } cases[] = {
        {"ru_RU.UTF-8", "pl_PL.UTF-8", "de_DE.UTF-8", RUSSIAN},
        {"", "pl_PL.UTF-8", "de_DE.UTF-8", POLISH},
        {nullptr, nullptr, "de_DE.UTF-8", GERMAN},
        {nullptr, "", "fi_FI", FINNISH},
        {nullptr, nullptr, nullptr, ENGLISH_UK},
        {"C", nullptr, "de_DE.UTF-8", ENGLISH_UK},
    };
    for (const auto &c : cases) {
        LocaleVariables locale(c.all, c.messages, c.lang);
        SCOPED_TRACE(std::string(c.all ? c.all : "-") + "/" + (c.messages ? c.messages : "-") +
                     "/" + (c.lang ? c.lang : "-"));
        EXPECT_EQ(Lin32LanguageFromEnvironment(), c.language);
    }
}

class Languages : public ModelTest {
protected:
    void SetUp() override
    {
        ModelTest::SetUp();
        script_ = "#include \"resource.h\"\n#pragma code_page(65001)\n";
        AddDialog("LANG_ENGLISH, SUBLANG_ENGLISH_UK", "Close", "Ж");
        AddDialog("LANG_GERMAN, SUBLANG_GERMAN", "Schließen", "ß");
        AddDialog("LANG_FRENCH, SUBLANG_FRENCH", "Fermer", "é");
        AddDialog("LANG_POLISH, SUBLANG_DEFAULT", "Zamknij", "Usuń ł");
        AddDialog("LANG_RUSSIAN, SUBLANG_DEFAULT", "Закрыть", "Все");
        Lin32UseResourceScript(script_.data(), script_.size());
    }

    void TearDown() override
    {
        ModelTest::TearDown();
        Lin32SetCodePage(1252);
    }

    void AddDialog(const char *language, const char *close, const char *all)
    {
        script_ += std::string("LANGUAGE ") + language +
                   "\n101 DIALOG 0, 0, 10, 10\nCAPTION \"" + close + "\"\nBEGIN\n"
                   "CONTROL \"" + all + "\", IDC_ALL, \"Button\", BS_PUSHBUTTON, 1, 1, 1, 1\nEND\n";
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

    std::string script_;
};

TEST_F(Languages, ForcedLanguageTakesItsDialogAndCodePage)
{
    const struct {
        WORD wanted;
        WORD taken;
        int codePage;
        const char *shown;  // in the code page
    } cases[] = {
        {GERMAN, GERMAN, 1252, "Schlie\xDF" "en|\xDF"},
        {FRENCH, FRENCH, 1252, "Fermer|\xE9"},
        {0x0C0C, FRENCH, 1252, "Fermer|\xE9"},  // French (Canada): the base language
        {POLISH, POLISH, 1250, "Zamknij|Usu\xF1 \xB3"},
        {RUSSIAN, RUSSIAN, 1251, "\xC7\xE0\xEA\xF0\xFB\xF2\xFC|\xC2\xF1\xE5"},
        {ENGLISH_UK, ENGLISH_UK, 1252, "Close|?"},  // no Cyrillic in Windows-1252
        {FINNISH, ENGLISH_UK, 1252, "Close|?"},     // no Finnish dialog here: English
        {0x0C0A, ENGLISH_UK, 1252, "Close|?"},      // Spanish
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.wanted);
        Lin32SetDialogLanguage(c.wanted);
        EXPECT_EQ(Lin32GetCodePage(), Lin32CodePageForLanguage(c.wanted));  // set at once
        EXPECT_EQ(Shown(), c.shown);
        EXPECT_EQ(Lin32GetDialogLanguage(), c.taken);
        EXPECT_EQ(Lin32GetCodePage(), c.codePage);
    }
}

TEST_F(Languages, WithoutAForcedLanguageTheEnvironmentDecides)
{
    Lin32SetDialogLanguage(0);
    {
        LocaleVariables locale(nullptr, nullptr, "pl_PL.UTF-8");
        EXPECT_EQ(Shown(), "Zamknij|Usu\xF1 \xB3");
        EXPECT_EQ(Lin32GetCodePage(), 1250);
    }
    {
        LocaleVariables locale(nullptr, "ru_RU.UTF-8", "pl_PL.UTF-8");
        EXPECT_EQ(Shown(), "\xC7\xE0\xEA\xF0\xFB\xF2\xFC|\xC2\xF1\xE5");
        EXPECT_EQ(Lin32GetCodePage(), 1251);
    }
    {
        LocaleVariables locale(nullptr, nullptr, "C.UTF-8");
        EXPECT_EQ(Shown(), "Close|?");
        EXPECT_EQ(Lin32GetDialogLanguage(), ENGLISH_UK);
    }
}

// The built-in script: a user language without a dialog gets the English one.
TEST_F(ModelTest, ALanguageWithoutADialogGetsEnglish)
{
    Lin32SetDialogLanguage(0x0C0A);  // Spanish
    Run([](HWND dialog) {
        char text[16];
        GetDlgItemTextA(dialog, IDCANCEL, text, sizeof text);
        EXPECT_STREQ(text, "Close");
    });
    EXPECT_EQ(Lin32GetDialogLanguage(), ENGLISH_UK);
    EXPECT_EQ(Lin32GetCodePage(), 1252);
}

}  // namespace

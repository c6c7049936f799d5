// The dialog language: from the locale variables as a Linux program reads them, or set by
// a test; and the ANSI code page that goes with it.
#include "user_window.h"

#include "lin32_hooks.h"

#include <stdlib.h>
#include <string.h>

enum {
    LANGUAGE_GERMAN = 0x0407,
    LANGUAGE_FINNISH = 0x040B,
    LANGUAGE_FRENCH = 0x040C,
    LANGUAGE_POLISH = 0x0415,
    LANGUAGE_RUSSIAN = 0x0419,
    LANGUAGE_ENGLISH_UK = 0x0809,
    PRIMARY_LANGUAGE_MASK = 0x03FF,
    PRIMARY_POLISH = 0x15,
    PRIMARY_RUSSIAN = 0x19
};

static WORD forcedLanguage = 0;
static WORD lastDialogLanguage = 0;

WORD Lin32LanguageForLocale(const char *locale)
{
    static const struct {
        const char *code;
        WORD language;
    } languages[] = {{"de", LANGUAGE_GERMAN},  {"fi", LANGUAGE_FINNISH},
                     {"fr", LANGUAGE_FRENCH},  {"pl", LANGUAGE_POLISH},
                     {"ru", LANGUAGE_RUSSIAN}, {"en", LANGUAGE_ENGLISH_UK}};
    if (locale == nullptr) {
        return LANGUAGE_ENGLISH_UK;
    }
    // The base language is what comes before the territory, code set or modifier.
    size_t length = strcspn(locale, "_.@");
    for (const auto &entry : languages) {
        if (length == 2 && strncmp(locale, entry.code, 2) == 0) {
            return entry.language;
        }
    }
    return LANGUAGE_ENGLISH_UK;
}

WORD Lin32LanguageFromEnvironment(void)
{
    static const char *const variables[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    for (const char *name : variables) {
        const char *value = getenv(name);
        if (value != nullptr && value[0] != '\0') {
            return Lin32LanguageForLocale(value);
        }
    }
    return LANGUAGE_ENGLISH_UK;
}

int Lin32CodePageForLanguage(WORD language)
{
    switch (language & PRIMARY_LANGUAGE_MASK) {
    case PRIMARY_POLISH: return 1250;
    case PRIMARY_RUSSIAN: return 1251;
    default: return 1252;
    }
}

void Lin32SetDialogLanguage(WORD language)
{
    forcedLanguage = language;
    if (language != 0) {
        Lin32SetCodePage(Lin32CodePageForLanguage(language));
    }
}

WORD Lin32GetDialogLanguage(void) { return lastDialogLanguage; }

WORD Lin32WantedDialogLanguage(void)
{
    return forcedLanguage != 0 ? forcedLanguage : Lin32LanguageFromEnvironment();
}

void Lin32NoteDialogLanguage(WORD language) { lastDialogLanguage = language; }

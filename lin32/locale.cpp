// The locale as Wine takes it from the environment when a process starts: the user's
// language from LC_ALL, LC_MESSAGES or LANG, the ANSI code page from LC_ALL, LC_CTYPE or
// LANG. Then the thread's UI language and locale, which the program may set, and the
// look-up through which it finds SetThreadUILanguage (Vista and later).
#include "codepage.h"
#include "lin32_hooks.h"

#include <stdlib.h>
#include <string.h>
#include <strings.h>

enum {
    LANGUAGE_ENGLISH_US = 0x0409,
    PRIMARY_POLISH = 0x15,
    PRIMARY_RUSSIAN = 0x19,
    LIN32_ERROR_MOD_NOT_FOUND = 126,
    LIN32_ERROR_PROC_NOT_FOUND = 127
};

// The locales that matter here. A language without a territory takes the first row of
// its language; any other locale, "C" and "POSIX" among them, is English (United
// States), as Wine has it.
static const struct {
    const char *name;
    LANGID language;
} g_localeLanguages[] = {
    {"de_DE", 0x0407}, {"de_AT", 0x0C07}, {"de_CH", 0x0807}, {"en_US", 0x0409},
    {"en_GB", 0x0809}, {"es_ES", 0x0C0A}, {"fi_FI", 0x040B}, {"fr_FR", 0x040C},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"pl_PL", 0x0415},
    {"ru_RU", 0x0419},
};

static bool g_localeRead = false;
static LANGID g_userLanguage = LANGUAGE_ENGLISH_US;
static thread_local LANGID g_threadUiLanguage = 0;  // 0: the program has set none
static thread_local LCID g_threadLocale = 0;

// The first of LC_ALL, the category's own variable and LANG that is set and not empty.
static const char *LocaleName(const char *category)
{
    for (const char *variable : {"LC_ALL", category, "LANG"}) {
        const char *value = getenv(variable);
        if (value != nullptr && value[0] != '\0') {
            return value;
        }
    }
    return "C";
}

// "de_AT.UTF-8@euro": the language and territory come before the code set and modifier.
static LANGID LanguageOfLocale(const char *locale)
{
    size_t length = strcspn(locale, ".@");
    size_t languageLength = strcspn(locale, "_.@");
    LANGID sameLanguage = 0;
    for (const auto &row : g_localeLanguages) {
        if (strlen(row.name) == length && strncmp(locale, row.name, length) == 0) {
            return row.language;
        }
        if (sameLanguage == 0 && languageLength == 2 && strncmp(locale, row.name, 2) == 0) {
            sameLanguage = row.language;
        }
    }
    return sameLanguage != 0 ? sameLanguage : (LANGID)LANGUAGE_ENGLISH_US;
}

static int CodePageOfLanguage(LANGID language)
{
    switch (PRIMARYLANGID(language)) {
    case PRIMARY_POLISH: return 1250;
    case PRIMARY_RUSSIAN: return 1251;
    default: return 1252;
    }
}

void Lin32ReadLocale(void)
{
    g_localeRead = true;
    g_userLanguage = LanguageOfLocale(LocaleName("LC_MESSAGES"));
    g_threadUiLanguage = 0;
    g_threadLocale = 0;
    Lin32SetCodePage(CodePageOfLanguage(LanguageOfLocale(LocaleName("LC_CTYPE"))));
}

void Lin32StartLocale(void)
{
    if (!g_localeRead) {
        Lin32ReadLocale();
    }
}

LANGID Lin32ResourceLanguage(void)
{
    Lin32StartLocale();
    if (g_threadUiLanguage != 0) {
        return g_threadUiLanguage;
    }
    return g_threadLocale != 0 ? LANGIDFROMLCID(g_threadLocale) : g_userLanguage;
}

LANGID WINAPI GetUserDefaultUILanguage(void)
{
    Lin32StartLocale();
    return g_userLanguage;
}

// 0 goes back to the user's language.
LANGID WINAPI SetThreadUILanguage(LANGID language)
{
    Lin32StartLocale();
    g_threadUiLanguage = language;
    return language != 0 ? language : g_userLanguage;
}

BOOL WINAPI SetThreadLocale(LCID locale)
{
    Lin32StartLocale();
    g_threadLocale = locale;
    return TRUE;
}

// kernel32 is the one module here, and SetThreadUILanguage the one procedure asked for.
static const char g_kernel32 = 0;

HMODULE WINAPI GetModuleHandleA(LPCSTR name)
{
    if (name != nullptr &&
        (strcasecmp(name, "kernel32.dll") == 0 || strcasecmp(name, "kernel32") == 0)) {
        return (HMODULE)&g_kernel32;
    }
    SetLastError(LIN32_ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name)
{
    if (module == (HMODULE)&g_kernel32 && !IS_INTRESOURCE(name) &&
        strcmp(name, "SetThreadUILanguage") == 0) {
        return (FARPROC)(void (*)(void))SetThreadUILanguage;
    }
    SetLastError(LIN32_ERROR_PROC_NOT_FOUND);
    return nullptr;
}

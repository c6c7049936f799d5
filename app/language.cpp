// Choosing the dialog language. Left to itself the Windows resource loader tries the
// user's language and then takes the first dialog in resource order (German), even for
// an English (United States) or Spanish user, and it does not try the base language of
// a regional variant (French for fr-CA). So the program names the language itself.
#include "language.h"

namespace {

const WORD PRIMARY_LANGUAGE_MASK = 0x03FF;

struct LanguageEntry {
    WORD primaryLanguage;
    WORD dialogLanguage;
};

const LanguageEntry DIALOG_LANGUAGES[] = {
    {DIALOG_GERMAN & PRIMARY_LANGUAGE_MASK, DIALOG_GERMAN},
    {DIALOG_FINNISH & PRIMARY_LANGUAGE_MASK, DIALOG_FINNISH},
    {DIALOG_FRENCH & PRIMARY_LANGUAGE_MASK, DIALOG_FRENCH},
    {DIALOG_POLISH & PRIMARY_LANGUAGE_MASK, DIALOG_POLISH},
    {DIALOG_RUSSIAN & PRIMARY_LANGUAGE_MASK, DIALOG_RUSSIAN},
    {DIALOG_ENGLISH_UK & PRIMARY_LANGUAGE_MASK, DIALOG_ENGLISH_UK},
};

}  // namespace

void DialogLanguageFor(WORD userLanguage, WORD *dialogLanguage)
{
    *dialogLanguage = DIALOG_ENGLISH_UK;
    for (const LanguageEntry &entry : DIALOG_LANGUAGES) {
        if ((userLanguage & PRIMARY_LANGUAGE_MASK) == entry.primaryLanguage) {
            *dialogLanguage = entry.dialogLanguage;
        }
    }
}

// SetThreadUILanguage takes a language from Vista on; Windows XP's accepts only 0 (a
// language for the console) and older Windows lack it. Imported by name it could keep
// the program from starting, so it is looked up, and called where it is there.
typedef LANGID(WINAPI *SetThreadUILanguageProc)(LANGID);

void SelectDialogLanguage(void)
{
    WORD language;
    DialogLanguageFor(GetUserDefaultUILanguage(), &language);
    // Since Vista the loader follows the thread's UI language; Wine and Windows XP
    // follow the thread locale instead and ignore the UI language. Set both.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetThreadUILanguage") : nullptr;
    if (found != nullptr) {
        // Through void (*)(void), which converts to any function type without a warning.
        ((SetThreadUILanguageProc)(void (*)(void))found)(language);
    }
    SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
}

// The dialog language for the user's language: the base language decides, and a
// language without a dialog gets English (United Kingdom).
#include "app/language.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogLanguageFor, PicksTheDialogByTheBaseLanguage)
{
    struct Case {
        WORD userLanguage;
        WORD expected;
    } cases[] = {
        {0x0407, DIALOG_GERMAN},      // de-DE
        {0x0C07, DIALOG_GERMAN},      // de-AT
        {0x0807, DIALOG_GERMAN},      // de-CH
        {0x1407, DIALOG_GERMAN},      // de-LI
        {0x040B, DIALOG_FINNISH},     // fi-FI
        {0x040C, DIALOG_FRENCH},      // fr-FR
        {0x0C0C, DIALOG_FRENCH},      // fr-CA
        {0x080C, DIALOG_FRENCH},      // fr-BE
        {0x0415, DIALOG_POLISH},      // pl-PL
        {0x0419, DIALOG_RUSSIAN},     // ru-RU
        {0x0819, DIALOG_RUSSIAN},     // ru-MD
        {0x0809, DIALOG_ENGLISH_UK},  // en-GB
        {0x0409, DIALOG_ENGLISH_UK},  // en-US
        {0x0C09, DIALOG_ENGLISH_UK},  // en-AU
        // Languages without a dialog.
        {0x0C0A, DIALOG_ENGLISH_UK},  // es-ES
        {0x0410, DIALOG_ENGLISH_UK},  // it-IT
        {0x041D, DIALOG_ENGLISH_UK},  // sv-SE
        {0x0422, DIALOG_ENGLISH_UK},  // uk-UA
        {0x0000, DIALOG_ENGLISH_UK},  // neutral
        {0x0007, DIALOG_GERMAN},      // German, no region
        {0xFFFF, DIALOG_ENGLISH_UK},
        // The primary language is ten bits wide: these share German's low byte only.
        {0x0107, DIALOG_ENGLISH_UK},
        {0x0207, DIALOG_ENGLISH_UK},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "user language 0x" << std::hex << c.userLanguage);
        WORD dialogLanguage = 0xBEEF;
        DialogLanguageFor(c.userLanguage, &dialogLanguage);
        EXPECT_EQ(dialogLanguage, c.expected);
    }
}

}  // namespace

// The main dialog in its six languages, through the layer's dialog model: every text in
// the code page of its language, the placeholders, the same controls in every language,
// the choice of the language from the locale by the program's SelectDialogLanguage, and
// whole scenarios in German, Russian and Polish. Expected texts are written here in
// UTF-8 and converted with iconv, not with the layer's own converter.
#include "scenario.h"

#include "app/dialog.h"
#include "app/language.h"
#include "lin32/lin32_dialog.h"
#include "lin32/lin32_files.h"
#include "lin32/lin32_hooks.h"
#include "locale_scope.h"
#include "resources/resource.h"
#include "support/boxes.h"
#include "support/dialog_driver.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <stdlib.h>
#include <string.h>
#include <strings.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

enum {
    CONTROL_COUNT = 50,
    MESSAGE_COUNT = IDM_DELETE_FAILED - IDM_SAME_DRIVE + 1,
    FIRST_MESSAGE_INDEX = CONTROL_COUNT - MESSAGE_COUNT,  // messages close the template
    TEXT_BUFFER_SIZE = 512,
    DIALOG_HEIGHT = 226,
    CLOSED_COMBO_HEIGHT = 12,  // a combo's template height is that of its open list
    DIALOG_WIDTH = 413,
    FINNISH_DIALOG_WIDTH = 433
};

const WORD GERMAN = 1031, FINNISH = 1035, FRENCH = 1036, POLISH = 1045, RUSSIAN = 1049,
           ENGLISH_UK = 2057;

// The visible texts by their place in the template (tab order); nullptr where a control
// has no text (combos, lists, edits, the icon, the unnamed group box).
struct VisibleText {
    int index;
    const char *english;
};

// Template places of the controls that carry a visible text.
const int CLOSE = 4, UNTIL = 6, AT = 8, SINCE = 9, COPY = 11, MOVE = 12, SYSTEM_LABEL = 14,
          NAME = 15, DELETE = 17, ALL = 18, COMPARE = 19, SOURCE_LABEL = 20, DEST_LABEL = 21,
          SORT_NAME = 22, SORT_DATE = 23, SORT_LABEL = 24, REFRESH = 26, FILTER_GROUP = 28,
          MARK_LABEL = 29, VERSION_LABEL = 30, DATE_LABEL = 31;
const int TEXT_PLACES[] = {CLOSE,  UNTIL,        AT,         SINCE,     COPY,      MOVE,
                           SYSTEM_LABEL, NAME,   DELETE,     ALL,       COMPARE,   SOURCE_LABEL,
                           DEST_LABEL,   SORT_NAME, SORT_DATE, SORT_LABEL, REFRESH, FILTER_GROUP,
                           MARK_LABEL,   VERSION_LABEL, DATE_LABEL};
const int TEXT_PLACE_COUNT = sizeof TEXT_PLACES / sizeof TEXT_PLACES[0];

// One language: its caption, the visible texts in the order of TEXT_PLACES, and the
// message texts of the controls 1029 to 1046.
struct Language {
    const char *name;
    const char *locale;  // a locale whose user gets this dialog
    WORD id;
    int codePage;
    int width;
    const char *caption;
    const char *visible[TEXT_PLACE_COUNT];
    const char *const *messages;
};

const char *const ENGLISH_MESSAGES[MESSAGE_COUNT] = {
    "Source and destination drive are the same. The command cannot be executed.",
    "VORNIX - Attention",
    "VORNIX - Files ...",
    "#### selected files really to be deleted?",
    "#### selected files really to be moved?",
    "#### selected files really to be copied?",
    "VORNIX - Disk",
    "Remove write protection from VORNIX-disk and insert disk again.",
    "Please insert disk.",
    "The selected drive is not ready or there are errors on the disk or it is write "
    "protected.",
    "VORNIX-directory for active construction system on drive #: does not exist. Create "
    "now?",
    "VORNIX - Create VORNIX Directory",
    "VORNIX.INI could not be found on current drive. Standard drives A: and C: will be used.",
    "Error while reading VORNIX.INI !",
    "Directory not found !",
    "Construction systems not found !",
    "This file cannot be copied. Destination file is write protected or destination drive "
    "is not ready or not prepared for VORNIX.",
    "This file cannot be deleted. It is write protected or drive is not ready.",
};

const char *const GERMAN_MESSAGES[MESSAGE_COUNT] = {
    "Quell- und Ziellaufwerk sind identisch! Aktion kann nicht ausgeführt werden.",
    "VORNIX - Achtung",
    "VORNIX - Dateien ...",
    "#### ausgewählte Datei(en) wirklich löschen?",
    "#### ausgewählte Datei(en) wirklich verschieben?",
    "#### ausgewählte Datei(en) wirklich kopieren?",
    "VORNIX - Diskette",
    "Kopierschutz von der VORNIX-Diskette entfernen und Diskette ins Laufwerk einlegen.",
    "Legen Sie bitte die Diskette ins Laufwerk ein.",
    "Das gewählte Laufwerk ist nicht betriebsbereit oder die verwendete Diskette ist nicht "
    "geeignet, fehlerhaft oder schreibgeschützt.",
    "Auf Laufwerk #: ist die Verzeichnisstruktur für das aktuelle Konstruktionssystem noch "
    "nicht eingerichtet. Jetzt einrichten?",
    "VORNIX - Verzeichnis einrichten",
    "Die Datei VORNIX.INI konnte auf dem aktuellen Laufwerk nicht gefunden werden! Es werden "
    "Standardeinträge für die Laufwerke benutzt.",
    "Fehler beim Lesen der VORNIX.INI!",
    "Keine Verzeichnisse gefunden!",
    "Keine Konstruktionssysteme gefunden!",
    "Diese Datei kann nicht kopiert werden. Zieldatei schreibgeschützt oder Laufwerk nicht "
    "bereit oder nicht für VORNIX eingerichtet.",
    "Die Datei kann nicht gelöscht werden. Sie ist schreibgeschützt oder Laufwerk nicht "
    "bereit oder gerade in Benutzung.",
};

const char *const FINNISH_MESSAGES[MESSAGE_COUNT] = {
    "Lähde- ja kohdelevyasema ovat samat! Toimintoa ei voi suorittaa.",
    "VORNIX - Huomio",
    "VORNIX - Tiedostot ...",
    "Haluatko varmasti poistaa #### tiedostoa?",
    "Haluatko varmasti siirtää #### tiedostoa?",
    "Haluatko varmasti kopioda #### tiedostoa?",
    "VORNIX - Levyke",
    "Poista kirjoitussuojaus Vornix-levykkeeltä ja laita levyke levyasemaan.",
    "Laita levyke levyasemaan.",
    "Valitsemasi levyasema ei ole valmiina tai levyke ei ole soveltuvainen, se on "
    "virheellinen tai kirjoitussuojattu.",
    "Levyasemalla #: ei ole vielä hakemistorakennetta kyseistä kaavajärjestelmää varten. "
    "Luodaanko hakemistorakenne nyt?",
    "VORNIX - Hakemistorakenteen luominen",
    "Tiedostoa VORNIX.INI ei löydy käytössä olevalta levyasemalta! Perusasetukset otetaan "
    "käyttöön.",
    "Virhe luettaessa tiedostoa VORNIX.INI!",
    "Hakemistoja ei löydy!",
    "Kaavajärjestelmiä ei löydy!",
    "Tätä tiedostoa ei voi kopioida. Kohdetiedosto on kirjoitussuojattu, levyasema ei ole "
    "valmis tai sille ei ole luotu Vornixta varten tarvittavaa hakemistorakennetta.",
    "Tiedostoa ei voi poistaa. Se on kirjoitussuojattu, levyasema ei ole valmis tai se on jo "
    "käytössä.",
};

const char *const POLISH_MESSAGES[MESSAGE_COUNT] = {
    "Dysk źródłowy i docelowy jest ten sam. Polecenie nie może być wykonane.",
    "VORNIX - Uwaga",
    "VORNIX - Pliki ...",
    "Na pewno usunąć #### wybranych plików?",
    "Na pewno przenieść #### wybranych plików?",
    "Na pewno skopiować #### wybranych plików?",
    "VORNIX - Dysk",
    "Usuń ochronę zapisu z dysku VORNIX i włóż dysk ponownie.",
    "Proszę włożyć dysk.",
    "Wybrany dysk nie jest gotowy, ma błędy lub jest chroniony przed zapisem.",
    "Katalog VORNIX aktywnego systemu konstrukcyjnego na dysku #: nie istnieje. Utworzyć "
    "katalog?",
    "VORNIX - Tworzenie katalogu",
    "Na dysku bieżącym nie odnaleziono pliku VORNIX.INI. Zostaną użyte domyślne dyski A: i "
    "C:.",
    "Błąd odczytu VORNIX.INI.",
    "Nie odnaleziono katalogu.",
    "Nie odnaleziono systemów konstrukcyjnych.",
    "Ten plik nie może być skopiowany. Plik docelowy jest chroniony przed zapisem lub dysk "
    "docelowy nie jest gotowy.",
    "Ten plik nie może być usunięty. Jest chroniony przed zapisem lub dysk nie jest gotowy.",
};

const char *const RUSSIAN_MESSAGES[MESSAGE_COUNT] = {
    "Источник и целевой диск одинаковые. Нельзя выполнить команду.",
    "VORNIX - Внимание",
    "VORNIX - Файлы ...",
    "#### выбранные файлы удалить?",
    "#### выбранные файлы передвинуть?",
    "#### выбранные файлы копировать?",
    "VORNIX - Диск",
    "Снимите защиту от записи с дискеты VORNIX и вставьте дискету снова.",
    "Пожалуйста, вставьте дискету.",
    "Выбранный диск не готов к работе или дискета не пригодна или защищена от записи.",
    "VORNIX-директория для активной системы конструирования на диске #: не существует. "
    "Создать сейчас?",
    "VORNIX - Создать VORNIX Директорию",
    "VORNIX.INI не найден на текущем диске. Будет использован стандартный диск A: или C:.",
    "Ошибка в процессе считывания VORNIX.INI !",
    "Директория не найдена !",
    "Система конструирования не найдена !",
    "Нельзя скопировать данный файл. Конечный файл защищен от записи или целевой диск не "
    "готов или не подготовлен к работе с VORNIX.",
    "Нельзя удалить данный файл. Он защищен от записи или диск не готов к работе.",
};

const Language LANGUAGES[] = {
    {"English (UK)", "en_GB.UTF-8", ENGLISH_UK, 1252, DIALOG_WIDTH, "VORNIX - Import/Export Measurement Charts",
     {"Close", "until:", "at:", "since:", "Copy", "Move", "Construction system", "name:",
      "Delete", "All", "Compare", "Source:", "Destination:", "name", "date", "Sort by:",
      "Refresh List", "Filter", "Mark:", "VORNIX - Im-/Export V1.10", "Date of last change ..."},
     ENGLISH_MESSAGES},
    {"German", "de_DE.UTF-8", GERMAN, 1252, DIALOG_WIDTH, "VORNIX - Import/Export von Maßtabellen",
     {"Schließen", "bis:", "am:", "seit:", "Kopieren", "Verschieben", "Konstruktionssystem:",
      "Name:", "Löschen", "Alle", "Vergleich", "Quelle:", "Ziel:", "Name", "Datum",
      "Sortieren nach:", "Anzeige neu", "Anzeigefilter", "Markieren:",
      "VORNIX - Im-/Export V1.10", " Änderungsdatum ..."},
     GERMAN_MESSAGES},
    {"Finnish", "fi_FI.UTF-8", FINNISH, 1252, FINNISH_DIALOG_WIDTH, "VORNIX - Mittataulukoiden tuonti/vienti",
     {"Sulje", "saakka:", "muutospvä:", "lähtien:", "Kopioi", "Siirrä", "Kaavajärjestelmä:",
      "Nimi:", "Poista", "Kaikki", "Vertaile", "Lähdelevyasema:", "Kohdelevyasema:",
      "Nimen mukaan", "Päivämäärän mukaan", "Järjestä tiedostot:", "Päivitä", "Suodatin",
      "Valitse:", "VORNIX - Mittataulukoiden tuonti/vienti V1.10", "Muutokset tehty..."},
     FINNISH_MESSAGES},
    // The French dialog carries the English messages.
    {"French", "fr_FR.UTF-8", FRENCH, 1252, DIALOG_WIDTH, "VORNIX - Tableaux de mesures Import/Export",
     {"Fermer", "jusqu'au", "au:", "depuis", "Copier", "Déplacer", "Système de contruction",
      "nom:", "Effacer", "Tous", "Comparer", "Source:", "Destination:", "nom", "date",
      "Tri par:", "Actualiser", "Filtre", "Sélectionner:", "VORNIX - Im-/Export V1.10",
      "Date de la dernière modification ..."},
     ENGLISH_MESSAGES},
    {"Polish", "pl_PL.UTF-8", POLISH, 1250, DIALOG_WIDTH, "VORNIX - Import/Eksport tabeli miar",
     {"Zamknij", "do:", "w:", "od:", "Kopiuj", "Przesuń", "System konstrukcyjny", "Nazwa:",
      "Usuń", "Wszystko", "Porównaj", "Zródło:", "Cel:", "Nazwa", "Data",
      "Sortowanie według:", "Nowy widok", "Filtr widoku", "Zaznacz:",
      "VORNIX - import / export V1.10", "Ostatnia zmiana ..."},
     POLISH_MESSAGES},
    {"Russian", "ru_RU.UTF-8", RUSSIAN, 1251, DIALOG_WIDTH, "VORNIX - Импорт/Экспорт Таблиц мерок",
     {"Закрыть", "до:", "на:", "с:", "Копировать", "Двигать", "Система конструирования", "имя:",
      "Удалить", "Все", "Сравнить", "Источник:", "Цель:", "имя", "дата", "Сортировать:",
      "Сброс", "Фильтр", "Выбрать:", "Импорт /Экспорт V1.10", "по дате..."},
     RUSSIAN_MESSAGES},
};

const Language &LanguageById(WORD id)
{
    for (const Language &language : LANGUAGES) {
        if (language.id == id) {
            return language;
        }
    }
    ADD_FAILURE() << "no language " << id;
    return LANGUAGES[0];
}

// The visible text of a language at a template place (one of TEXT_PLACES).
const char *Visible(const Language &language, int place)
{
    for (int i = 0; i < TEXT_PLACE_COUNT; ++i) {
        if (TEXT_PLACES[i] == place) {
            return language.visible[i];
        }
    }
    ADD_FAILURE() << "no text at place " << place;
    return "";
}

// UTF-8 to a Windows code page through iconv; fails the test when a character has no
// form there.
std::string ToCodePage(const std::string &utf8, int codePage)
{
    std::string name = "CP" + std::to_string(codePage);
    iconv_t converter = iconv_open(name.c_str(), "UTF-8");
    if (converter == (iconv_t)-1) {
        ADD_FAILURE() << "iconv cannot convert to " << name;
        return std::string();
    }
    std::string in = utf8;
    std::string out(in.size() + 1, '\0');  // single-byte code page: never longer
    char *inPointer = &in[0];
    size_t inLeft = in.size();
    char *outPointer = &out[0];
    size_t outLeft = out.size();
    size_t done = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    if (done == (size_t)-1 || inLeft != 0) {
        ADD_FAILURE() << "\"" << utf8 << "\" has no form in " << name;
        return std::string();
    }
    out.resize(out.size() - outLeft);
    return out;
}

// A class name as the resource spells it (windres writes them in capitals).
bool IsClass(const Lin32ControlTemplate &control, const char *name)
{
    return strcasecmp(control.className.c_str(), name) == 0;
}

// UTF-16 to UTF-8 through iconv.
std::string Utf8(const std::u16string &wide)
{
    iconv_t converter = iconv_open("UTF-8", "UTF-16LE");
    if (converter == (iconv_t)-1) {
        ADD_FAILURE() << "iconv cannot convert from UTF-16LE";
        return std::string();
    }
    std::string in;
    for (char16_t unit : wide) {
        in += (char)(unit & 0xFF);
        in += (char)(unit >> 8);
    }
    std::string out(in.size() * 2 + 1, '\0');  // three bytes at most for two
    char *inPointer = &in[0];
    size_t inLeft = in.size();
    char *outPointer = &out[0];
    size_t outLeft = out.size();
    size_t done = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
    iconv_close(converter);
    EXPECT_NE(done, (size_t)-1);
    out.resize(out.size() - outLeft);
    return out;
}

// What one open dialog showed, read through the model while it was open.
struct Seen {
    WORD language = 0;
    int codePage = 0;
    std::string caption;
    std::vector<int> ids;
    std::vector<std::string> classes;
    std::vector<DWORD> styles;
    std::vector<std::string> texts;  // WM_GETTEXT of every control, template order
    std::vector<std::string> messages;  // GetDlgItemTextA of 1029..1046
};

std::string WindowText(HWND window)
{
    char buffer[TEXT_BUFFER_SIZE];
    memset(buffer, 'x', sizeof buffer);
    LRESULT length = SendMessageA(window, WM_GETTEXT, sizeof buffer, (LPARAM)buffer);
    EXPECT_GE(length, 0);
    EXPECT_LT(length, (LRESULT)sizeof buffer);
    return std::string(buffer, length >= 0 && length < (LRESULT)sizeof buffer ? length : 0);
}

void ReadDialog(void *context, HWND dialog)
{
    Seen &seen = *static_cast<Seen *>(context);
    seen.codePage = Lin32GetCodePage();
    seen.caption = WindowText(dialog);
    for (int i = 0; i < Lin32ControlCount(dialog); ++i) {
        HWND control = Lin32ControlAt(dialog, i);
        seen.ids.push_back(Lin32GetControlId(control));
        seen.classes.push_back(Lin32GetClassName(control));
        seen.styles.push_back(Lin32GetWindowStyle(control));
        seen.texts.push_back(WindowText(control));
    }
    for (int id = IDM_SAME_DRIVE; id <= IDM_DELETE_FAILED; ++id) {
        char buffer[TEXT_BUFFER_SIZE];
        UINT length = GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
        seen.messages.push_back(std::string(buffer, length < sizeof buffer ? length : 0));
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

// Opens dialog 101 in the model with a procedure that does nothing and reads it.
Seen OpenDialog()
{
    Seen seen;
    Lin32SetDialogUser(ReadDialog, &seen);
    DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PlainDialogProc, 0);
    Lin32SetDialogUser(nullptr, nullptr);
    seen.language = Lin32GetDialogLanguage();
    return seen;
}

// Each test sets the locale it needs; afterwards the old one comes back.
class LanguageTest : public ::testing::Test {
protected:
    // The locale of the language's users, and the program's choice from it, as at start.
    void UseLanguage(const Language &language)
    {
        locale_.Set(language.locale);
        SelectDialogLanguage();
    }

    LocaleScope locale_;
};

// ---- texts ---------------------------------------------------------------------------

TEST_F(LanguageTest, EveryTextArrivesInTheCodePageOfItsLanguage)
{
    for (const Language &language : LANGUAGES) {
        SCOPED_TRACE(language.name);
        UseLanguage(language);
        Seen seen = OpenDialog();
        EXPECT_EQ(seen.language, language.id);
        EXPECT_EQ(seen.codePage, language.codePage);
        EXPECT_EQ(seen.caption, ToCodePage(language.caption, language.codePage));

        ASSERT_EQ(seen.texts.size(), (size_t)CONTROL_COUNT);
        std::vector<std::string> expected(CONTROL_COUNT);  // no text unless listed
        for (int i = 0; i < TEXT_PLACE_COUNT; ++i) {
            expected[TEXT_PLACES[i]] = ToCodePage(language.visible[i], language.codePage);
        }
        for (int i = 0; i < MESSAGE_COUNT; ++i) {
            expected[FIRST_MESSAGE_INDEX + i] =
                ToCodePage(language.messages[i], language.codePage);
        }
        for (int i = 0; i < CONTROL_COUNT; ++i) {
            EXPECT_EQ(seen.texts[i], expected[i]) << "control " << i << " (id " << seen.ids[i]
                                                  << ")";
        }

        // The message controls as the program reads them: by id, with GetDlgItemTextA.
        ASSERT_EQ(seen.messages.size(), (size_t)MESSAGE_COUNT);
        for (int i = 0; i < MESSAGE_COUNT; ++i) {
            EXPECT_EQ(seen.messages[i], ToCodePage(language.messages[i], language.codePage))
                << "message control " << IDM_SAME_DRIVE + i;
        }
    }
}

TEST_F(LanguageTest, NationalLettersHaveTheBytesOfTheirCodePage)
{
    // A few letters spelt out as bytes, so that a wrong code page cannot pass unseen.
    struct Case {
        WORD language;
        int id;
        const char *bytes;
    } cases[] = {
        {GERMAN, IDCANCEL, "Schlie\xDF" "en"},
        {GERMAN, IDM_ASK_COPY, "#### ausgew\xE4hlte Datei(en) wirklich kopieren?"},
        {FINNISH, IDC_MOVE, "Siirr\xE4"},
        {FRENCH, IDC_MOVE, "D\xE9placer"},
        {POLISH, IDM_INI_ERROR, "B\xB3\xB9" "d odczytu VORNIX.INI."},
        {POLISH, IDC_DELETE, "Usu\xF1"},
        {RUSSIAN, IDM_CAPTION_DISK, "VORNIX - \xC4\xE8\xF1\xEA"},
        {RUSSIAN, IDC_ALL, "\xC2\xF1\xE5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(LanguageById(c.language).name);
        UseLanguage(LanguageById(c.language));
        Seen seen = OpenDialog();
        std::string text;
        for (size_t i = 0; i < seen.ids.size(); ++i) {
            if (seen.ids[i] == c.id) {
                text = seen.texts[i];
            }
        }
        EXPECT_EQ(text, c.bytes) << "control " << c.id;
    }
}

TEST_F(LanguageTest, EveryLanguageHasThePlaceholders)
{
    for (const Language &language : LANGUAGES) {
        SCOPED_TRACE(language.name);
        UseLanguage(language);
        Seen seen = OpenDialog();
        ASSERT_EQ(seen.messages.size(), (size_t)MESSAGE_COUNT);
        for (int id : {IDM_ASK_DELETE, IDM_ASK_MOVE, IDM_ASK_COPY}) {
            EXPECT_NE(seen.messages[id - IDM_SAME_DRIVE].find("####"), std::string::npos)
                << "message control " << id;
        }
        EXPECT_NE(seen.messages[IDM_ASK_CREATE_DIRS - IDM_SAME_DRIVE].find("#:"),
                  std::string::npos);
    }
}

// ---- the same dialog in every language ----------------------------------------------

TEST_F(LanguageTest, EveryLanguageHasTheSameControls)
{
    UseLanguage(LanguageById(ENGLISH_UK));
    Seen english = OpenDialog();
    ASSERT_EQ(english.ids.size(), (size_t)CONTROL_COUNT);
    for (const Language &language : LANGUAGES) {
        SCOPED_TRACE(language.name);
        UseLanguage(language);
        Seen seen = OpenDialog();
        EXPECT_EQ(seen.language, language.id);
        EXPECT_EQ(seen.ids, english.ids);
        EXPECT_EQ(seen.classes, english.classes);
        EXPECT_EQ(seen.styles, english.styles);
    }
}

// The templates as the compiled resource holds them: one dialog 101 per language, all
// with the dialog's style and font, every control inside the dialog, and the visible
// controls clear of each other apart from the frames that hold them.
TEST_F(LanguageTest, TheResourceHoldsOneWellFormedTemplatePerLanguage)
{
    Lin32Resource resource;
    std::string error;
    ASSERT_TRUE(Lin32ReadResource(g_lin32Resource, g_lin32ResourceSize, resource, error))
        << error;

    const Lin32DialogTemplate *english = nullptr;
    for (const Lin32DialogTemplate &dialog : resource.dialogs) {
        if (dialog.id == IDD_MAIN && dialog.language == ENGLISH_UK) {
            english = &dialog;
        }
    }
    ASSERT_NE(english, nullptr);

    for (const Language &language : LANGUAGES) {
        SCOPED_TRACE(language.name);
        const Lin32DialogTemplate *dialog = nullptr;
        int found = 0;
        for (const Lin32DialogTemplate &candidate : resource.dialogs) {
            if (candidate.id == IDD_MAIN && candidate.language == language.id) {
                dialog = &candidate;
                ++found;
            }
        }
        ASSERT_EQ(found, 1);
        EXPECT_EQ(Utf8(dialog->caption), language.caption);
        EXPECT_EQ(dialog->style, english->style);
        EXPECT_EQ(dialog->fontSize, english->fontSize);
        EXPECT_EQ(dialog->fontFace, english->fontFace);
        EXPECT_EQ(dialog->width, language.width);
        EXPECT_EQ(dialog->height, DIALOG_HEIGHT);
        ASSERT_EQ(dialog->controls.size(), (size_t)CONTROL_COUNT);

        for (int i = 0; i < CONTROL_COUNT; ++i) {
            const Lin32ControlTemplate &control = dialog->controls[i];
            SCOPED_TRACE("control " + std::to_string(i));
            EXPECT_EQ(control.id, english->controls[i].id);
            EXPECT_EQ(control.className, english->controls[i].className);
            EXPECT_EQ(control.style, english->controls[i].style);
            EXPECT_EQ(control.iconId, english->controls[i].iconId);
            EXPECT_GE(control.x, 0);
            EXPECT_GE(control.y, 0);
            EXPECT_LE(control.x + control.width, dialog->width);
            int height = IsClass(control, "ComboBox") ? CLOSED_COMBO_HEIGHT : control.height;
            EXPECT_LE(control.y + height, dialog->height);
        }

        // Visible controls do not overlap, except the group boxes (frames) and the combos
        // (whose height is that of the open drop-down list).
        auto frameOrCombo = [](const Lin32ControlTemplate &control) {
            return IsClass(control, "ComboBox") ||
                   (IsClass(control, "Button") && (control.style & 0xF) == BS_GROUPBOX);
        };
        for (int i = 0; i < FIRST_MESSAGE_INDEX; ++i) {
            const Lin32ControlTemplate &a = dialog->controls[i];
            for (int j = i + 1; j < FIRST_MESSAGE_INDEX; ++j) {
                const Lin32ControlTemplate &b = dialog->controls[j];
                if (frameOrCombo(a) || frameOrCombo(b)) {
                    continue;
                }
                bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                             a.y + a.height <= b.y || b.y + b.height <= a.y;
                EXPECT_TRUE(apart) << "controls " << i << " and " << j << " overlap";
            }
        }
    }
}

// ---- the language from the locale ------------------------------------------------------

// The program's SelectDialogLanguage as the entry point calls it: the dialog of the base
// language, English for a language without one. The code page follows LC_CTYPE (or
// LANG), not the dialog.
TEST_F(LanguageTest, TheLocalePicksTheDialogByItsBaseLanguage)
{
    struct Case {
        const char *all;
        const char *messages;
        const char *lang;
        WORD expected;
        int codePage;
    } cases[] = {
        {nullptr, nullptr, "de_DE.UTF-8", GERMAN, 1252},
        {nullptr, nullptr, "de_AT.UTF-8", GERMAN, 1252},
        {nullptr, nullptr, "de_CH.UTF-8", GERMAN, 1252},
        {nullptr, nullptr, "fi_FI.UTF-8", FINNISH, 1252},
        {nullptr, nullptr, "fr_FR.UTF-8", FRENCH, 1252},
        {nullptr, nullptr, "fr_CA.UTF-8", FRENCH, 1252},
        {nullptr, nullptr, "fr_BE", FRENCH, 1252},
        {nullptr, nullptr, "pl_PL.UTF-8", POLISH, 1250},
        {nullptr, nullptr, "ru_RU.UTF-8", RUSSIAN, 1251},
        {nullptr, nullptr, "en_GB.UTF-8", ENGLISH_UK, 1252},
        {nullptr, nullptr, "en_US.UTF-8", ENGLISH_UK, 1252},
        // No dialog in the language: English.
        {nullptr, nullptr, "es_ES.UTF-8", ENGLISH_UK, 1252},
        {nullptr, nullptr, "C", ENGLISH_UK, 1252},
        {nullptr, nullptr, nullptr, ENGLISH_UK, 1252},
        // LC_ALL before LC_MESSAGES before LANG; an empty one does not count.
        {"ru_RU.UTF-8", "pl_PL.UTF-8", "de_DE.UTF-8", RUSSIAN, 1251},
        {nullptr, "pl_PL.UTF-8", "de_DE.UTF-8", POLISH, 1252},
        {"", "", "fi_FI.UTF-8", FINNISH, 1252},
        {"es_ES.UTF-8", nullptr, "de_DE.UTF-8", ENGLISH_UK, 1252},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string("LC_ALL=") + (c.all ? c.all : "(unset)") + " LC_MESSAGES=" +
                     (c.messages ? c.messages : "(unset)") + " LANG=" +
                     (c.lang ? c.lang : "(unset)"));
        locale_.Set(c.lang, c.messages, c.all);
        SelectDialogLanguage();
        Seen seen = OpenDialog();
        const Language &language = LanguageById(c.expected);
        EXPECT_EQ(seen.language, c.expected);
        EXPECT_EQ(seen.codePage, c.codePage);
        EXPECT_EQ(seen.caption, ToCodePage(language.caption, c.codePage));
        ASSERT_EQ(seen.messages.size(), (size_t)MESSAGE_COUNT);
        EXPECT_EQ(seen.messages[IDM_CAPTION_ATTENTION - IDM_SAME_DRIVE],
                  ToCodePage(language.messages[IDM_CAPTION_ATTENTION - IDM_SAME_DRIVE],
                             c.codePage));
    }
}

// ---- whole scenarios in a language ----------------------------------------------------

// What the transfer scenarios expect in one language: the copy question with the count
// over its placeholder, as UTF-8.
struct ScenarioCase {
    WORD language;
    const char *copyButton;
    const char *copyQuestion;  // three charts selected
};

class LanguageScenario : public scenario::Drives {
protected:
    void SetUp() override
    {
        scenario::Drives::SetUp();
        // Both drive combos start on C:.
        WriteIni("[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n");
        MakeSystem('C', "DOB", "Ladies");
        MakeSystem('D', "DOB", "Ladies");
        for (const char *name : {"A1", "A2", "A3", "A4"}) {
            MakeChart('C', "DOB", std::string(name) + ".mas", {2004, 3, 7, 10, 15});
        }
    }

    // Runs the program for a user of a language with destination drive `destination`
    // (combo index).
    void Run(WORD language, int destination, const std::function<void(HWND)> &user)
    {
        locale_.Set(LanguageById(language).locale);
        EXPECT_TRUE(SetCurrentDirectoryA("C:\\"));
        bool opened = false;
        driver::RunProgram("", [&](HWND dialog) {
            opened = true;
            driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, destination);
            user(dialog);
        });
        EXPECT_TRUE(opened);
    }

    // A box as scenario::Describe shows it, from UTF-8 texts of a language.
    static std::string Box(const Language &language, int captionId, const std::string &text,
                           UINT buttons, UINT icon)
    {
        const char *caption = language.messages[captionId - IDM_SAME_DRIVE];
        return scenario::Box(ToCodePage(caption, language.codePage),
                             ToCodePage(text, language.codePage), buttons, icon);
    }
};

// The program starts as its entry point does, SelectDialogLanguage first: users of a
// regional variant get their base language, those of a language without a dialog
// English, where the loader alone would give German.
TEST_F(LanguageScenario, TheProgramStartsInTheDialogItChooses)
{
    const struct {
        const char *locale;
        WORD language;
    } cases[] = {{"es_ES.UTF-8", ENGLISH_UK}, {"en_US.UTF-8", ENGLISH_UK},
                 {"fr_CA.UTF-8", FRENCH}, {"de_AT.UTF-8", GERMAN}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.locale);
        const Language &language = LanguageById(c.language);
        locale_.Set(c.locale);
        std::string copy;
        driver::RunProgram("", [&](HWND dialog) { copy = driver::ItemText(dialog, IDC_COPY); });
        EXPECT_EQ(copy, ToCodePage(Visible(language, COPY), language.codePage));
        EXPECT_EQ(Lin32GetDialogLanguage(), c.language);
    }
}

const ScenarioCase SCENARIOS[] = {
    {GERMAN, "Kopieren", "   3 ausgewählte Datei(en) wirklich kopieren?"},
    {RUSSIAN, "Копировать", "   3 выбранные файлы копировать?"},
    // The placeholder in the middle of the text.
    {POLISH, "Kopiuj", "Na pewno skopiować    3 wybranych plików?"},
};

TEST_F(LanguageScenario, CopyQuestionWithItsCount)
{
    for (const ScenarioCase &c : SCENARIOS) {
        const Language &language = LanguageById(c.language);
        SCOPED_TRACE(language.name);
        fs::remove_all(Folder('D') / "vornix/DOB/mas");
        MakeSystem('D', "DOB", "Ladies");
        BoxScript boxes({IDYES});
        Run(c.language, 1, [&](HWND dialog) {
            EXPECT_EQ(driver::ItemText(dialog, IDC_COPY),
                      ToCodePage(c.copyButton, language.codePage));
            for (int line : {0, 1, 2}) {
                driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, line);
            }
            driver::ClickButton(dialog, IDC_COPY);
            EXPECT_EQ(driver::ListLines(dialog, IDC_DEST_LIST).size(), 3u);
        });
        EXPECT_EQ(scenario::Describe(boxes),
                  std::vector<std::string>{Box(language, IDM_CAPTION_FILES, c.copyQuestion,
                                               MB_YESNO, MB_ICONQUESTION)});
        EXPECT_TRUE(fs::exists(Folder('D') / "vornix/DOB/mas/A3.mas"));
    }
}

TEST_F(LanguageScenario, SameDriveWarning)
{
    for (const ScenarioCase &c : SCENARIOS) {
        const Language &language = LanguageById(c.language);
        SCOPED_TRACE(language.name);
        BoxScript boxes({IDOK});
        Run(c.language, 0, [&](HWND dialog) {
            driver::ClickLine(dialog, IDC_SOURCE_LIST, 0);
            driver::ClickButton(dialog, IDC_COPY);
        });
        EXPECT_EQ(scenario::Describe(boxes),
                  std::vector<std::string>{
                      Box(language, IDM_CAPTION_ATTENTION,
                          language.messages[IDM_SAME_DRIVE - IDM_SAME_DRIVE], MB_OK,
                          MB_ICONWARNING)});
    }
}

TEST_F(LanguageScenario, FailedCopyPrompt)
{
    for (const ScenarioCase &c : SCENARIOS) {
        const Language &language = LanguageById(c.language);
        SCOPED_TRACE(language.name);
        fs::remove_all(Folder('D') / "vornix/DOB/mas");
        MakeSystem('D', "DOB", "Ladies");
        BoxScript boxes({IDYES, IDIGNORE});
        Run(c.language, 1, [&](HWND dialog) {
            for (int line : {0, 1, 2}) {
                driver::CtrlClickLine(dialog, IDC_SOURCE_LIST, line);
            }
            Lin32FailOperation(LIN32_OP_COPY, 2, ERROR_WRITE_FAULT, 1);
            driver::ClickButton(dialog, IDC_COPY);
            Lin32ClearFailures();
        });
        std::string prompt = std::string("C:\\vornix\\DOB\\mas\\A2.mas\r") +
                             language.messages[IDM_COPY_FAILED - IDM_SAME_DRIVE];
        EXPECT_EQ(scenario::Describe(boxes),
                  (std::vector<std::string>{
                      Box(language, IDM_CAPTION_FILES, c.copyQuestion, MB_YESNO,
                          MB_ICONQUESTION),
                      Box(language, IDM_CAPTION_ATTENTION, prompt, MB_ABORTRETRYIGNORE,
                          MB_ICONWARNING)}));
        EXPECT_TRUE(fs::exists(Folder('D') / "vornix/DOB/mas/A3.mas"));
        EXPECT_FALSE(fs::exists(Folder('D') / "vornix/DOB/mas/A2.mas"));
    }
}

}  // namespace

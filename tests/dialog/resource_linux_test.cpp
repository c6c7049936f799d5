// The Linux layer's reader of the compiled resource: the program's own (every control of
// dialog 101 in English, the same controls in every language, the icons), the template
// forms windres writes (DIALOG and DIALOGEX, names and numbers, creation data), and cut
// or damaged resources, which are refused with the byte named and never read outside
// the buffer.
#include "model_support.h"

#include <string.h>
#include <strings.h>

#include <algorithm>

namespace {

Lin32Resource Read(const unsigned char *data, size_t size)
{
    Lin32Resource resource;
    std::string error;
    EXPECT_TRUE(Lin32ReadResource(data, size, resource, error)) << error;
    return resource;
}

const Lin32DialogTemplate *Find(const Lin32Resource &resource, int id, WORD language)
{
    for (const Lin32DialogTemplate &dialog : resource.dialogs) {
        if (dialog.id == id && dialog.language == language) {
            return &dialog;
        }
    }
    return nullptr;
}

std::u16string Wide(const char *ascii)
{
    return std::u16string(ascii, ascii + strlen(ascii));
}

std::string Lower(std::string text)
{
    for (char &c : text) {
        c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
    return text;
}

// ---- the program's resource ------------------------------------------------------------

const DWORD CHILD = WS_CHILD | WS_VISIBLE;
const DWORD COMBO = CHILD | CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
const DWORD LIST = CHILD | LBS_NOTIFY | LBS_USETABSTOPS | LBS_NOINTEGRALHEIGHT |
                   LBS_DISABLENOSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD PUSH = CHILD | BS_PUSHBUTTON | WS_TABSTOP;
const DWORD EDIT = CHILD | ES_LEFT | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
const DWORD CHECK = CHILD | BS_AUTOCHECKBOX | WS_TABSTOP;
const DWORD RADIO = CHILD | BS_AUTORADIOBUTTON;
const DWORD LABEL = CHILD | SS_LEFT;
const DWORD GROUP = CHILD | BS_GROUPBOX;
const DWORD MESSAGE = WS_CHILD | SS_LEFT;  // hidden
const int NO_ID = 0xFFFF;                  // -1 in a DIALOG's WORD

struct ExpectedControl {
    int id;
    const char *className;
    DWORD style;
    int x, y, width, height;
    const char *text;
    int iconId;
};

// Dialog 101 in English, in template (and tab) order.
const ExpectedControl englishControls[] = {
    {1000, "ComboBox", COMBO, 7, 20, 129, 47, "", -1},
    {1001, "ListBox", LIST | LBS_EXTENDEDSEL, 7, 36, 129, 148, "", -1},
    {1002, "ComboBox", COMBO, 141, 20, 129, 47, "", -1},
    {1003, "ListBox", LIST, 141, 36, 129, 148, "", -1},
    {2, "Button", PUSH, 344, 205, 58, 14, "Close", -1},
    {1008, "Edit", EDIT, 316, 37, 40, 14, "", -1},
    {1009, "Button", CHECK, 278, 40, 27, 10, "until:", -1},
    {1010, "Edit", EDIT, 316, 53, 40, 14, "", -1},
    {1011, "Button", CHECK, 278, 56, 27, 10, "at:", -1},
    {1012, "Button", CHECK, 278, 72, 31, 10, "since:", -1},  // at 29 the colon is cut off
    {1013, "Edit", EDIT, 316, 69, 40, 14, "", -1},
    {1014, "Button", PUSH, 152, 205, 58, 14, "Copy", -1},
    {1015, "Button", PUSH, 215, 205, 58, 14, "Move", -1},
    {1016, "ComboBox", COMBO, 7, 206, 129, 59, "", -1},
    {NO_ID, "Static", LABEL, 7, 192, 129, 8, "Construction system", -1},
    {1017, "Button", CHECK, 278, 96, 38, 10, "name:", -1},
    {1018, "Edit", EDIT, 316, 95, 40, 14, "", -1},
    {1019, "Button", PUSH, 278, 205, 58, 14, "Delete", -1},
    {1020, "Button", PUSH, 344, 142, 58, 14, "All", -1},
    {1023, "Button", PUSH, 344, 164, 58, 14, "Compare", -1},
    {NO_ID, "Static", LABEL, 8, 7, 129, 8, "Source:", -1},
    {NO_ID, "Static", LABEL, 141, 7, 129, 8, "Destination:", -1},
    {1024, "Button", RADIO, 278, 138, 33, 10, "name", -1},
    {1025, "Button", RADIO, 278, 149, 41, 10, "date", -1},
    {NO_ID, "Static", LABEL, 278, 125, 49, 8, "Sort by:", -1},
    {NO_ID, "Static", CHILD | SS_ICON, 372, 33, 18, 20, "", 104},
    {1027, "Button", PUSH, 278, 164, 58, 14, "Refresh List", -1},
    {NO_ID, "Button", GROUP, 274, 116, 132, 67, "", -1},
    {NO_ID, "Button", GROUP, 274, 16, 86, 98, "Filter", -1},
    {NO_ID, "Static", LABEL, 343, 125, 34, 8, "Mark:", -1},
    {NO_ID, "Static", CHILD | SS_CENTER, 362, 59, 40, 29, "VORNIX - Im-/Export V1.10", -1},
    {NO_ID, "Static", LABEL, 278, 27, 71, 8, "Date of last change ...", -1},
    {1029, "Static", MESSAGE, 0, 0, 8, 8,
     "Source and destination drive are the same. The command cannot be executed.", -1},
    {1030, "Static", MESSAGE, 0, 0, 8, 8, "VORNIX - Attention", -1},
    {1031, "Static", MESSAGE, 0, 0, 8, 8, "VORNIX - Files ...", -1},
    {1032, "Static", MESSAGE, 0, 0, 8, 8, "#### selected files really to be deleted?", -1},
    {1033, "Static", MESSAGE, 0, 0, 8, 8, "#### selected files really to be moved?", -1},
    {1034, "Static", MESSAGE, 0, 0, 8, 8, "#### selected files really to be copied?", -1},
    {1035, "Static", MESSAGE, 0, 0, 8, 8, "VORNIX - Disk", -1},
    {1036, "Static", MESSAGE, 0, 0, 8, 8,
     "Remove write protection from VORNIX-disk and insert disk again.", -1},
    {1037, "Static", MESSAGE, 0, 0, 8, 8, "Please insert disk.", -1},
    {1038, "Static", MESSAGE, 0, 0, 8, 8,
     "The selected drive is not ready or there are errors on the disk or it is write "
     "protected.", -1},
    {1039, "Static", MESSAGE, 0, 0, 8, 8,
     "VORNIX-directory for active construction system on drive #: does not exist. Create "
     "now?", -1},
    {1040, "Static", MESSAGE, 0, 0, 8, 8, "VORNIX - Create VORNIX Directory", -1},
    {1041, "Static", MESSAGE, 0, 0, 8, 8,
     "VORNIX.INI could not be found on current drive. Standard drives A: and C: will be "
     "used.", -1},
    {1042, "Static", MESSAGE, 0, 0, 8, 8, "Error while reading VORNIX.INI !", -1},
    {1043, "Static", MESSAGE, 0, 0, 8, 8, "Directory not found !", -1},
    {1044, "Static", MESSAGE, 0, 0, 8, 8, "Construction systems not found !", -1},
    {1045, "Static", MESSAGE, 0, 0, 8, 8,
     "This file cannot be copied. Destination file is write protected or destination drive "
     "is not ready or not prepared for VORNIX.", -1},
    {1046, "Static", MESSAGE, 0, 0, 8, 8,
     "This file cannot be deleted. It is write protected or drive is not ready.", -1},
};

class ProgramResource : public ::testing::Test {
protected:
    void SetUp() override
    {
        resource = Read(g_lin32Resource, g_lin32ResourceSize);
        english = Find(resource, IDD_MAIN, ENGLISH_UK);
        ASSERT_NE(english, nullptr) << "no English dialog 101";
    }

    Lin32Resource resource;
    const Lin32DialogTemplate *english = nullptr;
};

TEST_F(ProgramResource, EnglishDialogHasItsStyleCaptionFontAndSize)
{
    EXPECT_FALSE(english->extended);
    EXPECT_EQ(english->style, (DWORD)(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION |
                                      WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT));
    EXPECT_EQ(english->caption, Wide("VORNIX - Import/Export Measurement Charts"));
    EXPECT_EQ(english->fontSize, 8);
    EXPECT_EQ(english->fontFace, Wide("MS Sans Serif"));
    EXPECT_EQ(english->width, 413);
    EXPECT_EQ(english->height, 226);
}

TEST_F(ProgramResource, EnglishDialogHasEveryControlInTemplateOrder)
{
    const size_t expectedCount = sizeof englishControls / sizeof englishControls[0];
    ASSERT_EQ(expectedCount, 50u);
    ASSERT_EQ(english->controls.size(), expectedCount);
    for (size_t i = 0; i < expectedCount; ++i) {
        const ExpectedControl &want = englishControls[i];
        const Lin32ControlTemplate &got = english->controls[i];
        SCOPED_TRACE("control " + std::to_string(i) + " (id " + std::to_string(want.id) + ")");
        EXPECT_EQ(got.id, want.id);
        EXPECT_EQ(Lower(got.className), Lower(want.className));
        EXPECT_EQ(got.style, want.style) << std::hex << got.style << " vs " << want.style;
        EXPECT_EQ(got.exStyle, 0u);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_EQ(got.text, Wide(want.text));
        EXPECT_EQ(got.iconId, want.iconId);
    }
}

// Both icons with their images, and the dialogs' icon controls name one of them.
TEST_F(ProgramResource, HasBothIconsAndTheDialogsNameThem)
{
    EXPECT_EQ(resource.iconIds, (std::vector<int>{IDI_MAIN, IDI_SECOND}));
    for (const Lin32DialogTemplate &dialog : resource.dialogs) {
        for (const Lin32ControlTemplate &control : dialog.controls) {
            if (control.iconId >= 0) {
                EXPECT_NE(std::find(resource.iconIds.begin(), resource.iconIds.end(),
                                    control.iconId),
                          resource.iconIds.end())
                    << "dialog language " << dialog.language << " names icon " << control.iconId;
            }
        }
    }
}

// Dialog 101 in six languages, ordered by language id: the first, which the loader takes
// when it has no dialog in the language it looks for, is German.
TEST_F(ProgramResource, EveryLanguageInLanguageOrderWithTheSameControls)
{
    std::vector<WORD> languages;
    for (const Lin32DialogTemplate &dialog : resource.dialogs) {
        SCOPED_TRACE("language " + std::to_string(dialog.language));
        languages.push_back(dialog.language);
        EXPECT_EQ(dialog.id, IDD_MAIN);
        ASSERT_EQ(dialog.controls.size(), english->controls.size());
        for (size_t i = 0; i < dialog.controls.size(); ++i) {
            SCOPED_TRACE("control " + std::to_string(i));
            EXPECT_EQ(dialog.controls[i].id, english->controls[i].id);
            EXPECT_EQ(dialog.controls[i].className, english->controls[i].className);
            EXPECT_EQ(dialog.controls[i].style, english->controls[i].style);
        }
    }
    EXPECT_EQ(languages,
              (std::vector<WORD>{GERMAN, FINNISH, FRENCH, POLISH, RUSSIAN, ENGLISH_UK}));
}

// ---- the template forms ------------------------------------------------------------------

TEST(ResourceForms, DialogExWithEveryField)
{
    Lin32Resource resource = Read(g_modelDialogs, g_modelDialogsSize);
    const Lin32DialogTemplate *dialog = Find(resource, DLG_EXTENDED, POLISH);
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->extended);
    EXPECT_EQ(dialog->style, (DWORD)(WS_POPUP | WS_SYSMENU | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(dialog->exStyle, 0x8u);
    EXPECT_EQ(dialog->caption, u"Zażółć");
    EXPECT_EQ(dialog->fontSize, 9);
    EXPECT_EQ(dialog->fontFace, u"MS Shell Dlg");
    EXPECT_EQ(dialog->x, 1);
    EXPECT_EQ(dialog->y, 2);
    EXPECT_EQ(dialog->width, 30);
    EXPECT_EQ(dialog->height, 40);
    const struct {
        const char *className;
        int id;
        DWORD style, exStyle;
        int x;
        const char16_t *text;
        int iconId;
    } controls[] = {
        {"button", 70000, CHILD | BS_PUSHBUTTON, 0x200, 1, u"a", -1},  // a DWORD id
        {"static", 8, CHILD | SS_ICON, 0, -5, u"", IDI_MAIN},
        {"spinner", 9, CHILD, 0, 1, u"odd", -1},  // with creation data
        {"edit", -1, CHILD | ES_LEFT, 0, 1, u"", -1},
    };
    ASSERT_EQ(dialog->controls.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const Lin32ControlTemplate &got = dialog->controls[i];
        EXPECT_EQ(Lower(got.className), controls[i].className);
        EXPECT_EQ(got.id, controls[i].id);
        EXPECT_EQ(got.style, controls[i].style) << std::hex << got.style;
        EXPECT_EQ(got.exStyle, controls[i].exStyle);
        EXPECT_EQ(got.x, controls[i].x);
        EXPECT_EQ(got.text, controls[i].text);
        EXPECT_EQ(got.iconId, controls[i].iconId);
    }
}

TEST(ResourceForms, DialogWithDefaultsShortStatementsAndNamedDialogs)
{
    Lin32Resource resource = Read(g_modelDialogs, g_modelDialogsSize);
    const Lin32DialogTemplate *dialog = Find(resource, DLG_PLAIN, ENGLISH_UK);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->extended);
    EXPECT_EQ(dialog->style, (DWORD)(WS_POPUP | WS_BORDER | WS_SYSMENU));
    EXPECT_EQ(dialog->fontSize, 0);
    EXPECT_TRUE(dialog->caption.empty());
    ASSERT_EQ(dialog->controls.size(), 3u);
    EXPECT_EQ(dialog->controls[0].style, (DWORD)(WS_CHILD | SS_LEFT));
    EXPECT_EQ(dialog->controls[0].exStyle, 0x20u);
    EXPECT_EQ(dialog->controls[0].id, NO_ID);
    EXPECT_EQ(dialog->controls[1].className, "Static");  // by its number
    EXPECT_EQ(dialog->controls[1].text, u"l");
    EXPECT_EQ(dialog->controls[2].className, "Static");
    EXPECT_EQ(dialog->controls[2].iconId, IDI_SECOND);
    // Dialog 301 in five languages; the dialog with a name is not among those by number.
    int languages = 0;
    for (const Lin32DialogTemplate &each : resource.dialogs) {
        languages += each.id == DLG_LANGUAGES;
        EXPECT_GT(each.id, 0);
    }
    EXPECT_EQ(languages, 5);
    EXPECT_TRUE(resource.iconIds.empty());
}

// ---- hand-made resources -----------------------------------------------------------------

void Put16(std::string &out, unsigned value)
{
    out += (char)(value & 0xFF);
    out += (char)((value >> 8) & 0xFF);
}

void Put32(std::string &out, unsigned long value)
{
    Put16(out, (unsigned)(value & 0xFFFF));
    Put16(out, (unsigned)((value >> 16) & 0xFFFF));
}

void Pad(std::string &out)
{
    while (out.size() % 4 != 0) {
        out += '\0';
    }
}

void PutText(std::string &out, const char *ascii)
{
    for (const char *p = ascii; *p != '\0'; ++p) {
        Put16(out, (unsigned char)*p);
    }
    Put16(out, 0);
}

// An entry with a numbered type and name, padded as windres pads it (the empty first
// entry is Entry(0, 0, 0, "")).
std::string Entry(int type, int id, WORD language, const std::string &data, bool pad = true)
{
    std::string out;
    Put32(out, data.size());
    Put32(out, 32);
    Put16(out, 0xFFFF);
    Put16(out, (unsigned)type);
    Put16(out, 0xFFFF);
    Put16(out, (unsigned)id);
    Put32(out, 0);                        // data version
    Put16(out, type == 0 ? 0 : 0x1030);   // memory flags
    Put16(out, language);
    Put32(out, 0);                        // version
    Put32(out, 0);                        // characteristics
    out += data;
    if (pad) {
        Pad(out);
    }
    return out;
}

const std::string kEmpty = Entry(0, 0, 0, "");

// A DLGTEMPLATE of count items with the caption "T"; items from Item().
std::string Dialog(int count, const std::string &items)
{
    std::string out;
    Put32(out, WS_POPUP);
    Put32(out, 0);
    Put16(out, (unsigned)count);
    for (int i = 0; i < 4; ++i) {
        Put16(out, 10);
    }
    Put16(out, 0);  // no menu
    Put16(out, 0);  // the dialog class
    PutText(out, "T");
    return out + items;
}

// A DLGITEMTEMPLATE after `before` bytes of the template, with its padding.
std::string Item(size_t before, int classNumber, const char *text)
{
    std::string out(before % 4 == 0 ? 0 : 4 - before % 4, '\0');
    Put32(out, WS_CHILD);
    Put32(out, 0);
    for (int i = 0; i < 4; ++i) {
        Put16(out, 1);
    }
    Put16(out, 5);  // id
    Put16(out, 0xFFFF);
    Put16(out, (unsigned)classNumber);
    PutText(out, text);
    Put16(out, 0);  // no creation data
    return out;
}

// Its size is not a multiple of four, so that an entry of it has padding.
std::string OneItemDialog(int classNumber)
{
    std::string head = Dialog(1, "");
    return head + Item(head.size(), classNumber, "xy");
}

// A GRPICONDIR of the given image ids.
std::string GroupIcon(std::initializer_list<int> images, int count)
{
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, (unsigned)count);
    for (int image : images) {
        out += std::string(12, '\x01');
        Put16(out, (unsigned)image);
    }
    return out;
}

bool ReadText(const std::string &bytes, Lin32Resource &resource, std::string &error)
{
    // An allocation of exactly the resource's size: a read past its end is a read
    // outside the buffer, which the sanitizer build reports.
    std::vector<unsigned char> exact(bytes.begin(), bytes.end());
    return Lin32ReadResource(exact.data(), exact.size(), resource, error);
}

TEST(HandMadeResource, ClassesByNumberIconsAndTheLastEntryUnpadded)
{
    const struct {
        int number;
        const char *name;
    } classes[] = {{0x80, "Button"}, {0x81, "Edit"},      {0x82, "Static"},
                   {0x83, "ListBox"}, {0x84, "ScrollBar"}, {0x85, "ComboBox"}, {0x86, "#134"}};
    for (const auto &c : classes) {
        SCOPED_TRACE(c.name);
        Lin32Resource resource;
        std::string error;
        ASSERT_TRUE(ReadText(kEmpty + Entry(5, 7, ENGLISH_UK, OneItemDialog(c.number), false),
                             resource, error))
            << error;
        ASSERT_EQ(resource.dialogs.size(), 1u);
        ASSERT_EQ(resource.dialogs[0].controls.size(), 1u);
        EXPECT_EQ(resource.dialogs[0].controls[0].className, c.name);
        EXPECT_EQ(resource.dialogs[0].caption, u"T");
    }
    // A group icon counts when all its images are there, in any order.
    Lin32Resource resource;
    std::string error;
    ASSERT_TRUE(ReadText(kEmpty + Entry(14, 104, 0, GroupIcon({1, 2}, 2)) +
                             Entry(14, 109, 0, GroupIcon({3}, 1)) + Entry(3, 2, 0, "img") +
                             Entry(3, 1, 0, "img"),
                         resource, error))
        << error;
    EXPECT_EQ(resource.iconIds, std::vector<int>{104});
}

TEST(HandMadeResource, MalformedResourcesAreRefusedWithTheirPlace)
{
    std::string dialog = OneItemDialog(0x80);
    std::string twoCounted = dialog;
    twoCounted[8] = 2;  // cdit: two items, one there
    std::string longHeader = kEmpty;
    Put32(longHeader, 0);
    Put32(longHeader, 20);  // header: sizes, type, then a name without its NUL
    Put16(longHeader, 0xFFFF);
    Put16(longHeader, 5);
    Put16(longHeader, 'A');
    Put16(longHeader, 'B');
    Put16(longHeader, 'C');
    Put16(longHeader, 'D');
    std::string shortHeader = kEmpty;
    Put32(shortHeader, 0);
    Put32(shortHeader, 4);
    std::string tooLong = kEmpty + Entry(5, 7, ENGLISH_UK, dialog);
    tooLong[32] = 100;  // DataSize beyond the end
    std::string noCaptionEnd = Dialog(0, "");
    noCaptionEnd.resize(noCaptionEnd.size() - 2);  // "T" without its NUL
    const struct {
        const char *name;
        std::string bytes;
        const char *what;
    } cases[] = {
        {"nothing", "", "not a compiled resource"},
        {"the empty entry cut", kEmpty.substr(0, 31), "not a compiled resource"},
        {"another first entry", Entry(5, 7, ENGLISH_UK, dialog), "not a compiled resource"},
        {"an entry cut in its sizes", kEmpty + std::string("\x10\0\0\0\x20\0\0", 7),
         "the entry at byte 32 is cut short"},
        {"a header shorter than its sizes", shortHeader, "the entry at byte 32 is cut short"},
        {"data beyond the end", tooLong, "the entry at byte 32 is cut short"},
        {"a name without its end", longHeader, "the entry at byte 32 has a malformed header"},
        {"fewer items than counted", kEmpty + Entry(5, 7, ENGLISH_UK, twoCounted),
         "dialog 7 (language 0x0809) at byte 32 is cut short or malformed"},
        {"a caption without its end", kEmpty + Entry(5, 7, ENGLISH_UK, noCaptionEnd),
         "dialog 7 (language 0x0809) at byte 32 is cut short or malformed"},
        {"a dialog twice",
         kEmpty + Entry(5, 7, ENGLISH_UK, dialog) + Entry(5, 7, ENGLISH_UK, dialog),
         "dialog 7 (language 0x0809) at byte 124 is there twice"},
        {"a group icon cut", kEmpty + Entry(14, 104, 0, GroupIcon({1}, 2)),
         "group icon 104 (language 0x0000) at byte 32 is cut short"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Lin32Resource resource;
        std::string error;
        EXPECT_FALSE(ReadText(c.bytes, resource, error));
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
    }
    // The same dialog in two languages is two dialogs.
    Lin32Resource resource;
    std::string error;
    EXPECT_TRUE(ReadText(kEmpty + Entry(5, 7, ENGLISH_UK, dialog) + Entry(5, 7, GERMAN, dialog),
                         resource, error))
        << error;
    EXPECT_EQ(resource.dialogs.size(), 2u);
}

// Cuts and damaged bytes: every one in the tests' resource (both template forms), a
// sample of the program's. Each read ends with a result, a refusal says why, and the
// sanitizer build checks that no byte outside the buffer is read.
TEST(HandMadeResource, CutAndDamagedResourcesNeverReadOutside)
{
    const std::string resources[] = {
        std::string((const char *)g_modelDialogs, g_modelDialogsSize),
        std::string((const char *)g_lin32Resource, g_lin32ResourceSize)};
    const char damage[] = {'\0', '\x80', '\xFF'};
    for (const std::string &whole : resources) {
        size_t step = &whole == &resources[0] ? 1 : 173;
        Lin32Resource complete;
        std::string error;
        ASSERT_TRUE(ReadText(whole, complete, error)) << error;
        int refused = 0;
        for (size_t length = 0; length < whole.size(); length += step) {
            Lin32Resource resource;
            if (!ReadText(whole.substr(0, length), resource, error)) {
                ++refused;
                EXPECT_FALSE(error.empty()) << "cut at " << length;
            } else {
                // Only at the end of an entry, and then the dialogs before it.
                ASSERT_LE(resource.dialogs.size(), complete.dialogs.size()) << "cut at " << length;
                for (size_t i = 0; i < resource.dialogs.size(); ++i) {
                    EXPECT_EQ(resource.dialogs[i].controls.size(),
                              complete.dialogs[i].controls.size());
                }
            }
        }
        EXPECT_GT(refused, 0);
        for (size_t position = 0; position < whole.size(); position += step) {
            for (char byte : damage) {
                std::string bytes = whole;
                bytes[position] = byte;
                Lin32Resource resource;
                if (!ReadText(bytes, resource, error)) {
                    EXPECT_FALSE(error.empty()) << "byte " << (int)byte << " at " << position;
                }
            }
        }
    }
}

// DialogBoxParamA reads its own copy of an injected resource.
TEST_F(ModelTest, AnInjectedResourceIsCopied)
{
    UseDialog(DLG_PLAIN);
    {
        std::vector<unsigned char> bytes(g_modelDialogs, g_modelDialogs + g_modelDialogsSize);
        Lin32UseResource(bytes.data(), bytes.size());
        std::fill(bytes.begin(), bytes.end(), 0);
    }
    int controls = -1;
    EXPECT_EQ(Run([&](HWND dialog) {
                  controls = Lin32ControlCount(dialog);
                  EndDialog(dialog, 3);
              }),
              3);
    EXPECT_EQ(controls, 3);
}

}  // namespace

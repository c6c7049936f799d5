// The resource-script parser of the Linux layer: the real chartxfer.rc with every control
// of dialog 101, the statements and expressions our scripts use, and malformed scripts,
// which must fail with their place named and never read outside the buffer.
#include "Kopf01/winapi.h"
#include "lin32_dialog.h"
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <functional>
#include <string.h>
#include <string>
#include <vector>

namespace {

const WORD ENGLISH_UK = 2057;

bool ParseText(const std::string &text, Lin32ResourceScript &script, std::string &error,
               Lin32ScriptLookup lookup = Lin32BuiltInScriptFile)
{
    // An allocation of exactly the text's size, with no NUL after it: a read past the
    // end is a read outside the buffer, which the sanitizer build reports.
    std::vector<char> exact(text.begin(), text.end());
    return Lin32ParseResourceScript("test.rc", exact.data(), exact.size(), lookup, script, error);
}

std::string BuiltIn(const char *path)
{
    const char *text = nullptr;
    size_t size = 0;
    if (!Lin32BuiltInScriptFile(path, &text, &size)) {
        ADD_FAILURE() << "no built-in " << path;
        return std::string();
    }
    return std::string(text, size);
}

std::string Lower(std::string text)
{
    for (char &c : text) {
        c = (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
    }
    return text;
}

const Lin32DialogTemplate *FindDialog(const Lin32ResourceScript &script, int id, WORD language)
{
    for (const Lin32DialogTemplate &dialog : script.dialogs) {
        if (dialog.id == id && dialog.language == language) {
            return &dialog;
        }
    }
    return nullptr;
}

// ---- the real script ------------------------------------------------------------------

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
    {-1, "Static", LABEL, 7, 192, 129, 8, "Construction system", -1},
    {1017, "Button", CHECK, 278, 96, 38, 10, "name:", -1},
    {1018, "Edit", EDIT, 316, 95, 40, 14, "", -1},
    {1019, "Button", PUSH, 278, 205, 58, 14, "Delete", -1},
    {1020, "Button", PUSH, 344, 142, 58, 14, "All", -1},
    {1023, "Button", PUSH, 344, 164, 58, 14, "Compare", -1},
    {-1, "Static", LABEL, 8, 7, 129, 8, "Source:", -1},
    {-1, "Static", LABEL, 141, 7, 129, 8, "Destination:", -1},
    {1024, "Button", RADIO, 278, 138, 33, 10, "name", -1},
    {1025, "Button", RADIO, 278, 149, 41, 10, "date", -1},
    {-1, "Static", LABEL, 278, 125, 49, 8, "Sort by:", -1},
    {-1, "Static", CHILD | SS_ICON, 372, 33, 18, 20, "", 104},
    {1027, "Button", PUSH, 278, 164, 58, 14, "Refresh List", -1},
    {-1, "Button", GROUP, 274, 116, 132, 67, "", -1},
    {-1, "Button", GROUP, 274, 16, 86, 98, "Filter", -1},
    {-1, "Static", LABEL, 343, 125, 34, 8, "Mark:", -1},
    {-1, "Static", CHILD | SS_CENTER, 362, 59, 40, 29, "VORNIX - Im-/Export V1.10", -1},
    {-1, "Static", LABEL, 278, 27, 71, 8, "Date of last change ...", -1},
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

class RealScript : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string master = BuiltIn("chartxfer.rc");
        ASSERT_TRUE(Lin32ParseResourceScript("chartxfer.rc", master.data(), master.size(),
                                             Lin32BuiltInScriptFile, script, error))
            << error;
        english = FindDialog(script, IDD_MAIN, ENGLISH_UK);
        ASSERT_NE(english, nullptr) << "no English dialog 101";
    }

    Lin32ResourceScript script;
    std::string error;
    const Lin32DialogTemplate *english = nullptr;
};

TEST_F(RealScript, EnglishDialogHasItsStyleCaptionFontAndSize)
{
    EXPECT_EQ(english->style, (DWORD)(DS_MODALFRAME | DS_CENTER | WS_POPUP | WS_CAPTION |
                                      WS_SYSMENU | WS_MINIMIZEBOX | DS_SETFONT));
    EXPECT_EQ(english->caption, "VORNIX - Import/Export Measurement Charts");
    EXPECT_EQ(english->fontSize, 8);
    EXPECT_EQ(english->fontFace, "MS Sans Serif");
    EXPECT_EQ(english->width, 413);
    EXPECT_EQ(english->height, 226);
}

TEST_F(RealScript, EnglishDialogHasEveryControlInTemplateOrder)
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
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.iconId, want.iconId);
    }
}

TEST_F(RealScript, DeclaresBothIcons)
{
    EXPECT_EQ(script.iconIds, (std::vector<int>{IDI_MAIN, IDI_SECOND}));
}

// Every language of dialog 101 has the English controls' ids, classes, styles and order.
TEST_F(RealScript, EveryLanguageHasTheSameControls)
{
    for (const Lin32DialogTemplate &dialog : script.dialogs) {
        SCOPED_TRACE("language " + std::to_string(dialog.language));
        EXPECT_EQ(dialog.id, IDD_MAIN);
        ASSERT_EQ(dialog.controls.size(), english->controls.size());
        for (size_t i = 0; i < dialog.controls.size(); ++i) {
            SCOPED_TRACE("control " + std::to_string(i));
            EXPECT_EQ(dialog.controls[i].id, english->controls[i].id);
            EXPECT_EQ(Lower(dialog.controls[i].className), Lower(english->controls[i].className));
            EXPECT_EQ(dialog.controls[i].style, english->controls[i].style);
        }
    }
}

// ---- what the parser understands --------------------------------------------------------

// A one-control dialog around a CONTROL (or ICON) line.
std::string DialogWith(const std::string &item)
{
    return "#include \"resource.h\"\n"
           "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK\n"
           "101 DIALOG 0, 0, 100, 50\n"
           "BEGIN\n    " + item + "\nEND\n";
}

struct ControlCase {
    const char *name;
    std::string item;
    const char *className;
    int id;
    DWORD style;
    const char *text;
    int iconId;
};

TEST(ScriptParser, ControlStatements)
{
    const ControlCase cases[] = {
        {"quote doubled in a string", "CONTROL \"say \"\"yes\"\"\", 5, \"Static\", SS_LEFT, 1, 2, 3, 4",
         "Static", 5, CHILD | SS_LEFT, "say \"yes\"", -1},
        {"backslash escapes", "CONTROL \"a\\tb\\\\c\\\"d\", 5, \"Static\", SS_LEFT, 1, 2, 3, 4",
         "Static", 5, CHILD | SS_LEFT, "a\tb\\c\"d", -1},
        {"NOT takes a default style away", "CONTROL \"x\", 5, \"Static\", SS_LEFT | NOT WS_VISIBLE, 1, 2, 3, 4",
         "Static", 5, WS_CHILD | SS_LEFT, "x", -1},
        {"NOT first, then more styles", "CONTROL \"x\", 5, \"Button\", NOT WS_VISIBLE | BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4",
         "Button", 5, WS_CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, "x", -1},
        {"numeric style with suffix", "CONTROL \"x\", 5, \"Button\", 0x50010000L, 1, 2, 3, 4",
         "Button", 5, 0x50010000, "x", -1},
        {"decimal style", "CONTROL \"x\", 5, \"Edit\", 2048, 1, 2, 3, 4",
         "Edit", 5, CHILD | ES_READONLY, "x", -1},
        {"parenthesised style", "CONTROL \"x\", 5, \"Edit\", (ES_READONLY | WS_BORDER), 1, 2, 3, 4",
         "Edit", 5, CHILD | ES_READONLY | WS_BORDER, "x", -1},
        {"class as a keyword", "CONTROL \"x\", IDCANCEL, BUTTON, BS_PUSHBUTTON, 1, 2, 3, 4",
         "BUTTON", IDCANCEL, CHILD | BS_PUSHBUTTON, "x", -1},
        {"id from resource.h", "CONTROL \"\", IDC_SOURCE_LIST, \"ListBox\", LBS_EXTENDEDSEL, 1, 2, 3, 4",
         "ListBox", IDC_SOURCE_LIST, CHILD | LBS_EXTENDEDSEL, "", -1},
        {"icon as CONTROL", "CONTROL IDI_MAIN, -1, \"Static\", SS_ICON, 372, 33, 18, 20",
         "Static", -1, CHILD | SS_ICON, "", IDI_MAIN},
        {"icon as ICON statement", "ICON IDI_MAIN, -1, 372, 33, 18, 20",
         "Static", -1, CHILD | SS_ICON, "", IDI_MAIN},
        {"ICON statement without size", "ICON 109, 7, 1, 2",
         "Static", 7, CHILD | SS_ICON, "", IDI_SECOND},
        {"extended style given", "CONTROL \"x\", 5, \"Static\", SS_LEFT, 1, 2, 3, 4, 0x200",
         "Static", 5, CHILD | SS_LEFT, "x", -1},
        {"comments around", "/* one */ CONTROL \"x\", 5, \"Static\", SS_LEFT, 1, 2, 3, 4 // two",
         "Static", 5, CHILD | SS_LEFT, "x", -1},
    };
    for (const ControlCase &c : cases) {
        SCOPED_TRACE(c.name);
        Lin32ResourceScript script;
        std::string error;
        ASSERT_TRUE(ParseText(DialogWith(c.item), script, error)) << error;
        ASSERT_EQ(script.dialogs.size(), 1u);
        ASSERT_EQ(script.dialogs[0].controls.size(), 1u);
        const Lin32ControlTemplate &control = script.dialogs[0].controls[0];
        EXPECT_EQ(control.className, c.className);
        EXPECT_EQ(control.id, c.id);
        EXPECT_EQ(control.style, c.style) << std::hex << control.style;
        EXPECT_EQ(control.text, c.text);
        EXPECT_EQ(control.iconId, c.iconId);
    }
}

TEST(ScriptParser, ControlPositionAndExtendedStyle)
{
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText(DialogWith("CONTROL \"x\", 5, \"Static\", 0, -3, 2 + 3, 30, 40, 0x200"),
                          script, error)) << error;
    const Lin32ControlTemplate &control = script.dialogs.at(0).controls.at(0);
    EXPECT_EQ(control.x, -3);
    EXPECT_EQ(control.y, 5);
    EXPECT_EQ(control.width, 30);
    EXPECT_EQ(control.height, 40);
    EXPECT_EQ(control.exStyle, 0x200u);
}

TEST(ScriptParser, LanguageStatements)
{
    const struct {
        const char *statement;
        WORD language;
    } cases[] = {
        {"LANGUAGE LANG_GERMAN, SUBLANG_GERMAN", 1031},
        {"LANGUAGE LANG_FINNISH, SUBLANG_DEFAULT", 1035},
        {"LANGUAGE LANG_FINNISH, SUBLANG_FINNISH_FINLAND", 1035},
        {"LANGUAGE LANG_FRENCH, SUBLANG_FRENCH", 1036},
        {"LANGUAGE LANG_POLISH, SUBLANG_POLISH_POLAND", 1045},
        {"LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT", 1049},
        {"LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_UK", 2057},
        {"LANGUAGE 9, 2", 2057},
        {"LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.statement);
        Lin32ResourceScript script;
        std::string error;
        ASSERT_TRUE(ParseText(std::string(c.statement) + "\n101 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n",
                              script, error)) << error;
        ASSERT_EQ(script.dialogs.size(), 1u);
        EXPECT_EQ(script.dialogs[0].language, c.language);
    }
}

TEST(ScriptParser, DialogExWithAllItsOptions)
{
    const std::string text =
        "#pragma code_page(65001)\n"
        "LANGUAGE LANG_POLISH, SUBLANG_DEFAULT\n"
        "7 DIALOGEX DISCARDABLE 1, 2, 30, 40, 99\n"
        "STYLE WS_POPUP | WS_SYSMENU\n"
        "EXSTYLE 0x8\n"
        "CAPTION \"Zażółć\"\n"
        "FONT 8, \"MS Shell Dlg\", 400, 0, 0x1\n"
        "LANGUAGE LANG_RUSSIAN, SUBLANG_DEFAULT\n"
        "{\n"
        "    CONTROL \"a\", 1, \"Button\", BS_PUSHBUTTON, 1, 2, 3, 4, 0, 55\n"
        "}\n";
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText(text, script, error)) << error;
    ASSERT_EQ(script.dialogs.size(), 1u);
    const Lin32DialogTemplate &dialog = script.dialogs[0];
    EXPECT_EQ(dialog.id, 7);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.language, 1049);  // the dialog's own LANGUAGE wins
    EXPECT_EQ(dialog.style, (DWORD)(WS_POPUP | WS_SYSMENU | WS_CAPTION | DS_SETFONT));
    EXPECT_EQ(dialog.exStyle, 0x8u);
    EXPECT_EQ(dialog.caption, "Zażółć");
    EXPECT_EQ(dialog.fontFace, "MS Shell Dlg");
    EXPECT_EQ(dialog.x, 1);
    EXPECT_EQ(dialog.height, 40);
    EXPECT_EQ(dialog.controls.size(), 1u);
}

TEST(ScriptParser, DialogWithoutStyleGetsTheDefaultStyle)
{
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText("101 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n", script, error)) << error;
    EXPECT_EQ(script.dialogs.at(0).style, (DWORD)(WS_POPUP | WS_BORDER | WS_SYSMENU));
}

TEST(ScriptParser, PreprocessorConditionsAndDefines)
{
    const std::string text =
        "#define BASE 100\n"
        "#define DLG (BASE + 1) /* a comment */\n"
        "#define EMPTY\n"
        "#ifdef EMPTY\n"
        "#ifndef BASE\n"
        "this line is not read \"\n"
        "#else\n"
        "DLG DIALOG 0, 0, 1, 1\n"
        "#endif\n"
        "#else\n"
        "1 DIALOG 0, 0, 1, 1\n"
        "#endif\n"
        "BEGIN\n"
        "END\n";
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText(text, script, error)) << error;
    ASSERT_EQ(script.dialogs.size(), 1u);
    EXPECT_EQ(script.dialogs[0].id, 101);
}

TEST(ScriptParser, IconsVersionInfoAndManifestArePassedOver)
{
    const std::string text =
        "#include <windows.h>\n"
        "#include \"resource.h\"\n"
        "IDI_MAIN ICON \"icons/chart.ico\"\n"
        "IDI_SECOND ICON DISCARDABLE \"icons/disk.ico\"\n"
        "named ICON \"other.ico\"\n"
        "1 24 \"app.manifest\"\n"
        "2 RT_MANIFEST \"app.manifest\"\n"
        "1 VERSIONINFO\n"
        "FILEVERSION 1, 10, 0, 0\n"
        "BEGIN\n"
        "  BLOCK \"StringFileInfo\"\n"
        "  BEGIN\n"
        "    BLOCK \"000004B0\"\n"
        "    BEGIN\n"
        "      VALUE \"ProductName\", \"Chart Transfer\"\n"
        "    END\n"
        "  END\n"
        "END\n"
        "101 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n";
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText(text, script, error)) << error;
    EXPECT_EQ(script.iconIds, (std::vector<int>{IDI_MAIN, IDI_SECOND}));
    EXPECT_EQ(script.dialogs.size(), 1u);
}

TEST(ScriptParser, TextsStayUtf8AndAByteOrderMarkIsSkipped)
{
    const std::string text = "\xEF\xBB\xBF#pragma code_page(65001)\n"
                             "101 DIALOG 0, 0, 1, 1\nCAPTION \"Maßtabellen Закрыть\"\nBEGIN\nEND\n";
    Lin32ResourceScript script;
    std::string error;
    ASSERT_TRUE(ParseText(text, script, error)) << error;
    EXPECT_EQ(script.dialogs.at(0).caption, "Maßtabellen Закрыть");
}

// ---- malformed scripts ------------------------------------------------------------------

bool SelfIncluding(const char *path, const char **text, size_t *size)
{
    static const char loop[] = "#include \"loop.rc\"\n";
    if (strcmp(path, "loop.rc") != 0) {
        return false;
    }
    *text = loop;
    *size = sizeof loop - 1;
    return true;
}

TEST(ScriptParser, MalformedScriptsFailWithTheirPlace)
{
    const std::string dialogStart = "101 DIALOG 0, 0, 1, 1\nBEGIN\n";
    const struct {
        std::string text;
        const char *where;  // file and line
        const char *what;   // part of the message
    } cases[] = {
        {dialogStart + "CONTROL \"open, 1, Static, 0, 1, 2, 3, 4\nEND\n", "test.rc:3:",
         "closing quote"},
        {dialogStart + "CONTROL \"x\", IDC_NOWHERE, \"Static\", 0, 1, 2, 3, 4\nEND\n",
         "test.rc:3:", "unknown name IDC_NOWHERE"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0, 1, 2, 3, 4\n", "end of script",
         "without its END"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0, 1, 2, 3\nEND\n", "test.rc:4:",
         "expected ','"},
        {dialogStart + "LTEXT \"x\", 1, 1, 2, 3, 4\nEND\n", "test.rc:3:",
         "unsupported dialog item LTEXT"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0x, 1, 2, 3, 4\nEND\n", "test.rc:3:",
         "malformed number"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0x100000000, 1, 2, 3, 4\nEND\n",
         "test.rc:3:", "32 bits"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0, 1, 2, 3, 40000\nEND\n", "test.rc:3:",
         "out of range"},
        {dialogStart + "CONTROL \"x\", 1, \"Static\", 0, 1, 2, 3, 4 @\nEND\n", "test.rc:3:",
         "unexpected '@'"},
        {dialogStart + "CONTROL \"a\\qb\", 1, \"Static\", 0, 1, 2, 3, 4\nEND\n", "test.rc:3:",
         "unsupported escape"},
        {dialogStart + "CONTROL \"x\", 1, 7, 0, 1, 2, 3, 4\nEND\n", "test.rc:3:",
         "needs a class name"},
        {"1 MENU\nBEGIN\nEND\n", "test.rc:1:", "unsupported resource type MENU"},
        {"name DIALOG 0, 0, 1, 1\nBEGIN\nEND\n", "test.rc:1:", "needs a number"},
        {"0 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n", "test.rc:1:", "dialog id out of range"},
        {"101 DIALOG 0, 0, 1, 1\nMENU 5\nBEGIN\nEND\n", "test.rc:2:",
         "unsupported dialog statement MENU"},
        {"101 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n101 DIALOG 0, 0, 1, 1\nBEGIN\nEND\n", "test.rc:6:",
         "defined twice"},
        {"LANGUAGE 1024, 0\n", "test.rc:1:", "LANGUAGE out of range"},
        {"#if 1\n#endif\n", "test.rc:1:", "unsupported directive #if"},
        {"#ifdef X\n", "test.rc:2:", "#ifdef without #endif"},
        {"#endif\n", "test.rc:1:", "#endif without #ifdef"},
        {"#ifndef X\n#else\n#else\n#endif\n", "test.rc:3:", "second #else"},
        {"#define F(x) 1\n", "test.rc:1:", "parameters"},
        {"#define X 1 2\n", "test.rc:1:", "not a number"},
        {"#define X\n1 DIALOG X, 0, 1, 1\n", "test.rc:2:", "defined without a value"},
        {"#pragma code_page(1252)\n", "test.rc:1:", "65001"},
        {"#pragma pack(1)\n", "test.rc:1:", "unsupported #pragma pack"},
        {"#include \"missing.h\"\n", "test.rc:1:", "cannot find included file"},
        {"#include <commctrl.h>\n", "test.rc:1:", "unknown system header"},
        {"#include \"resource.h\" extra\n", "test.rc:1:", "after directive"},
        {"#include \"loop.rc\"\n", "loop.rc:1:", "nested too deeply"},
        {"101 DIALOG 0, 0, 1, 1\nCAPTION \"Ma\xC3\x9F\"\nBEGIN\nEND\n", "test.rc:2:",
         "#pragma code_page(65001)"},
        {"#pragma code_page(65001)\n101 DIALOG 0, 0, 1, 1\nCAPTION \"\xC3(\"\nBEGIN\nEND\n",
         "test.rc:3:", "not valid UTF-8"},
        {"#pragma code_page(65001)\n101 DIALOG 0, 0, 1, 1\nCAPTION \"\xC0\xAF\"\nBEGIN\nEND\n",
         "test.rc:3:", "not valid UTF-8"},
        {"/* never closed\n101 DIALOG 0, 0, 1, 1\n", "test.rc:1:", "comment without its end"},
        {std::string("101 DIALOG 0, 0, 1, 1\nCAPTION \"a") + '\0' + "b\"\n", "test.rc:2:", "NUL"},
        {"1 DIALOG " + std::string(200, '(') + "1" + std::string(200, ')') + ", 0, 1, 1\n",
         "test.rc:1:", "nested too deeply"},
        {"1 DIALOG " + std::string(200, '-') + "1, 0, 1, 1\n", "test.rc:1:", "nested too deeply"},
        {"101 DIALOG 0, 0, 1, 1\nBEGIN\nCONTROL \"x\", 1, \"Static\", NOT, 1, 2, 3, 4\nEND\n",
         "test.rc:3:", "expected a number"},
        {"1 VERSIONINFO\nBEGIN\n", "end of script", "VERSIONINFO without its END"},
        {"", "", ""},  // empty: no error, no dialog (checked below)
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 120));
        Lin32ResourceScript script;
        std::string error;
        bool ok = Lin32ParseResourceScript("test.rc", c.text.data(), c.text.size(),
                                           c.text.find("loop.rc") != std::string::npos
                                               ? SelfIncluding
                                               : Lin32BuiltInScriptFile,
                                           script, error);
        if (c.text.empty()) {
            EXPECT_TRUE(ok) << error;
            EXPECT_TRUE(script.dialogs.empty());
            continue;
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(error.find(c.where), 0u) << error;
        EXPECT_NE(error.find(c.what), std::string::npos) << error;
    }
}

bool WideIncludes(const char *path, const char **text, size_t *size)
{
    static std::string wide;
    if (wide.empty()) {
        for (int i = 0; i < 300; ++i) {
            wide += "#include \"leaf.h\"\n";
        }
    }
    if (strcmp(path, "wide.rc") == 0) {
        *text = wide.data();
        *size = wide.size();
        return true;
    }
    *text = "";
    *size = 0;
    return strcmp(path, "leaf.h") == 0;
}

TEST(ScriptParser, IncludesCannotMultiplyWithoutEnd)
{
    Lin32ResourceScript script;
    std::string error;
    EXPECT_FALSE(ParseText("#include \"wide.rc\"\n", script, error, WideIncludes));
    EXPECT_EQ(error.find("wide.rc:"), 0u) << error;
    EXPECT_NE(error.find("too many included files"), std::string::npos) << error;
}

TEST(ScriptParser, WithoutLookupAnIncludeFails)
{
    Lin32ResourceScript script;
    std::string error;
    EXPECT_FALSE(ParseText("#include \"resource.h\"\n", script, error, nullptr));
    EXPECT_NE(error.find("cannot find included file"), std::string::npos) << error;
}

// Every cut and many damaged forms of the real scripts: each parse ends with a result,
// and the sanitizer build checks that no byte outside the text is read.
TEST(ScriptParser, CutAndDamagedScriptsNeverReadOutside)
{
    const std::string language = "#include <windows.h>\n#include \"resource.h\"\n" +
                                 BuiltIn("lang/en_gb.rc");
    const std::string master = BuiltIn("chartxfer.rc");
    int failures = 0;
    for (const std::string *text : {&language, &master}) {
        // Every cut through the first lines, which hold every kind of token; then a
        // sample, to keep the test quick.
        for (size_t length = 0; length <= text->size(); length += length < 2500 ? 1 : 7) {
            Lin32ResourceScript script;
            std::string error;
            if (!ParseText(text->substr(0, length), script, error)) {
                ++failures;
                EXPECT_FALSE(error.empty()) << "cut at " << length;
            }
        }
    }
    EXPECT_GT(failures, 0);
    const char damage[] = {'"', '\\', '\0', '\xFF', '(', '#', '\n', '/', '*', ',', '-'};
    for (size_t position = 0; position < language.size(); position += 29) {
        for (char byte : damage) {
            std::string text = language;
            text[position] = byte;
            Lin32ResourceScript script;
            std::string error;
            if (!ParseText(text, script, error)) {
                EXPECT_FALSE(error.empty()) << "byte " << (int)byte << " at " << position;
            }
        }
    }
}

}  // namespace

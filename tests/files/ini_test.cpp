// The INI readers on real files: where the file is looked for, the reader's quirks,
// integers and logicals, and the addition file merged before every read.
#include "Basis/ini.h"
#include "testdir.h"

#include <gtest/gtest.h>
#include <string.h>
#include <string>

namespace {

struct Value {
    int length;
    std::string text;
};

Value Read(const char *section, const char *key, int valueSize = 80)
{
    char buffer[200];
    memset(buffer, '#', sizeof buffer);
    Value value;
    GetIniValue(section, (int)strlen(section), key, (int)strlen(key), buffer, valueSize,
                &value.length);
    if (value.length >= 0) {
        value.text.assign(buffer, (size_t)value.length);
        EXPECT_EQ('\0', buffer[value.length]) << "no NUL after the value";
    }
    // Nothing beyond the caller's field, and nothing at all without a value.
    size_t untouched = value.length < 0 ? 0 : (size_t)valueSize;
    for (size_t i = untouched; i < sizeof buffer; ++i) {
        if (buffer[i] != '#') {
            ADD_FAILURE() << "byte " << i << " written";
            break;
        }
    }
    return value;
}

std::string Lines(std::initializer_list<const char *> lines)
{
    std::string text;
    for (const char *line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

class IniFile : public ::testing::Test {
protected:
    TestFolder folder_{"ini"};
    CurrentDirectoryGuard cwd_;

    void SetUp() override
    {
        ASSERT_TRUE(folder_.Created());
        ASSERT_TRUE(folder_.MakeDir("cfg"));
        ASSERT_TRUE(SetCurrentDirectoryA(folder_.Path("cfg").c_str()));
    }

    bool WriteIni(const std::string &text) { return folder_.Write("cfg\\vornix.ini", text); }
    bool WriteAdd(const std::string &text) { return folder_.Write("cfg\\vornix.add", text); }
    bool AddExists() { return folder_.Exists("cfg\\vornix.add"); }
};

TEST_F(IniFile, TheCurrentDirectoryComesBeforeItsParent)
{
    ASSERT_TRUE(folder_.Write("vornix.ini", Lines({"[PATH]", "DRIVES=PARENT"})));
    EXPECT_EQ("PARENT", Read("PATH", "DRIVES").text);
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=HERE"})));
    EXPECT_EQ("HERE", Read("PATH", "DRIVES").text);
    // The name found is used as it is: no value in it means no value, not the parent's.
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "OTHER=1"})));
    EXPECT_EQ(-1, Read("PATH", "DRIVES").length);
}

TEST_F(IniFile, ReaderQuirks)
{
    ASSERT_TRUE(WriteIni(Lines({
        "ABOVE=1",
        "[PATHX]",
        "DRIVES=WRONG",
        "[PATH] the rest of a header line is ignored",
        "; DRIVES=COMMENT",
        "DRIVES=ACD",
        "DRIVEX = ACD",
        " DRIVEY=ACD",
        "EMPTY=",
        "TRAIL=AC ; remark   ",
        "LEAD=  AB",
        "LONG=0123456789012345678901234567890123456789012345678901234567890123456789"
        "012345678901234567890123456789012345678901234567890123456789",
        "",
        "[OTHER]",
        "ONLYOTHER=1",
        "[PATH]",
        "SECOND=2",
    })));
    struct Case {
        const char *section;
        const char *key;
        int length;
        const char *text;
    } cases[] = {
        {"PATH", "DRIVES", 3, "ACD"},
        {"PATH", "DRIVE", 4, "=ACD"},       // prefix of the first DRIVE... line
        {"PATH", "DRIVEX", 5, "= ACD"},     // the blank after the key is the separator
        {"PATH", "DRIVEY", -1, ""},         // not in column 1
        {"PATH", "EMPTY", 0, ""},
        {"PATH", "TRAIL", 11, "AC ; remark"},
        {"PATH", "LEAD", 4, "  AB"},
        {"PATH", "LONG", 123, NULL},        // up to column 128
        {"PATH", "SECOND", -1, ""},         // second section of the same name
        {"PATH", "ONLYOTHER", -1, ""},
        {"PATH", "ABOVE", -1, ""},
        {"OTHER", "ONLYOTHER", 1, "1"},
        {"PATHX", "DRIVES", 5, "WRONG"},
        {"path", "DRIVES", -1, ""},         // names compare exactly
        {"PATH", "drives", -1, ""},
        {"NONE", "DRIVES", -1, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        Value value = Read(c.section, c.key, 150);
        EXPECT_EQ(c.length, value.length);
        if (c.text != NULL) {
            EXPECT_EQ(c.text, value.text);
        }
    }
    EXPECT_EQ(std::string("012345678901234567890123456789") , Read("PATH", "LONG", 31).text)
        << "a value is cut to the field less its NUL";
    EXPECT_EQ(std::string(""), Read("PATH", "DRIVES", 1).text);
}

TEST_F(IniFile, NamesOutsideTheLimitsGiveNoValue)
{
    std::string section(79, 'S');
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD"})));
    int length = 0;
    char value[8] = "#######";
    GetIniValue(section.c_str(), 79, "DRIVES", 6, value, sizeof value, &length);
    EXPECT_EQ(-1, length);
    GetIniValue("PATH", 4, "DRIVES", -1, value, sizeof value, &length);
    EXPECT_EQ(-1, length);
    GetIniValue("PATH", 4, "DRIVES", 6, value, 0, &length);
    EXPECT_EQ(-1, length);
    EXPECT_STREQ("#######", value);
}

TEST_F(IniFile, IntegersAndLogicals)
{
    ASSERT_TRUE(WriteIni(Lines({
        "[NUM]", "A=3", "B=  -2", "C=C", "D=12345678901", "E=", "F=9999999999", "G=- 5",
        "H=+7", "I=5-", "J=          7", "K=-999999999", "L=2147483647", "M=2147483648",
        "N=1 2", "O=+", "Z=0",
    })));
    struct Case {
        const char *key;
        bool reads;
        int number;
    } cases[] = {
        {"A", true, 3},           {"B", true, -2},         {"C", false, 0},
        {"D", true, 1234567890},  {"E", false, 0},         {"F", false, 0},
        {"G", true, -5},          {"H", true, 7},          {"I", false, 0},
        {"J", false, 0},          {"K", true, -999999999}, {"L", true, 2147483647},
        {"M", false, 0},          {"N", true, 12},         {"O", false, 0},
        {"Z", true, 0},           {"MISSING", false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        int number = 4711;
        EXPECT_EQ(c.reads, GetIniInteger("NUM", 3, c.key, (int)strlen(c.key), &number));
        EXPECT_EQ(c.reads ? c.number : 4711, number);
        int logical = 4711;
        EXPECT_EQ(c.reads, GetIniLogical("NUM", 3, c.key, (int)strlen(c.key), &logical));
        EXPECT_EQ(c.reads ? (c.number != 0 ? 1 : 0) : 4711, logical);
    }
}

TEST_F(IniFile, TheAdditionFileIsAppliedAndDeleted)
{
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD", "STARTUPDRIVE=C", "[OPTIONS]",
                                "SHOW_ALIAS=0"})));
    ASSERT_TRUE(WriteAdd(Lines({
        "ORPHAN=1",               // no section yet: skipped
        "[PATH]",
        "DRIVES=AB",
        "STARTUPDRIVE=",          // removes the key
        "; DRIVES=COMMENT",
        "   DRIVES=BLANKS",       // three blanks: skipped
        "=NOKEY",
        "NOEQUALS",
        "[OPTIONS]",
        "SHOW_ALIAS=1",
        "NEWKEY=value with blanks  ",
    })));
    EXPECT_EQ("AB", Read("PATH", "DRIVES").text);
    EXPECT_FALSE(AddExists());
    EXPECT_EQ(-1, Read("PATH", "STARTUPDRIVE").length);
    EXPECT_EQ(-1, Read("PATH", "ORPHAN").length);
    EXPECT_EQ(-1, Read("", "ORPHAN").length);
    EXPECT_EQ("1", Read("OPTIONS", "SHOW_ALIAS").text);
    EXPECT_EQ("value with blanks", Read("OPTIONS", "NEWKEY").text);
}

TEST_F(IniFile, AMalformedHeaderEndsTheMergeAndTheFileIsDeleted)
{
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD"})));
    struct Case {
        const char *what;
        std::string add;
    } cases[] = {
        {"no ]", Lines({"[PATH", "DRIVES=ZZ"})},
        {"empty name", Lines({"[PATH]", "STARTUPDRIVE=D", "[]", "DRIVES=ZZ"})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteAdd(c.add));
        EXPECT_EQ("ACD", Read("PATH", "DRIVES").text);
        EXPECT_FALSE(AddExists());
    }
    EXPECT_EQ("D", Read("PATH", "STARTUPDRIVE").text) << "lines before it are applied";
}

// A line of 512 characters or more is read as 511; its rest is no line of its own.
TEST_F(IniFile, LongAdditionLinesAreCut)
{
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD"})));
    std::string longLine = "NOTE=" + std::string(506, 'x') + "DRIVES=EVIL";
    ASSERT_TRUE(WriteAdd(Lines({"[PATH]", longLine.c_str(), "STARTUPDRIVE=E"})));
    EXPECT_EQ("ACD", Read("PATH", "DRIVES").text);
    EXPECT_EQ("E", Read("PATH", "STARTUPDRIVE").text);
    EXPECT_EQ(std::string(123, 'x'), Read("PATH", "NOTE", 150).text);
    std::string ini = folder_.Read("cfg\\vornix.ini");
    EXPECT_NE(std::string::npos, ini.find("NOTE=" + std::string(506, 'x') + "\r\n"));
}

// A section name of 80 characters or more is no section: its key lines are skipped (not
// written into the section before it), and the sections after it are applied.
TEST_F(IniFile, OverlongSectionNamesAreSkippedWithTheirKeys)
{
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD"})));
    std::string longest = "[" + std::string(79, 'S') + "]";
    std::string tooLong = "[" + std::string(80, 'T') + "]";
    ASSERT_TRUE(WriteAdd(Lines({"[PATH]", "STARTUPDRIVE=D", tooLong.c_str(), "DRIVES=LONGSECT",
                                longest.c_str(), "KEY79=yes", "[PATH]", "LAST=1"})));
    EXPECT_EQ("ACD", Read("PATH", "DRIVES").text);
    EXPECT_EQ("D", Read("PATH", "STARTUPDRIVE").text);
    EXPECT_EQ("1", Read("PATH", "LAST").text);
    EXPECT_FALSE(AddExists());
    std::string ini = folder_.Read("cfg\\vornix.ini");
    EXPECT_NE(std::string::npos, ini.find(longest + "\r\n"));
    EXPECT_NE(std::string::npos, ini.find("KEY79=yes"));
    EXPECT_EQ(std::string::npos, ini.find("LONGSECT"));
    EXPECT_EQ(std::string::npos, ini.find(std::string(80, 'T')));
}

// When the INI file cannot be written (here: another program holds it open without
// sharing), the pending changes stay in the addition file and arrive at a later read.
TEST_F(IniFile, TheAdditionFileStaysWhenTheIniFileCannotBeWritten)
{
    ASSERT_TRUE(WriteIni(Lines({"[PATH]", "DRIVES=ACD"})));
    ASSERT_TRUE(WriteAdd(Lines({"[PATH]", "DRIVES=AB"})));
    HANDLE held = CreateFileA(folder_.Path("cfg\\vornix.ini").c_str(), GENERIC_READ, 0, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(-1, Read("PATH", "DRIVES").length);
    EXPECT_TRUE(AddExists());
    CloseHandle(held);
    EXPECT_EQ("AB", Read("PATH", "DRIVES").text);
    EXPECT_FALSE(AddExists());
}

}  // namespace

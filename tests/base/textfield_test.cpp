// The fixed-width field routines: upper case, search, squeezing and trimming blanks.
// Every field is handed over in a heap block of exactly its width, so that a sanitizer
// build catches any access beyond it.
#include "Kopf01/textfield.h"
#include "support/boxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char kCaption[] = "VORNIX System Info-Box";
const char kLeadIn[] = "Fehler mit der Bezeichnung:";

std::vector<char> Field(const std::string &bytes) { return {bytes.begin(), bytes.end()}; }

std::string Bytes(const std::vector<char> &field) { return {field.begin(), field.end()}; }

// Whether the process's ANSI code page is Windows-1252 (the layer's default).
bool WesternCodePage()
{
#ifdef _WIN32
    return GetACP() == 1252;
#else
    return true;
#endif
}

void ExpectErrorBoxes(const BoxScript &boxes, const std::vector<std::string> &labels)
{
    ASSERT_EQ(boxes.Shown().size(), labels.size());
    for (size_t k = 0; k < labels.size(); ++k) {
        SCOPED_TRACE("box " + std::to_string(k + 1));
        const ShownBox &box = boxes.Shown()[k];
        EXPECT_EQ(box.text, kLeadIn + labels[k]);
        EXPECT_EQ(box.caption, kCaption);
        EXPECT_EQ(box.buttons, (UINT)MB_OK);
        EXPECT_FALSE(box.owned);
    }
}

// ---- KleGro -------------------------------------------------------------------------

struct UpperCase {
    const char *name;
    std::string field;
    short n;
    std::string expected;
};

TEST(KleGro, UpperCasesThePositionsUpToN)
{
    const UpperCase cases[] = {
        {"whole field, last character too", "vornix/k:damen", 14, "VORNIX/K:DAMEN"},
        {"characters after n untouched", "abcdef", 3, "ABCdef"},
        {"n of 1", "ab", 1, "Ab"},
        {"n of 0", "abc", 0, "abc"},
        {"digits and signs stay", "a1-b2 c3:\\", 10, "A1-B2 C3:\\"},
        {"NUL stops the run, position n on its own", std::string("abc\0def", 7), 7,
         std::string("ABC\0deF", 7)},
        {"NUL at position n", std::string("ab\0", 3), 3, std::string("AB\0", 3)},
        {"NUL first", std::string("\0xy", 3), 3, std::string("\0xY", 3)},
        {"blank-padded field", "/k:mode     ", 12, "/K:MODE     "},
    };
    BoxScript boxes;
    for (const UpperCase &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> field = Field(c.field);
        KleGro(field.data(), c.n);
        EXPECT_EQ(Bytes(field), c.expected);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(KleGro, FollowsTheWesternCodePage)
{
    if (!WesternCodePage()) {
        GTEST_SKIP() << "the process does not run under code page 1252";
    }
    // ä ö ü é ÿ š œ ž become Ä Ö Ü É Ÿ Š Œ Ž; ß, µ, ÷ and ª have no upper case here.
    std::vector<char> field = Field("\xE4\xF6\xFC\xE9\xFF\x9A\x9C\x9E\xDF\xB5\xF7\xAA");
    KleGro(field.data(), (short)field.size());
    EXPECT_EQ(Bytes(field), "\xC4\xD6\xDC\xC9\x9F\x8A\x8C\x8E\xDF\xB5\xF7\xAA");
}

TEST(KleGro, NegativeCountShowsTwoBoxesAndChangesNothing)
{
    BoxScript boxes;
    std::vector<char> field = Field("abc");
    KleGro(field.data(), -1);
    EXPECT_EQ(Bytes(field), "abc");
    ExpectErrorBoxes(boxes, {"KleGro", "GroKleGro"});
}

// ---- nsuche -------------------------------------------------------------------------

struct Search {
    const char *name;
    std::string text;
    short n;
    std::string pattern;
    short m;
    short expected;
};

TEST(Nsuche, FindsTheFirstOccurrenceWithinTheCounts)
{
    const Search cases[] = {
        {"at the start", "####files", 9, "####", 4, 1},
        {"in the middle", "C:\\VORNIX\\DAMEN\\MAS", 19, "\\MAS", 4, 16},
        {"first of two", "abcabc", 6, "bc", 2, 2},
        {"after a partial match", "aaab", 4, "aab", 3, 2},
        {"exactly the text", "mas", 3, "mas", 3, 1},
        {"blanks count", "a b  c", 6, "  ", 2, 4},
        {"case counts", "c:\\vornix\\damen", 15, "VORNIX", 6, 0},
        {"only the first m of the pattern", "drive #: here", 13, "#:zzz", 2, 7},
        {"only the first n of the text", "abcdef", 4, "ef", 2, 0},
        {"a match crossing n is not seen", "abcdef", 4, "de", 2, 0},
        {"pattern longer than the text", "abc", 3, "abcd", 4, 0},
        {"m greater than n", "abcdef", 2, "abc", 3, 0},
        {"n of 0", "abc", 0, "a", 1, 0},
        {"m of 0", "abc", 3, "a", 0, 0},
        {"not there", "abcdef", 6, "xy", 2, 0},
        {"NUL is a character like others", std::string("a\0b", 3), 3, std::string("\0b", 2), 2,
         2},
    };
    BoxScript boxes;
    for (const Search &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> text = Field(c.text);
        std::vector<char> pattern = Field(c.pattern);
        EXPECT_EQ(nsuche(text.data(), c.n, pattern.data(), c.m), c.expected);
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(Nsuche, NegativeCountShowsTheBoxAndFindsNothing)
{
    const Search cases[] = {
        {"negative n", "abc", -1, "a", 1, 0},
        {"negative m", "abc", 3, "a", -2, 0},
        {"both negative", "", -5, "", -5, 0},
    };
    for (const Search &c : cases) {
        SCOPED_TRACE(c.name);
        BoxScript boxes;
        EXPECT_EQ(nsuche(c.text.data(), c.n, c.pattern.data(), c.m), c.expected);
        ExpectErrorBoxes(boxes, {"nsuche"});
    }
}

// ---- SqueezeBlanks and TrimLength ---------------------------------------------------

struct Squeeze {
    const char *name;
    std::string field;
    short n;
    std::string expected;
    short kept;
};

TEST(SqueezeBlanks, PacksTheOtherCharactersToTheLeft)
{
    const Squeeze cases[] = {
        {"blanks inside", "AB  CD  .mas", 12, "ABCD.mas    ", 8},
        {"chart path from fixed fields", "C:\\vornix\\DAMEN   \\mas\\M1      .mas", 35,
         "C:\\vornix\\DAMEN\\mas\\M1.mas         ", 26},
        {"NULs like blanks", std::string("a\0b c\0\0", 7), 7, "abc    ", 3},
        {"all blanks", "      ", 6, "      ", 0},
        {"all NULs become blanks", std::string("\0\0\0", 3), 3, "   ", 0},
        {"nothing to remove", "ABCDEF", 6, "ABCDEF", 6},
        {"leading blanks", "   xy", 5, "xy   ", 2},
        {"characters after n untouched", "a b c d", 3, "ab  c d", 2},
        {"n of 0", "a b", 0, "a b", 0},
        {"negative n", "a b", -3, "a b", 0},
    };
    for (const Squeeze &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> field = Field(c.field);
        EXPECT_EQ(SqueezeBlanks(field.data(), c.n), c.kept);
        EXPECT_EQ(Bytes(field), c.expected);
    }
}

struct Trim {
    const char *name;
    std::string field;
    short n;
    short expected;
};

TEST(TrimLength, CountsUpToTheLastNonBlank)
{
    const Trim cases[] = {
        {"path followed by NULs", std::string("C:\\a\\bc\0\0\0\0\0", 12), 12, 7},
        {"trailing blanks", "DAMEN   ", 8, 5},
        {"blanks and NULs mixed", std::string("ab \0 \0", 6), 6, 2},
        {"blanks inside are kept", "a b c   ", 8, 5},
        {"no trailing blanks", "abc", 3, 3},
        {"only the first n", "ab   cd", 4, 2},
        {"all blanks", "     ", 5, 0},
        {"n of 0", "abc", 0, 0},
        {"negative n", "abc", -1, 0},
    };
    for (const Trim &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<char> field = Field(c.field);
        EXPECT_EQ(TrimLength(field.data(), c.n), c.expected);
        EXPECT_EQ(Bytes(field), c.field);
    }
}

}  // namespace

// The layer's code pages: choosing one, CharUpperA under each, and the conversion of
// file names to and from UTF-8, checked against glibc's iconv.
#include "Kopf01/textfield.h"
#include "lin32/codepage.h"
#include "lin32/lin32_hooks.h"
#include "upper_rules.h"

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

namespace {

class CodePages : public ::testing::Test {
protected:
    void TearDown() override { Lin32SetCodePage(1252); }
};

const int kCodePages[] = {1252, 1250, 1251};

// UTF-8 of one byte by iconv; empty when iconv has no character for it.
std::string IconvUtf8(int codePage, unsigned char byte)
{
    std::string name = "CP" + std::to_string(codePage);
    iconv_t convert = iconv_open("UTF-8", name.c_str());
    if (convert == (iconv_t)-1) {
        ADD_FAILURE() << "iconv has no " << name;
        return std::string();
    }
    char in[1] = {(char)byte};
    char out[8];
    char *inPtr = in, *outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    size_t result = iconv(convert, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(convert);
    if (result == (size_t)-1) {
        return std::string();
    }
    return std::string(out, sizeof out - outLeft);
}

TEST_F(CodePages, WesternIsTheDefaultAndOnlyKnownPagesAreTaken)
{
    EXPECT_EQ(Lin32GetCodePage(), 1252);
    Lin32SetCodePage(1250);
    EXPECT_EQ(Lin32GetCodePage(), 1250);
    for (int unknown : {0, 437, 1253, 65001, -1}) {
        Lin32SetCodePage(unknown);
        EXPECT_EQ(Lin32GetCodePage(), 1250) << "code page " << unknown;
    }
    Lin32SetCodePage(1251);
    EXPECT_EQ(Lin32GetCodePage(), 1251);
}

TEST_F(CodePages, UpperCaseOfEveryByte)
{
    for (int codePage : kCodePages) {
        SCOPED_TRACE("code page " + std::to_string(codePage));
        Lin32SetCodePage(codePage);
        const std::map<int, int> pairs = UpperCasePairs(codePage);
        for (int c = 0; c < 256; ++c) {
            EXPECT_EQ(Lin32UpperChar((unsigned char)c), ExpectedUpper(pairs, c)) << "byte " << c;
            char text[2] = {(char)c, '\0'};
            CharUpperA(text);
            EXPECT_EQ((unsigned char)text[0], ExpectedUpper(pairs, c)) << "byte " << c;
        }
    }
}

TEST_F(CodePages, KleGroFollowsTheActivePage)
{
    struct Case {
        int codePage;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {1252, "gr\xFC\xDF" "e \xB3", "GR\xDC\xDF" "E \xB3"},            // grüße ³
        {1250, "\xB3\xF3\x9C" "d\xBF", "\xA3\xD3\x8C" "D\xAF"},             // łóśdż
        {1251, "\xEC\xE0\xF1\xEA\xE0 \xB8", "\xCC\xC0\xD1\xCA\xC0 \xA8"},  // маска ё
    };
    for (const Case &c : cases) {
        SCOPED_TRACE("code page " + std::to_string(c.codePage));
        Lin32SetCodePage(c.codePage);
        std::string text = c.text;
        KleGro(&text[0], (short)text.size());
        EXPECT_EQ(text, c.expected);
    }
}

TEST_F(CodePages, EveryByteToUtf8AsIconvHasIt)
{
    for (int codePage : kCodePages) {
        SCOPED_TRACE("code page " + std::to_string(codePage));
        Lin32SetCodePage(codePage);
        for (int c = 0; c < 256; ++c) {
            std::string expected = IconvUtf8(codePage, (unsigned char)c);
            if (expected.empty()) {
                // A byte the page leaves undefined is the C1 control of its number, as
                // in Windows' tables (iconv has none for it).
                expected = {(char)0xC2, (char)c};
            }
            EXPECT_EQ(Lin32AnsiToUtf8(std::string(1, (char)c)), expected) << "byte " << c;
        }
    }
}

TEST_F(CodePages, Utf8BackToTheCodePage)
{
    for (int codePage : kCodePages) {
        SCOPED_TRACE("code page " + std::to_string(codePage));
        Lin32SetCodePage(codePage);
        std::string defined;
        for (int c = 0; c < 256; ++c) {
            std::string utf8 = IconvUtf8(codePage, (unsigned char)c);
            std::string ansi = "stale";
            if (utf8.empty()) {
                utf8 = {(char)0xC2, (char)c};  // an undefined byte's C1 control
            }
            EXPECT_TRUE(Lin32Utf8ToAnsi(utf8, ansi)) << "byte " << c;
            EXPECT_EQ(ansi, std::string(1, (char)c)) << "byte " << c;
            defined += (char)c;
        }
        // A name of every byte, NUL included, goes there and back.
        std::string back;
        EXPECT_TRUE(Lin32Utf8ToAnsi(Lin32AnsiToUtf8(defined), back));
        EXPECT_EQ(back, defined);
    }
}

TEST_F(CodePages, CharactersOutsideThePageAndBrokenUtf8AreRefused)
{
    struct Case {
        const char *name;
        int codePage;
        std::string utf8;
    };
    const Case cases[] = {
        {"Polish l with stroke in 1252", 1252, "\xC5\x82"},
        {"Cyrillic a in 1250", 1250, "\xD0\xB0"},
        {"a umlaut in 1251", 1251, "\xC3\xA4"},
        {"CJK character", 1252, "\xE4\xB8\xAD"},
        {"outside the basic plane", 1252, "\xF0\x9F\x98\x80"},
        {"replacement character", 1252, "\xEF\xBF\xBD"},
        {"lone continuation byte", 1252, "a\x80"},
        {"truncated sequence", 1252, "a\xC3"},
        {"overlong NUL", 1252, "\xC0\x80"},
        {"overlong slash", 1252, "\xE0\x80\xAF"},
        {"surrogate half", 1252, "\xED\xA0\x80"},
        {"beyond U+10FFFF", 1252, "\xF4\x90\x80\x80"},
        {"invalid lead byte", 1252, "\xFF"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Lin32SetCodePage(c.codePage);
        std::string ansi;
        EXPECT_FALSE(Lin32Utf8ToAnsi(c.utf8, ansi));
    }
    std::string ansi;
    Lin32SetCodePage(1250);
    EXPECT_TRUE(Lin32Utf8ToAnsi("\xC5\x82\xC3\xB3" "d\xC5\xBA", ansi));  // łódź
    EXPECT_EQ(ansi, "\xB3\xF3" "d\x9F");
    Lin32SetCodePage(1251);
    EXPECT_TRUE(Lin32Utf8ToAnsi("\xE2\x82\xAC", ansi));  // the euro sign is 0x88 here
    EXPECT_EQ(ansi, "\x88");
}

}  // namespace

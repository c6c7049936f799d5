// CharUpperA and KleGro under the process's code page, byte by byte. Natively that is
// the layer's default, 1252; under Wine the code page that LANG selects (run the test
// with LANG=pl_PL.UTF-8 or ru_RU.UTF-8 for 1250 and 1251).
#include "Kopf01/textfield.h"
#include "Kopf01/winapi.h"
#include "upper_rules.h"

#ifndef _WIN32
#include "lin32/lin32_hooks.h"
#endif

#include <gtest/gtest.h>

#include <string>

namespace {

int ActiveCodePage()
{
#ifdef _WIN32
    return (int)GetACP();
#else
    return Lin32GetCodePage();
#endif
}

TEST(CharUpperA, EveryByteOfTheActiveCodePage)
{
    const int codePage = ActiveCodePage();
    if (codePage != 1250 && codePage != 1251 && codePage != 1252) {
        GTEST_SKIP() << "code page " << codePage << " has no rules here";
    }
    SCOPED_TRACE("code page " + std::to_string(codePage));
    const std::map<int, int> pairs = UpperCasePairs(codePage);
    std::string all;
    for (int c = 1; c < 256; ++c) {
        char text[2] = {(char)c, '\0'};
        EXPECT_EQ(CharUpperA(text), text);
        EXPECT_EQ((unsigned char)text[0], ExpectedUpper(pairs, c)) << "byte " << c;
        // A value below 0x10000 in place of the pointer is one character.
        uintptr_t single = (uintptr_t)CharUpperA((LPSTR)(uintptr_t)c);
        EXPECT_EQ((int)(single & 0xFF), ExpectedUpper(pairs, c)) << "byte " << c;
        all += (char)c;
    }
    // The whole run at once through KleGro, which also converts the last byte alone.
    std::string upper = all;
    KleGro(&upper[0], (short)upper.size());
    for (size_t k = 0; k < all.size(); ++k) {
        EXPECT_EQ((unsigned char)upper[k], ExpectedUpper(pairs, (unsigned char)all[k]))
            << "byte " << k + 1;
    }
}

}  // namespace

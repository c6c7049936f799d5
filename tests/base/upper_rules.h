// CharUpperA's upper case of every byte under the code pages 1250, 1251 and 1252, written
// down from the code page charts: a-z, the run of small letters at E0 and the letters
// elsewhere whose capitals the code page holds. Everything else stays as it is.
#ifndef TESTS_BASE_UPPER_RULES_H
#define TESTS_BASE_UPPER_RULES_H

#include <map>

inline std::map<int, int> UpperCasePairs(int codePage)
{
    std::map<int, int> pairs;
    for (int c = 'a'; c <= 'z'; ++c) {
        pairs[c] = c - 'a' + 'A';
    }
    // à..þ (1250, 1252: without ÷ at F7) and а..я (1251: all of E0-FF).
    int runEnd = codePage == 1251 ? 0xFF : 0xFE;
    for (int c = 0xE0; c <= runEnd; ++c) {
        if (codePage == 1251 || c != 0xF7) {
            pairs[c] = c - 0x20;
        }
    }
    switch (codePage) {
    case 1252:  // š œ ž ÿ
        pairs[0x9A] = 0x8A;
        pairs[0x9C] = 0x8C;
        pairs[0x9E] = 0x8E;
        pairs[0xFF] = 0x9F;
        break;
    case 1250:  // š ś ť ž ź ł ą ş ľ ż
        pairs[0x9A] = 0x8A;
        pairs[0x9C] = 0x8C;
        pairs[0x9D] = 0x8D;
        pairs[0x9E] = 0x8E;
        pairs[0x9F] = 0x8F;
        pairs[0xB3] = 0xA3;
        pairs[0xB9] = 0xA5;
        pairs[0xBA] = 0xAA;
        pairs[0xBE] = 0xBC;
        pairs[0xBF] = 0xAF;
        break;
    case 1251:  // ѓ ђ љ њ ќ ћ џ ў і ґ ё є ј ѕ ї
        pairs[0x83] = 0x81;
        pairs[0x90] = 0x80;
        pairs[0x9A] = 0x8A;
        pairs[0x9C] = 0x8C;
        pairs[0x9D] = 0x8D;
        pairs[0x9E] = 0x8E;
        pairs[0x9F] = 0x8F;
        pairs[0xA2] = 0xA1;
        pairs[0xB3] = 0xB2;
        pairs[0xB4] = 0xA5;
        pairs[0xB8] = 0xA8;
        pairs[0xBA] = 0xAA;
        pairs[0xBC] = 0xA3;
        pairs[0xBE] = 0xBD;
        pairs[0xBF] = 0xAF;
        break;
    }
    return pairs;
}

inline int ExpectedUpper(const std::map<int, int> &pairs, int c)
{
    auto found = pairs.find(c);
    return found == pairs.end() ? c : found->second;
}

#endif

// c4sort and taupp. The order of records with equal keys is whatever the partition
// steps give: a few arrays traced by hand pin it, random arrays check order and content,
// and a recursive model of the same partition checks the exact order on many of them.
#include "Kopf01/sort.h"
#include "support/boxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using Records = std::vector<std::string>;

std::vector<char> Join(const Records &records)
{
    std::vector<char> array;
    for (const std::string &record : records) {
        array.insert(array.end(), record.begin(), record.end());
    }
    return array;
}

Records Split(const std::vector<char> &array, size_t length)
{
    Records records;
    for (size_t start = 0; start + length <= array.size(); start += length) {
        records.emplace_back(array.begin() + (long)start, array.begin() + (long)(start + length));
    }
    return records;
}

// Sorts records held in an array of exactly their size (so a sanitizer sees any access
// beyond it) and returns them.
Records Sorted(const Records &records, int length, int first, int last)
{
    std::vector<char> array = Join(records);
    c4sort(array.empty() ? nullptr : array.data(), (short)length, (short)records.size(),
           (short)first, (short)last);
    return Split(array, (size_t)length);
}

std::string Key(const std::string &record, int first, int last)
{
    return record.substr((size_t)first - 1, (size_t)(last - first + 1));
}

// Byte-wise comparison as unsigned codes.
bool KeyLess(const std::string &a, const std::string &b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) {
                                            return (unsigned char)x < (unsigned char)y;
                                        });
}

// The same partition written recursively on a vector: middle pivot, scans bounded by
// the whole array, swap unless i = j. Which part is sorted first does not matter.
void ModelSort(Records &r, int first, int last, int lo, int hi)
{
    const int count = (int)r.size();
    const std::string pivot = Key(r[(size_t)(lo + hi) / 2 - 1], first, last);
    int i = lo, j = hi;
    while (j >= i) {
        while (KeyLess(Key(r[(size_t)i - 1], first, last), pivot) && i < count) {
            ++i;
        }
        while (KeyLess(pivot, Key(r[(size_t)j - 1], first, last)) && j > 1) {
            --j;
        }
        if (j < i) {
            break;
        }
        std::swap(r[(size_t)i - 1], r[(size_t)j - 1]);
        ++i;
        --j;
    }
    if (lo < j) {
        ModelSort(r, first, last, lo, j);
    }
    if (i < hi) {
        ModelSort(r, first, last, i, hi);
    }
}

void ExpectSortedPermutation(const Records &input, const Records &output, int first, int last)
{
    ASSERT_EQ(output.size(), input.size());
    for (size_t k = 1; k < output.size(); ++k) {
        EXPECT_FALSE(KeyLess(Key(output[k], first, last), Key(output[k - 1], first, last)))
            << "records " << k << " and " << k + 1 << " out of order";
    }
    Records a = input, b = output;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    EXPECT_EQ(a, b) << "not a permutation of the input";
}

std::string LabelText(const char *label) { return std::string("Fehler mit der Bezeichnung:") + label; }

// ---- orders traced by hand --------------------------------------------------------

struct Traced {
    const char *name;
    Records input;
    int length, first, last;
    Records expected;
};

TEST(C4sort, EqualKeysEndInTheOrderThePartitionGives)
{
    const Traced cases[] = {
        // Key column 1 is "A" everywhere. 1..4, P = A: swap 1,4 and 2,3 -> A4 A3 A2 A1,
        // i = 3, j = 2. Left 1..2 first (3..4 waits), P = record 1: swap -> A3 A4 A2 A1.
        // Then 3..4: swap -> A3 A4 A1 A2.
        {"four equal keys", {"A1", "A2", "A3", "A4"}, 2, 1, 1, {"A3", "A4", "A1", "A2"}},
        // 1..5: swap 1,5 and 2,4 -> x5 x4 x3 x2 x1; i = j = 3 passes without a swap,
        // i = 4, j = 2. 1..2: swap -> x4 x5. 4..5: swap -> x1 x2.
        {"five equal keys", {"x1", "x2", "x3", "x4", "x5"}, 2, 1, 1,
         {"x4", "x5", "x3", "x1", "x2"}},
        // 1..4, P = A (record 2): i stops at 1 (B), j at 4 (A): swap -> A4 A2 B3 B1;
        // i = 2, j = 3; i stays (A is not below A), j moves to 2; i = j, no swap; i = 3,
        // j = 1. Only 3..4 is left, P = B: swap -> A4 A2 B1 B3. Not stable.
        {"two pairs", {"B1", "A2", "B3", "A4"}, 2, 1, 1, {"A4", "A2", "B1", "B3"}},
        // Key columns 2-3. 1..3, P = "ab" (record 2): i stops at 1 (zz), j at 3 (ab):
        // swap -> 3ab 2ab 1zz; i = 2, j = 2, no swap; i = 3, j = 1. Done.
        {"key inside the record", {"1zz", "2ab", "3ab"}, 3, 2, 3, {"3ab", "2ab", "1zz"}},
    };
    for (const Traced &c : cases) {
        SCOPED_TRACE(c.name);
        BoxScript boxes;
        EXPECT_EQ(Sorted(c.input, c.length, c.first, c.last), c.expected);
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

TEST(C4sort, ComparesBytesAsUnsignedCodes)
{
    // ä (0xE4) and é (0xE9) come after Z and z; 0x01 before a blank.
    Records input = {"\xE4x", "Zx", "\xE9x", "zx", "\x01x", " x"};
    Records expected = {"\x01x", " x", "Zx", "zx", "\xE4x", "\xE9x"};
    EXPECT_EQ(Sorted(input, 2, 1, 1), expected);
}

TEST(C4sort, ListLinesByDateKey)
{
    // 45-character list lines: name, tab, date and time, NUL, the key yymmddhhmm in
    // columns 26-35, blanks.
    auto line = [](const char *name, const char *shown, const char *key) {
        std::string text = std::string(name) + "\t" + shown;
        text += '\0';
        text += key;
        text.resize(45, ' ');
        return text;
    };
    Records input = {line("ALPHA   ", "31.12.99  12:00", "9912311200"),
                     line("BETA    ", "15.06.04  09:30", "0406150930"),
                     line("GAMMA   ", "15.06.04  08:45", "0406150845")};
    Records expected = {input[2], input[1], input[0]};
    EXPECT_EQ(Sorted(input, 45, 26, 35), expected);
    EXPECT_EQ(Sorted(input, 45, 1, 8), input);
}

TEST(C4sort, SortedDistinctKeysStayWhereTheyAre)
{
    Records input;
    for (int k = 0; k < 300; ++k) {
        char text[8];
        snprintf(text, sizeof text, "%05d", k * 3);
        input.push_back(text);
    }
    EXPECT_EQ(Sorted(input, 5, 1, 5), input);
}

TEST(C4sort, FewerThanTwoRecordsOrNoLengthChangeNothing)
{
    BoxScript boxes;
    EXPECT_EQ(Sorted({}, 3, 1, 3), Records());
    EXPECT_EQ(Sorted({"zzz"}, 3, 1, 3), Records({"zzz"}));
    std::vector<char> array = Join({"b", "a"});
    c4sort(array.data(), 1, -2, 1, 1);
    EXPECT_EQ(Split(array, 1), Records({"b", "a"}));
    c4sort(array.data(), 0, 2, 1, 1);
    c4sort(array.data(), -1, 2, 1, 1);
    EXPECT_EQ(Split(array, 1), Records({"b", "a"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

struct Refused {
    const char *name;
    int length, first, last;
};

TEST(C4sort, OutOfRangeLengthOrColumnsAreReportedAndChangeNothing)
{
    const Refused cases[] = {
        {"length 1025", 1025, 1, 8},
        {"first 0", 10, 0, 5},
        {"last 0", 10, 1, 0},
        {"first negative", 10, -3, 5},
        {"first 1025", 1024, 1025, 1025},
        {"last 1025", 1024, 1, 1025},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.name);
        Records input = {std::string((size_t)c.length, 'z'), std::string((size_t)c.length, 'a')};
        input[0][0] = 'y';
        BoxScript boxes;
        EXPECT_EQ(Sorted(input, c.length, c.first, c.last), input);
        ASSERT_EQ(boxes.Shown().size(), 1u);
        EXPECT_EQ(boxes.Shown()[0].text, LabelText("c4sort-3"));
        EXPECT_EQ(boxes.Shown()[0].caption, "VORNIX System Info-Box");
    }
}

TEST(C4sort, LongestRecordIsSorted)
{
    Records input = {std::string(1024, 'q'), std::string(1024, 'b'), std::string(1024, 'k')};
    input[1][1023] = 'z';
    BoxScript boxes;
    EXPECT_EQ(Sorted(input, 1024, 1, 1024), Records({input[1], input[2], input[0]}));
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(C4sort, KeyColumnsBeyondTheRecordAreLeftOut)
{
    // Keys end at the record: columns 2-9 of 3-character records compare columns 2-3.
    Records input = {"1cc", "2aa", "3bb", "4ab"};
    BoxScript boxes;
    EXPECT_EQ(Sorted(input, 3, 2, 9), Records({"2aa", "4ab", "3bb", "1cc"}));
    // A key entirely beyond the record, or an empty column range, makes all keys equal:
    // the same order as any equal keys.
    EXPECT_EQ(Sorted({"A1", "A2", "A3", "A4"}, 2, 5, 9), Records({"A3", "A4", "A1", "A2"}));
    EXPECT_EQ(Sorted({"A1", "A2", "A3", "A4"}, 2, 2, 1), Records({"A3", "A4", "A1", "A2"}));
    EXPECT_TRUE(boxes.Shown().empty());
}

// ---- random arrays ------------------------------------------------------------------

TEST(C4sort, RandomArraysAreSortedAsThePartitionDefines)
{
    std::mt19937 random(20040615);
    BoxScript boxes;
    for (int round = 0; round < 400; ++round) {
        const int count = round < 20 ? round : (int)(random() % 400);
        const int length = 1 + (int)(random() % 12);
        const int first = 1 + (int)(random() % (unsigned)length);
        const int last = first + (int)(random() % (unsigned)(length - first + 1));
        // Few distinct bytes, so that equal keys are common; high bytes included.
        const char alphabet[] = {'a', 'b', 'c', ' ', '\0', '\x80', '\xE4', '\xFF'};
        const unsigned letters = 2 + (unsigned)(random() % 7);
        Records input;
        for (int k = 0; k < count; ++k) {
            std::string record;
            for (int c = 0; c < length; ++c) {
                record += alphabet[random() % letters];
            }
            input.push_back(record);
        }
        SCOPED_TRACE("round " + std::to_string(round) + ", " + std::to_string(count) +
                     " records of " + std::to_string(length) + ", key " +
                     std::to_string(first) + "-" + std::to_string(last));
        Records output = Sorted(input, length, first, last);
        ExpectSortedPermutation(input, output, first, last);
        Records model = input;
        if (count >= 2) {
            ModelSort(model, first, last, 1, count);
        }
        EXPECT_EQ(output, model);
        if (HasFailure()) {
            break;
        }
    }
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(C4sort, LargestListsInUnfavourableOrdersNeedNoMoreStack)
{
    struct Shape {
        const char *name;
        int (*key)(int k, int count);
    };
    const Shape shapes[] = {
        {"ascending", [](int k, int) { return k; }},
        {"descending", [](int k, int count) { return count - k; }},
        {"all equal", [](int, int) { return 7; }},
        {"organ pipe", [](int k, int count) { return k < count / 2 ? k : count - k; }},
        {"two values", [](int k, int) { return k % 2; }},
    };
    const int count = 2000;
    for (const Shape &shape : shapes) {
        SCOPED_TRACE(shape.name);
        Records input;
        for (int k = 0; k < count; ++k) {
            char text[46];
            snprintf(text, sizeof text, "%-25d%010d%-10d", k, shape.key(k, count), k);
            input.push_back(std::string(text, 45));
        }
        BoxScript boxes;
        Records output = Sorted(input, 45, 26, 35);
        ExpectSortedPermutation(input, output, 26, 35);
        EXPECT_TRUE(boxes.Shown().empty());
    }
}

// ---- taupp --------------------------------------------------------------------------

TEST(Taupp, ExchangesTwoBlocks)
{
    std::vector<char> area = {'a', 'b', 'c', '1', '2', '3', 'x', 'y', 'z'};
    taupp(3, &area[0], &area[6]);
    EXPECT_EQ(std::string(area.begin(), area.end()), "xyz123abc");
    taupp(3, &area[0], &area[3]);  // neighbouring blocks
    EXPECT_EQ(std::string(area.begin(), area.end()), "123xyzabc");
    taupp(1, &area[8], &area[0]);
    EXPECT_EQ(std::string(area.begin(), area.end()), "c23xyzab1");
}

TEST(Taupp, NothingToExchange)
{
    std::vector<char> area = {'a', 'b', 'c', 'd'};
    BoxScript boxes;
    taupp(2, &area[0], &area[0]);
    taupp(0, &area[0], &area[2]);
    taupp(-4, &area[0], &area[2]);
    EXPECT_EQ(std::string(area.begin(), area.end()), "abcd");
    EXPECT_TRUE(boxes.Shown().empty());
}

}  // namespace

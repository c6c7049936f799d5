// c4sort: quicksort of fixed-length records by a column range, without recursion. The
// pending right parts wait on two stacks, one for their first and one for their last
// record.
#include "sort.h"

#include "errorbox.h"

#include <stdlib.h>
#include <string.h>

static const int MAX_RECORD_LENGTH = 1024;  // the pivot buffer's width

struct SortKey {
    int offset;  // first key column, 0-based
    int width;   // key columns inside the record; 0 makes every key equal
};

static char *Record(char *records, short length, int k)
{
    return records + (size_t)(k - 1) * (size_t)length;
}

static bool KeyLess(const char *a, const char *b, SortKey key)
{
    return key.width > 0 && memcmp(a + key.offset, b + key.offset, (size_t)key.width) < 0;
}

// Splits lo..hi around the key of its middle record, Hoare's way; on return lo..j and
// i..hi remain to be sorted.
static void Partition(char *records, short length, short count, SortKey key, int lo, int hi,
                      int &i, int &j)
{
    char pivot[MAX_RECORD_LENGTH];
    memcpy(pivot, Record(records, length, (lo + hi) / 2), (size_t)length);
    i = lo;
    j = hi;
    for (;;) {
        while (KeyLess(Record(records, length, i), pivot, key) && i < count) {
            ++i;
        }
        while (KeyLess(pivot, Record(records, length, j), key) && j > 1) {
            --j;
        }
        if (j < i) {
            return;
        }
        if (i != j) {
            taupp(length, Record(records, length, i), Record(records, length, j));
        }
        ++i;
        --j;
        if (j < i) {
            return;
        }
    }
}

static void SortRanges(char *records, short length, short count, SortKey key, int *lows,
                       int *highs)
{
    const int capacity = 2 * count;
    int pending = 0;
    int lo = 1;
    int hi = count;
    for (;;) {
        int i, j;
        Partition(records, length, count, key, lo, hi, i, j);
        if (lo < j) {
            if (pending >= capacity) {
                ReportInternalError("c4sort-6", 8);
                return;
            }
            lows[pending] = i;
            highs[pending] = hi;
            ++pending;
            hi = j;
            continue;
        }
        if (i < hi) {
            // The right part goes through the stack too and is taken off at once.
            if (pending >= capacity) {
                ReportInternalError("c4sort-7", 8);
                return;
            }
            lows[pending] = i;
            highs[pending] = hi;
            ++pending;
        }
        // The most recent pending part of two or more records is next.
        for (;;) {
            if (pending == 0) {
                return;
            }
            --pending;
            if (lows[pending] < highs[pending]) {
                lo = lows[pending];
                hi = highs[pending];
                break;
            }
        }
    }
}

void c4sort(char *records, short length, short count, short first, short last)
{
    if (count < 2 || length < 1 || records == nullptr) {
        return;
    }
    int *lows = (int *)malloc(2 * (size_t)count * sizeof(int));
    if (lows == nullptr) {
        ReportInternalError("c4sort-1", 8);
        return;
    }
    int *highs = (int *)malloc(2 * (size_t)count * sizeof(int));
    if (highs == nullptr) {
        ReportInternalError("c4sort-2", 8);
        free(lows);
        return;
    }
    if (length > MAX_RECORD_LENGTH || first > MAX_RECORD_LENGTH || last > MAX_RECORD_LENGTH ||
        first < 1 || last < 1) {
        ReportInternalError("c4sort-3", 8);
        free(highs);
        free(lows);
        return;
    }
    // Key columns beyond the record do not exist: they would belong to the next record,
    // or lie past the array for the last one. They are left out of the comparison.
    SortKey key;
    key.offset = first - 1;
    key.width = (last < length ? last : length) - first + 1;
    if (key.width < 0) {
        key.width = 0;
    }
    SortRanges(records, length, count, key, lows, highs);
    free(highs);
    free(lows);
}

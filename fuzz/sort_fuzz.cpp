// c4sort and taupp on arbitrary records and parameters. With valid parameters the
// result is sorted by the key, a permutation of the input, and exactly the order that
// the middle-pivot partition gives (a reference copy of those steps below); invalid
// ones are refused with "c4sort-3", and no parameter makes the sort touch memory
// outside the array.
#include "Kopf01/sort.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

const int kMaxColumn = 1024;
const int kMaxBytes = 1 << 16;
const int kMaxCount = 2100;  // the chart lists hold up to 2000 lines

struct Params {
    short length, count, first, last;
};

std::string Record(const std::string &array, int length, int k) {
    return array.substr(static_cast<size_t>(k) * length, length);
}

// The partition steps, record by record, for valid parameters.
void ReferenceSort(std::string &a, int length, int count, int first, int last) {
    const int width = last - first + 1;
    auto key = [&](int k) { return &a[static_cast<size_t>(k - 1) * length + first - 1]; };
    std::vector<std::pair<int, int>> pending;
    std::string pivot;
    int lo = 1, hi = count;
    for (;;) {
        pivot = Record(a, length, (lo + hi) / 2 - 1);
        const char *p = pivot.data() + first - 1;
        int i = lo, j = hi;
        for (;;) {
            while (std::memcmp(key(i), p, width) < 0 && i < count) ++i;
            while (std::memcmp(p, key(j), width) < 0 && j > 1) --j;
            if (j < i) break;
            if (i != j)
                std::swap_ranges(&a[static_cast<size_t>(i - 1) * length],
                                 &a[static_cast<size_t>(i) * length],
                                 &a[static_cast<size_t>(j - 1) * length]);
            ++i;
            --j;
            if (j < i) break;
        }
        if (lo < j) {
            pending.push_back({i, hi});
            hi = j;
        } else if (i < hi) {
            lo = i;
        } else {
            for (;;) {
                if (pending.empty()) return;
                std::pair<int, int> next = pending.back();
                pending.pop_back();
                if (next.first < next.second) {
                    lo = next.first;
                    hi = next.second;
                    break;
                }
            }
        }
    }
}

std::vector<std::string> SortedRecords(const std::string &array, int length) {
    std::vector<std::string> records;
    for (size_t at = 0; at + length <= array.size(); at += length)
        records.push_back(array.substr(at, length));
    std::sort(records.begin(), records.end());
    return records;
}

short Column(FuzzedDataProvider &in, int length) {
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: return in.ConsumeIntegralInRange<short>(SHRT_MIN, 0);
    case 1: return in.ConsumeIntegralInRange<short>(kMaxColumn - 2, kMaxColumn + 2);
    case 2: return in.ConsumeIntegralInRange<short>(1, kMaxColumn);
    default: return in.ConsumeIntegralInRange<short>(1, static_cast<short>(std::max(length, 1)));
    }
}

void CheckTaupp(FuzzedDataProvider &in) {
    int length = in.ConsumeIntegralInRange<int>(-8, 3000);
    int size = std::max(length, 0);
    std::string one = in.ConsumeBytesAsString(size);
    one.resize(size, 'a');
    std::string two = one;
    std::reverse(two.begin(), two.end());
    two.resize(size, 'b');
    QuietBoxes boxes;
    GuardedField first(one.data(), size), second(two.data(), size);
    taupp(length, first.Data(), second.Data());
    FUZZ_CHECK(first.Intact() && second.Intact(), "taupp %d wrote outside", length);
    FUZZ_CHECK(boxes.Shown().empty(), "taupp %d showed %s", length, boxes.Describe().c_str());
    if (length >= 0)
        FUZZ_CHECK(std::string(first.Data(), size) == two &&
                       std::string(second.Data(), size) == one,
                   "taupp %d did not exchange the blocks", length);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0) {
        CheckTaupp(in);
        return 0;
    }
    Params p;
    switch (in.ConsumeIntegralInRange<int>(0, 15)) {
    case 0: p.length = in.ConsumeIntegral<short>(); break;
    case 1: p.length = in.ConsumeIntegralInRange<short>(kMaxColumn - 2, kMaxColumn + 2); break;
    case 2: p.length = 45; break;  // a list line
    case 3: p.length = 40; break;  // a construction-system entry
    default: p.length = in.ConsumeIntegralInRange<short>(1, 24); break;
    }
    p.count = in.ConsumeIntegralInRange<int>(0, 7) == 0 ? in.ConsumeIntegral<short>()
                                                         : in.ConsumeIntegralInRange<short>(0, 400);
    if (p.count > kMaxCount) p.count = static_cast<short>(p.count % (kMaxCount + 1));
    p.first = Column(in, p.length);
    if (in.ConsumeBool()) {
        p.last = Column(in, p.length);
    } else {
        int width = in.ConsumeIntegralInRange<int>(0, 12);
        p.last = static_cast<short>(std::min<int>(p.first + width, p.length));
    }
    int alphabet = in.ConsumeIntegralInRange<int>(1, 256);

    // Records from the rest of the input, repeated as needed; a small alphabet makes
    // equal keys common.
    long long bytes = p.count > 0 && p.length > 0 ? 1LL * p.count * p.length : 0;
    if (bytes > kMaxBytes) {
        p.count = static_cast<short>(kMaxBytes / p.length);
        bytes = 1LL * p.count * p.length;
    }
    std::string source = in.ConsumeRemainingBytesAsString();
    if (source.empty()) source = "M";
    std::string before(static_cast<size_t>(bytes), ' ');
    for (size_t k = 0; k < before.size(); ++k) {
        unsigned char c = static_cast<unsigned char>(source[k % source.size()]);
        before[k] = static_cast<char>(alphabet == 256 ? c : '0' + c % alphabet);
    }

    QuietBoxes boxes;
    GuardedField array(before.data(), static_cast<int>(bytes));
    c4sort(array.Data(), p.length, p.count, p.first, p.last);
    std::string after(array.Data(), static_cast<size_t>(bytes));
    FUZZ_CHECK(array.Intact(), "c4sort length %d count %d first %d last %d wrote outside",
               p.length, p.count, p.first, p.last);

    auto inRange = [](int v) { return v >= 1 && v <= kMaxColumn; };
    if (p.count < 2 || p.length < 1) {
        FUZZ_CHECK(after == before && boxes.Shown().empty(),
                   "c4sort count %d length %d changed the array or showed %s", p.count,
                   p.length, boxes.Describe().c_str());
        return 0;
    }
    if (!inRange(p.length) || !inRange(p.first) || !inRange(p.last)) {
        FUZZ_CHECK(after == before, "c4sort length %d first %d last %d changed the array",
                   p.length, p.first, p.last);
        FUZZ_CHECK(boxes.ReportedExactly({"c4sort-3"}),
                   "c4sort length %d first %d last %d showed %s",
                   p.length, p.first, p.last, boxes.Describe().c_str());
        return 0;
    }
    FUZZ_CHECK(SortedRecords(after, p.length) == SortedRecords(before, p.length),
               "c4sort length %d count %d first %d last %d lost or changed records",
               p.length, p.count, p.first, p.last);
    // Keys beyond the record (last > length) or an empty key range are the caller's
    // mistake: the array must stay a permutation, the order is not defined.
    if (p.first > p.last || p.last > p.length) return 0;

    FUZZ_CHECK(boxes.Shown().empty(), "c4sort showed %s", boxes.Describe().c_str());
    const int width = p.last - p.first + 1;
    for (int k = 1; k < p.count; ++k) {
        const char *a = after.data() + static_cast<size_t>(k - 1) * p.length + p.first - 1;
        FUZZ_CHECK(std::memcmp(a, a + p.length, width) <= 0,
                   "c4sort length %d count %d columns %d-%d: records %d and %d out of order",
                   p.length, p.count, p.first, p.last, k, k + 1);
    }
    std::string expected = before;
    ReferenceSort(expected, p.length, p.count, p.first, p.last);
    for (int k = 0; k < p.count; ++k) {
        FUZZ_CHECK(Record(after, p.length, k) == Record(expected, p.length, k),
                   "c4sort length %d count %d columns %d-%d: record %d is %s, the partition "
                   "steps give %s",
                   p.length, p.count, p.first, p.last, k + 1,
                   Shown(after.data() + static_cast<size_t>(k) * p.length, p.length).c_str(),
                   Shown(expected.data() + static_cast<size_t>(k) * p.length, p.length).c_str());
    }
    return 0;
}

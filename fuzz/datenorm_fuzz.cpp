// NormDateEntry on arbitrary typed text and an arbitrary "today": the result is always
// a plausible dd.mm.yyyy, and within the normal limits it is exactly the date that the
// cleaning, field and clamping rules give (a small model below).
#include "app/datenorm.h"
#include "fuzz_support.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>

namespace {

const int kDateLength = 10;
const int kFieldDigits = 10;  // digits beyond the tenth of one field are dropped
const int kMaxTyped = 255;    // the longest text a date edit hands over

struct Today {
    int year, month, day;
};

struct Expected {
    long long day, month, year;
    bool dayKnown, monthKnown, yearKnown;  // false where the value is left open
};

bool IsSeparator(unsigned char c) {
    return c == ':' || c == '.' || c == '/' || c == '\\' || c == '-' || c == ' ';
}

int DaysIn(int month, int year) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

int MonthLimit(long long month) {
    if (month == 4 || month == 6 || month == 9 || month == 11) return 30;
    if (month == 2) return 29;
    return 31;
}

Expected Model(const char *text, int length, Today today) {
    std::string cleaned;
    for (int i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= '0' && c <= '9') {
            cleaned += static_cast<char>(c);
        } else if (IsSeparator(c) && (cleaned.empty() || cleaned.back() != '.')) {
            cleaned += '.';
        }
    }
    cleaned += '.';

    long long value[3] = {today.day, today.month, today.year};
    bool fits[3] = {true, true, true};
    std::string digits;
    int field = 0;
    for (char c : cleaned) {
        if (field >= 3) break;
        if (c != '.') {
            if (static_cast<int>(digits.size()) < kFieldDigits) digits += c;
            continue;
        }
        if (!digits.empty()) {
            value[field] = std::stoll(digits);
            fits[field] = value[field] <= INT32_MAX;
        }
        ++field;
        digits.clear();
    }

    Expected e{value[0], value[1], value[2], fits[0], fits[1], fits[2]};
    if (e.year < 79) e.year += 2000;
    else if (e.year < 100) e.year += 1900;
    if (e.year > 9999) e.yearKnown = false;
    if (e.month < 1) e.month = 1;
    if (e.month > 12) e.month = 12;
    if (e.day < 1) e.day = 1;
    if (e.day > 31) e.day = 31;
    if (e.day > MonthLimit(e.month)) e.day = MonthLimit(e.month);
    return e;
}

int Digits(const char *p, int n, bool *ok) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') *ok = false;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    Today today;
    today.year = in.ConsumeIntegralInRange<int>(1980, 2099);
    today.month = in.ConsumeIntegralInRange<int>(1, 12);
    today.day = in.ConsumeIntegralInRange<int>(1, DaysIn(today.month, today.year));
    // Within the callers' contract: a typed text of 1 to 255 characters in a buffer
    // with room for the date. Otherwise any length and buffer size.
    bool withinContract = in.ConsumeBool();
    int bufferSize = 0;
    int length = 0;
    std::string typed;
    if (withinContract) {
        int spare = in.ConsumeIntegralInRange<int>(0, 8);
        typed = in.ConsumeRemainingBytesAsString().substr(0, kMaxTyped);
        if (typed.empty()) typed = " ";
        length = static_cast<int>(typed.size());
        bufferSize = std::max(length + 1, kDateLength + 1) + spare;
    } else {
        bufferSize = in.ConsumeIntegralInRange<int>(0, 1100);
        length = in.ConsumeIntegralInRange<int>(-5, 1100);
        typed = in.ConsumeRemainingBytesAsString();
    }
    typed.resize(bufferSize, 'x');

    Lin32SetToday(today.year, today.month, today.day);
    QuietBoxes boxes;
    GuardedField field(typed.data(), bufferSize);
    int lengthInOut = length;
    NormDateEntry(field.Data(), bufferSize, &lengthInOut);
    Lin32ClearToday();

    FUZZ_CHECK(field.Intact(), "wrote outside its buffer of %d (length %d)", bufferSize,
               length);
    FUZZ_CHECK(boxes.Shown().empty(), "showed %s", boxes.Describe().c_str());
    if (bufferSize < kDateLength + 1 || length < 1 || length > bufferSize) return 0;

    const char *out = field.Data();
    std::string input = Shown(typed.data(), length);
    std::string got = Shown(out, kDateLength + 1);
    FUZZ_CHECK(lengthInOut == kDateLength, "length %d for %s", lengthInOut, input.c_str());
    FUZZ_CHECK(out[2] == '.' && out[5] == '.' && out[10] == '\0', "form of %s for %s",
               got.c_str(), input.c_str());
    bool digits = true;
    int day = Digits(out, 2, &digits);
    int month = Digits(out + 3, 2, &digits);
    int year = Digits(out + 6, 4, &digits);
    FUZZ_CHECK(digits, "non-digit in %s for %s", got.c_str(), input.c_str());
    FUZZ_CHECK(month >= 1 && month <= 12 && day >= 1 && day <= MonthLimit(month),
               "implausible date %s for %s", got.c_str(), input.c_str());

    if (length > kMaxTyped) return 0;
    Expected e = Model(typed.data(), length, today);
    if (!e.monthKnown) e.day = std::min<long long>(e.day, MonthLimit(month));
    FUZZ_CHECK(!e.dayKnown || day == e.day, "day of %s, expected %lld, for %s (today %d-%d-%d)",
               got.c_str(), e.day, input.c_str(), today.year, today.month, today.day);
    FUZZ_CHECK(!e.monthKnown || month == e.month,
               "month of %s, expected %lld, for %s (today %d-%d-%d)", got.c_str(), e.month,
               input.c_str(), today.year, today.month, today.day);
    FUZZ_CHECK(!e.yearKnown || year == e.year,
               "year of %s, expected %lld, for %s (today %d-%d-%d)", got.c_str(), e.year,
               input.c_str(), today.year, today.month, today.day);
    return 0;
}

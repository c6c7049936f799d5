// Typed dates and what NormDateEntry makes of them, shared by the test that runs on the
// real clock and the one that fixes today. "DD", "MM" and "YYYY" in an expected date
// stand for today's day, month and year.
#ifndef TESTS_BASE_DATENORM_CASES_H
#define TESTS_BASE_DATENORM_CASES_H

#include "app/datenorm.h"
#include "Kopf01/winapi.h"

#include <cstdio>
#include <string>
#include <vector>

struct DateCase {
    std::string typed;
    const char *expected;
};

// Cases whose result does not depend on which day today is beyond the placeholders.
inline const std::vector<DateCase> &DateCasesForAnyToday()
{
    static const std::vector<DateCase> cases = {
        // separators of every kind, and runs of them
        {"1.2.04", "01.02.2004"},
        {"1/2/4", "01.02.2004"},
        {"1-2-4", "01.02.2004"},
        {"1 2 4", "01.02.2004"},
        {"1:2:4", "01.02.2004"},
        {"1\\2\\4", "01.02.2004"},
        {"5..3", "05.03.YYYY"},
        {"5.-/ 3", "05.03.YYYY"},
        {"..", "DD.MM.YYYY"},
        // missing parts are today's
        {"24.12.", "24.12.YYYY"},
        {"5", "05.MM.YYYY"},
        {"abc", "DD.MM.YYYY"},
        {"-5.3", "DD.05.2003"},
        {" 7.8.9", "DD.07.2008"},
        // later fields and other characters
        {"1.2.3.4", "01.02.2003"},
        {"15.6.2004 12:30", "15.06.2004"},
        {"1a.b2.2004", "01.02.2004"},
        {"1\t2.3", "12.03.YYYY"},
        // years
        {"1.1.78", "01.01.2078"},
        {"1.1.79", "01.01.1979"},
        {"1.1.99", "01.01.1999"},
        {"1.1.0", "01.01.2000"},
        {"1.1.0079", "01.01.1979"},
        {"1.1.100", "01.01.0100"},
        {"1.1.9999", "01.01.9999"},
        // days and months out of range
        {"31.4.2004", "30.04.2004"},
        {"31.6.1", "30.06.2001"},
        {"31.9.1", "30.09.2001"},
        {"31.11.1", "30.11.2001"},
        {"31.1.1", "31.01.2001"},
        {"32.12.2004", "31.12.2004"},
        {"30.2.2003", "29.02.2003"},
        {"29.2.2001", "29.02.2001"},
        {"0.13.2004", "01.12.2004"},
        {"00.00.0000", "01.01.2000"},
        // fields too long for a number of 32 bits, years of five digits and more
        {"9999999999.1.2004", "31.01.2004"},
        {"2147483648.2147483648.2147483648", "31.12.9999"},
        {"12345678901.1.2004", "31.01.2004"},
        {"00000000005.1.2004", "01.01.2004"},
        {"1.99999999999.2004", "01.12.2004"},
        {"1.1.10000", "01.01.9999"},
        {"1.1.0000000000123", "01.01.2000"},
    };
    return cases;
}

inline std::string TodayExpanded(const char *expected, const SYSTEMTIME &today)
{
    std::string date = expected;
    char part[8];
    if (date.compare(0, 2, "DD") == 0) {
        snprintf(part, sizeof part, "%02u", (unsigned)today.wDay);
        date.replace(0, 2, part);
    }
    if (date.compare(3, 2, "MM") == 0) {
        snprintf(part, sizeof part, "%02u", (unsigned)today.wMonth);
        date.replace(3, 2, part);
    }
    if (date.compare(6, 4, "YYYY") == 0) {
        snprintf(part, sizeof part, "%04u", (unsigned)today.wYear);
        date.replace(6, 4, part);
    }
    return date;
}

// The typed text in a buffer of size characters (at least its length), as an edit would
// deliver it; returns the buffer after the call and the length left in *length.
inline std::vector<char> Normalised(const std::string &typed, size_t size, int *length)
{
    std::vector<char> buffer(size, '\0');
    typed.copy(buffer.data(), typed.size() < size ? typed.size() : size);
    *length = (int)typed.size();
    NormDateEntry(buffer.data(), (int)size, length);
    return buffer;
}

// The date of the buffer's first ten characters, checked to end with a NUL.
inline std::string NormalisedDate(const std::string &typed)
{
    int length = 0;
    std::vector<char> buffer = Normalised(typed, 256, &length);
    if (length != 10 || buffer[10] != '\0') {
        return "length " + std::to_string(length) + ", no NUL after the date";
    }
    return std::string(buffer.data(), 10);
}

#endif

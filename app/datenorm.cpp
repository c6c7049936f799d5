// NormDateEntry: any typed text becomes a plausible date dd.mm.yyyy. Parts not typed are
// today's, two-digit years are widened, and a day or month out of range is pulled to
// the nearest valid one.
#include "datenorm.h"

#include "../Kopf01/winapi.h"

#include <stdint.h>

static const int DATE_LENGTH = 10;   // dd.mm.yyyy
static const int FIELD_DIGITS = 10;  // digits of one field that are read; more are dropped
static const int DATE_FIELDS = 3;    // day, month, year; later fields are ignored
static const int64_t FIELD_MAX = INT32_MAX;  // a field's value is a 32-bit number
static const int64_t YEAR_MAX = 9999;        // the year keeps four digits

// The fields as the cleaned text (digits and single dots) is read through.
struct DateReader {
    int64_t part[DATE_FIELDS];  // day, month, year
    int field;                  // dots seen so far
    int digits;                 // digits collected for the current field
    int64_t value;
};

static void ReadCleaned(DateReader &reader, char c)
{
    if (reader.field >= DATE_FIELDS) {
        return;
    }
    if (c != '.') {
        // Ten digits stay below 10^10, so the sum cannot overflow 64 bits.
        if (reader.digits < FIELD_DIGITS) {
            reader.value = reader.value * 10 + (c - '0');
            ++reader.digits;
        }
        return;
    }
    if (reader.digits > 0) {
        // Saturating keeps a value too large for 32 bits the largest one: clamped below
        // like any other large day, month or year.
        reader.part[reader.field] = reader.value > FIELD_MAX ? FIELD_MAX : reader.value;
    }
    ++reader.field;
    reader.digits = 0;
    reader.value = 0;
}

static bool IsSeparator(char c)
{
    return c == ':' || c == '.' || c == '/' || c == '\\' || c == '-' || c == ' ';
}

static void WriteDigits(char *out, int64_t value, int width)
{
    for (int k = width - 1; k >= 0; --k) {
        out[k] = (char)('0' + value % 10);
        value /= 10;
    }
}

void NormDateEntry(char *text, int size, int *length)
{
    if (length == nullptr) {
        return;
    }
    if (text == nullptr) {
        size = 0;
    }
    int inputLength = *length < size ? *length : size;

    SYSTEMTIME today;
    GetLocalTime(&today);
    DateReader reader;
    reader.part[0] = today.wDay;
    reader.part[1] = today.wMonth;
    reader.part[2] = today.wYear;
    reader.field = 0;
    reader.digits = 0;
    reader.value = 0;

    // Cleaning and reading in one pass: digits pass, a run of separators becomes one
    // dot, everything else is dropped; a final dot closes the last field.
    bool endsWithDot = false;
    for (int k = 0; k < inputLength; ++k) {
        char c = text[k];
        if (c >= '0' && c <= '9') {
            ReadCleaned(reader, c);
            endsWithDot = false;
        } else if (IsSeparator(c) && !endsWithDot) {
            ReadCleaned(reader, '.');
            endsWithDot = true;
        }
    }
    ReadCleaned(reader, '.');

    int64_t day = reader.part[0];
    int64_t month = reader.part[1];
    int64_t year = reader.part[2];
    if (year < 79) {
        year += 2000;
    } else if (year < 100) {
        year += 1900;
    } else if (year > YEAR_MAX) {
        year = YEAR_MAX;
    }
    if (month < 1) {
        month = 1;
    } else if (month > 12) {
        month = 12;
    }
    if (day < 1) {
        day = 1;
    } else if (day > 31) {
        day = 31;
    }
    // The year plays no part: 29 February passes in every year.
    if ((month == 4 || month == 6 || month == 9 || month == 11) && day > 30) {
        day = 30;
    } else if (month == 2 && day > 29) {
        day = 29;
    }

    char date[DATE_LENGTH];
    WriteDigits(date, day, 2);
    date[2] = '.';
    WriteDigits(date + 3, month, 2);
    date[5] = '.';
    WriteDigits(date + 6, year, 4);

    // A buffer too small for the date and its NUL gets as much as fits.
    int written = size - 1 < DATE_LENGTH ? size - 1 : DATE_LENGTH;
    if (written < 0) {
        *length = 0;
        return;
    }
    for (int k = 0; k < written; ++k) {
        text[k] = date[k];
    }
    text[written] = '\0';
    *length = written;
}

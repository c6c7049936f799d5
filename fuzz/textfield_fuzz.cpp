// The four text-field routines on arbitrary bytes and counts (negative ones included),
// each field fenced by guard bytes: every result agrees with a plain model, nothing
// beyond the count changes, and only negative counts bring up the error box.
#include "Kopf01/textfield.h"
#include "fuzz_support.h"
#include "lin32/codepage.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

const int kMaxField = 2048;
const int kCodePages[] = {1252, 1250, 1251};

enum Routine { kKleGro, kNsuche, kSqueezeBlanks, kTrimLength, kRoutines };

// A count for a field of `width` characters: the whole field, a part of it, 0, or a
// negative count.
short CountFor(int mode, int cut, int width) {
    switch (mode) {
    case 0: return static_cast<short>(-1 - cut * 15);
    case 1: return 0;
    case 2: return static_cast<short>(std::min(cut, width));
    default: return static_cast<short>(width);
    }
}

bool Blank(char c) { return c == ' ' || c == '\0'; }

char Upper(char c) { return static_cast<char>(Lin32UpperChar(static_cast<unsigned char>(c))); }

// Each check takes its counts and choices from the end of the input and the field from
// the rest (see make_seeds.py).
std::string FieldFrom(FuzzedDataProvider &in) {
    std::string field = in.ConsumeRemainingBytesAsString();
    if (field.size() > kMaxField) field.resize(kMaxField);
    return field;
}

void CheckKleGro(FuzzedDataProvider &in) {
    int mode = in.ConsumeIntegralInRange<int>(0, 7);
    int cut = in.ConsumeIntegralInRange<int>(0, kMaxField);
    std::string before = FieldFrom(in);
    short n = CountFor(mode, cut, static_cast<int>(before.size()));
    QuietBoxes boxes;
    GuardedField field(before.data(), static_cast<int>(before.size()));
    KleGro(field.Data(), n);
    FUZZ_CHECK(field.Intact(), "KleGro n=%d wrote outside a field of %zu", n, before.size());

    std::string expected = before;
    if (n > 0) {
        // Up to the first NUL before position n, then position n on its own.
        for (int i = 0; i < n - 1 && expected[i] != '\0'; ++i) expected[i] = Upper(expected[i]);
        expected[n - 1] = Upper(expected[n - 1]);
    }
    std::string got(field.Data(), before.size());
    FUZZ_CHECK(got == expected, "KleGro n=%d code page %d: %s gave %s, expected %s", n,
               Lin32GetCodePage(), Shown(before.data(), (int)before.size()).c_str(),
               Shown(got.data(), (int)got.size()).c_str(),
               Shown(expected.data(), (int)expected.size()).c_str());
    std::vector<std::string> labels;
    if (n < 0) labels = {"KleGro", "GroKleGro"};
    FUZZ_CHECK(boxes.ReportedExactly(labels), "KleGro n=%d showed %s", n,
               boxes.Describe().c_str());
}

void CheckNsuche(FuzzedDataProvider &in) {
    int textMode = in.ConsumeIntegralInRange<int>(0, 7);
    int textCut = in.ConsumeIntegralInRange<int>(0, kMaxField);
    int patternMode = in.ConsumeIntegralInRange<int>(0, 7);
    int patternCut = in.ConsumeIntegralInRange<int>(0, kMaxField);
    // The pattern: its own bytes, or a piece of the text (so that matches are common),
    // perhaps with its last character changed.
    bool piece = in.ConsumeBool();
    int from = in.ConsumeIntegralInRange<int>(0, kMaxField);
    int patternLength = in.ConsumeIntegralInRange<int>(0, 255);
    bool changeLast = in.ConsumeBool();
    std::string pattern = piece ? "" : in.ConsumeBytesAsString(patternLength);
    std::string text = FieldFrom(in);
    if (piece && !text.empty()) {
        from %= static_cast<int>(text.size());
        pattern = text.substr(from, std::max(patternLength, 1));
        if (changeLast) pattern.back() = static_cast<char>(pattern.back() ^ 0x20);
    }
    short n = CountFor(textMode, textCut, static_cast<int>(text.size()));
    short m = CountFor(patternMode, patternCut, static_cast<int>(pattern.size()));

    QuietBoxes boxes;
    GuardedField textField(text.data(), static_cast<int>(text.size()));
    GuardedField patternField(pattern.data(), static_cast<int>(pattern.size()));
    short got = nsuche(textField.Data(), n, patternField.Data(), m);
    FUZZ_CHECK(textField.Intact() && patternField.Intact(), "nsuche n=%d m=%d outside", n, m);
    FUZZ_CHECK(std::string(textField.Data(), text.size()) == text &&
                   std::string(patternField.Data(), pattern.size()) == pattern,
               "nsuche changed its arguments");

    std::string shown = "text " + Shown(text.data(), std::max<int>(n, 0)) + " pattern " +
                        Shown(pattern.data(), std::max<int>(m, 0));
    if (n < 0 || m < 0) {
        FUZZ_CHECK(boxes.ReportedExactly({"nsuche"}), "nsuche n=%d m=%d showed %s", n, m,
                   boxes.Describe().c_str());
        FUZZ_CHECK(got >= 0 && got <= std::max<int>(n, 0), "nsuche n=%d m=%d gave %d", n, m,
                   got);
        return;
    }
    FUZZ_CHECK(boxes.Shown().empty(), "nsuche n=%d m=%d showed %s", n, m,
               boxes.Describe().c_str());
    int expected = 0;
    if (n > 0 && m > 0) {
        for (int at = 0; at + m <= n; ++at) {
            if (std::memcmp(text.data() + at, pattern.data(), m) == 0) {
                expected = at + 1;
                break;
            }
        }
    }
    FUZZ_CHECK(got == expected, "nsuche n=%d m=%d gave %d, expected %d: %s", n, m, got,
               expected, shown.c_str());
}

// Mostly blanks and NULs, as assembled paths and platform-filled fields are.
void Thin(std::string &field) {
    for (char &c : field)
        if (static_cast<unsigned char>(c) % 3 != 0) c = (c & 1) ? ' ' : '\0';
}

void CheckSqueezeBlanks(FuzzedDataProvider &in) {
    int mode = in.ConsumeIntegralInRange<int>(0, 7);
    int cut = in.ConsumeIntegralInRange<int>(0, kMaxField);
    bool thin = in.ConsumeBool();
    std::string before = FieldFrom(in);
    if (thin) Thin(before);
    short n = CountFor(mode, cut, static_cast<int>(before.size()));
    QuietBoxes boxes;
    GuardedField field(before.data(), static_cast<int>(before.size()));
    short got = SqueezeBlanks(field.Data(), n);
    FUZZ_CHECK(field.Intact(), "SqueezeBlanks n=%d wrote outside", n);
    FUZZ_CHECK(boxes.Shown().empty(), "SqueezeBlanks n=%d showed %s", n,
               boxes.Describe().c_str());

    std::string expected = before;
    int kept = 0;
    if (n > 0) {
        std::string packed;
        for (int i = 0; i < n; ++i)
            if (!Blank(before[i])) packed += before[i];
        kept = static_cast<int>(packed.size());
        packed.resize(n, ' ');
        expected.replace(0, n, packed);
    }
    std::string after(field.Data(), before.size());
    FUZZ_CHECK(got == kept, "SqueezeBlanks n=%d gave %d, expected %d for %s", n, got, kept,
               Shown(before.data(), (int)before.size()).c_str());
    FUZZ_CHECK(after == expected, "SqueezeBlanks n=%d: %s became %s", n,
               Shown(before.data(), (int)before.size()).c_str(),
               Shown(after.data(), (int)after.size()).c_str());
}

void CheckTrimLength(FuzzedDataProvider &in) {
    int mode = in.ConsumeIntegralInRange<int>(0, 7);
    int cut = in.ConsumeIntegralInRange<int>(0, kMaxField);
    bool thin = in.ConsumeBool();
    std::string text = FieldFrom(in);
    if (thin) Thin(text);
    short n = CountFor(mode, cut, static_cast<int>(text.size()));
    QuietBoxes boxes;
    GuardedField field(text.data(), static_cast<int>(text.size()));
    short got = TrimLength(field.Data(), n);
    FUZZ_CHECK(field.Intact() && std::string(field.Data(), text.size()) == text,
               "TrimLength n=%d changed memory", n);
    FUZZ_CHECK(boxes.Shown().empty(), "TrimLength n=%d showed %s", n, boxes.Describe().c_str());
    int expected = 0;
    for (int i = n; i >= 1; --i) {
        if (!Blank(text[i - 1])) {
            expected = i;
            break;
        }
    }
    FUZZ_CHECK(got == expected, "TrimLength n=%d gave %d, expected %d for %s", n, got,
               expected, Shown(text.data(), std::max<int>(n, 0)).c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    int routine = in.ConsumeIntegralInRange<int>(0, kRoutines - 1);
    Lin32SetCodePage(in.PickValueInArray(kCodePages));
    switch (routine) {
    case kKleGro: CheckKleGro(in); break;
    case kNsuche: CheckNsuche(in); break;
    case kSqueezeBlanks: CheckSqueezeBlanks(in); break;
    case kTrimLength: CheckTrimLength(in); break;
    }
    return 0;
}

// The reader of compiled resources (.res) on arbitrary bytes, in a buffer of exactly
// their size. Checked:
//   - nothing is read outside the buffer, nothing written into it;
//   - a refusal says why: the resource is not one, or the byte where an entry goes wrong,
//     inside the input;
//   - the result depends on the bytes alone: a second read gives the same, and so does
//     one with an entry of a type the reader passes over added at the back.
#include "fuzz_support.h"
#include "lin32/lin32_dialog.h"

#include <cstdint>

namespace {

std::string Describe(const Lin32Resource &resource) {
    std::string out;
    char number[96];
    for (int icon : resource.iconIds) out += "icon " + std::to_string(icon) + "\n";
    for (const Lin32DialogTemplate &d : resource.dialogs) {
        std::snprintf(number, sizeof number, "dialog %d %u %d %lx %lx %d %d %d %d %d %zu\n",
                      d.id, d.language, d.extended, (unsigned long)d.style,
                      (unsigned long)d.exStyle, d.fontSize, d.x, d.y, d.width, d.height,
                      d.caption.size() + d.fontFace.size());
        out += number;
        for (const Lin32ControlTemplate &c : d.controls) {
            std::snprintf(number, sizeof number, "control %d %d %lx %lx %d %d %d %d %zu\n",
                          c.id, c.iconId, (unsigned long)c.style, (unsigned long)c.exStyle, c.x,
                          c.y, c.width, c.height, c.text.size());
            out += number + c.className + "\n";
            for (char16_t unit : c.text) FUZZ_CHECK(unit != 0, "a NUL inside a text");
        }
    }
    return out;
}

struct Outcome {
    bool ok;
    std::string result;  // the resource written out, or the error
};

Outcome Read(const std::string &bytes) {
    GuardedField field(bytes.data(), static_cast<int>(bytes.size()));
    Lin32Resource resource;
    std::string error;
    Outcome outcome;
    outcome.ok = Lin32ReadResource(field.Data(), bytes.size(), resource, error);
    FUZZ_CHECK(field.Intact(), "the reader wrote into its input");
    if (outcome.ok) {
        FUZZ_CHECK(error.empty(), "success with the error %s", error.c_str());
        outcome.result = Describe(resource);
    } else {
        outcome.result = error;
    }
    return outcome;
}

// The byte an error names lies inside the input.
void CheckPlace(const std::string &error, size_t size) {
    FUZZ_CHECK(!error.empty(), "a refusal without a reason");
    if (error.rfind("not a compiled resource", 0) == 0) return;
    size_t at = error.find(" at byte ");
    FUZZ_CHECK(at != std::string::npos, "an error without its byte: %s", error.c_str());
    unsigned long long byte = std::strtoull(error.c_str() + at + 9, nullptr, 10);
    FUZZ_CHECK(byte < size, "byte %llu of %zu named: %s", byte, size, error.c_str());
}

// An entry of type 0x100, name 1, with two bytes of data, padded.
std::string ForeignEntry() {
    static const unsigned char entry[] = {2, 0, 0, 0, 32, 0, 0, 0, 0xFF, 0xFF, 0, 1,
                                          0xFF, 0xFF, 1, 0, 0, 0, 0, 0, 0x30, 0x10, 9, 8,
                                          0, 0, 0, 0, 0, 0, 0, 0, 'x', 'y', 0, 0};
    return std::string(reinterpret_cast<const char *>(entry), sizeof entry);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    Outcome first = Read(bytes);
    Outcome again = Read(bytes);
    FUZZ_CHECK(first.ok == again.ok && first.result == again.result,
               "two reads of one resource differ: %s / %s", first.result.c_str(),
               again.result.c_str());
    if (!first.ok) {
        CheckPlace(first.result, size);
        return 0;
    }
    std::string longer = bytes + std::string((4 - size % 4) % 4, '\0') + ForeignEntry();
    Outcome added = Read(longer);
    FUZZ_CHECK(added.ok && added.result == first.result,
               "an entry of another type at the back changed the result: %s",
               added.result.c_str());
    return 0;
}

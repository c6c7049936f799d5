// The resource-script parser on arbitrary scripts and #include files, each in a buffer
// of exactly its size with no NUL after it. Checked:
//   - nothing is read outside the buffers;
//   - a failure says where: "file:line: what" with a file the parse read and a line it
//     has, or "end of script: what";
//   - the result depends on the text alone: a second parse gives the same, and so do a
//     comment line put in front (failures then one line further down) and a line end
//     added at the back.
#include "fuzz_support.h"
#include "lin32/lin32_dialog.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

const char kMaster[] = "chartxfer.rc";
const int kMaxIncludes = 8;
const char kLeadingComment[] = "// one more line\n";

struct IncludeFile {
    std::string name;
    std::unique_ptr<GuardedField> text;
};

std::vector<IncludeFile> g_includes;  // the files the lookup hands out for this input

bool Lookup(const char *path, const char **text, size_t *size) {
    for (const IncludeFile &file : g_includes) {
        if (file.name == path) {
            *text = file.text->Data();
            *size = static_cast<size_t>(file.text->Size());
            return true;
        }
    }
    return false;
}

std::string Describe(const Lin32ResourceScript &script) {
    std::string out;
    char number[64];
    for (int icon : script.iconIds) out += "icon " + std::to_string(icon) + "\n";
    for (const Lin32DialogTemplate &d : script.dialogs) {
        std::snprintf(number, sizeof number, "dialog %d %u %d %lx %lx %d %d %d %d %d\n", d.id,
                      d.language, d.extended, (unsigned long)d.style, (unsigned long)d.exStyle,
                      d.fontSize, d.x, d.y, d.width, d.height);
        out += number + d.caption + "\n" + d.fontFace + "\n";
        for (const Lin32ControlTemplate &c : d.controls) {
            std::snprintf(number, sizeof number, "control %d %d %lx %lx %d %d %d %d\n", c.id,
                          c.iconId, (unsigned long)c.style, (unsigned long)c.exStyle, c.x, c.y,
                          c.width, c.height);
            out += number + c.className + "\n" + c.text + "\n";
        }
    }
    return out;
}

struct Outcome {
    bool ok;
    std::string result;  // the templates written out, or the error
};

Outcome Parse(const std::string &master) {
    GuardedField text(master.data(), static_cast<int>(master.size()));
    Lin32ResourceScript script;
    std::string error;
    Outcome outcome;
    outcome.ok = Lin32ParseResourceScript(kMaster, text.Data(), master.size(), Lookup, script,
                                          error);
    FUZZ_CHECK(text.Intact(), "the parser wrote into its script");
    for (const IncludeFile &file : g_includes)
        FUZZ_CHECK(file.text->Intact(), "the parser wrote into %s", file.name.c_str());
    if (outcome.ok) {
        FUZZ_CHECK(error.empty(), "success with the error %s", error.c_str());
        outcome.result = Describe(script);
    } else {
        outcome.result = error;
    }
    return outcome;
}

// The file and line an error names; false for "end of script: ...".
bool Place(const std::string &error, std::string &file, int &line) {
    FUZZ_CHECK(!error.empty(), "a failure without an error");
    if (error.rfind("end of script: ", 0) == 0) return false;
    std::vector<std::string> names = {kMaster};
    for (const IncludeFile &include : g_includes) names.push_back(include.name);
    // The longest known name followed by ":<digits>: " (names may hold colons).
    std::sort(names.begin(), names.end(),
              [](const std::string &a, const std::string &b) { return a.size() > b.size(); });
    for (const std::string &name : names) {
        if (error.compare(0, name.size() + 1, name + ":") != 0) continue;
        size_t digits = name.size() + 1, end = digits;
        while (end < error.size() && error[end] >= '0' && error[end] <= '9') ++end;
        if (end == digits || end - digits > 9 || error.compare(end, 2, ": ") != 0 ||
            end + 2 == error.size())
            continue;
        file = name;
        line = std::stoi(error.substr(digits, end - digits));
        return true;
    }
    FUZZ_CHECK(false, "error without a place: %s", Shown(error.data(), (int)error.size()).c_str());
    return false;
}

int LinesIn(const std::string &text) {
    return 1 + static_cast<int>(std::count(text.begin(), text.end(), '\n') +
                                std::count(text.begin(), text.end(), '\r'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzedDataProvider in(data, size);
    int includes = in.ConsumeIntegralInRange<int>(0, kMaxIncludes);
    std::vector<std::pair<int, int>> lengths;
    for (int i = 0; i < includes; ++i) {
        int nameLength = in.ConsumeIntegralInRange<int>(0, 40);
        lengths.push_back({nameLength, in.ConsumeIntegralInRange<int>(0, 1 << 14)});
    }
    g_includes.clear();
    std::string texts[kMaxIncludes];
    for (int i = 0; i < includes; ++i) {
        IncludeFile file;
        file.name = in.ConsumeBytesAsString(lengths[i].first);
        if (file.name == kMaster) file.name += "~";  // keeps error places unambiguous
        texts[i] = in.ConsumeBytesAsString(lengths[i].second);
        file.text.reset(new GuardedField(texts[i].data(), static_cast<int>(texts[i].size())));
        g_includes.push_back(std::move(file));
    }
    const std::string master = in.ConsumeRemainingBytesAsString();

    QuietBoxes boxes;
    Outcome first = Parse(master);
    Outcome again = Parse(master);
    FUZZ_CHECK(first.ok == again.ok && first.result == again.result,
               "two parses of one script differ: %s / %s", first.result.c_str(),
               again.result.c_str());
    FUZZ_CHECK(boxes.Shown().empty(), "showed %s", boxes.Describe().c_str());

    std::string file;
    int line = 0;
    if (!first.ok && Place(first.result, file, line)) {
        std::string text = master;
        for (int i = includes - 1; i >= 0; --i)
            if (g_includes[i].name == file) text = texts[i];  // the lookup's: the first
        FUZZ_CHECK(line >= 1 && line <= LinesIn(text), "error at line %d of %d: %s", line,
                   LinesIn(text), first.result.c_str());
    }

    // Comments and a final line end change nothing but the lines of the master's errors.
    if (master.rfind("\xEF\xBB\xBF", 0) == 0) return 0;
    Outcome shifted = Parse(kLeadingComment + master);
    FUZZ_CHECK(shifted.ok == first.ok, "a comment line in front turned %s into %s",
               first.result.c_str(), shifted.result.c_str());
    if (first.ok) {
        FUZZ_CHECK(shifted.result == first.result, "a comment line in front changed the result");
        Outcome ended = Parse(master + "\n");
        FUZZ_CHECK(ended.ok && ended.result == first.result,
                   "a line end at the back changed the result: %s", ended.result.c_str());
    } else {
        std::string shiftedFile;
        int shiftedLine = 0;
        bool placed = Place(first.result, file, line);
        FUZZ_CHECK(Place(shifted.result, shiftedFile, shiftedLine) == placed &&
                       (!placed || (shiftedFile == file &&
                                    shiftedLine == line + (file == kMaster ? 1 : 0))),
                   "a comment line in front moved the error %s to %s", first.result.c_str(),
                   shifted.result.c_str());
    }
    return 0;
}

// The INI readers and the merge of the addition file, on arbitrary file bytes placed as
// vornix.ini / vornix.add in the three places the readers look (the current directory,
// its parent, \vornix\) of a temporary drive C:, with names and lengths of any size and
// failed writes injected into the merge. Checked after every call:
//   - nothing is read or written outside the caller's fields;
//   - the value length is -1..field-1; the value is the one that the reading rules give
//     for the INI file as it stands after the merge; integer and logical readers agree;
//   - every line of the merged INI file is whole: a line it had before, or a header or
//     key line made from the addition file's own texts; no line that the addition file
//     does not name goes missing; no temporary file is left behind;
//   - the addition file is gone once it has been applied, and stays when a write failed;
//   - the files in the other places are not touched.
#include "Basis/ini.h"
#include "fuzz_support.h"
#include "lin32/codepage.h"
#include "lin32/lin32_files.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <set>

namespace {

const int kIniColumns = 128;     // what the readers look at of a line
const int kAddColumns = 511;     // what the merge looks at of an addition line
const int kLongestSection = 78;  // the readers' limits
const int kLongestKey = 126;
const int kIntegerField = 128;
const int kIntegerColumns = 10;
const int kPlaces = 3;

// The three places, from the current directory C:\vornix\sys\mas.
const char *const kIniNames[kPlaces] = {".\\vornix.ini", "..\\vornix.ini",
                                        "\\vornix\\vornix.ini"};
const char *const kAddNames[kPlaces] = {".\\vornix.add", "..\\vornix.add",
                                        "\\vornix\\vornix.add"};
std::string g_root;
std::string g_folders[kPlaces];

bool Setup() {
    if (!MakeScratch("chartxfer-ini-fuzz", g_root)) return false;
    std::string drive = g_root + "/c";
    g_folders[2] = drive + "/vornix";
    g_folders[1] = g_folders[2] + "/sys";
    g_folders[0] = g_folders[1] + "/mas";
    for (const std::string &folder : {drive, g_folders[2], g_folders[1], g_folders[0]})
        if (mkdir(folder.c_str(), 0755) != 0) return false;
    Lin32SetDosDevices((g_root + "/dosdevices").c_str());
    return Lin32MapDrive('c', drive.c_str(), DRIVE_FIXED) &&
           SetCurrentDirectoryA("C:\\vornix\\sys\\mas");
}

bool ReadFile(const std::string &path, std::string &content) {
    content.clear();
    int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return false;
    char buffer[8192];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0) content.append(buffer, got);
    close(fd);
    return true;
}

void WriteFile(const std::string &path, const std::string &content) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    FUZZ_CHECK(fd >= 0, "cannot write %s", path.c_str());
    FUZZ_CHECK(write(fd, content.data(), content.size()) == (ssize_t)content.size(),
               "short write to %s", path.c_str());
    close(fd);
}

// Names of the plain files in a place (the folders of the places below it do not count).
std::vector<std::string> FilesIn(const std::string &folder) {
    std::vector<std::string> names;
    DIR *dir = opendir(folder.c_str());
    if (dir == nullptr) return names;
    while (struct dirent *entry = readdir(dir)) {
        std::string name = entry->d_name;
        struct stat info;
        if (lstat((folder + "/" + name).c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void ClearPlaces() {
    for (const std::string &folder : g_folders)
        for (const std::string &name : FilesIn(folder)) unlink((folder + "/" + name).c_str());
}

// ---- the file as the readers see it -------------------------------------------------
// Lines end at LF, CR LF or CR; each is cut to / padded with blanks to `columns`.
std::vector<std::string> ReaderLines(const std::string &content, int columns) {
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < content.size()) {
        std::string line;
        while (at < content.size()) {
            char c = content[at++];
            if (c == '\n') break;
            if (c == '\r') {
                if (at < content.size() && content[at] == '\n') ++at;
                break;
            }
            if (static_cast<int>(line.size()) < columns) line += c;
        }
        line.resize(columns, ' ');
        lines.push_back(line);
    }
    return lines;
}

int Trimmed(const std::string &field) {
    int n = static_cast<int>(field.size());
    while (n > 0 && (field[n - 1] == ' ' || field[n - 1] == '\0')) --n;
    return n;
}

// The value that GetIniValue is to give for this INI file: -1 or the value's length.
int ModelValue(const std::string &ini, const std::string &section, const std::string &key,
               int valueSize, std::string &value) {
    const std::string header = "[" + section + "]";
    bool inSection = false;
    for (const std::string &line : ReaderLines(ini, kIniColumns)) {
        if (line[0] == ';') continue;
        if (!inSection) {
            inSection = line.compare(0, header.size(), header) == 0;
            continue;
        }
        if (line[0] == '[') break;
        if (line.compare(0, key.size(), key) == 0) {
            int start = static_cast<int>(key.size()) + 1;
            int length = std::max(Trimmed(line) - start, 0);
            length = std::min(length, valueSize - 1);
            value = line.substr(start, length);
            return length;
        }
    }
    return -1;
}

// ---- the addition file and the merged lines ---------------------------------------
struct Change {
    std::string section, key, value;  // as the merge passes them on (C strings)
    bool remove;
};

std::string CString(const std::string &text) { return text.substr(0, text.find('\0')); }

std::string Trim(const std::string &text, const char *blanks) {
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string Upper(const std::string &text) {
    std::string upper = text;
    for (char &c : upper) c = static_cast<char>(Lin32UpperChar(static_cast<unsigned char>(c)));
    return upper;
}

// The headers and key lines of the addition file, by the merge's rules.
std::vector<Change> Changes(const std::string &add, std::vector<std::string> &sections) {
    std::vector<Change> changes;
    std::string section;
    for (const std::string &line : ReaderLines(add, kAddColumns)) {
        if (line[0] == ';' || line.compare(0, 3, "   ") == 0) continue;
        if (line[0] == '[') {
            size_t close = line.find(']');
            if (close == std::string::npos || close == 1) break;
            section = CString(line.substr(1, close - 1));
            sections.push_back(section);
            continue;
        }
        size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        int last = Trimmed(line);
        Change change{section, CString(line.substr(0, equals)), "", false};
        if (last == static_cast<int>(equals) + 1) {
            change.remove = true;
        } else if (equals == 0) {
            continue;
        } else {
            change.value = CString(line.substr(equals + 1, last - equals - 1));
        }
        changes.push_back(change);
    }
    return changes;
}

// Lines as the INI writer splits them (at LF), without their line ends.
std::vector<std::string> WriterLines(const std::string &content) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        std::string line = content.substr(start, end - start);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        lines.push_back(line);
        start = end;
    }
    return lines;
}

// The key name the writer sees in a line (upper case); comments, headers and blank
// lines have none.
const char kNoKey[] = "\x01no key";
// A carriage return is a blank to the profile reader wherever it stands, also at the
// start of a line that a bare line feed began.
std::string KeyOfLine(const std::string &line) {
    std::string text = Trim(line, " \t\r\n");
    if (text.empty() || text[0] == ';' || text[0] == '[') return kNoKey;
    return Upper(Trim(text.substr(0, text.find('=')), " \t"));
}

void CheckMerged(const std::string &before, const std::string &after, const std::string &add) {
    std::vector<std::string> sections;
    std::vector<Change> changes = Changes(add, sections);
    std::multiset<std::string> beforeLines, afterLines;
    for (const std::string &line : WriterLines(before)) beforeLines.insert(line);
    for (const std::string &line : WriterLines(after)) afterLines.insert(line);
    std::set<std::string> named;
    for (const Change &change : changes) named.insert(Upper(Trim(change.key, " \t")));

    for (const std::string &line : afterLines) {
        if (beforeLines.count(line)) continue;
        bool made = false;
        for (const std::string &section : sections)
            made = made || line == "[" + Trim(section, " ") + "]";
        for (const Change &change : changes) {
            std::string tail = "=" + change.value;
            if (change.remove || line.size() < tail.size() ||
                line.compare(line.size() - tail.size(), tail.size(), tail) != 0)
                continue;
            std::string name = line.substr(0, line.size() - tail.size());
            made = made || Upper(name) == Upper(Trim(change.key, " "));
        }
        FUZZ_CHECK(made, "merged INI holds the line %s, neither its own nor made from %s",
                   Shown(line.data(), (int)line.size()).c_str(),
                   Shown(add.data(), (int)add.size()).c_str());
    }
    for (const std::string &line : beforeLines) {
        if (named.count(KeyOfLine(line))) continue;
        FUZZ_CHECK(afterLines.count(line) >= beforeLines.count(line),
                   "merge lost the line %s that %s does not name",
                   Shown(line.data(), (int)line.size()).c_str(),
                   Shown(add.data(), (int)add.size()).c_str());
    }
}

// ---- the integer reading ------------------------------------------------------------
// 1 reads, 0 does not, -1 open (ten digits beyond 32 bits).
int ModelInteger(int length, const std::string &value, long long &number) {
    if (length < 1) return 0;
    std::string columns = (value + std::string(kIntegerColumns, ' ')).substr(0, kIntegerColumns);
    std::string packed;
    for (char c : columns)
        if (c != ' ') packed += c;
    size_t digits = packed.find_first_not_of("+-") == 1 ? 1 : 0;
    if (packed.empty() || digits == packed.size() ||
        packed.find_first_not_of("0123456789", digits) != std::string::npos)
        return 0;
    number = std::stoll(packed);
    return number >= INT_MIN && number <= INT_MAX ? 1 : -1;
}

enum Reader { kValue, kInteger, kLogical, kMerge };

// A name for the readers: its bytes from the input, the length passed with it chosen
// apart (exact, negative, or beyond the readers' limit, the field then long enough).
struct Name {
    std::string field;
    int length;
};

Name MakeName(int mode, int beyond, const std::string &bytes) {
    Name name{bytes, static_cast<int>(bytes.size())};
    if (mode == 0) name.length = -1 - beyond;
    if (mode == 1) {
        name.length += beyond;
        name.field.resize(name.length, ' ');
    }
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = Setup();
    FUZZ_CHECK(ready, "no temporary drive");
    FuzzedDataProvider in(data, size);
    Reader reader = static_cast<Reader>(in.ConsumeIntegralInRange<int>(0, 3));
    int iniPlaces = in.ConsumeIntegralInRange<int>(0, 7);
    int addPlaces = in.ConsumeIntegralInRange<int>(0, 7);
    int valueSize = in.ConsumeIntegralInRange<int>(0, 7) == 0
                        ? in.ConsumeIntegralInRange<int>(-2, 4)
                        : in.ConsumeIntegralInRange<int>(1, 200);
    int sectionMode = in.ConsumeIntegralInRange<int>(0, 7);
    int sectionBeyond = in.ConsumeIntegralInRange<int>(0, 255);
    int keyMode = in.ConsumeIntegralInRange<int>(0, 7);
    int keyBeyond = in.ConsumeIntegralInRange<int>(0, 255);
    int fault = in.ConsumeIntegralInRange<int>(0, 5);  // 4: a write fails, 5: a rename
    int nth = in.ConsumeIntegralInRange<int>(1, 4);
    int times = in.ConsumeIntegralInRange<int>(1, 3);
    int sectionLength = in.ConsumeIntegralInRange<int>(0, 100);
    int keyLength = in.ConsumeIntegralInRange<int>(0, 160);
    int iniLength = in.ConsumeIntegralInRange<int>(0, 8192);
    Name section = MakeName(sectionMode, sectionBeyond, in.ConsumeBytesAsString(sectionLength));
    Name key = MakeName(keyMode, keyBeyond, in.ConsumeBytesAsString(keyLength));
    std::string ini = in.ConsumeBytesAsString(iniLength);
    std::string add = in.ConsumeRemainingBytesAsString();

    ClearPlaces();
    Lin32ClearFailures();
    if (reader == kMerge) {
        iniPlaces &= 1;  // the merge is called for the current directory's pair
        addPlaces |= 1;
    }
    for (int p = 0; p < kPlaces; ++p) {
        if (iniPlaces & (1 << p)) WriteFile(g_folders[p] + "/vornix.ini", ini);
        if (addPlaces & (1 << p)) WriteFile(g_folders[p] + "/vornix.add", add);
    }
    int found = -1;
    for (int p = kPlaces - 1; p >= 0; --p)
        if (iniPlaces & (1 << p)) found = p;
    Lin32Operation failing = fault == 5 ? LIN32_OP_RENAME : LIN32_OP_WRITE;
    if (fault >= 4) Lin32FailOperation(failing, nth, ERROR_DISK_FULL, times);

    QuietBoxes boxes;
    GuardedField sectionField(section.field.data(), static_cast<int>(section.field.size()));
    GuardedField keyField(key.field.data(), static_cast<int>(key.field.size()));
    const std::string untouched(std::max(valueSize, 0), '\x5A');
    GuardedField valueField(untouched.data(), std::max(valueSize, 0));
    int valueLength = INT_MIN, number = INT_MIN, logical = INT_MIN;
    bool read = false, merged = false;
    std::string iniPath = kIniNames[0], addPath = kAddNames[0];  // same length
    int iniPathLength = static_cast<int>(iniPath.size());
    switch (reader) {
    case kValue:
        GetIniValue(sectionField.Data(), section.length, keyField.Data(), key.length,
                    valueField.Data(), valueSize, &valueLength);
        break;
    case kInteger:
        read = GetIniInteger(sectionField.Data(), section.length, keyField.Data(), key.length,
                             &number);
        break;
    case kLogical:
        read = GetIniLogical(sectionField.Data(), section.length, keyField.Data(), key.length,
                             &logical);
        break;
    case kMerge:
        // Lengths as for the names: exact, negative, or beyond the name's field.
        if (sectionMode == 0) iniPathLength = -sectionBeyond;
        if (sectionMode == 1) iniPathLength += MAX_PATH + sectionBeyond;
        iniPath.resize(std::max(iniPathLength, 0), 'x');
        addPath.resize(std::max(iniPathLength, 0), 'x');
        {
            GuardedField iniName(iniPath.data(), static_cast<int>(iniPath.size()));
            GuardedField addName(addPath.data(), static_cast<int>(addPath.size()));
            merged = MergeIniAdd(iniName.Data(), iniPathLength, addName.Data(), iniPathLength);
            FUZZ_CHECK(iniName.Intact() && addName.Intact(), "MergeIniAdd read outside");
        }
        break;
    }
    bool faultFired = fault >= 4 && Lin32OperationCount(failing) >= nth;
    Lin32ClearFailures();

    FUZZ_CHECK(sectionField.Intact() && keyField.Intact() && valueField.Intact(),
               "a reader wrote outside its fields (value field %d)", valueSize);
    FUZZ_CHECK(boxes.Shown().empty(), "showed %s", boxes.Describe().c_str());
    if (reader == kValue) {
        const char *value = valueField.Data();
        FUZZ_CHECK(valueLength == -1 || (valueLength >= 0 && valueLength < valueSize),
                   "value length %d for a field of %d", valueLength, valueSize);
        if (valueLength >= 0)
            FUZZ_CHECK(value[valueLength] == '\0', "no NUL after a value of %d", valueLength);
        for (int i = valueLength < 0 ? 0 : valueLength + 1; i < valueSize; ++i)
            FUZZ_CHECK(value[i] == untouched[i], "value field changed at %d after a value of %d",
                       i, valueLength);
    }

    // The place whose files the call may change: the INI file found, or for the merge
    // called directly the current directory's pair. Nothing else may change.
    const int place = reader == kMerge ? 0 : found;
    for (int p = 0; p < kPlaces; ++p) {
        for (const std::string &name : FilesIn(g_folders[p]))
            FUZZ_CHECK(name == "vornix.ini" || name == "vornix.add",
                       "left %s behind in place %d", name.c_str(), p);
        if (p == place) continue;
        std::string content;
        bool hasIni = ReadFile(g_folders[p] + "/vornix.ini", content);
        FUZZ_CHECK(hasIni == (((iniPlaces >> p) & 1) != 0) && (!hasIni || content == ini),
                   "INI file of place %d changed", p);
        bool hasAdd = ReadFile(g_folders[p] + "/vornix.add", content);
        FUZZ_CHECK(hasAdd == (((addPlaces >> p) & 1) != 0) && (!hasAdd || content == add),
                   "addition file of place %d changed", p);
    }
    const bool validNames = section.length >= 0 && section.length <= kLongestSection &&
                            key.length >= 0 && key.length <= kLongestKey;
    if (place < 0) {
        FUZZ_CHECK(valueLength == -1 || reader != kValue, "value %d without an INI file",
                   valueLength);
        FUZZ_CHECK(!read, "integer read without an INI file");
        return 0;
    }

    // The merge: whether it had to run, whether it ran, and what it left.
    const bool hadIni = ((iniPlaces >> place) & 1) != 0;
    const bool hadAdd = ((addPlaces >> place) & 1) != 0;
    const bool mergeDue =
        hadAdd && (reader == kMerge ? iniPathLength > 0 && iniPathLength < MAX_PATH
                                    : validNames && (reader != kValue || valueSize >= 1));
    std::string after, addAfter;
    const bool hasIni = ReadFile(g_folders[place] + "/vornix.ini", after);
    const bool hasAdd = ReadFile(g_folders[place] + "/vornix.add", addAfter);
    const bool changed = hasIni != hadIni || (hasIni && after != ini) || hasAdd != hadAdd ||
                         (hasAdd && addAfter != add);
    if (!hadAdd) {
        FUZZ_CHECK(!changed, "files changed without an addition file");
    } else if (mergeDue || changed) {
        FUZZ_CHECK(hasIni || !hadIni, "the merge lost the INI file");
        CheckMerged(hadIni ? ini : "", after, add);
        if (mergeDue && faultFired) {
            FUZZ_CHECK(hasAdd && addAfter == add,
                       "a write failed, yet the addition file is gone or changed");
            FUZZ_CHECK(reader != kMerge || !merged, "a write failed, yet the merge says done");
        } else if (mergeDue) {
            FUZZ_CHECK(reader == kMerge ? merged && hasAdd : !hasAdd,
                       "the addition file was applied, yet %s",
                       hasAdd ? "it stays" : "the merge says it was not");
        }
    }
    std::string sectionText = section.field.substr(0, std::max(section.length, 0));
    std::string keyText = key.field.substr(0, std::max(key.length, 0));
    if (reader == kMerge || !validNames) return 0;

    std::string expected;
    if (reader == kValue) {
        if (valueSize < 1) return 0;
        int expectedLength = ModelValue(after, sectionText, keyText, valueSize, expected);
        FUZZ_CHECK(valueLength == expectedLength &&
                       std::string(valueField.Data(), std::max(valueLength, 0)) == expected,
                   "section %s key %s gave %d %s, expected %d %s",
                   Shown(sectionText.data(), (int)sectionText.size()).c_str(),
                   Shown(keyText.data(), (int)keyText.size()).c_str(), valueLength,
                   Shown(valueField.Data(), std::max(valueLength, 0)).c_str(), expectedLength,
                   Shown(expected.data(), (int)expected.size()).c_str());
        return 0;
    }
    int expectedLength = ModelValue(after, sectionText, keyText, kIntegerField, expected);
    long long expectedNumber = 0;
    int reads = ModelInteger(expectedLength, expected, expectedNumber);
    if (reads >= 0)
        FUZZ_CHECK(read == (reads == 1), "value %s %s as an integer",
                   Shown(expected.data(), (int)expected.size()).c_str(),
                   read ? "read" : "did not read");
    if (reader == kInteger && reads == 1)
        FUZZ_CHECK(number == expectedNumber, "value %s read as %d",
                   Shown(expected.data(), (int)expected.size()).c_str(), number);
    if (reader == kLogical && reads == 1)
        FUZZ_CHECK(logical == (expectedNumber != 0 ? 1 : 0), "value %s read as logical %d",
                   Shown(expected.data(), (int)expected.size()).c_str(), logical);
    if (!read) FUZZ_CHECK(number == INT_MIN && logical == INT_MIN, "out-parameter set on false");
    return 0;
}

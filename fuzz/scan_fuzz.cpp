// The directory scans (ScanFileEntries, ScanDirNames) and the file-name search under
// them (FTNFNS), on a folder of arbitrary names, sizes, times and folder attributes on a
// temporary drive C: (clock in UTC). Checked:
//   - no record is written past the count found, nor any byte outside the array; the
//     count is the number of entries that qualify, cut to the maximum;
//   - every scan line has its fixed form and says what the platform's search says of
//     the entry: name columns, size (never smaller than the file), date and time;
//   - every name entry is a blank, the upper-case base name in eight columns, a blank;
//   - the scans leave no search open; a drive that stops answering ends a scan with
//     the entries found so far;
//   - FTNFNS never writes past the name buffer it is given, however small.
#include "Ftn/ftn.h"
#include "Lm4/scan.h"
#include "fuzz_support.h"
#include "lin32/codepage.h"
#include "lin32/lin32_files.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <ctime>

namespace {

const char kFolder[] = "C:\\s\\";
const int kMaxEntries = 10;
const int kScanName = 200;  // the scans' name buffer: longer names and patterns are cut
const uint64_t kLargestShown = 9999999;
const char *const kPatterns[] = {"*", "*.mas", "*.", "*.*"};
std::string g_root, g_folder;

bool Setup() {
    if (!MakeScratch("chartxfer-scan-fuzz", g_root)) return false;
    setenv("TZ", "UTC", 1);  // local time = UTC, so the expected times are plain
    tzset();
    std::string drive = g_root + "/c";
    g_folder = drive + "/s";
    if (mkdir(drive.c_str(), 0755) != 0) return false;
    Lin32SetDosDevices((g_root + "/dosdevices").c_str());
    return Lin32MapDrive('c', drive.c_str(), DRIVE_FIXED) && SetCurrentDirectoryA("C:\\");
}

// What the platform's search says of an entry, and the time the entry was given.
struct Entry {
    std::string name;
    DWORD attributes;
    uint64_t size;
    bool timeKnown;  // a time of 1980..2099 was set: the scan line must show it
    struct tm time;
};

std::vector<Entry> List(const std::string &pattern, const std::vector<Entry> &made) {
    std::vector<Entry> entries;
    WIN32_FIND_DATAA data;
    HANDLE handle = FindFirstFileA(pattern.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) return entries;
    do {
        Entry entry{data.cFileName, data.dwFileAttributes,
                    (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                    false, {}};
        for (const Entry &m : made)
            if (m.name == entry.name) {
                entry.timeKnown = m.timeKnown;
                entry.time = m.time;
            }
        entries.push_back(entry);
    } while (FindNextFileA(handle, &data));
    FindClose(handle);
    return entries;
}

std::string Upper(std::string text) {
    for (char &c : text) c = static_cast<char>(Lin32UpperChar(static_cast<unsigned char>(c)));
    return text;
}

std::string Padded(const std::string &text, size_t width) {
    return (text + std::string(width, ' ')).substr(0, width);
}

std::string TwoDigits(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02d", value % 100);
    return text;
}

bool Digits(const std::string &text) {
    return text.find_first_not_of("0123456789") == std::string::npos;
}

void CheckLine(const std::string &line, const Entry &entry) {
    std::string shown = Shown(line.data(), (int)line.size());
    std::string name = entry.name.substr(0, kScanName);
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string rest = dot == std::string::npos ? ".   " : name.substr(dot);
    FUZZ_CHECK(line.substr(0, 12) == Upper(Padded(base, 8) + Padded(rest, 4)),
               "scan line %s for %s", shown.c_str(), entry.name.c_str());
    bool cut = base.size() > 8 || rest.size() > 4;
    FUZZ_CHECK(line[12] == ' ' || (line[12] == '*' && cut), "column 13 of %s for %s",
               shown.c_str(), entry.name.c_str());
    FUZZ_CHECK(line[13] == ' ' && line.substr(21, 2) == "  " && line.substr(31, 2) == "  ",
               "blank columns of %s", shown.c_str());
    std::string size = line.substr(14, 7);
    size_t first = size.find_first_not_of(' ');
    FUZZ_CHECK(first != std::string::npos && Digits(size.substr(first)) &&
                   (size[first] != '0' || first == 6),
               "size columns of %s", shown.c_str());
    uint64_t value = std::stoull(size.substr(first));
    FUZZ_CHECK(entry.size < kLargestShown ? value == entry.size : value >= 1000000,
               "%s shows the size %llu as %llu", entry.name.c_str(),
               (unsigned long long)entry.size, (unsigned long long)value);
    FUZZ_CHECK(line[25] == '.' && line[28] == '.' && line[35] == ':' &&
                   Digits(line.substr(23, 2) + line.substr(26, 2) + line.substr(29, 2) +
                          line.substr(33, 2) + line.substr(36, 2)),
               "date and time columns of %s", shown.c_str());
    if (entry.timeKnown) {
        const struct tm &t = entry.time;
        std::string expected = TwoDigits(t.tm_mday) + "." + TwoDigits(t.tm_mon + 1) + "." +
                               TwoDigits(t.tm_year + 1900) + "  " + TwoDigits(t.tm_hour) + ":" +
                               TwoDigits(t.tm_min);
        FUZZ_CHECK(line.substr(23, 15) == expected, "%s shows %s, expected %s",
                   entry.name.c_str(), line.substr(23, 15).c_str(), expected.c_str());
    }
}

void CheckClosed() {
    char name[16];
    short status = 0, length = 0, attributes = 0;
    FoundEntry entry;
    FTNFNS(&status, FTNFNS_NEXT, name, sizeof name, &length, &attributes, &entry);
    FUZZ_CHECK(status != 0, "a scan left its search open");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = Setup();
    FUZZ_CHECK(ready, "no temporary drive");
    FuzzedDataProvider in(data, size);
    int count = in.ConsumeIntegralInRange<int>(0, kMaxEntries);
    struct Made {
        int nameLength;
        bool folder, hiddenSystem, plausibleTime;
        int64_t seconds;
        uint64_t size;
    } made[kMaxEntries];
    for (int i = 0; i < count; ++i) {
        Made &m = made[i];
        m.nameLength = in.ConsumeIntegralInRange<int>(1, 255);
        m.folder = in.ConsumeIntegralInRange<int>(0, 3) == 0;
        m.hiddenSystem = m.folder && in.ConsumeBool();
        m.plausibleTime = in.ConsumeIntegralInRange<int>(0, 7) != 0;
        m.seconds = m.plausibleTime ? in.ConsumeIntegralInRange<int64_t>(315532800, 4102444799)
                                    : in.ConsumeIntegral<int64_t>() / 1000000000;
        m.size = in.ConsumeBool() ? in.ConsumeIntegralInRange<uint64_t>(0, 20000)
                                  : in.ConsumeIntegral<uint64_t>();
    }
    int patternChoice = in.ConsumeIntegralInRange<int>(0, 4);
    int patternLength = in.ConsumeIntegralInRange<int>(0, 300);
    short maxCount = in.ConsumeIntegralInRange<short>(-2, kMaxEntries + 2);
    short nameSize = in.ConsumeIntegralInRange<short>(-2, 40);
    // A drive that stops answering: the nth find-next, or the find-first, fails.
    int fault = in.ConsumeIntegralInRange<int>(0, 3);
    int nth = in.ConsumeIntegralInRange<int>(1, kMaxEntries + 3);

    RemoveTree(g_folder);
    FUZZ_CHECK(mkdir(g_folder.c_str(), 0755) == 0, "cannot make the folder");
    Lin32ClearReportedSizes();
    std::vector<Entry> entries;
    for (int i = 0; i < count; ++i) {
        const Made &m = made[i];
        std::string name = FileName(in.ConsumeBytesAsString(m.nameLength));
        std::string path = kFolder + name;
        if (name.empty()) continue;
        if (m.folder) {
            if (!CreateDirectoryA(path.c_str(), nullptr)) continue;
        } else {
            HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) continue;
            CloseHandle(file);
            Lin32SetReportedSize(path.c_str(), m.size);
        }
        // Always set, so that nothing stays from an earlier file of the same inode.
        SetFileAttributesA(path.c_str(), m.hiddenSystem
                                             ? FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM
                                             : FILE_ATTRIBUTE_NORMAL);
        std::string linuxPath;
        FUZZ_CHECK(Lin32LinuxPath(path.c_str(), linuxPath), "no Linux path for %s", path.c_str());
        struct timespec times[2] = {{static_cast<time_t>(m.seconds), 0},
                                    {static_cast<time_t>(m.seconds), 0}};
        bool timeSet = utimensat(AT_FDCWD, linuxPath.c_str(), times, 0) == 0;
        Entry entry{name, 0, 0, timeSet && m.plausibleTime, {}};
        time_t seconds = static_cast<time_t>(m.seconds);
        gmtime_r(&seconds, &entry.time);
        entries.push_back(entry);
    }

    std::string pattern = kFolder;
    pattern += patternChoice < 4 ? std::string(kPatterns[patternChoice])
                                 : in.ConsumeBytesAsString(patternLength);
    // The scans search for at most 200 characters of their pattern, up to a NUL.
    std::string searched = pattern.substr(0, kScanName);
    std::vector<Entry> listed = List(searched.substr(0, searched.find('\0')), entries);
    QuietBoxes boxes;

    // The entries the scans can get to before the fault.
    auto failAgain = [&]() {
        Lin32ClearFailures();
        if (fault == 2) Lin32FailOperation(LIN32_OP_FIND_NEXT, nth, ERROR_NOT_READY, 1);
        if (fault == 3) Lin32FailOperation(LIN32_OP_FIND, 1, ERROR_NOT_READY, 1);
    };
    if (fault == 2 && static_cast<int>(listed.size()) > nth) listed.resize(nth);
    if (fault == 3) listed.clear();

    // ScanFileEntries.
    const int capacity = std::max<int>(maxCount, 0);
    std::string untouched(capacity * SCAN_LINE_LENGTH, '\x5A');
    GuardedField lines(untouched.data(), static_cast<int>(untouched.size()));
    GuardedField patternField(pattern.data(), static_cast<int>(pattern.size()));
    short found = -1;
    failAgain();
    ScanFileEntries(patternField.Data(), static_cast<short>(pattern.size()), lines.Data(),
                    maxCount, &found);
    Lin32ClearFailures();
    FUZZ_CHECK(lines.Intact() && patternField.Intact(), "ScanFileEntries wrote outside");
    CheckClosed();
    std::vector<const Entry *> files;
    for (const Entry &entry : listed) {
        std::string name = entry.name.substr(0, kScanName);
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] != '.')
            files.push_back(&entry);
    }
    int expected = std::min<int>(static_cast<int>(files.size()), capacity);
    FUZZ_CHECK(found == expected, "ScanFileEntries found %d of %zu files (at most %d) for %s",
               found, files.size(), maxCount, Shown(pattern.data(), (int)pattern.size()).c_str());
    for (int k = 0; k < found; ++k)
        CheckLine(std::string(lines.Data() + k * SCAN_LINE_LENGTH, SCAN_LINE_LENGTH), *files[k]);
    const size_t used = std::max<int>(found, 0) * SCAN_LINE_LENGTH;
    FUZZ_CHECK(std::string(lines.Data() + used, untouched.size() - used) == untouched.substr(used),
               "ScanFileEntries wrote past its %d lines", found);

    // ScanDirNames.
    std::string untouchedNames(capacity * NAME_ENTRY_LENGTH, '\x5A');
    GuardedField names(untouchedNames.data(), static_cast<int>(untouchedNames.size()));
    found = -1;
    failAgain();
    ScanDirNames(patternField.Data(), static_cast<short>(pattern.size()), names.Data(), maxCount,
                 &found);
    Lin32ClearFailures();
    FUZZ_CHECK(names.Intact() && patternField.Intact(), "ScanDirNames wrote outside");
    CheckClosed();
    std::vector<std::string> folders;
    for (const Entry &entry : listed) {
        std::string base = entry.name.substr(0, kScanName).substr(0, entry.name.find('.'));
        const DWORD hiddenSystem = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) &&
            (entry.attributes & hiddenSystem) != hiddenSystem && !base.empty())
            folders.push_back(" " + Upper(Padded(base, 8)) + " ");
    }
    expected = std::min<int>(static_cast<int>(folders.size()), capacity);
    FUZZ_CHECK(found == expected, "ScanDirNames found %d of %zu folders (at most %d)", found,
               folders.size(), maxCount);
    for (int k = 0; k < found; ++k)
        FUZZ_CHECK(std::string(names.Data() + k * NAME_ENTRY_LENGTH, NAME_ENTRY_LENGTH) ==
                       folders[k],
                   "name entry %s, expected %s",
                   Shown(names.Data() + k * NAME_ENTRY_LENGTH, NAME_ENTRY_LENGTH).c_str(),
                   folders[k].c_str());
    FUZZ_CHECK(std::string(names.Data() + std::max<int>(found, 0) * NAME_ENTRY_LENGTH,
                           untouchedNames.size() - std::max<int>(found, 0) * NAME_ENTRY_LENGTH) ==
                   untouchedNames.substr(std::max<int>(found, 0) * NAME_ENTRY_LENGTH),
               "ScanDirNames wrote past its %d entries", found);

    // FTNFNS with a name buffer of any size: the pattern as much as fits.
    const int bufferSize = std::max<int>(nameSize, 0);
    std::string start = pattern;
    start.resize(bufferSize, ' ');
    GuardedField name(start.data(), bufferSize);
    short status = 0, nameLength = static_cast<short>(std::min<size_t>(pattern.size(), bufferSize));
    short attributes = 0;
    FoundEntry entry;
    const int modes[] = {FTNFNS_FIRST, FTNFNS_NEXT, FTNFNS_NEXT, 7, FTNFNS_CLOSE};
    for (int mode : modes) {
        FTNFNS(&status, static_cast<short>(mode), name.Data(), nameSize, &nameLength, &attributes,
               &entry);
        FUZZ_CHECK(name.Intact(), "FTNFNS mode %d wrote past a name buffer of %d", mode, nameSize);
        if (status == 0 && mode != FTNFNS_CLOSE && mode != 7)
            FUZZ_CHECK(nameLength >= 0 && nameLength <= bufferSize,
                       "FTNFNS gave a name of %d for a buffer of %d", nameLength, nameSize);
        if (mode == 7) FUZZ_CHECK(status == 3, "FTNFNS mode 7 gave status %d", status);
    }
    CheckClosed();
    FUZZ_CHECK(boxes.Shown().empty(), "showed %s", boxes.Describe().c_str());
    return 0;
}

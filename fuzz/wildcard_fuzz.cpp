// The directory search with Windows wildcards (FindFirstFileA / FindNextFileA /
// FindClose), on a folder of arbitrary file names on a temporary drive C:, with patterns
// made from those names and patterns of arbitrary bytes. Checked:
//   - every search ends: with an error for no match, or with ERROR_NO_MORE_FILES; each
//     entry's names are NUL-terminated inside their fields; no entry comes twice;
//   - a search in the folder returns only entries of the folder;
//   - "*" and "*.*" list the same entries; a search ignores the case of its pattern;
//   - a name is found by itself (in other case), with a part of it replaced by "*",
//     with single characters replaced by "?", followed by "*", by its base name and
//     ".*", by "?" in place of each character of its base name and more "?" up to
//     eight, and (a name without a dot) by "*." and by itself with a dot after it;
//   - a pattern without wildcards finds nothing but the names it spells.
#include "fuzz_support.h"
#include "lin32/codepage.h"
#include "lin32/lin32_files.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>

namespace {

const char kFolder[] = "C:\\w\\";
const int kMaxNames = 8;
const int kMaxPatterns = 3;
std::string g_root, g_folder;

bool Setup() {
    if (!MakeScratch("chartxfer-wildcard-fuzz", g_root)) return false;
    std::string drive = g_root + "/c";
    g_folder = drive + "/w";
    if (mkdir(drive.c_str(), 0755) != 0) return false;
    Lin32SetDosDevices((g_root + "/dosdevices").c_str());
    return Lin32MapDrive('c', drive.c_str(), DRIVE_FIXED);
}

char SwapCase(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    return c;
}

std::string Swapped(const std::string &text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(), SwapCase);
    return out;
}

bool SameIgnoringCase(const std::string &a, const std::string &b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lin32UpperChar(static_cast<unsigned char>(a[i])) !=
            Lin32UpperChar(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

struct Search {
    bool found;       // FindFirstFileA gave a handle
    DWORD error;      // its error otherwise
    std::multiset<std::string> names;
    std::map<std::string, std::string> aliases;  // name -> its 8.3 alias, if it has one
};

// Runs one search to its end and checks what every search must do.
Search Run(const std::string &pattern) {
    Search search{false, ERROR_SUCCESS, {}, {}};
    GuardedField text(pattern.c_str(), static_cast<int>(pattern.size()) + 1);
    WIN32_FIND_DATAA data;
    std::memset(&data, 0x5A, sizeof data);
    SetLastError(ERROR_SUCCESS);
    HANDLE handle = FindFirstFileA(text.Data(), &data);
    FUZZ_CHECK(text.Intact(), "FindFirstFileA touched memory around its pattern");
    if (handle == INVALID_HANDLE_VALUE) {
        search.error = GetLastError();
        FUZZ_CHECK(search.error != ERROR_SUCCESS && search.error != ERROR_NO_MORE_FILES,
                   "%s failed with error %lu", Shown(pattern.data(), (int)pattern.size()).c_str(),
                   (unsigned long)search.error);
        return search;
    }
    search.found = true;
    for (int entries = 0;; ++entries) {
        FUZZ_CHECK(entries < 10000, "the search for %s does not end",
                   Shown(pattern.data(), (int)pattern.size()).c_str());
        FUZZ_CHECK(std::memchr(data.cFileName, 0, sizeof data.cFileName) != nullptr &&
                       std::memchr(data.cAlternateFileName, 0, sizeof data.cAlternateFileName),
                   "an entry of %s without its NUL",
                   Shown(pattern.data(), (int)pattern.size()).c_str());
        FUZZ_CHECK(data.cFileName[0] != '\0', "an entry of %s without a name",
                   Shown(pattern.data(), (int)pattern.size()).c_str());
        search.names.insert(data.cFileName);
        if (data.cAlternateFileName[0] != '\0')
            search.aliases[data.cFileName] = data.cAlternateFileName;
        std::memset(&data, 0x5A, sizeof data);
        if (!FindNextFileA(handle, &data)) break;
    }
    FUZZ_CHECK(GetLastError() == ERROR_NO_MORE_FILES, "the search for %s ended with error %lu",
               Shown(pattern.data(), (int)pattern.size()).c_str(), (unsigned long)GetLastError());
    FUZZ_CHECK(FindClose(handle), "FindClose failed");
    for (const std::string &name : search.names)
        FUZZ_CHECK(search.names.count(name) == 1, "%s listed twice for %s",
                   Shown(name.data(), (int)name.size()).c_str(),
                   Shown(pattern.data(), (int)pattern.size()).c_str());
    return search;
}

void MustFind(const std::string &pattern, const std::string &name, const char *why) {
    Search search = Run(kFolder + pattern);
    FUZZ_CHECK(search.names.count(name) == 1, "%s (%s) does not find %s (error %lu)",
               Shown(pattern.data(), (int)pattern.size()).c_str(), why,
               Shown(name.data(), (int)name.size()).c_str(), (unsigned long)search.error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const bool ready = Setup();
    FUZZ_CHECK(ready, "no temporary drive");
    FuzzedDataProvider in(data, size);
    int count = in.ConsumeIntegralInRange<int>(0, kMaxNames);
    int lengths[kMaxNames];
    for (int i = 0; i < count; ++i) lengths[i] = in.ConsumeIntegralInRange<int>(1, 24);
    bool aliases = in.ConsumeBool();
    int patterns = in.ConsumeIntegralInRange<int>(0, kMaxPatterns);
    int patternLengths[kMaxPatterns];
    bool inFolder[kMaxPatterns];
    for (int i = 0; i < patterns; ++i) {
        patternLengths[i] = in.ConsumeIntegralInRange<int>(0, 300);
        inFolder[i] = in.ConsumeBool();
    }
    int cut = in.ConsumeIntegralInRange<int>(0, 255);  // where a name gets its "*", "?"
    int span = in.ConsumeIntegralInRange<int>(0, 255);

    // The folder with the files.
    RemoveTree(g_folder);
    FUZZ_CHECK(mkdir(g_folder.c_str(), 0755) == 0, "cannot make the folder");
    Lin32ClearShortNames();
    for (int i = 0; i < count; ++i) {
        std::string name = FileName(in.ConsumeBytesAsString(lengths[i]));
        if (name.empty()) continue;
        std::string path = kFolder + name;
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;  // a name the platform refuses
        CloseHandle(file);
        if (aliases) {
            char alias[16];
            std::snprintf(alias, sizeof alias, "AL%06d.X%d", i, i % 10);
            Lin32SetShortName(path.c_str(), alias);
        }
    }

    // What is there: every search below is held against this listing.
    Search all = Run(std::string(kFolder) + "*");
    FUZZ_CHECK(all.found && all.names.count(".") && all.names.count(".."),
               "\"*\" does not list . and ..");
    Search allDotAll = Run(std::string(kFolder) + "*.*");
    FUZZ_CHECK(allDotAll.names == all.names, "\"*.*\" and \"*\" list different entries");
    std::vector<std::string> names;
    for (const std::string &name : all.names)
        if (name != "." && name != "..") names.push_back(name);

    for (int i = 0; i < patterns; ++i) {
        std::string bytes = in.ConsumeBytesAsString(patternLengths[i]);
        Search search = Run(inFolder[i] ? kFolder + bytes : bytes);
        // The checks below hold for a last component that names entries of the folder:
        // not one of dots and blanks only, which names the folder or its parent.
        std::string pattern = bytes.substr(0, bytes.find('\0'));
        if (!inFolder[i] || pattern.find_first_of("\\/") != std::string::npos ||
            pattern.find_first_not_of(". ") == std::string::npos)
            continue;
        for (const std::string &name : search.names)
            FUZZ_CHECK(all.names.count(name), "%s found %s, which is not in the folder",
                       Shown(pattern.data(), (int)pattern.size()).c_str(),
                       Shown(name.data(), (int)name.size()).c_str());
        Search swapped = Run(kFolder + Swapped(pattern));
        FUZZ_CHECK(swapped.names == search.names,
                   "%s and its case-swapped form find different entries",
                   Shown(pattern.data(), (int)pattern.size()).c_str());
        bool literal = pattern.find_first_of("*?<>\"") == std::string::npos && !pattern.empty() &&
                       pattern.back() != '.' && pattern.back() != ' ';
        for (const std::string &name : search.names)
            FUZZ_CHECK(!literal || SameIgnoringCase(name, pattern) ||
                           (search.aliases.count(name) &&
                            SameIgnoringCase(search.aliases[name], pattern)),
                       "%s, without wildcards, finds %s",
                       Shown(pattern.data(), (int)pattern.size()).c_str(),
                       Shown(name.data(), (int)name.size()).c_str());
    }

    for (const std::string &name : names) {
        MustFind(Swapped(name), name, "the name in other case");
        size_t from = cut % name.size();
        size_t length = span % (name.size() - from + 1);
        MustFind(name.substr(0, from) + "*" + name.substr(from + length), name, "a part as *");
        std::string marked = name;
        for (size_t k = from; k < from + std::max<size_t>(length, 1) && k < name.size(); ++k)
            if (marked[k] != '.') marked[k] = '?';
        MustFind(marked, name, "characters as ?");
        MustFind(name + "*", name, "followed by *");
        size_t dot = name.rfind('.');
        MustFind(name.substr(0, dot) + ".*", name, "base name and .*");
        if (dot == std::string::npos) {
            MustFind("*.", name, "a name without a dot");
            MustFind(name + ".", name, "a name and a dot");
        }
        // "?" matches nothing at a dot or at the end: eight of them stand for any base
        // name of up to eight characters.
        std::string base = name.substr(0, dot);
        if (base.find('.') == std::string::npos) {
            std::string rest = dot == std::string::npos ? "" : name.substr(dot);
            MustFind(std::string(std::max<size_t>(base.size(), 8), '?') + rest, name,
                     "the base name as ?");
        }
    }
    return 0;
}

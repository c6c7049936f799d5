// The check that follows every run that may have failed at any point: the files of all
// drive folders are taken down before the run and compared after it.
//
// Nothing is lost when every chart that existed is still there byte for byte on at
// least one drive (under any name, for a move through an 8.3 alias) or its place holds a
// complete copy of another drive's chart; and no file holds anything that was not a
// whole file before, so no partial copy stands anywhere, under a chart's name or not.
#ifndef TESTS_DIALOG_DRIVECHECK_H
#define TESTS_DIALOG_DRIVECHECK_H

#include <ctype.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace drivecheck {

namespace fs = std::filesystem;

const char kDirectory[] = "<directory>";

// Every entry below each folder: relative path -> content (kDirectory for a folder).
// Folders are taken as given; two drive letters of one folder are one folder here.
struct Snapshot {
    std::vector<fs::path> folders;
    std::vector<std::map<std::string, std::string>> entries;  // one map per folder
};

inline std::string ReadFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::string content;
    if (in) {
        content.resize((size_t)in.tellg());
        in.seekg(0);
        in.read(&content[0], (std::streamsize)content.size());
        content.resize((size_t)in.gcount());
    }
    return content;
}

inline bool IsChartName(const std::string &relative)
{
    if (relative.size() < 4) {
        return false;
    }
    std::string tail = relative.substr(relative.size() - 4);
    for (char &c : tail) {
        c = (char)tolower((unsigned char)c);
    }
    return tail == ".mas";
}

inline Snapshot Take(const std::vector<fs::path> &folders)
{
    Snapshot snapshot;
    snapshot.folders = folders;
    for (const fs::path &folder : folders) {
        std::map<std::string, std::string> entries;
        std::error_code error;
        fs::recursive_directory_iterator it(folder, error), end;
        for (; !error && it != end; it.increment(error)) {
            std::string relative = fs::relative(it->path(), folder).string();
            if (it->is_symlink()) {
                entries[relative] = "<link>";
            } else if (it->is_directory()) {
                entries[relative] = kDirectory;
            } else {
                entries[relative] = ReadFile(it->path());
            }
        }
        snapshot.entries.push_back(entries);
    }
    return snapshot;
}

// What was lost or half written between before and after (same folders); empty when
// nothing. Each problem names the folder index and the relative path.
inline std::vector<std::string> Lost(const Snapshot &before, const Snapshot &after)
{
    std::vector<std::string> problems;
    std::set<std::string> chartsBefore, contentsBefore, chartsAfter;
    for (const auto &entries : before.entries) {
        for (const auto &entry : entries) {
            if (entry.second != kDirectory) {
                contentsBefore.insert(entry.second);
                if (IsChartName(entry.first)) {
                    chartsBefore.insert(entry.second);
                }
            }
        }
    }
    for (const auto &entries : after.entries) {
        for (const auto &entry : entries) {
            if (entry.second != kDirectory && IsChartName(entry.first)) {
                chartsAfter.insert(entry.second);
            }
        }
    }
    for (size_t f = 0; f < before.entries.size() && f < after.entries.size(); ++f) {
        const auto &now = after.entries[f];
        std::string where = "folder " + std::to_string(f) + ": ";
        for (const auto &entry : before.entries[f]) {
            if (entry.second == kDirectory || !IsChartName(entry.first) ||
                chartsAfter.count(entry.second) != 0) {
                continue;
            }
            // Gone everywhere: only a completed copy of another chart may stand in its place.
            auto replaced = now.find(entry.first);
            bool byCopy = replaced != now.end() && replaced->second != entry.second &&
                          chartsBefore.count(replaced->second) != 0;
            if (!byCopy) {
                problems.push_back(where + entry.first + " lost");
            }
        }
        for (const auto &entry : now) {
            if (entry.second == kDirectory) {
                continue;
            }
            auto old = before.entries[f].find(entry.first);
            bool unchanged = old != before.entries[f].end() && old->second == entry.second;
            if (!unchanged && contentsBefore.count(entry.second) == 0) {
                problems.push_back(where + entry.first + " holds what no file held before (" +
                                   std::to_string(entry.second.size()) + " bytes)");
            }
        }
    }
    return problems;
}

// Every entry that was added, removed or changed; empty when the folders are as before.
inline std::vector<std::string> Changes(const Snapshot &before, const Snapshot &after)
{
    std::vector<std::string> changes;
    for (size_t f = 0; f < before.entries.size() && f < after.entries.size(); ++f) {
        std::string where = "folder " + std::to_string(f) + ": ";
        for (const auto &entry : before.entries[f]) {
            auto now = after.entries[f].find(entry.first);
            if (now == after.entries[f].end()) {
                changes.push_back(where + entry.first + " removed");
            } else if (now->second != entry.second) {
                changes.push_back(where + entry.first + " changed");
            }
        }
        for (const auto &entry : after.entries[f]) {
            if (before.entries[f].count(entry.first) == 0) {
                changes.push_back(where + entry.first + " added");
            }
        }
    }
    return changes;
}

// Puts a drive's folder in memory where there is such a file system (/dev/shm): the
// folder becomes a link to a fresh folder there, removed with this object. Tests that
// make hundreds of syncs or 100,000 files would otherwise wait on the disk. Where there
// is none, the folder stays as it is.
class MemoryFolder {
public:
    explicit MemoryFolder(const fs::path &folder)
    {
        char memory[] = "/dev/shm/chartxfer-drive-XXXXXX";
        std::error_code error;
        if (mkdtemp(memory) == nullptr) {
            return;
        }
        memory_ = memory;
        fs::remove_all(folder, error);
        fs::create_directory_symlink(memory_, folder, error);
        if (error) {
            fs::create_directories(folder, error);
        }
    }
    ~MemoryFolder()
    {
        std::error_code ignored;
        if (!memory_.empty()) {
            fs::remove_all(memory_, ignored);
        }
    }
    MemoryFolder(const MemoryFolder &) = delete;
    MemoryFolder &operator=(const MemoryFolder &) = delete;

private:
    fs::path memory_;
};

}  // namespace drivecheck

#endif

// Shared pieces of the fuzz targets: file names from arbitrary bytes, fields fenced by
// poisoned guard bytes, a quiet recorder for message boxes, and a check that stops the
// run with a readable reason.
#ifndef FUZZ_FUZZ_SUPPORT_H
#define FUZZ_FUZZ_SUPPORT_H

#include "lin32/lin32_hooks.h"

#include <sanitizer/asan_interface.h>

#include <dirent.h>
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

// A failed property is a finding: say which one and abort, so that libFuzzer saves the
// input as a crash artifact.
#define FUZZ_CHECK(cond, ...)                                                        \
    do {                                                                             \
        if (!(cond)) {                                                               \
            std::fprintf(stderr, "\nPROPERTY FAILED %s:%d: %s\n  ", __FILE__, __LINE__, \
                         #cond);                                                     \
            std::fprintf(stderr, __VA_ARGS__);                                       \
            std::fprintf(stderr, "\n");                                              \
            std::abort();                                                            \
        }                                                                            \
    } while (0)

// Bytes as C-escaped text, for the messages of failed checks.
inline std::string Shown(const char *bytes, int n) {
    std::string out = "\"";
    for (int i = 0; i < n; ++i) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        }
    }
    return out + "\"";
}

// Bytes that Windows does not allow in a file name become letters; blanks and dots at
// the end go, as Windows drops them.
inline std::string FileName(const std::string &bytes) {
    std::string name;
    for (unsigned char c : bytes) {
        bool forbidden = c < 0x20 || std::strchr("<>:\"/\\|?*", c) != nullptr;
        name += forbidden ? static_cast<char>('a' + c % 26) : static_cast<char>(c);
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    return name;
}

// A field of `size` bytes with poisoned guard bytes on both sides: any read or write
// outside the field stops the run in AddressSanitizer, and a write that slipped past
// (a build without it) is still caught by Intact().
class GuardedField {
public:
    static const int kGuard = 64;
    static const unsigned char kFill = 0xA5;

    GuardedField(const void *content, int size)
        : size_(size < 0 ? 0 : size), block_(new char[size_ + 2 * kGuard]) {
        std::memset(block_, kFill, size_ + 2 * kGuard);
        if (size_ > 0 && content != nullptr) std::memcpy(block_ + kGuard, content, size_);
        ASAN_POISON_MEMORY_REGION(block_, kGuard);
        ASAN_POISON_MEMORY_REGION(block_ + kGuard + size_, kGuard);
    }
    ~GuardedField() {
        ASAN_UNPOISON_MEMORY_REGION(block_, size_ + 2 * kGuard);
        delete[] block_;
    }
    GuardedField(const GuardedField &) = delete;
    GuardedField &operator=(const GuardedField &) = delete;

    char *Data() { return block_ + kGuard; }
    int Size() const { return size_; }

    bool Intact() const {
        ASAN_UNPOISON_MEMORY_REGION(block_, size_ + 2 * kGuard);
        bool intact = true;
        for (int i = 0; i < kGuard; ++i) {
            if (static_cast<unsigned char>(block_[i]) != kFill ||
                static_cast<unsigned char>(block_[kGuard + size_ + i]) != kFill)
                intact = false;
        }
        ASAN_POISON_MEMORY_REGION(block_, kGuard);
        ASAN_POISON_MEMORY_REGION(block_ + kGuard + size_, kGuard);
        return intact;
    }

private:
    int size_;
    char *block_;
};

// Records every message box while it lives and answers it with its safest button,
// without any output.
class QuietBoxes {
public:
    struct Box {
        bool owned;
        std::string text;
        std::string caption;
        UINT type;
    };

    QuietBoxes() { Lin32SetMessageBoxHook(&QuietBoxes::Answer, this); }
    ~QuietBoxes() { Lin32SetMessageBoxHook(nullptr, nullptr); }
    QuietBoxes(const QuietBoxes &) = delete;
    QuietBoxes &operator=(const QuietBoxes &) = delete;

    const std::vector<Box> &Shown() const { return boxes_; }

    // True when exactly the given labels were reported, in this order, each in the
    // error box ("VORNIX System Info-Box", no owner, OK only).
    bool ReportedExactly(const std::vector<std::string> &labels) const {
        if (boxes_.size() != labels.size()) return false;
        for (size_t i = 0; i < labels.size(); ++i) {
            if (boxes_[i].owned || boxes_[i].caption != "VORNIX System Info-Box" ||
                (boxes_[i].type & MB_TYPEMASK) != MB_OK ||
                boxes_[i].text != "Fehler mit der Bezeichnung:" + labels[i])
                return false;
        }
        return true;
    }

    std::string Describe() const {
        std::string out;
        for (const Box &box : boxes_)
            out += "[" + box.caption + "] " + box.text + "; ";
        return out.empty() ? "no box" : out;
    }

private:
    static int Answer(void *context, HWND owner, const char *text, const char *caption,
                      UINT type) {
        QuietBoxes *self = static_cast<QuietBoxes *>(context);
        self->boxes_.push_back(
            {owner != nullptr, text ? text : "", caption ? caption : "", type});
        switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return IDCANCEL;
        case MB_ABORTRETRYIGNORE: return IDABORT;
        case MB_YESNOCANCEL: return IDCANCEL;
        case MB_YESNO: return IDNO;
        case MB_RETRYCANCEL: return IDCANCEL;
        default: return IDOK;
        }
    }

    std::vector<Box> boxes_;
};

// A scratch folder for one fuzz process, in memory where the system has such a folder
// (the file targets make thousands of files a second), removed when the process ends,
// or by the next process when it ended on a finding.
inline int RemoveScratchEntry(const char *path, const struct stat *, int, struct FTW *) {
    return remove(path);
}

inline std::string &ScratchRoot() {
    static std::string root;
    return root;
}

inline void RemoveScratch() {
    nftw(ScratchRoot().c_str(), RemoveScratchEntry, 16, FTW_DEPTH | FTW_PHYS);
}

inline void RemoveTree(const std::string &path) {
    nftw(path.c_str(), RemoveScratchEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// Scratch folders of processes that died on a finding (no exit handlers run then).
inline void RemoveOrphans(const std::string &base, const std::string &name) {
    DIR *dir = opendir(base.c_str());
    if (dir == nullptr) return;
    const std::string prefix = name + "-";
    while (struct dirent *entry = readdir(dir)) {
        std::string found = entry->d_name;
        if (found.compare(0, prefix.size(), prefix) != 0) continue;
        size_t end = found.find('-', prefix.size());
        std::string pid = found.substr(prefix.size(), end - prefix.size());
        struct stat info;
        if (!pid.empty() && stat(("/proc/" + pid).c_str(), &info) != 0)
            RemoveTree(base + "/" + found);
    }
    closedir(dir);
}

inline bool MakeScratch(const char *name, std::string &folder) {
    const char *tmp = getenv("TMPDIR");
    for (std::string base : {std::string("/dev/shm"), std::string(tmp ? tmp : "/tmp"),
                             std::string("/tmp")}) {
        RemoveOrphans(base, name);
        std::string pattern = base + "/" + name + "-" + std::to_string(getpid()) + "-XXXXXX";
        std::vector<char> buffer(pattern.begin(), pattern.end());
        buffer.push_back('\0');
        if (mkdtemp(buffer.data()) != nullptr) {
            folder = ScratchRoot() = buffer.data();
            std::atexit(RemoveScratch);
            return true;
        }
    }
    return false;
}

#endif

// Finding a name in a Linux folder regardless of case, with the names of the last few
// folders kept, so that a name that is not there does not cost a read of the whole
// folder each time (copying n new files into one folder read n * n / 2 entries).
//
// inotify keeps a kept folder honest: every name that comes into it, made by the layer
// or by any other program, is an event, and the events are read before each look-up.
// So the kept names are all the names the folder has, and perhaps a few it no longer
// has, which is why a name found among them is checked with lstat before it is
// believed. Folder times cannot serve here: a change within the same clock tick as the
// layer's own leaves the time as it was. Where inotify does not see every change (the
// folder lies on a network or FUSE file system, which other machines change), or
// cannot be had, the folder is read whole for every look-up, as before.
#include "codepage.h"
#include "kernel_internal.h"
#include "lin32_hooks.h"

#include <dirent.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <string.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>
#include <unordered_map>

namespace {

const int kFolders = 4;            // folders kept; the one used longest ago makes room
const size_t kMaxNames = 50000;    // a larger folder is read whole each time
const size_t kMinRemovals = 256;   // removals seen before a folder is read afresh
const uint32_t kEvents =
    IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM | IN_DELETE_SELF | IN_ONLYDIR;
const uint32_t kGone = IN_DELETE_SELF | IN_IGNORED | IN_UNMOUNT;

// File systems whose folders only this machine's kernel changes, so inotify reports
// every change (statfs f_type).
const unsigned long kLocalFileSystems[] = {
    0xEF53UL,      // ext2, ext3, ext4
    0x01021994UL,  // tmpfs
    0x858458F6UL,  // ramfs
    0x58465342UL,  // xfs
    0x9123683EUL,  // btrfs
    0xF2F52010UL,  // f2fs
    0x4D44UL,      // vfat, msdos
    0x2011BAB0UL,  // exfat
    0x7366746EUL,  // ntfs3
    0x794C7630UL,  // overlayfs
};

typedef std::unordered_multimap<std::string, std::string> NameMap;

struct Folder {
    bool used = false;
    dev_t device = 0;
    ino_t inode = 0;
    int watch = -1;
    unsigned long lastUse = 0;
    size_t filled = 0;    // names when it was read
    size_t removals = 0;  // names deleted or moved away since
    NameMap names;        // upper-case code-page name -> Linux name
};

struct NameCache {
    int events = -1;   // the inotify descriptor
    pid_t owner = 0;   // the process that opened it
    int codePage = 0;  // the names are in this code page
    unsigned long clock = 0;
    int reads = 0;
    Folder folders[kFolders];
};

NameCache g_cache;

std::string Key(const std::string &ansi)
{
    std::string key = ansi;
    for (char &c : key) {
        c = (char)Lin32UpperChar((unsigned char)c);
    }
    return key;
}

void Forget(Folder &folder, bool unwatch)
{
    if (unwatch && folder.watch >= 0 && g_cache.events >= 0) {
        inotify_rm_watch(g_cache.events, folder.watch);
    }
    folder = Folder();
}

// Drops every folder. A forked child gets here before it reads an event: the
// descriptor's queue is shared with the parent, whose events it must not take.
void Reset()
{
    if (g_cache.events >= 0) {
        close(g_cache.events);
        g_cache.events = -1;
    }
    for (Folder &folder : g_cache.folders) {
        folder = Folder();
    }
}

void Add(Folder &folder, const std::string &utf8, const std::string &ansi)
{
    std::string key = Key(ansi);
    auto range = folder.names.equal_range(key);
    for (auto it = range.first; it != range.second; ++it) {
        if (it->second == utf8) {
            return;
        }
    }
    folder.names.emplace(key, utf8);
}

Folder *FolderOfWatch(int watch)
{
    for (Folder &folder : g_cache.folders) {
        if (folder.used && folder.watch == watch) {
            return &folder;
        }
    }
    return NULL;
}

// Takes in one event. A removal only counts: the name stays until a look-up finds it
// gone (events alone cannot tell, e.g. of an exchange of two names, which one is left).
void Apply(const struct inotify_event &event)
{
    Folder *folder = FolderOfWatch(event.wd);
    if (folder == NULL) {
        return;
    }
    if (event.mask & kGone) {
        Forget(*folder, false);
        return;
    }
    if (event.len == 0) {
        return;
    }
    std::string utf8(event.name, strnlen(event.name, event.len));
    std::string ansi;
    if ((event.mask & (IN_CREATE | IN_MOVED_TO)) && Lin32NameFromLinux(utf8, ansi)) {
        Add(*folder, utf8, ansi);
        if (folder->names.size() > kMaxNames) {
            Forget(*folder, true);
            return;
        }
    }
    if (event.mask & (IN_DELETE | IN_MOVED_FROM)) {
        ++folder->removals;
        if (folder->removals > kMinRemovals && folder->removals > folder->filled) {
            Forget(*folder, true);  // mostly names long gone: read it afresh
        }
    }
}

// Reads every event queued so far. Events lost to a full queue drop every folder.
void ReadEvents()
{
    alignas(struct inotify_event) char buffer[16384];
    for (;;) {
        ssize_t got = read(g_cache.events, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && errno == EAGAIN) {
            return;
        }
        if (got <= 0) {
            Reset();
            return;
        }
        bool overflow = false;
        for (ssize_t at = 0; at + (ssize_t)sizeof(struct inotify_event) <= got;) {
            const struct inotify_event *event = (const struct inotify_event *)(buffer + at);
            at += (ssize_t)(sizeof(struct inotify_event) + event->len);
            if (at > got || (event->mask & IN_Q_OVERFLOW)) {
                overflow = true;
                break;
            }
            Apply(*event);
        }
        if (overflow) {
            Reset();
            return;
        }
        if ((size_t)got + sizeof(struct inotify_event) + NAME_MAX + 1 <= sizeof buffer) {
            return;  // room for one more event was left: the queue was empty
        }
    }
}

Folder *FolderOf(const struct stat &info)
{
    for (Folder &folder : g_cache.folders) {
        if (folder.used && folder.device == info.st_dev && folder.inode == info.st_ino) {
            return &folder;
        }
    }
    return NULL;
}

bool LocalFileSystem(int fd)
{
    struct statfs disk;
    if (fstatfs(fd, &disk) != 0) {
        return false;
    }
    for (unsigned long type : kLocalFileSystems) {
        if ((unsigned long)disk.f_type == type) {
            return true;
        }
    }
    return false;
}

// A free slot for the open folder (the one used longest ago is given up), watched from
// now on; NULL when the folder cannot be kept. The watch is put on the open folder
// itself, so it is the folder that is read, even if its path changes meanwhile.
Folder *Watch(DIR *dir, const struct stat &info)
{
    struct stat opened;
    int fd = dirfd(dir);
    if (fd < 0 || fstat(fd, &opened) != 0 || opened.st_dev != info.st_dev ||
        opened.st_ino != info.st_ino || !LocalFileSystem(fd)) {
        return NULL;
    }
    if (g_cache.events < 0) {
        g_cache.events = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        g_cache.owner = getpid();
        if (g_cache.events < 0) {
            return NULL;
        }
    }
    Folder *slot = &g_cache.folders[0];
    for (Folder &folder : g_cache.folders) {
        if (!folder.used) {
            slot = &folder;
            break;
        }
        if (folder.lastUse < slot->lastUse) {
            slot = &folder;
        }
    }
    char self[64];
    snprintf(self, sizeof self, "/proc/self/fd/%d", fd);
    int watch = inotify_add_watch(g_cache.events, self, kEvents);
    if (watch < 0) {
        return NULL;  // the kept folders stay as they are
    }
    if (slot->used && slot->watch != watch) {
        Forget(*slot, true);
    } else {
        *slot = Folder();
    }
    // A kept folder with this watch is this folder under numbers that stat no longer
    // gives: that one is out of date.
    Folder *other = FolderOfWatch(watch);
    if (other != NULL) {
        Forget(*other, false);
    }
    slot->used = true;
    slot->device = info.st_dev;
    slot->inode = info.st_ino;
    slot->watch = watch;
    slot->lastUse = ++g_cache.clock;
    return slot;
}

// Reads the folder whole, keeping its names when it can be watched.
bool Fill(const std::string &folder, const struct stat &info, const std::string &name,
          std::string &utf8, std::string &ansi)
{
    DIR *dir = opendir(folder.c_str());
    if (dir == NULL) {
        return false;
    }
    ++g_cache.reads;
    // Watched before it is read: a name made meanwhile is either read or an event.
    Folder *kept = Watch(dir, info);
    bool found = false;
    int error = 0;
    for (;;) {
        errno = 0;
        struct dirent *entry = readdir(dir);
        if (entry == NULL) {
            error = errno;
            break;
        }
        std::string candidate;
        if (strcmp(entry->d_name, ".") == 0 || strcmp(entry->d_name, "..") == 0 ||
            !Lin32NameFromLinux(entry->d_name, candidate)) {
            continue;
        }
        if (!found && Lin32NameEqual(candidate, name)) {
            utf8 = entry->d_name;
            ansi = candidate;
            found = true;
        }
        if (kept != NULL) {
            Add(*kept, entry->d_name, candidate);
            if (kept->names.size() > kMaxNames) {
                Forget(*kept, true);
                kept = NULL;
            }
        }
        if (found && kept == NULL) {
            break;
        }
    }
    if (kept != NULL && error != 0) {
        Forget(*kept, true);  // not read to its end
        kept = NULL;
    }
    closedir(dir);
    if (kept != NULL) {
        kept->filled = kept->names.size();
    }
    return found;
}

}  // namespace

bool Lin32FindNoCase(const std::string &folder, const struct stat *folderInfo,
                     const std::string &name, std::string &utf8, std::string &ansi)
{
    if (g_cache.events >= 0 && g_cache.owner != getpid()) {
        Reset();
    }
    if (g_cache.codePage != Lin32GetCodePage()) {
        Reset();
        g_cache.codePage = Lin32GetCodePage();
    }
    struct stat info;
    if (folderInfo == NULL) {
        if (stat(folder.c_str(), &info) != 0) {
            return false;
        }
        folderInfo = &info;
    }
    // The folder is looked at first, the events read after: whatever changed before
    // this look-up began is in the queue by now.
    if (g_cache.events >= 0) {
        ReadEvents();
    }
    Folder *kept = FolderOf(*folderInfo);
    if (kept == NULL) {
        return Fill(folder, *folderInfo, name, utf8, ansi);
    }
    kept->lastUse = ++g_cache.clock;
    auto range = kept->names.equal_range(Key(name));
    for (auto it = range.first; it != range.second;) {
        struct stat entry;
        if (lstat((folder + "/" + it->second).c_str(), &entry) != 0) {
            if (errno == ENOENT) {
                it = kept->names.erase(it);  // gone; a new one of that name will be an event
            } else {
                ++it;
            }
            continue;
        }
        if (Lin32NameFromLinux(it->second, ansi)) {
            utf8 = it->second;
            return true;
        }
        ++it;
    }
    return false;
}

int Lin32FolderReads(void) { return g_cache.reads; }

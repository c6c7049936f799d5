// The merge of the addition file into vornix.ini when a write fails at any point, and
// when the process is killed (kill -9) at a random moment of the merge, against a layer
// that writes the INI file in place as Wine does: vornix.ini stays a valid file whose
// every line is whole, holding all the pending changes or none, and no pending change is
// lost: the addition file stays until the merge has finished, and the next read applies
// it.
#include "Basis/ini.h"
#include "linux_drives.h"

#include <signal.h>
#include <string.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <random>
#include <set>

namespace {

// One instruction of the addition file: set a key, or remove it.
struct Change {
    std::string section;
    std::string key;
    std::string value;
    bool remove;
};

// section -> key -> value, as the readers see the file.
typedef std::map<std::string, std::map<std::string, std::string>> Settings;

const size_t kNone = (size_t)-1;

// The settings after the first count changes, leaving out the one at skip.
Settings Apply(Settings settings, const std::vector<Change> &changes, size_t count,
               size_t skip = kNone)
{
    for (size_t i = 0; i < count && i < changes.size(); ++i) {
        const Change &change = changes[i];
        if (i == skip) {
            continue;
        }
        if (change.remove) {
            auto section = settings.find(change.section);
            if (section != settings.end()) {
                section->second.erase(change.key);
            }
        } else {
            settings[change.section][change.key] = change.value;
        }
    }
    for (auto it = settings.begin(); it != settings.end();) {
        it = it->second.empty() ? settings.erase(it) : std::next(it);
    }
    return settings;
}

// The INI file and its addition, and every line a valid merge result may hold.
struct MergeCase {
    std::string ini;
    std::string add;
    Settings original;
    std::vector<Change> changes;
    std::set<std::string> lines;  // without their CR LF
};

// sections existing sections of keys keys each, and an addition that changes a third of
// them, removes a third, adds as many new keys, and adds two new sections. Every change
// changes something, and no key name begins with another.
MergeCase MakeMergeCase(int sections, int keys)
{
    MergeCase c;
    c.ini = "; settings of the product\r\n[PATH]\r\nDRIVES=CD\r\nSTARTUPDRIVE=1\r\n\r\n";
    c.original["PATH"]["DRIVES"] = "CD";
    c.original["PATH"]["STARTUPDRIVE"] = "1";
    c.add = "; pending changes\r\n\r\n";
    char text[64];
    for (int s = 0; s < sections + 2; ++s) {
        snprintf(text, sizeof text, "SECTION%02d", s);
        std::string section = text;
        bool existing = s < sections;
        if (existing) {
            c.ini += "[" + section + "]\r\n";
        }
        c.add += "[" + section + "]\r\n";
        c.lines.insert("[" + section + "]");
        for (int k = 0; k < keys; ++k) {
            snprintf(text, sizeof text, "KEY%03d", k);
            std::string key = text;
            std::string old = "old-" + section + "-" + key;
            if (existing) {
                c.ini += key + "=" + old + "\r\n";
                c.original[section][key] = old;
            }
            Change change{section, key, "new-" + section + "-" + key, false};
            if (existing && k % 3 == 1) {
                change.remove = true;
                c.add += key + "=\r\n";
            } else if (!existing || k % 3 == 0) {
                c.add += key + "=" + change.value + "\r\n";
                c.lines.insert(key + "=" + change.value);
            } else {
                continue;  // stays as it is
            }
            c.changes.push_back(change);
            if (existing && k % 3 == 0) {
                // A new key beside the changed one.
                snprintf(text, sizeof text, "NEW%03d", k);
                Change added{section, text, std::string("added-") + text, false};
                c.add += added.key + "=" + added.value + "\r\n";
                c.lines.insert(added.key + "=" + added.value);
                c.changes.push_back(added);
            }
        }
        c.ini += "\r\n";
        c.add += "; end of " + section + "\r\n   \r\n";
    }
    size_t start = 0;
    while (start < c.ini.size()) {
        size_t end = c.ini.find("\r\n", start);
        c.lines.insert(c.ini.substr(start, end - start));
        start = end + 2;
    }
    return c;
}

// Reads an INI file back; every line must be one of the lines allowed, with its CR LF,
// and no key may stand twice in a section. Problems go to problems.
Settings Parse(const std::string &content, const std::set<std::string> &allowed,
               std::vector<std::string> &problems)
{
    Settings settings;
    std::string section;
    size_t start = 0;
    int number = 0;
    while (start < content.size()) {
        ++number;
        size_t end = content.find("\r\n", start);
        if (end == std::string::npos) {
            problems.push_back("line " + std::to_string(number) + " has no line end: " +
                               content.substr(start));
            break;
        }
        std::string line = content.substr(start, end - start);
        start = end + 2;
        if (allowed.count(line) == 0) {
            problems.push_back("line " + std::to_string(number) + " is no whole line: " + line);
            continue;
        }
        if (line.empty() || line[0] == ';') {
            continue;
        }
        if (line[0] == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        size_t equals = line.find('=');
        std::string key = line.substr(0, equals);
        if (settings[section].count(key) != 0) {
            problems.push_back("key " + key + " twice in section " + section);
        }
        settings[section][key] = line.substr(equals + 1);
    }
    for (auto it = settings.begin(); it != settings.end();) {
        it = it->second.empty() ? settings.erase(it) : std::next(it);
    }
    return settings;
}

std::string ReadValue(const std::string &section, const std::string &key, int *length)
{
    char value[128];
    *length = -2;
    GetIniValue(section.c_str(), (int)section.size(), key.c_str(), (int)key.size(), value,
                sizeof value, length);
    return *length < 0 ? std::string() : std::string(value, (size_t)*length);
}

class IniMerge : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        // Drive C: lies in memory where there is such a file system: every change of
        // the merge replaces the file, and these tests make thousands of merges.
        char memory[] = "/dev/shm/chartxfer-inimerge-XXXXXX";
        if (mkdtemp(memory) != nullptr) {
            memory_ = memory;
            std::filesystem::remove_all(Linux("c"));
            std::filesystem::create_directory_symlink(memory_, Linux("c"));
        }
        WriteLinux("c/vornix/DOB/MAS/x.mas", "x");
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\vornix"));
    }

    void TearDown() override
    {
        LinuxDrives::TearDown();
        if (!memory_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(memory_, ignored);
        }
    }

    // The copies that killed merges left beside the INI file.
    int CopiesLeft() const
    {
        int copies = 0;
        for (const std::string &name : ListLinux("c/vornix")) {
            copies += name.compare(0, 3, "CXF") == 0 ? 1 : 0;
        }
        return copies;
    }

    void Lay(const MergeCase &c)
    {
        std::filesystem::remove_all(Linux("c/vornix"));
        WriteLinux("c/vornix/vornix.ini", c.ini);
        WriteLinux("c/vornix/vornix.add", c.add);
        ASSERT_TRUE(SetCurrentDirectoryA("C:\\vornix"));
    }

    bool AdditionLeft() const { return ExistsLinux("c/vornix/vornix.add"); }

    // A child that tells through the pipe when it starts reading and when its first read
    // (the merge) is done, then reads on until it is killed.
    static pid_t StartReader(int pipeEnds[2])
    {
        if (pipe(pipeEnds) != 0) {
            return -1;
        }
        pid_t child = fork();
        if (child != 0) {
            close(pipeEnds[1]);
            return child;
        }
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        close(pipeEnds[0]);
        char note = 1;  // starting
        if (write(pipeEnds[1], &note, 1) != 1) {
            _exit(2);
        }
        int length;
        ReadValue("PATH", "DRIVES", &length);
        note = 2;  // merged
        if (write(pipeEnds[1], &note, 1) != 1) {
            _exit(2);
        }
        for (;;) {
            ReadValue("PATH", "DRIVES", &length);
        }
    }

    static void Kill(pid_t child)
    {
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    }

    Settings Current(const MergeCase &c, std::vector<std::string> &problems) const
    {
        if (!ExistsLinux("c/vornix/vornix.ini")) {
            problems.push_back("vornix.ini is gone");
            return Settings();
        }
        return Parse(ReadLinux("c/vornix/vornix.ini"), c.lines, problems);
    }

    std::string memory_;

    // The next read finishes the merge: every pending change is in the file (also as
    // the program's reader sees it, key by key, when asked), and the addition file is
    // gone.
    void ExpectFinishedByTheNextRead(const MergeCase &c, bool everyKey)
    {
        Settings expected = Apply(c.original, c.changes, c.changes.size());
        int length;
        EXPECT_EQ(ReadValue("PATH", "DRIVES", &length), "CD");
        EXPECT_FALSE(AdditionLeft());
        std::vector<std::string> problems;
        EXPECT_EQ(Current(c, problems), expected);
        EXPECT_EQ(problems, std::vector<std::string>{});
        for (size_t i = 0; everyKey && i < c.changes.size(); ++i) {
            const Change &change = c.changes[i];
            SCOPED_TRACE(change.section + "/" + change.key);
            std::string value = ReadValue(change.section, change.key, &length);
            auto section = expected.find(change.section);
            if (section == expected.end() || section->second.count(change.key) == 0) {
                EXPECT_EQ(length, -1);
            } else {
                EXPECT_EQ(value, section->second.at(change.key));
            }
        }
    }
};

// Every write and the replacement of the file fail once, or the disk is full from there
// on: the file is as it was, the addition file stays, and the next read completes it.
TEST_F(IniMerge, AFailedWriteAtAnyPointLosesNoChange)
{
    MergeCase c = MakeMergeCase(2, 6);
    ASSERT_GE(c.changes.size(), 10u);
    // The operations of a merge that nothing disturbs.
    Lay(c);
    Lin32ClearFailures();
    int length;
    ReadValue("PATH", "DRIVES", &length);
    int writes = Lin32OperationCount(LIN32_OP_WRITE);
    int renames = Lin32OperationCount(LIN32_OP_RENAME);
    ASSERT_GE(writes, (int)c.changes.size());
    ASSERT_EQ(renames, 1) << "one replacement of the INI file by its changed copy";
    ExpectFinishedByTheNextRead(c, true);

    struct Kind {
        Lin32Operation operation;
        int count;
    } kinds[] = {{LIN32_OP_WRITE, writes}, {LIN32_OP_RENAME, renames}};
    for (const Kind &kind : kinds) {
        for (int nth = 1; nth <= kind.count; ++nth) {
            for (int times : {1, 1000}) {
                SCOPED_TRACE((kind.operation == LIN32_OP_WRITE ? "write " : "rename ") +
                             std::to_string(nth) + (times == 1 ? " fails" : " on all fail"));
                Lay(c);
                Lin32FailOperation(kind.operation, nth, ERROR_DISK_FULL, times);
                EXPECT_EQ(ReadValue("PATH", "DRIVES", &length), "CD");
                Lin32ClearFailures();
                EXPECT_TRUE(AdditionLeft());
                EXPECT_EQ(ReadLinux("c/vornix/vornix.add"), c.add);
                EXPECT_EQ(ReadLinux("c/vornix/vornix.ini"), c.ini);
                EXPECT_EQ(CopiesLeft(), 0);
                ExpectFinishedByTheNextRead(c, true);
            }
        }
    }
}

// A child process reads values over and over, the first read merging a large addition
// file; it is killed at a moment drawn from a fixed seed, spread over the time a merge
// takes. Each time the file holds all the changes or none, the addition file is there
// unless every change is in, and a read then finishes it. A kill in the middle of the
// merge leaves the unfinished copy beside the INI file, and nothing else.
TEST_F(IniMerge, KilledAtARandomMomentOfTheMerge)
{
    MergeCase c = MakeMergeCase(6, 45);
    ASSERT_GE(c.changes.size(), 300u);
    std::vector<Settings> states;
    for (size_t k = 0; k <= c.changes.size(); ++k) {
        states.push_back(Apply(c.original, c.changes, k));
    }

    // How long a whole merge takes in such a child, the longest of three.
    long long mergeMicros = 1;
    for (int i = 0; i < 3; ++i) {
        Lay(c);
        int ends[2];
        pid_t child = StartReader(ends);
        ASSERT_GT(child, 0);
        char note = 0;
        ASSERT_EQ(read(ends[0], &note, 1), 1);
        auto begin = std::chrono::steady_clock::now();
        ASSERT_EQ(read(ends[0], &note, 1), 1);
        long long micros = std::chrono::duration_cast<std::chrono::microseconds>(
                               std::chrono::steady_clock::now() - begin)
                               .count();
        mergeMicros = std::max(mergeMicros, micros);
        Kill(child);
        close(ends[0]);
        ExpectFinishedByTheNextRead(c, i == 0);
    }

    std::mt19937 random(20261210u);
    std::uniform_int_distribution<long long> moments(0, mergeMicros * 11 / 10);
    const int kRounds = 40;
    int beforeAny = 0, midway = 0, complete = 0;
    for (int round = 0; round < kRounds; ++round) {
        long long delay = moments(random);
        SCOPED_TRACE("round " + std::to_string(round) + ", killed after " +
                     std::to_string(delay) + " us");
        Lay(c);
        int ends[2];
        pid_t child = StartReader(ends);
        ASSERT_GT(child, 0);
        char note = 0;
        ASSERT_EQ(read(ends[0], &note, 1), 1);
        usleep((useconds_t)delay);
        Kill(child);
        close(ends[0]);

        std::vector<std::string> problems;
        Settings now = Current(c, problems);
        EXPECT_EQ(problems, std::vector<std::string>{});
        size_t applied = kNone;
        for (size_t k = 0; k < states.size() && applied == kNone; ++k) {
            if (now == states[k]) {
                applied = k;
            }
        }
        ASSERT_NE(applied, kNone) << "not the changes up to some point";
        EXPECT_TRUE(applied == 0 || applied == c.changes.size()) << applied << " changes in";
        if (!AdditionLeft()) {
            EXPECT_EQ(applied, c.changes.size()) << "addition file gone before the end";
        }
        int copies = CopiesLeft();
        EXPECT_LE(copies, 1);
        if (copies == 1) {
            ++midway;
        } else if (applied == 0) {
            ++beforeAny;
        } else {
            ++complete;
        }
        ExpectFinishedByTheNextRead(c, false);
        std::error_code ignored;
        for (const std::string &name : ListLinux("c/vornix")) {
            if (name.compare(0, 3, "CXF") == 0) {
                std::filesystem::remove(Linux("c/vornix/" + name), ignored);
            }
        }
    }
    RecordProperty("killed_before_any_change", beforeAny);
    RecordProperty("killed_midway_leaving_the_copy", midway);
    RecordProperty("killed_after_the_last_change", complete);
    // Without kills in the middle of the merge this test would prove little.
    EXPECT_GT(midway, 0) << "merge took " << mergeMicros << " us";
}

}  // namespace

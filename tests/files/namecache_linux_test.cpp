// The names the layer keeps of searched folders, so that a name is found regardless of
// case without reading the whole folder each time: whatever changes a folder, another
// program or the layer itself, the next look-up sees it, and folders do not mix.
#include "linux_drives.h"

#include "kernel_internal.h"

#include <functional>
#include <stdio.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char kMissing[] = "<missing>";

class NameCache : public LinuxDrives {
protected:
    void SetUp() override
    {
        LinuxDrives::SetUp();
        WriteLinux("c/w/Chart.mas", "chart");
    }

    // The Linux name of the entry that path names regardless of case, or kMissing.
    static std::string Finds(const std::string &path)
    {
        if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return kMissing;
        }
        std::string linuxPath;
        if (!Lin32LinuxPath(path.c_str(), linuxPath)) {
            return "<unresolved>";
        }
        return linuxPath.substr(linuxPath.rfind('/') + 1);
    }

    int Posix(int result) const { return result == 0 ? 0 : errno; }
};

// A look-up that the kept names answer does not read the folder again; the other tests
// rely on it to know that they test the kept names, not a fresh read.
TEST_F(NameCache, AFolderIsReadOnceForManyLookups)
{
    for (int i = 0; i < 50; ++i) {
        WriteLinux("c/many/Chart" + std::to_string(i) + ".mas", "chart");
    }
    int reads = Lin32FolderReads();
    EXPECT_EQ("Chart7.mas", Finds("C:\\many\\CHART7.MAS"));
    EXPECT_EQ(reads + 1, Lin32FolderReads());
    for (int i = 0; i < 60; ++i) {
        SCOPED_TRACE(i);
        std::string expected = i < 50 ? "Chart" + std::to_string(i) + ".mas" : kMissing;
        EXPECT_EQ(expected, Finds("C:\\many\\chart" + std::to_string(i) + ".MAS"));
    }
    EXPECT_EQ(reads + 1, Lin32FolderReads());
}

// Another program changes the folder right after a look-up there; the next look-up
// sees each change, and without reading the folder again.
TEST_F(NameCache, ChangesByOtherProgramsAreSeen)
{
    ASSERT_EQ(kMissing, Finds("C:\\w\\NEW.MAS"));
    int reads = Lin32FolderReads();
    struct Step {
        const char *what;
        std::function<int()> change;
        std::vector<std::pair<const char *, const char *>> expected;  // path, Linux name
    } steps[] = {
        {"created",
         [&] { return Posix(close(open(Linux("c/w/new.mas").c_str(), O_CREAT | O_WRONLY, 0644))); },
         {{"C:\\w\\NEW.MAS", "new.mas"}}},
        {"renamed",
         [&] { return Posix(rename(Linux("c/w/new.mas").c_str(), Linux("c/w/Moved.mas").c_str())); },
         {{"C:\\w\\NEW.MAS", kMissing}, {"C:\\w\\moved.MAS", "Moved.mas"}}},
        {"renamed to another case",
         [&] { return Posix(rename(Linux("c/w/Moved.mas").c_str(), Linux("c/w/MOVED.mas").c_str())); },
         {{"C:\\w\\moved.mas", "MOVED.mas"}}},
        {"deleted",
         [&] { return Posix(unlink(Linux("c/w/MOVED.mas").c_str())); },
         {{"C:\\w\\moved.mas", kMissing}}},
        {"made a folder",
         [&] { return Posix(mkdir(Linux("c/w/Sub").c_str(), 0755)); },
         {{"C:\\w\\SUB", "Sub"}}},
        {"moved in from another folder",
         [&] {
             WriteLinux("c/elsewhere/In.mas", "in");
             return Posix(rename(Linux("c/elsewhere/In.mas").c_str(), Linux("c/w/In.mas").c_str()));
         },
         {{"C:\\w\\IN.MAS", "In.mas"}}},
        {"linked",
         [&] { return Posix(link(Linux("c/w/In.mas").c_str(), Linux("c/w/Link.mas").c_str())); },
         {{"C:\\w\\link.mas", "Link.mas"}, {"C:\\w\\in.mas", "In.mas"}}},
        // Both names stay: the events alone (one moved away, the other moved in, twice)
        // look like two renames that leave one name.
        {"exchanged",
         [&] {
             return Posix(renameat2(AT_FDCWD, Linux("c/w/In.mas").c_str(), AT_FDCWD,
                                    Linux("c/w/Chart.mas").c_str(), RENAME_EXCHANGE));
         },
         {{"C:\\w\\in.mas", "In.mas"}, {"C:\\w\\chart.MAS", "Chart.mas"}}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_EQ(0, step.change());
        for (const auto &expected : step.expected) {
            SCOPED_TRACE(expected.first);
            EXPECT_EQ(expected.second, Finds(expected.first));
        }
    }
    EXPECT_EQ("in", ReadLinux("c/w/Chart.mas")) << "the exchange took place";
    EXPECT_EQ(reads, Lin32FolderReads());
}

// The layer's own creations, renames and deletions.
TEST_F(NameCache, ChangesByTheLayerAreSeen)
{
    ASSERT_EQ(kMissing, Finds("C:\\w\\COPY.MAS"));
    int reads = Lin32FolderReads();
    struct Step {
        const char *what;
        std::function<bool()> change;
        const char *path;
        const char *expected;
    } steps[] = {
        {"copied", [] { return CopyFileA("C:\\w\\Chart.mas", "C:\\w\\Copy.mas", TRUE) != FALSE; },
         "C:\\w\\COPY.MAS", "Copy.mas"},
        {"copied over", [] { return CopyFileA("C:\\w\\Chart.mas", "C:\\w\\COPY.mas", FALSE) != FALSE; },
         "C:\\w\\copy.mas", "Copy.mas"},
        {"deleted", [] { return DeleteFileA("C:\\w\\copy.MAS") != FALSE; }, "C:\\w\\COPY.MAS",
         kMissing},
        {"created",
         [] {
             HANDLE file = CreateFileA("C:\\w\\Made.mas", GENERIC_WRITE, 0, NULL, CREATE_NEW,
                                       FILE_ATTRIBUTE_NORMAL, NULL);
             return file != INVALID_HANDLE_VALUE && CloseHandle(file) != FALSE;
         },
         "C:\\w\\MADE.MAS", "Made.mas"},
        {"folder made", [] { return CreateDirectoryA("C:\\w\\Dir", NULL) != FALSE; }, "C:\\w\\DIR",
         "Dir"},
        {"profile written",
         [] { return WritePrivateProfileStringA("S", "k", "1", "C:\\w\\Prof.ini") != FALSE; },
         "C:\\w\\PROF.INI", "Prof.ini"},
        {"profile replaced",
         [] { return WritePrivateProfileStringA("S", "k", "2", "C:\\w\\PROF.ini") != FALSE; },
         "C:\\w\\prof.ini", "Prof.ini"},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(step.change());
        EXPECT_EQ(step.expected, Finds(step.path));
    }
    EXPECT_EQ(std::vector<std::string>({"Chart.mas", "Dir", "Made.mas", "Prof.ini"}),
              ListLinux("c/w"));
    EXPECT_EQ(reads, Lin32FolderReads());
}

// Each folder has its own names: a name in one is not found in another, also with more
// folders than are kept; one folder through two drive letters is one folder.
TEST_F(NameCache, FoldersDoNotMix)
{
    const int kFolders = 7;
    for (int i = 0; i < kFolders; ++i) {
        WriteLinux("c/f" + std::to_string(i) + "/Only" + std::to_string(i) + ".mas", "x");
    }
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < kFolders; ++i) {
            for (int j = 0; j < kFolders; ++j) {
                SCOPED_TRACE("folder " + std::to_string(i) + ", name " + std::to_string(j));
                std::string name = "Only" + std::to_string(j) + ".mas";
                EXPECT_EQ(i == j ? name : kMissing,
                          Finds("C:\\F" + std::to_string(i) + "\\ONLY" + std::to_string(j) +
                                ".MAS"));
            }
        }
    }

    ASSERT_TRUE(Map('D', "c/f0", DRIVE_FIXED, false));
    EXPECT_EQ(kMissing, Finds("D:\\ONLY1.MAS"));
    EXPECT_EQ(kMissing, Finds("C:\\f0\\SHARED.MAS"));
    WriteLinux("c/f0/Shared.mas", "x");
    EXPECT_EQ("Shared.mas", Finds("D:\\shared.mas"));
    EXPECT_EQ("Shared.mas", Finds("C:\\f0\\SHARED.MAS"));
    ASSERT_TRUE(Map('D', "c/f1", DRIVE_FIXED, false));
    EXPECT_EQ(kMissing, Finds("D:\\shared.mas")) << "D: now shows another folder";
    EXPECT_EQ("Only1.mas", Finds("D:\\only1.mas"));
}

// A folder changed from outside while its names are kept, then given up for a fifth
// folder before the change was read: read again, it shows the change. (The folders are
// named as written, so only the folders of the charts are kept, g0 longest unused.)
TEST_F(NameCache, AFolderGivenUpWithChangesPending)
{
    for (int i = 0; i < 5; ++i) {
        WriteLinux("c/g" + std::to_string(i) + "/Old.mas", "x");
    }
    for (int i = 0; i < 4; ++i) {
        ASSERT_EQ(kMissing, Finds("C:\\g" + std::to_string(i) + "\\NEW.MAS"));
    }
    WriteLinux("c/g0/New.mas", "x");
    ASSERT_EQ(0, Posix(unlink(Linux("c/g0/Old.mas").c_str())));
    int reads = Lin32FolderReads();
    EXPECT_EQ(kMissing, Finds("C:\\g4\\NEW.MAS"));
    EXPECT_EQ("New.mas", Finds("C:\\g0\\NEW.MAS"));
    EXPECT_EQ(kMissing, Finds("C:\\g0\\OLD.MAS"));
    EXPECT_EQ(reads + 2, Lin32FolderReads()) << "g4 and then g0 read whole";
    EXPECT_EQ("Old.mas", Finds("C:\\g1\\old.mas"));
}

// A folder removed and made anew under its name (perhaps with the same inode number),
// or its parent renamed, is not taken for the folder whose names were kept.
TEST_F(NameCache, AFolderReplacedUnderItsName)
{
    EXPECT_EQ("Chart.mas", Finds("C:\\w\\CHART.MAS"));
    std::error_code ignored;
    std::filesystem::remove_all(Linux("c/w"), ignored);
    WriteLinux("c/w/Other.mas", "x");
    EXPECT_EQ(kMissing, Finds("C:\\w\\CHART.MAS"));
    EXPECT_EQ("Other.mas", Finds("C:\\w\\OTHER.MAS"));

    WriteLinux("c/p/w/First.mas", "x");
    EXPECT_EQ("First.mas", Finds("C:\\p\\w\\FIRST.MAS"));
    ASSERT_EQ(0, rename(Linux("c/p").c_str(), Linux("c/q").c_str()));
    WriteLinux("c/p/w/Second.mas", "x");
    EXPECT_EQ(kMissing, Finds("C:\\p\\w\\FIRST.MAS"));
    EXPECT_EQ("Second.mas", Finds("C:\\p\\w\\SECOND.MAS"));
    EXPECT_EQ("First.mas", Finds("C:\\q\\w\\FIRST.MAS"));
}

// Kept names are in the code page; another code page finds the names it can name.
TEST_F(NameCache, AnotherCodePage)
{
    WriteLinux("c/cp/Жук.mas", "cyrillic");
    EXPECT_EQ(kMissing, Finds("C:\\cp\\X.MAS"));
    Lin32SetCodePage(1251);
    EXPECT_EQ("Жук.mas", Finds("C:\\cp\\\xE6\xF3\xEA.MAS")) << "lower case in code page 1251";
    Lin32SetCodePage(1252);
    EXPECT_EQ(kMissing, Finds("C:\\cp\\\xE6\xF3\xEA.MAS"));
}

// Many names come and go: the names gone pile up until the folder is read afresh, and
// every answer stays right meanwhile.
TEST_F(NameCache, ManyNamesComeAndGo)
{
    ASSERT_EQ(kMissing, Finds("C:\\w\\T0.MAS"));
    for (int i = 0; i < 600; ++i) {
        std::string name = "t" + std::to_string(i) + ".mas";
        ASSERT_EQ(0, Posix(close(open(Linux("c/w/" + name).c_str(), O_CREAT | O_WRONLY, 0644))));
        if (i % 2 == 0) {
            ASSERT_EQ(0, Posix(unlink(Linux("c/w/" + name).c_str())));
        }
        if (i % 50 == 49) {
            SCOPED_TRACE(i);
            EXPECT_EQ(kMissing, Finds("C:\\w\\T" + std::to_string(i - 1) + ".MAS"));
            EXPECT_EQ("t" + std::to_string(i) + ".mas", Finds("C:\\w\\T" + std::to_string(i) + ".MAS"));
        }
    }
    EXPECT_EQ("Chart.mas", Finds("C:\\w\\CHART.MAS"));
}

// More changes than inotify queues between two look-ups: the lost events drop the kept
// names, and the folder is read afresh.
TEST_F(NameCache, MoreChangesThanTheQueueHolds)
{
    long limit = 0;
    FILE *file = fopen("/proc/sys/fs/inotify/max_queued_events", "r");
    if (file != NULL) {
        if (fscanf(file, "%ld", &limit) != 1) {
            limit = 0;
        }
        fclose(file);
    }
    if (limit <= 0 || limit > 100000) {
        GTEST_SKIP() << "inotify queue of " << limit << " events";
    }
    ASSERT_EQ(kMissing, Finds("C:\\w\\N0"));
    int reads = Lin32FolderReads();
    std::string folder = Linux("c/w/");
    for (long i = 0; i <= limit; ++i) {
        std::string name = folder + "n" + std::to_string(i);
        ASSERT_EQ(0, Posix(close(open(name.c_str(), O_CREAT | O_WRONLY, 0644))));
    }
    std::string last = std::to_string(limit);
    EXPECT_EQ("n" + last, Finds("C:\\w\\N" + last)) << "its event was lost";
    EXPECT_EQ("n0", Finds("C:\\w\\N0"));
    EXPECT_EQ(reads + 1, Lin32FolderReads());
}

// A child process made by fork looks up names on its own, and leaves the parent's
// notices of changes for the parent.
TEST_F(NameCache, AForkedChild)
{
    ASSERT_EQ(kMissing, Finds("C:\\w\\FORKED.MAS"));
    int reads = Lin32FolderReads();
    WriteLinux("c/w/forked.mas", "x");
    fflush(NULL);
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        _exit(Finds("C:\\w\\FORKED.MAS") == "forked.mas" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status)) << "the child found the new chart";
    EXPECT_EQ("forked.mas", Finds("C:\\w\\FORKED.MAS"));
    EXPECT_EQ(reads, Lin32FolderReads()) << "the parent answered from its kept names";
}

}  // namespace

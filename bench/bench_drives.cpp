// The benchmark drives: 2000 charts on C: and D:, names and times from a fixed seed, so
// that every run measures the same work.
#include "bench_drives.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>
#include <set>

namespace bench {

namespace {

const int kShared = 1800;       // names on both drives; the rest only on one side
const int kChartBytes = 1500;   // a typical chart: a few hundred measurements

// A fixed pseudo-random sequence (the numbers of the C library's example generator).
struct Sequence {
    unsigned long state = 20261210;
    int Next(int limit)
    {
        state = state * 1103515245ul + 12345ul;
        return (int)((state / 65536ul) % 32768ul) % limit;
    }
};

// Chart names of 4 to 8 letters and digits, unique without regard to case.
std::vector<std::string> MakeNames(Sequence &random, int count)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::set<std::string> seen;
    std::vector<std::string> names;
    while ((int)names.size() < count) {
        int length = 4 + random.Next(5);
        std::string name(1, kLetters[random.Next(26)]);
        while ((int)name.size() < length) {
            name += kLetters[random.Next(36)];
        }
        if (seen.insert(name).second) {
            names.push_back(name);
        }
    }
    return names;
}

// Days 1-28 of 2000 to 2024, minutes 1-58, so that a minute earlier or later stays on
// the same day.
scenario::Stamp MakeStamp(Sequence &random)
{
    return {2000 + random.Next(25), 1 + random.Next(12), 1 + random.Next(28),
            random.Next(24), 1 + random.Next(58)};
}

bool KeptByFilter(const scenario::Stamp &stamp) { return stamp.year >= 2013; }

int CurrentFailures()
{
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().total_part_count();
}

std::unique_ptr<BenchDrives> g_drives;
bool g_ready = false;
std::string g_error;

}  // namespace

bool BenchDrives::Open(std::string &error)
{
    int failures = CurrentFailures();
    SetUp();
    if (!MoveTo(getenv("CHARTXFER_BENCH_DIR"), error)) {
        return false;
    }
    Map('E', DRIVE_FIXED);
    WriteIni("[PATH]\r\nDRIVES=CDE\r\nSTARTUPDRIVE=1\r\n");
    // "Alpha" sorts first: start-up opens with the system that holds the charts.
    MakeSystem('C', kSystem, "Alpha");
    MakeSystem('D', kSystem, "Alpha");
    MakeSystem('E', kSystem, "Alpha");
    for (int i = 1; i < kSystems; i++) {
        char dir[16];
        char display[32];
        snprintf(dir, sizeof dir, "SYS%02d", i);
        snprintf(display, sizeof display, "System %02d", i);
        MakeSystem('C', dir, display);
    }

    Sequence random;
    std::vector<std::string> names = MakeNames(random, kCharts + (kCharts - kShared));
    const std::string content(kChartBytes, 'x');
    for (int i = 0; i < kCharts; i++) {
        scenario::Stamp stamp = MakeStamp(random);
        sourceCharts_.push_back(MakeChart('C', kSystem, names[i] + ".mas", stamp, content));
        linesAfterFilter_ += KeptByFilter(stamp) ? 1 : 0;
        if (i >= kShared) {
            ++selectedByCompare_;  // the destination lacks it
            continue;
        }
        // A third older on the destination, a third the same, a third newer.
        scenario::Stamp other = stamp;
        other.minute += i % 3 == 0 ? -1 : i % 3 == 1 ? 0 : 1;
        selectedByCompare_ += i % 3 == 0 ? 1 : 0;
        MakeChart('D', kSystem, names[i] + ".mas", other, content);
        linesAfterFilter_ += KeptByFilter(other) ? 1 : 0;
    }
    for (int i = kCharts; i < (int)names.size(); i++) {
        scenario::Stamp stamp = MakeStamp(random);
        MakeChart('D', kSystem, names[i] + ".mas", stamp, content);
        linesAfterFilter_ += KeptByFilter(stamp) ? 1 : 0;
    }
    if (CurrentFailures() != failures) {
        error = "laying out the drives failed (see the messages above)";
        return false;
    }
    return true;
}

// The fixture puts its drives under /tmp; the benchmarks may want them elsewhere (on a
// tmpfs, so that the disk and its other users are not measured).
bool BenchDrives::MoveTo(const char *base, std::string &error)
{
    if (base == nullptr || base[0] == '\0') {
        return true;
    }
    std::string pattern = std::string(base) + "/chartxfer-bench-XXXXXX";
    std::vector<char> folder(pattern.begin(), pattern.end());
    folder.push_back('\0');
    if (mkdtemp(folder.data()) == nullptr) {
        error = "cannot create a folder in " + std::string(base);
        return false;
    }
    Lin32ResetDrives();
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    root_ = folder.data();
    Lin32SetDosDevices((root_ / "dosdevices").c_str());
    Map('C', DRIVE_FIXED);
    Map('D', DRIVE_FIXED);
    return SetCurrentDirectoryA("C:\\") != FALSE;
}

void BenchDrives::Close() { TearDown(); }

std::string BenchDrives::ChartFolder(char drive) const
{
    return (Folder(drive) / "vornix" / kSystem / "mas").string();
}

bool BenchDrives::EmptyFolder(const std::string &folder)
{
    DIR *directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return false;
    }
    bool ok = true;
    while (struct dirent *entry = readdir(directory)) {
        std::string name = entry->d_name;
        if (name != "." && name != ".." && unlink((folder + "/" + name).c_str()) != 0) {
            ok = false;
        }
    }
    closedir(directory);
    return ok;
}

BenchDrives &Drives()
{
    if (!g_drives) {
        g_drives.reset(new BenchDrives);
        g_ready = g_drives->Open(g_error);
    }
    return *g_drives;
}

bool DrivesReady(std::string &error)
{
    Drives();
    error = g_error;
    return g_ready;
}

void CloseDrives()
{
    if (g_drives) {
        g_drives->Close();
        g_drives.reset();
    }
}

}  // namespace bench

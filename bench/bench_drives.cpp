// The benchmark drives, laid out with the scenario tests' fixture.
#include "bench_drives.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <memory>

namespace bench {

namespace {

int CurrentFailures()
{
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().total_part_count();
}

scenario::Stamp StampOf(const ChartTime &time)
{
    return {time.year, time.month, time.day, time.hour, time.minute};
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
    MakeSystem('C', kSystem, kSystemDisplay);
    MakeSystem('D', kSystem, kSystemDisplay);
    MakeSystem('E', kSystem, kSystemDisplay);
    for (int i = 1; i < kSystems; i++) {
        char dir[16];
        char display[32];
        snprintf(dir, sizeof dir, "SYS%02d", i);
        snprintf(display, sizeof display, "System %02d", i);
        MakeSystem('C', dir, display);
    }

    charts_ = MakeChartSet();
    const std::string content(kChartBytes, 'x');
    for (const Chart &chart : charts_.source) {
        sourceCharts_.push_back(MakeChart('C', kSystem, chart.file, StampOf(chart.time), content));
    }
    for (const Chart &chart : charts_.destination) {
        MakeChart('D', kSystem, chart.file, StampOf(chart.time), content);
    }
    if (CurrentFailures() != failures) {
        error = "laying out the drives failed (see the messages above)";
        return false;
    }
    return true;
}

// The fixture puts its drives under /tmp; a run may want them elsewhere, on a tmpfs for
// instance, so that the disk and its other users are not measured.
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

// The program's own work on 2000 charts a side, driven as the tests drive it: through the
// Linux layer and the dialog driver, inside the dialog's modal loop. Each benchmark
// checks afterwards that the dialog shows what a correct run shows; a wrong result or an
// unexpected message box turns the figure into an error instead of a time.
#include "benchmarks.h"

#include "bench_drives.h"

#include "app/dialog.h"
#include "app/perfile.h"
#include "Ftn/ftn.h"
#include "resources/resource.h"
#include "support/boxes.h"
#include "support/dialog_driver.h"

#include <benchmark/benchmark.h>
#include <gtest/gtest.h>

#include <dirent.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

namespace {

const int kSourceDrive = 0;  // combo entries: C:, D:, E:
const int kCompareDrive = 1;
const int kCopyDrive = 2;

int CurrentFailures()
{
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().total_part_count();
}

int FilesIn(const std::string &folder)
{
    DIR *directory = opendir(folder.c_str());
    if (directory == nullptr) {
        return -1;
    }
    int count = 0;
    while (struct dirent *entry = readdir(directory)) {
        count += entry->d_name[0] != '.' ? 1 : 0;
    }
    closedir(directory);
    return count;
}

// Starts the program on the benchmark drives and runs body inside its dialog. body
// returns an empty text when the dialog shows the expected result, else what is wrong.
void RunInDialog(benchmark::State &state,
                 const std::function<std::string(HWND, BoxScript &)> &body)
{
    std::string error;
    if (!DrivesReady(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int failures = CurrentFailures();
    SetCurrentDirectoryA("C:\\");
    BoxScript boxes;
    bool opened = false;
    driver::RunProgram("", [&](HWND dialog) {
        opened = true;
        error = body(dialog, boxes);
    });
    if (!opened) {
        error = "the dialog did not open";
    } else if (error.empty() && boxes.Unexpected() > 0) {
        error = "unexpected message box: " + boxes.Shown().back().text;
    } else if (error.empty() && CurrentFailures() != failures) {
        error = "the dialog driver reported a failure (see above)";
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
    }
}

std::string Expect(const char *what, size_t got, size_t expected)
{
    if (got == expected) {
        return std::string();
    }
    return std::string(what) + ": " + std::to_string(got) + " instead of " +
           std::to_string(expected);
}

// The "since" filter on, as the user sets it: tick the box (a refresh), type the date.
void SetSinceFilter(HWND dialog)
{
    driver::ClickButton(dialog, IDC_SINCE_CHECK);
    driver::TypeText(dialog, IDC_SINCE_EDIT, kSinceDate);
}

size_t LinesShown(HWND dialog)
{
    return driver::ListLines(dialog, IDC_SOURCE_LIST).size() +
           driver::ListLines(dialog, IDC_DEST_LIST).size();
}

}  // namespace

// One list: choosing the source drive rebuilds the source list alone.
void BM_ListBuild(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &) {
        for (auto _ : state) {
            driver::ChooseComboItem(dialog, IDC_SOURCE_DRIVE, kSourceDrive);
        }
        return Expect("source lines", driver::ListLines(dialog, IDC_SOURCE_LIST).size(),
                      kCharts);
    });
}

// Refresh List with C: and D: and the "since" filter: two list builds and the filter.
void BM_RefreshFiltered(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, kCompareDrive);
        SetSinceFilter(dialog);
        for (auto _ : state) {
            driver::ClickButton(dialog, IDC_REFRESH);
        }
        return Expect("lines after the filter", LinesShown(dialog),
                      (size_t)Drives().Charts().keptByFilter);
    });
}

// The date filter alone, on two freshly built lists of 2000 lines each.
void BM_DateFilter(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, kCompareDrive);
        SetSinceFilter(dialog);
        int sortChoice = driver::IsChecked(dialog, IDC_SORT_NAME) ? 1 : 2;
        for (auto _ : state) {
            state.PauseTiming();
            BuildChartList('C', g_SystemDirNames[0], dialog, IDC_SOURCE_LIST, sortChoice,
                           IDC_NAME_CHECK, IDC_NAME_EDIT);
            BuildChartList('D', g_SystemDirNames[0], dialog, IDC_DEST_LIST, sortChoice,
                           IDC_NAME_CHECK, IDC_NAME_EDIT);
            state.ResumeTiming();
            ApplyDateFilter(dialog);
        }
        return Expect("lines after the filter", LinesShown(dialog),
                      (size_t)Drives().Charts().keptByFilter);
    });
}

// Compare of the 2000 source lines against the 2000 destination lines.
void BM_Compare(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &) {
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, kCompareDrive);
        for (auto _ : state) {
            driver::ClickButton(dialog, IDC_COMPARE);
        }
        return Expect("selected source lines",
                      driver::SelectedLines(dialog, IDC_SOURCE_LIST).size(),
                      (size_t)Drives().Charts().selectedByCompare);
    });
}

// All, then Copy to the empty chart directory of E: and Yes to the question: the
// command as the user waits for it, the rebuild of both lists included.
void BM_Copy(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &boxes) {
        const std::string target = Drives().ChartFolder('E');
        driver::ChooseComboItem(dialog, IDC_DEST_DRIVE, kCopyDrive);
        for (auto _ : state) {
            state.PauseTiming();
            BenchDrives::EmptyFolder(target);
            driver::ClickButton(dialog, IDC_ALL);
            boxes.Answer({IDYES});
            state.ResumeTiming();
            driver::ClickButton(dialog, IDC_COPY);
        }
        std::string wrong = Expect("copied charts", (size_t)FilesIn(target), kCharts);
        if (wrong.empty()) {
            wrong = Expect("destination lines",
                           driver::ListLines(dialog, IDC_DEST_LIST).size(), kCharts);
        }
        return wrong;
    });
}

// The file copies of that command alone, as the command makes them: one search of the
// emptied chart directory of E:, then CopyIntoFolderWithPrompt for each of the 2000
// charts with the paths it builds. The command adds to it the rebuild of both lists,
// which cp -p has no part in.
void BM_CopyFiles(benchmark::State &state)
{
    RunInDialog(state, [&](HWND dialog, BoxScript &) {
        const std::string target = Drives().ChartFolder('E');
        const std::string folder = std::string("\\vornix\\") + kSystem + "\\mas\\";
        std::vector<std::string> sources;
        std::vector<std::string> targets;
        for (const Chart &chart : Drives().Charts().source) {
            sources.push_back("C:" + folder + chart.file);
            targets.push_back("E:" + folder + chart.file);
        }
        size_t failed = 0;
        for (auto _ : state) {
            state.PauseTiming();
            BenchDrives::EmptyFolder(target);
            state.ResumeTiming();
            ChartFolder searched;
            if (!ScanChartFolder(("E:" + folder).c_str(), &searched)) {
                failed += sources.size();
                continue;
            }
            for (size_t i = 0; i < sources.size(); ++i) {
                int choice = 0;
                if (!CopyIntoFolderWithPrompt(dialog, sources[i].c_str(), (int)sources[i].size(),
                                              targets[i].c_str(), (int)targets[i].size(),
                                              &searched, &choice)) {
                    ++failed;
                }
            }
            FreeChartFolder(&searched);
        }
        std::string wrong = Expect("failed copies", failed, 0);
        if (wrong.empty()) {
            wrong = Expect("copied charts", (size_t)FilesIn(target), kCharts);
        }
        return wrong;
    });
}

// Start-up to the open dialog with both lists built, and closing it.
void BM_Startup(benchmark::State &state)
{
    std::string error;
    if (!DrivesReady(error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    int failures = CurrentFailures();
    BoxScript boxes;
    size_t systems = 0;
    for (auto _ : state) {
        SetCurrentDirectoryA("C:\\");
        driver::RunProgram("", [&](HWND dialog) {
            systems = driver::ComboItems(dialog, IDC_SYSTEM).size();
        });
    }
    error = Expect("construction systems", systems, kSystems);
    if (error.empty() && boxes.Unexpected() > 0) {
        error = "unexpected message box: " + boxes.Shown().back().text;
    }
    if (error.empty() && CurrentFailures() != failures) {
        error = "the dialog driver reported a failure (see above)";
    }
    if (!error.empty()) {
        state.SkipWithError(error.c_str());
    }
}

}  // namespace bench

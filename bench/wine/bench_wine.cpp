// Times the real chartxfer.exe under Wine from a second program, as a user would wait
// for it: Refresh List with 2000 charts on each side, Compare of 2000 source lines
// against 2000 destination lines, and Copy of 2000 selected charts (from the Yes to the
// question until both lists are rebuilt). Each figure is the median of several runs;
// the wall clock is the program's QueryPerformanceCounter. The harness sees the program
// done when a message posted behind the action has been handled, so a figure includes
// one round trip between the two processes.
//
// Drives (tests/wine/e2e.sh): C: the prefix's drive with the product tree and 50
// construction systems, D: the destination charts, E: an empty chart directory for the
// copies.
#include "harness.h"

#include "chart_set.h"
#include "resources/resource.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"VORNIX - Import/Export Measurement Charts";
const int kDriveD = 1;  // combo entries: C:, D:, E:
const int kDriveE = 2;
const int kRuns = 5;
const int kCopyRuns = 3;

double Seconds()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart / (double)frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

bool Fail(const char *what)
{
    fprintf(stderr, "bench_wine: %s (error %lu)\n", what, (unsigned long)GetLastError());
    return false;
}

bool LayOut(const bench::ChartSet &charts)
{
    if (!e2e::ResetDrives() ||
        !e2e::WriteTextFile("C:\\vornix\\vornix.ini",
                            "[PATH]\r\nDRIVES=CDE\r\nSTARTUPDRIVE=1\r\n")) {
        return Fail("cannot reset the drives");
    }
    for (char drive : {'C', 'D', 'E'}) {
        if (!e2e::MakeSystem(drive, bench::kSystem, bench::kSystemDisplay)) {
            return Fail("cannot create the construction system");
        }
    }
    for (int i = 1; i < bench::kSystems; i++) {
        char dir[16];
        char display[32];
        snprintf(dir, sizeof dir, "SYS%02d", i);
        snprintf(display, sizeof display, "System %02d", i);
        if (!e2e::MakeSystem('C', dir, display)) {
            return Fail("cannot create a construction system");
        }
    }
    const std::string content(bench::kChartBytes, 'x');
    auto write = [&content](char drive, const std::vector<bench::Chart> &side) {
        for (const bench::Chart &chart : side) {
            const bench::ChartTime &t = chart.time;
            std::string name = chart.file.substr(0, chart.file.size() - 4);  // without .mas
            if (!e2e::WriteChart(drive, bench::kSystem, name,
                                 {t.year, t.month, t.day, t.hour, t.minute}, content)) {
                return false;
            }
        }
        return true;
    };
    if (!write('C', charts.source) || !write('D', charts.destination)) {
        return Fail("cannot write the charts");
    }
    return true;
}

bool EmptyChartDir(char drive)
{
    std::string folder = e2e::ChartDir(drive, bench::kSystem);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    bool ok = true;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            ok = DeleteFileA((folder + "\\" + found.cFileName).c_str()) && ok;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
}

int FilesIn(char drive)
{
    std::string folder = e2e::ChartDir(drive, bench::kSystem);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*.mas").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

LRESULT LineCount(e2e::Program &program, int listId)
{
    return SendMessageW(GetDlgItem(program.Dialog(), listId), LB_GETCOUNT, 0, 0);
}

struct Result {
    const char *what;
    std::vector<double> seconds;
    double goal;  // seconds; 0: none
    std::string wrong;  // what the dialog showed that a correct run does not
};

std::string Expect(const char *what, long got, long expected)
{
    if (got == expected) {
        return std::string();
    }
    return std::string(what) + ": " + std::to_string(got) + " instead of " +
           std::to_string(expected);
}

void Refresh(e2e::Program &program, Result &result)
{
    for (int run = 0; run < kRuns; run++) {
        double start = Seconds();
        program.ClickButton(IDC_REFRESH);
        result.seconds.push_back(Seconds() - start);
    }
    result.wrong = Expect("source lines", (long)LineCount(program, IDC_SOURCE_LIST), bench::kCharts);
    if (result.wrong.empty()) {
        result.wrong = Expect("destination lines", (long)LineCount(program, IDC_DEST_LIST),
                              bench::kCharts);
    }
}

void Compare(e2e::Program &program, const bench::ChartSet &charts, Result &result)
{
    for (int run = 0; run < kRuns; run++) {
        double start = Seconds();
        program.ClickButton(IDC_COMPARE);
        result.seconds.push_back(Seconds() - start);
    }
    result.wrong = Expect("selected source lines",
                          (long)program.SelectedLines(IDC_SOURCE_LIST).size(),
                          charts.selectedByCompare);
}

void Copy(e2e::Program &program, Result &result)
{
    for (int run = 0; run < kCopyRuns && result.wrong.empty(); run++) {
        if (!EmptyChartDir('E')) {
            result.wrong = "cannot empty the chart directory of E:";
            break;
        }
        program.ClickButton(IDC_ALL);
        program.ClickButton(IDC_COPY);
        e2e::Box question;
        if (!program.WaitForBox(question)) {
            result.wrong = "no question before the copy";
            break;
        }
        double start = Seconds();
        program.Answer(question, IDYES);
        result.seconds.push_back(Seconds() - start);
        result.wrong = Expect("copied charts", FilesIn('E'), bench::kCharts);
    }
    if (result.wrong.empty()) {
        result.wrong = Expect("destination lines", (long)LineCount(program, IDC_DEST_LIST),
                              bench::kCharts);
    }
}

}  // namespace

int main()
{
    const bench::ChartSet charts = bench::MakeChartSet();
    double start = Seconds();
    if (!LayOut(charts)) {
        return 1;
    }
    printf("drives laid out in %.1f s\n", Seconds() - start);

    e2e::Program program;
    if (!program.Start("", "C:\\vornix")) {
        Fail("chartxfer.exe (CHARTXFER_EXE) did not start");
        return 1;
    }
    if (program.WaitForDialog(kCaption) == nullptr) {
        DWORD exitCode = 0;
        Fail(program.WaitForExit(exitCode, 0) ? "the program ended without its dialog"
                                              : "the program did not open its dialog");
        return 1;
    }
    program.Settle();
    program.ChooseComboItem(IDC_DEST_DRIVE, kDriveD);

    Result results[] = {
        {"Refresh List, 2000 charts each side", {}, 0.5, ""},
        {"Compare, 2000 against 2000 lines", {}, 0.5, ""},
        {"Copy, 2000 charts, lists rebuilt", {}, 0, ""},
    };
    Refresh(program, results[0]);
    Compare(program, charts, results[1]);
    program.ChooseComboItem(IDC_DEST_DRIVE, kDriveE);
    Copy(program, results[2]);
    for (const e2e::Box &box : program.Boxes()) {
        fprintf(stderr, "bench_wine: unexpected box: %s\n", e2e::Utf8(box.text).c_str());
    }
    program.ClickButton(IDCANCEL);

    int failed = 0;
    printf("\n%-40s %10s %10s %5s  %-10s %s\n", "figure (chartxfer.exe under Wine)", "median",
           "best", "runs", "goal", "result");
    for (const Result &result : results) {
        if (!result.wrong.empty() || result.seconds.empty()) {
            printf("%-40s %10s  %s\n", result.what, "-",
                   result.wrong.empty() ? "not measured" : result.wrong.c_str());
            ++failed;
            continue;
        }
        double median = Median(result.seconds);
        double best = *std::min_element(result.seconds.begin(), result.seconds.end());
        char goal[32] = "-";
        const char *verdict = "-";
        if (result.goal > 0) {
            snprintf(goal, sizeof goal, "< %.1f s", result.goal);
            verdict = median < result.goal ? "met" : "NOT MET";
        }
        printf("%-40s %8.3f s %8.3f s %5zu  %-10s %s\n", result.what, median, best,
               result.seconds.size(), goal, verdict);
    }
    return failed == 0 ? 0 : 1;
}

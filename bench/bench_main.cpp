// Runs the benchmarks, each figure right after its baseline on the same files, and ends
// with the table of figures, baselines, ratios and goals. Times are medians over the
// repetitions (--benchmark_repetitions) of the mean time per iteration, wall clock.
#include "benchmarks.h"

#include "bench_drives.h"

#include <algorithm>
#include <map>
#include <stdio.h>
#include <string>
#include <vector>

namespace {

const char kNotRun[] = "not run";

// Passes everything to the console and keeps each benchmark's median time.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            std::string name = run.run_name.function_name;
            if (run.error_occurred) {
                errors_[name] = run.error_message;
            } else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians_[name] = run.GetAdjustedRealTime();
            } else if (run.run_type == Run::RT_Iteration) {
                samples_[name].push_back(run.GetAdjustedRealTime());
            }
        }
    }

    // Milliseconds, or false with the reason when there is no figure.
    bool Time(const std::string &name, double &ms, std::string &why) const
    {
        auto error = errors_.find(name);
        if (error != errors_.end()) {
            why = error->second;
            return false;
        }
        auto median = medians_.find(name);
        if (median != medians_.end()) {
            ms = median->second;
            return true;
        }
        auto samples = samples_.find(name);
        if (samples == samples_.end() || samples->second.empty()) {
            why = kNotRun;
            return false;
        }
        std::vector<double> sorted = samples->second;
        std::sort(sorted.begin(), sorted.end());
        ms = sorted[sorted.size() / 2];
        return true;
    }

private:
    std::map<std::string, double> medians_;
    std::map<std::string, std::vector<double>> samples_;
    std::map<std::string, std::string> errors_;
};

struct Figure {
    const char *name;          // the benchmark
    const char *what;
    const char *baseline;      // the baseline benchmark, or nullptr
    const char *baselineWhat;
    double maxRatio;           // goal against the baseline; 0: none
    double maxMs;              // goal in milliseconds; 0: none
};

const Figure kFigures[] = {
    {"list_build", "list build, 2000 charts", "ls_one_list", "ls -l of the directory", 1.5, 0},
    {"refresh_filtered", "refresh, 2 x 2000 charts, since-filter", "ls_both_lists",
     "ls -l of both directories", 0, 0},
    {"date_filter", "date filter, 2 x 2000 lines", nullptr, "", 0, 10},
    {"compare", "Compare, 2000 against 2000", nullptr, "", 0, 10},
    {"copy_files", "Copy, the 2000 file copies", "cp_charts", "cp -p of the 2000 files", 0, 0},
    {"copy", "Copy command: copies + 2 list builds", "cp_charts", "cp -p of the 2000 files", 0, 0},
    {"startup", "start-up, 50 systems, 2 x 2000", nullptr, "", 0, 0},
};

void Register(const char *name, void (*function)(benchmark::State &))
{
    benchmark::RegisterBenchmark(name, function)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond)
        ->ComputeStatistics("min", [](const std::vector<double> &values) {
            return *std::min_element(values.begin(), values.end());
        });
}

// A baseline first, then the figure measured against it, on the same files.
void RegisterAll()
{
    Register("ls_one_list", bench::BM_LsOneList);
    Register("list_build", bench::BM_ListBuild);
    Register("ls_both_lists", bench::BM_LsBothLists);
    Register("refresh_filtered", bench::BM_RefreshFiltered);
    Register("date_filter", bench::BM_DateFilter);
    Register("compare", bench::BM_Compare);
    Register("cp_charts", bench::BM_CpCharts);
    Register("copy_files", bench::BM_CopyFiles);
    Register("copy", bench::BM_Copy);
    Register("startup", bench::BM_Startup);
}

// Prints the table; returns the number of figures that failed (not those left out by
// --benchmark_filter).
int PrintTable(const TableReporter &reporter)
{
    int failed = 0;
    printf("\n%-40s %10s  %-27s %10s %7s  %-15s %s\n", "figure (Linux layer)", "median",
           "baseline", "median", "ratio", "goal", "result");
    for (const Figure &figure : kFigures) {
        double ms = 0;
        std::string why;
        if (!reporter.Time(figure.name, ms, why)) {
            printf("%-40s %10s  %s\n", figure.what, "-", why.c_str());
            failed += why != kNotRun ? 1 : 0;
            continue;
        }
        char base[32] = "-";
        char ratio[32] = "-";
        char goal[32] = "-";
        const char *result = "-";
        double baseMs = 0;
        bool haveBase = figure.baseline != nullptr && reporter.Time(figure.baseline, baseMs, why);
        if (haveBase) {
            snprintf(base, sizeof base, "%.2f ms", baseMs);
            snprintf(ratio, sizeof ratio, "%.2f", ms / baseMs);
        }
        if (figure.maxRatio > 0) {
            snprintf(goal, sizeof goal, "<= %.1f x", figure.maxRatio);
            result = !haveBase ? "no baseline" : ms <= figure.maxRatio * baseMs ? "met" : "NOT MET";
        } else if (figure.maxMs > 0) {
            snprintf(goal, sizeof goal, "< %.0f ms", figure.maxMs);
            result = ms < figure.maxMs ? "met" : "NOT MET";
        }
        printf("%-40s %7.2f ms  %-27s %10s %7s  %-15s %s\n", figure.what, ms,
               figure.baseline != nullptr ? figure.baselineWhat : "-", base, ratio, goal,
               result);
    }
    return failed;
}

}  // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 2;
    }
    RegisterAll();
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    bench::CloseDrives();
    return PrintTable(reporter) == 0 ? 0 : 1;
}

// The drives every benchmark works on, laid out once per run by the scenario tests'
// fixture: C: and D: fixed drives with 2000 charts each of construction system DOB (the
// same names on both, with older, equal and newer times, and 200 charts that only one
// side has), E: a fixed drive with an empty chart directory for the copies, and 49 more
// construction systems on C: so that start-up finds 50. The drives are folders in
// $CHARTXFER_BENCH_DIR, or in /tmp when it is not set.
#ifndef BENCH_BENCH_DRIVES_H
#define BENCH_BENCH_DRIVES_H

#include "dialog/scenario.h"

#include <string>
#include <vector>

namespace bench {

const int kCharts = 2000;
const int kSystems = 50;
const char kSystem[] = "DOB";
// The "since" date of the date filter: it keeps about half of the charts.
const char kSinceDate[] = "01.01.2013";

class BenchDrives : public scenario::Drives {
public:
    // Lays out the drives; false (with the reason) when that failed.
    bool Open(std::string &error);
    void Close();

    // Linux folders of the chart directories of DOB.
    std::string ChartFolder(char drive) const;
    // Linux paths of the charts of DOB on C:, in creation order.
    const std::vector<std::string> &SourceCharts() const { return sourceCharts_; }
    // Removes every file from the chart directory of DOB on a drive.
    static bool EmptyFolder(const std::string &folder);

    // What a correct run leaves behind, for the checks after each benchmark.
    int SourceSelectedByCompare() const { return selectedByCompare_; }
    int LinesAfterFilter() const { return linesAfterFilter_; }

private:
    void TestBody() override {}
    bool MoveTo(const char *base, std::string &error);
    std::vector<std::string> sourceCharts_;
    int selectedByCompare_ = 0;
    int linesAfterFilter_ = 0;
};

// The drives of this run, laid out at the first call.
BenchDrives &Drives();
// Whether the drives could be laid out; the reason when not.
bool DrivesReady(std::string &error);
// Removes the drives at the end of the run.
void CloseDrives();

}  // namespace bench

#endif

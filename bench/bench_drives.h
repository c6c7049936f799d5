// The drives every benchmark works on, laid out once per run by the scenario tests'
// fixture: C: and D: fixed drives with the charts of chart_set.h in construction system
// DOB, E: a fixed drive with an empty chart directory for the copies, and 49 more
// construction systems on C: so that start-up finds 50. The drives are folders in
// $CHARTXFER_BENCH_DIR, or in /tmp when it is not set.
#ifndef BENCH_BENCH_DRIVES_H
#define BENCH_BENCH_DRIVES_H

#include "chart_set.h"

#include "dialog/scenario.h"

#include <string>
#include <vector>

namespace bench {

class BenchDrives : public scenario::Drives {
public:
    // Lays out the drives; false with the reason when that failed.
    bool Open(std::string &error);
    void Close();

    // The Linux folder of the chart directory of DOB on a drive.
    std::string ChartFolder(char drive) const;
    // Linux paths of the charts of DOB on C:.
    const std::vector<std::string> &SourceCharts() const { return sourceCharts_; }
    const ChartSet &Charts() const { return charts_; }
    // Removes every file from a folder.
    static bool EmptyFolder(const std::string &folder);

private:
    void TestBody() override {}
    bool MoveTo(const char *base, std::string &error);
    ChartSet charts_;
    std::vector<std::string> sourceCharts_;
};

// The drives of this run, laid out at the first call.
BenchDrives &Drives();
// Whether the drives could be laid out; the reason when not.
bool DrivesReady(std::string &error);
// Removes the drives at the end of the run.
void CloseDrives();

}  // namespace bench

#endif

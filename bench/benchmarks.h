// The benchmarks of scripts/bench.sh: the program's work over the Linux layer
// (dialog_bench.cpp) and the external commands it is measured against
// (baseline_bench.cpp). All take wall-clock time: a baseline's time is spent in a child
// process.
#ifndef BENCH_BENCHMARKS_H
#define BENCH_BENCHMARKS_H

#include <benchmark/benchmark.h>

namespace bench {

void BM_ListBuild(benchmark::State &state);
void BM_RefreshFiltered(benchmark::State &state);
void BM_DateFilter(benchmark::State &state);
void BM_Compare(benchmark::State &state);
void BM_Copy(benchmark::State &state);
void BM_CopyFiles(benchmark::State &state);
void BM_Startup(benchmark::State &state);

void BM_LsOneList(benchmark::State &state);
void BM_LsBothLists(benchmark::State &state);
void BM_CpCharts(benchmark::State &state);

}  // namespace bench

#endif

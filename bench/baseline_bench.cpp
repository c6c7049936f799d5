// The baselines: ls -l and cp -p on the same chart directories, started with
// posix_spawnp and timed by the same clock as the program's figures. Their output goes
// to /dev/null, so the terminal is not measured.
#include "benchmarks.h"

#include "bench_drives.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

extern char **environ;

namespace bench {

namespace {

// Runs the command to its end; an empty text when it exited with 0, else what failed.
std::string Run(const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &word : command) {
        argv.push_back(const_cast<char *>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        return command[0] + " could not be started";
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0) {
        return command[0] + " failed";
    }
    return std::string();
}

bool Ready(benchmark::State &state)
{
    std::string error;
    if (!DrivesReady(error)) {
        state.SkipWithError(error.c_str());
        return false;
    }
    return true;
}

void RunEach(benchmark::State &state, const std::vector<std::string> &command)
{
    std::string error;
    for (auto _ : state) {
        error = Run(command);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

}  // namespace

void BM_LsOneList(benchmark::State &state)
{
    if (Ready(state)) {
        RunEach(state, {"ls", "-l", Drives().ChartFolder('C')});
    }
}

void BM_LsBothLists(benchmark::State &state)
{
    if (Ready(state)) {
        RunEach(state, {"ls", "-l", Drives().ChartFolder('C'), Drives().ChartFolder('D')});
    }
}

// cp -p of the 2000 charts of C: into the emptied chart directory of E:, as Copy does.
void BM_CpCharts(benchmark::State &state)
{
    if (!Ready(state)) {
        return;
    }
    const std::string target = Drives().ChartFolder('E');
    std::vector<std::string> command = {"cp", "-p"};
    command.insert(command.end(), Drives().SourceCharts().begin(), Drives().SourceCharts().end());
    command.push_back(target);
    for (auto _ : state) {
        state.PauseTiming();
        BenchDrives::EmptyFolder(target);
        state.ResumeTiming();
        std::string error = Run(command);
        if (!error.empty()) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
}

}  // namespace bench

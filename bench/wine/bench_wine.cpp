// Times the real chartxfer.exe under Wine from a second program, as a user would wait
// for it, and the platform's own work on the same charts beside it, run by run in turn.
//
// The README's case (chart_set.h): Refresh List with 2000 charts on each side, and
// Compare of 2000 source lines against 2000 destination lines.
// The update case: 2000 charts on the source, 1000 of them on the destination each a
// minute older, the other 1000 missing. Compare; then Copy, Move and Delete of what
// Compare selected, each from the answer Yes until both lists are rebuilt, beside its
// floor: the platform's safe copy of the same charts (CopyFileA to a temporary name,
// then MoveFileExA onto the chart), with DeleteFileA of the source for Move, and
// DeleteFileA alone for Delete. Before each run the drives are laid out again.
//
// Each figure is the median of several runs; the clock is QueryPerformanceCounter. The
// harness sees the program done when a message posted behind the action has been
// handled, so a figure includes one round trip between the two processes. After each
// run the bench checks what the dialog shows (selection, lines) and what the drives
// hold (every chart byte for byte, nothing else in the folder), and reports what is
// wrong instead of a time.
//
// Drives (tests/wine/e2e.sh): C: the prefix's drive with the product tree, the source
// charts and 50 construction systems; D: the README case's destination; E: the update
// case's destination.
#include "harness.h"

#include "chart_set.h"
#include "resources/resource.h"

#include <stdio.h>
#include <stdlib.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const wchar_t kCaption[] = L"VORNIX - Import/Export Measurement Charts";
const int kDriveD = 1;  // combo entries: C:, D:, E:
const int kDriveE = 2;
int g_Runs = 5;  // runs of each figure: the first argument, else 5
const char kFloorTemporary[] = "FLOOR.TMP";

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

std::string ChartPath(char drive, const std::string &file)
{
    return e2e::ChartDir(drive, bench::kSystem) + "\\" + file;
}

std::string Base(const std::string &file) { return file.substr(0, file.size() - 4); }

e2e::LocalTime TimeOf(const bench::Chart &chart)
{
    const bench::ChartTime &t = chart.time;
    return {t.year, t.month, t.day, t.hour, t.minute};
}

// The charts as they stand on a drive: their bytes and times.
struct Held {
    std::string bytes;
    e2e::LocalTime time;
};
using Drive = std::map<std::string, Held>;  // by file name

Drive Charts(const std::vector<bench::Chart> &charts, int size)
{
    Drive drive;
    for (const bench::Chart &chart : charts) {
        drive[chart.file] = {bench::ChartContent(chart.file, size), TimeOf(chart)};
    }
    return drive;
}

bool Put(char drive, const Drive &charts)
{
    for (const auto &chart : charts) {
        if (!e2e::WriteChart(drive, bench::kSystem, Base(chart.first), chart.second.time,
                             chart.second.bytes)) {
            return Fail("cannot write a chart");
        }
    }
    return true;
}

bool EmptyChartDir(char drive)
{
    std::string folder = e2e::ChartDir(drive, bench::kSystem);
    bool ok = true;
    for (const std::string &name : e2e::FolderEntries(folder)) {
        std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ok = DeleteFileA(path.c_str()) && ok;
    }
    return ok || Fail("cannot empty a chart directory");
}

// Lays the drive out afresh, exactly with these charts.
bool Restore(char drive, const Drive &charts)
{
    return EmptyChartDir(drive) && Put(drive, charts);
}

// What the drive holds differently from what it should: an empty text when nothing.
std::string CheckDrive(char drive, const Drive &expected)
{
    std::vector<std::string> names = e2e::FolderEntries(e2e::ChartDir(drive, bench::kSystem));
    if (names.size() != expected.size()) {
        return std::string(1, drive) + ": " + std::to_string(names.size()) +
               " files instead of " + std::to_string(expected.size());
    }
    for (const std::string &name : names) {
        auto chart = expected.find(name);
        std::string bytes;
        e2e::LocalTime time = {};
        if (chart == expected.end()) {
            return std::string(1, drive) + ": unexpected file " + name;
        }
        if (!e2e::ReadTextFile(ChartPath(drive, name), bytes) || bytes != chart->second.bytes) {
            return std::string(1, drive) + ": " + name + " is not what it should be";
        }
        if (!e2e::GetLastWriteTime(ChartPath(drive, name), time) ||
            e2e::Format(time) != e2e::Format(chart->second.time)) {
            return std::string(1, drive) + ": " + name + " has the time " + e2e::Format(time) +
                   " instead of " + e2e::Format(chart->second.time);
        }
    }
    return std::string();
}

// The list lines of a drive's charts as the program shows them, in name order.
std::vector<std::wstring> LinesOf(const Drive &charts)
{
    std::vector<std::wstring> lines;
    for (const auto &chart : charts) {
        const e2e::LocalTime &t = chart.second.time;
        char text[64];
        snprintf(text, sizeof text, "%-8s\t%02d.%02d.%02d  %02d:%02d", Base(chart.first).c_str(),
                 t.day, t.month, t.year % 100, t.hour, t.minute);
        lines.push_back(std::wstring(text, text + strlen(text)));
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

std::string ExpectLines(e2e::Program &program, int listId, const Drive &charts)
{
    std::vector<std::wstring> shown = program.ListLines(listId);
    std::vector<std::wstring> expected = LinesOf(charts);
    const char *list = listId == IDC_SOURCE_LIST ? "source list" : "destination list";
    if (shown.size() != expected.size()) {
        return std::string(list) + ": " + std::to_string(shown.size()) + " lines instead of " +
               std::to_string(expected.size());
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        if (shown[i] != expected[i]) {
            return std::string(list) + ": line " + std::to_string(i) + " \"" +
                   e2e::Utf8(shown[i]) + "\" instead of \"" + e2e::Utf8(expected[i]) + "\"";
        }
    }
    return std::string();
}

// The files of the selected source lines, against the files Compare must select.
std::string ExpectSelection(e2e::Program &program, const std::set<std::string> &files)
{
    std::vector<std::wstring> lines = program.ListLines(IDC_SOURCE_LIST);
    std::set<std::string> selected;
    for (int index : program.SelectedLines(IDC_SOURCE_LIST)) {
        std::string name = e2e::Utf8(lines[(size_t)index].substr(0, 8));
        name.erase(name.find_last_not_of(' ') + 1);
        selected.insert(name + ".mas");
    }
    if (selected == files) {
        return std::string();
    }
    std::string wrong = "selected source lines: " + std::to_string(selected.size()) +
                        " instead of " + std::to_string(files.size());
    for (const std::string &file : files) {
        if (selected.count(file) == 0) {
            return wrong + "; " + file + " not selected";
        }
    }
    for (const std::string &file : selected) {
        if (files.count(file) == 0) {
            return wrong + "; " + file + " selected";
        }
    }
    return wrong;
}

std::string ExpectNoBox(e2e::Program &program)
{
    std::vector<e2e::Box> boxes = program.Boxes();
    return boxes.empty() ? std::string() : "unexpected box: " + e2e::Utf8(boxes[0].text);
}

// A figure, and the platform's work that it is measured against.
struct Figure {
    const char *what;
    const char *floorWhat;  // nullptr: no floor
    double goal;            // seconds; 0: none
    double ratioGoal;       // figure / floor; 0: none
    std::vector<double> seconds;
    std::vector<double> floor;
    std::string wrong;      // what went wrong instead of a correct run
};

void Refresh(e2e::Program &program, Figure &figure, const Drive &source, const Drive &destination)
{
    for (int run = 0; run < g_Runs; run++) {
        double start = Seconds();
        program.ClickButton(IDC_REFRESH);
        figure.seconds.push_back(Seconds() - start);
    }
    figure.wrong = ExpectLines(program, IDC_SOURCE_LIST, source);
    if (figure.wrong.empty()) {
        figure.wrong = ExpectLines(program, IDC_DEST_LIST, destination);
    }
}

void Compare(e2e::Program &program, Figure &figure, const std::set<std::string> &selects)
{
    for (int run = 0; run < g_Runs && figure.wrong.empty(); run++) {
        double start = Seconds();
        program.ClickButton(IDC_COMPARE);
        figure.seconds.push_back(Seconds() - start);
        figure.wrong = ExpectSelection(program, selects);
    }
}

enum Command { COPY, MOVE, DELETE_ONLY };

// The floor of a command: the platform's own work on the charts, one after the other.
// The temporary name is free before each copy, so CopyFileA is told to fail if it
// exists, as the program tells it; told to replace, Wine would first look the name up
// once more.
bool Floor(Command command, const std::vector<std::string> &files, double &seconds)
{
    std::string temporary = ChartPath('E', kFloorTemporary);
    double start = Seconds();
    for (const std::string &file : files) {
        std::string from = ChartPath('C', file);
        std::string to = ChartPath('E', file);
        if (command != DELETE_ONLY &&
            (!CopyFileA(from.c_str(), temporary.c_str(), TRUE) ||
             !MoveFileExA(temporary.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))) {
            return Fail("the floor's copy failed");
        }
        if (command != COPY && !DeleteFileA(from.c_str())) {
            return Fail("the floor's delete failed");
        }
    }
    seconds = Seconds() - start;
    return true;
}

// What the drives hold after the command on the update case: the source drive without
// the charts moved or deleted, the destination with the copies.
void AfterCommand(Command command, const Drive &source, const Drive &destination,
                  Drive &sourceAfter, Drive &destinationAfter)
{
    sourceAfter = command == COPY ? source : Drive();
    destinationAfter = destination;
    if (command != DELETE_ONLY) {
        for (const auto &chart : source) {
            destinationAfter[chart.first] = chart.second;
        }
    }
}

// One run of the program's command: the lists refreshed and compared, the command
// asked for and answered Yes; the time from the answer to both lists rebuilt.
std::string RunCommand(e2e::Program &program, Command command, size_t selected, double &seconds)
{
    program.ClickButton(IDC_REFRESH);
    program.ClickButton(IDC_COMPARE);
    LRESULT count = SendMessageW(GetDlgItem(program.Dialog(), IDC_SOURCE_LIST), LB_GETSELCOUNT, 0, 0);
    if (count != (LRESULT)selected) {
        return "Compare selected " + std::to_string(count) + " lines instead of " +
               std::to_string(selected);
    }
    int button = command == COPY ? IDC_COPY : command == MOVE ? IDC_MOVE : IDC_DELETE;
    program.ClickButton(button);
    e2e::Box question;
    if (!program.WaitForBox(question)) {
        return "no question before the command";
    }
    double start = Seconds();
    program.Answer(question, IDYES);
    seconds = Seconds() - start;
    return ExpectNoBox(program);
}

// The command and its floor in turn, each on drives laid out afresh; the floor first
// in one run, the command first in the next.
void Transfer(e2e::Program &program, Command command, Figure &figure, const Drive &source,
              const Drive &destination, const std::set<std::string> &selects)
{
    Drive sourceAfter;
    Drive destinationAfter;
    AfterCommand(command, source, destination, sourceAfter, destinationAfter);
    std::vector<std::string> files(selects.begin(), selects.end());
    for (int run = 0; run < g_Runs && figure.wrong.empty(); run++) {
        for (int turn = 0; turn < 2 && figure.wrong.empty(); turn++) {
            if (!Restore('C', source) || !Restore('E', destination)) {
                figure.wrong = "cannot lay out the drives";
                break;
            }
            double seconds = 0;
            if ((turn + run) % 2 == 0) {
                if (!Floor(command, files, seconds)) {
                    figure.wrong = "the floor failed";
                    break;
                }
                figure.floor.push_back(seconds);
            } else {
                figure.wrong = RunCommand(program, command, files.size(), seconds);
                if (figure.wrong.empty()) {
                    figure.seconds.push_back(seconds);
                    figure.wrong = ExpectLines(program, IDC_SOURCE_LIST, sourceAfter);
                }
                if (figure.wrong.empty()) {
                    figure.wrong = ExpectLines(program, IDC_DEST_LIST, destinationAfter);
                }
            }
            if (figure.wrong.empty()) {
                figure.wrong = CheckDrive('C', sourceAfter);
            }
            if (figure.wrong.empty()) {
                figure.wrong = CheckDrive('E', destinationAfter);
            }
        }
    }
}

bool LayOut(const Drive &source, const Drive &compareDestination)
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
    return Put('C', source) && Put('D', compareDestination);
}

void Print(const Figure &figure)
{
    if (!figure.wrong.empty() || figure.seconds.empty()) {
        printf("%-44s %9s  %s\n", figure.what, "-",
               figure.wrong.empty() ? "not measured" : figure.wrong.c_str());
        return;
    }
    double median = Median(figure.seconds);
    char floor[32] = "";
    char ratio[16] = "";
    char goal[32] = "-";
    const char *verdict = "";
    if (figure.floorWhat != nullptr && !figure.floor.empty()) {
        snprintf(floor, sizeof floor, "%7.3f s", Median(figure.floor));
        snprintf(ratio, sizeof ratio, "%5.2f", median / Median(figure.floor));
    }
    if (figure.goal > 0) {
        snprintf(goal, sizeof goal, "< %.2f s", figure.goal);
        verdict = median < figure.goal ? "met" : "NOT MET";
    } else if (figure.ratioGoal > 0 && !figure.floor.empty()) {
        snprintf(goal, sizeof goal, "<= %.2f x", figure.ratioGoal);
        verdict = median <= figure.ratioGoal * Median(figure.floor) ? "met" : "NOT MET";
    }
    printf("%-44s %7.3f s  %-36s %9s %6s  %-10s %s\n", figure.what, median,
           figure.floorWhat != nullptr ? figure.floorWhat : "", floor, ratio, goal, verdict);
    printf("%-44s   runs:", "");
    for (double seconds : figure.seconds) {
        printf(" %.3f", seconds);
    }
    if (!figure.floor.empty()) {
        printf("   floor:");
        for (double seconds : figure.floor) {
            printf(" %.3f", seconds);
        }
        // Run by run, the command against the floor measured beside it.
        std::vector<double> ratios;
        for (size_t i = 0; i < figure.seconds.size() && i < figure.floor.size(); ++i) {
            ratios.push_back(figure.seconds[i] / figure.floor[i]);
        }
        printf("   ratio run by run:");
        for (double ratio : ratios) {
            printf(" %.2f", ratio);
        }
        printf(" (median %.2f)", Median(ratios));
    }
    printf("\n");
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc > 1 && atoi(argv[1]) > 0) {
        g_Runs = atoi(argv[1]);
    }
    const bench::ChartSet charts = bench::MakeChartSet();
    const Drive source = Charts(charts.source, bench::kChartBytes);
    const Drive compareDestination = Charts(charts.destination, bench::kChartBytes);
    const Drive updateDestination =
        Charts(bench::UpdateDestination(charts), bench::kOldChartBytes);
    // Every source chart: the destination lacks it or holds it a minute older.
    std::set<std::string> updateSelects;
    for (const bench::Chart &chart : charts.source) {
        updateSelects.insert(chart.file);
    }

    double start = Seconds();
    if (!LayOut(source, compareDestination) || !Restore('E', updateDestination)) {
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

    Figure figures[] = {
        {"Refresh List, 2000 charts each side", nullptr, 0.5, 0, {}, {}, ""},
        {"Compare, 2000 against 2000 lines", nullptr, 0.5, 0, {}, {}, ""},
        {"Compare, 2000 against 1000 older", nullptr, 0.15, 0, {}, {}, ""},
        {"Copy, 2000 charts, lists rebuilt", "CopyFileA to temporary, MoveFileExA", 0, 1.25,
         {}, {}, ""},
        {"Move, 2000 charts, lists rebuilt", "the same, DeleteFileA", 0, 0, {}, {}, ""},
        {"Delete, 2000 charts, lists rebuilt", "DeleteFileA", 0, 0, {}, {}, ""},
    };
    program.ChooseComboItem(IDC_DEST_DRIVE, kDriveD);
    Refresh(program, figures[0], source, compareDestination);
    Compare(program, figures[1], charts.compareSelects);
    program.ChooseComboItem(IDC_DEST_DRIVE, kDriveE);
    Compare(program, figures[2], updateSelects);
    if (updateSelects.size() != (size_t)bench::kCharts) {
        figures[2].wrong = "the update case must select every source chart";
    }
    Transfer(program, COPY, figures[3], source, updateDestination, updateSelects);
    Transfer(program, MOVE, figures[4], source, updateDestination, updateSelects);
    Transfer(program, DELETE_ONLY, figures[5], source, updateDestination, updateSelects);
    for (const e2e::Box &box : program.Boxes()) {
        fprintf(stderr, "bench_wine: unexpected box: %s\n", e2e::Utf8(box.text).c_str());
    }
    program.ClickButton(IDCANCEL);

    printf("\n%-44s %9s  %-36s %9s %6s  %-10s %s\n", "figure (chartxfer.exe under Wine)",
           "median", "floor (the platform, same run)", "median", "ratio", "goal", "result");
    int failed = 0;
    for (const Figure &figure : figures) {
        Print(figure);
        failed += figure.wrong.empty() && !figure.seconds.empty() ? 0 : 1;
    }
    return failed == 0 ? 0 : 1;
}

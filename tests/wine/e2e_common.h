// What the end-to-end tests of the English dialog share: its texts, the start on the
// drives of the harness, list lines as the program writes them, and boxes checked and
// answered one by one.
#ifndef TESTS_WINE_E2E_COMMON_H
#define TESTS_WINE_E2E_COMMON_H

#include "harness.h"

#include "resources/resource.h"

#include <gtest/gtest.h>

#include <map>
#include <stdio.h>
#include <string.h>
#include <wchar.h>
#include <string>
#include <vector>

namespace e2e {

const wchar_t ENGLISH_CAPTION[] = L"VORNIX - Import/Export Measurement Charts";
const wchar_t CAPTION_ATTENTION[] = L"VORNIX - Attention";
const wchar_t CAPTION_FILES[] = L"VORNIX - Files ...";
const wchar_t CAPTION_DISK[] = L"VORNIX - Disk";
const wchar_t CAPTION_CREATE[] = L"VORNIX - Create VORNIX Directory";
const wchar_t COPY_FAILED[] =
    L"This file cannot be copied. Destination file is write protected or destination "
    L"drive is not ready or not prepared for VORNIX.";
const wchar_t DELETE_FAILED[] =
    L"This file cannot be deleted. It is write protected or drive is not ready.";
const wchar_t INSERT_DISK[] = L"Please insert disk.";
const wchar_t INSERT_DEST_DISK[] =
    L"Remove write protection from VORNIX-disk and insert disk again.";
const wchar_t DISK_NOT_READY[] =
    L"The selected drive is not ready or there are errors on the disk or it is write "
    L"protected.";
const wchar_t NOT_READY_LINE[] = L"<nicht bereit>";
const wchar_t NOT_PREPARED_LINE[] = L"<nicht vorbereitet>";

// Every drive of the harness, in the order of the INI file: the combo position of a
// letter is its distance from A.
const char ALL_DRIVES_INI[] = "[PATH]\r\nDRIVES=ABCDEF\r\nSTARTUPDRIVE=3\r\n";
inline int DrivePosition(char letter) { return letter - 'A'; }

// A list line: the name blank-padded to 8, a tab, "dd.mm.yy  hh:mm".
inline std::wstring ListLine(const std::string &name, const LocalTime &time)
{
    char text[64];
    snprintf(text, sizeof text, "%-8s\t%02d.%02d.%02d  %02d:%02d", name.c_str(), time.day,
             time.month, time.year % 100, time.hour, time.minute);
    return std::wstring(text, text + strlen(text));
}

// A chart as a test lays it out.
struct Chart {
    std::string name;
    LocalTime time;
    std::string content;
};

inline bool PutCharts(char drive, const std::string &system, const std::vector<Chart> &charts)
{
    for (const Chart &chart : charts) {
        if (!WriteChart(drive, system, chart.name, chart.time, chart.content)) {
            return false;
        }
    }
    return true;
}

// The charts of a construction system on a drive: content by name.
inline std::map<std::string, std::string> Holds(char drive, const std::string &system)
{
    std::map<std::string, std::string> held;
    for (const std::string &name : ChartNames(drive, system)) {
        std::string bytes;
        held[name] = ReadTextFile(ChartDir(drive, system) + "\\" + name + ".mas", bytes)
                         ? bytes
                         : "<unreadable>";
    }
    return held;
}

inline std::map<std::string, std::string> Contents(const std::vector<Chart> &charts)
{
    std::map<std::string, std::string> held;
    for (const Chart &chart : charts) {
        held[chart.name] = chart.content;
    }
    return held;
}

inline std::vector<std::wstring> Lines(const std::vector<Chart> &charts)
{
    std::vector<std::wstring> lines;
    for (const Chart &chart : charts) {
        lines.push_back(ListLine(chart.name, chart.time));
    }
    return lines;
}

// A chart's path as the program builds it for its prompts.
inline std::string ProgramPath(char drive, const std::string &system, const std::string &name)
{
    return std::string(1, drive) + ":\\vornix\\" + system + "\\mas\\" + name + ".mas";
}

// The per-file prompt: the chart's path, a carriage return, the message.
inline std::wstring PromptText(const std::string &path, const wchar_t *message)
{
    return std::wstring(path.begin(), path.end()) + L"\r" + message;
}

// The three-blank count of the transfer questions: "   3 selected files ...".
inline std::wstring Question(int count, const wchar_t *rest)
{
    wchar_t number[8];
    swprintf(number, 8, L"%4d", count);
    return number + std::wstring(rest);
}

// Waits for the next box, checks what it says, which buttons it has and whether the
// main dialog owns it (every box but the error box), and answers it.
inline ::testing::AssertionResult AnswerBox(Program &program, const std::wstring &caption,
                                            const std::wstring &text, UINT buttons,
                                            int answer, bool owned = true)
{
    Box box;
    if (!program.WaitForBox(box)) {
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "no box \"" << Utf8(text) << "\"; the program "
                << (program.Running() ? "runs" : "has ended");
        for (const Box &open : program.Boxes()) {
            failure << "; box \"" << Utf8(open.text) << "\""
                    << (IsWindowEnabled(open.window) ? "" : " (disabled)");
        }
        for (const std::wstring &line : program.ListLines(IDC_SOURCE_LIST)) {
            failure << "; source line \"" << Utf8(line) << "\"";
        }
        return failure;
    }
    if (box.caption != caption || box.text != text || box.buttons != buttons ||
        box.owned != owned) {
        return ::testing::AssertionFailure()
               << "box \"" << Utf8(box.caption) << "\": \"" << Utf8(box.text) << "\" buttons "
               << box.buttons << (box.owned ? ", owned" : ", not owned")
               << "; expected \"" << Utf8(caption) << "\": \"" << Utf8(text) << "\" buttons "
               << buttons << (owned ? ", owned" : ", not owned");
    }
    if (!program.Answer(box, answer)) {
        return ::testing::AssertionFailure() << "the box did not close on its answer";
    }
    return ::testing::AssertionSuccess();
}

// No box is open: the program waits in its dialog.
inline ::testing::AssertionResult NoBoxOpen(Program &program)
{
    program.Settle();
    std::vector<Box> boxes = program.Boxes();
    if (boxes.empty()) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "unexpected box \"" << Utf8(boxes[0].caption)
                                         << "\": " << Utf8(boxes[0].text);
}

// Starts the program in C:\vornix with every drive of the harness in its combos (C: at
// start-up), then chooses the two drives.
inline ::testing::AssertionResult StartOnDrives(Program &program, char source, char dest)
{
    if (!WriteTextFile("C:\\vornix\\vornix.ini", ALL_DRIVES_INI)) {
        return ::testing::AssertionFailure() << "cannot write the INI file";
    }
    if (!program.Start("", "C:\\vornix")) {
        return ::testing::AssertionFailure() << "the program did not start (error "
                                             << GetLastError() << ")";
    }
    if (program.WaitForDialog(ENGLISH_CAPTION) == nullptr) {
        DWORD exitCode = STILL_ACTIVE;
        bool ended = program.WaitForExit(exitCode, 0);
        ::testing::AssertionResult failure = ::testing::AssertionFailure();
        failure << "the dialog did not open; the program "
                << (ended ? "ended with exit code " + std::to_string(exitCode) : "runs");
        for (const Box &open : program.Boxes()) {
            failure << "; box \"" << Utf8(open.text) << "\"";
        }
        return failure;
    }
    ::testing::AssertionResult quiet = NoBoxOpen(program);
    if (!quiet) {
        return quiet;
    }
    if (!program.ChooseComboItem(IDC_SOURCE_DRIVE, DrivePosition(source)) ||
        !program.ChooseComboItem(IDC_DEST_DRIVE, DrivePosition(dest))) {
        return ::testing::AssertionFailure() << "cannot choose the drives";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace e2e

#endif

// WritePrivateProfileStringA: sets or removes one key of an INI file. Key lines are
// written key=value from column 1 with CRLF; a new key goes at the end of its section, a
// new section at the end of the file. Sections and keys match regardless of case (names
// trimmed of blanks, as Windows does); every other line stays byte for byte. The file is
// written over in place, as Wine writes it: a crash or a full disk leaves it cut.
#include "kernel_internal.h"

#include <errno.h>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace {

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

std::string TrimBlanks(const std::string &text, const char *blanks)
{
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return std::string();
    }
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool HeaderName(const std::string &line, std::string &name)
{
    std::string text = TrimBlanks(line, " \t\r\n");
    if (text.empty() || text[0] != '[') {
        return false;
    }
    size_t close = text.find(']');
    name = TrimBlanks(text.substr(1, close == std::string::npos ? std::string::npos : close - 1),
                      " ");
    return true;
}

bool KeyName(const std::string &line, std::string &name)
{
    std::string text = TrimBlanks(line, " \t\r\n");
    if (text.empty() || text[0] == ';' || text[0] == '[') {
        return false;
    }
    name = TrimBlanks(text.substr(0, text.find('=')), " \t");
    return true;
}

bool IsBlankLine(const std::string &line) { return TrimBlanks(line, " \t\r\n").empty(); }

void EndLine(std::string &line)
{
    if (line.empty() || line.back() != '\n') {
        line += "\r\n";
    }
}

DWORD ReadWhole(const std::string &path, std::string &content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? ERROR_READ_FAULT : ERROR_SUCCESS;
}

std::vector<std::string> SplitLines(const std::string &content)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        end = end == std::string::npos ? content.size() : end + 1;
        lines.push_back(content.substr(start, end - start));
        start = end;
    }
    return lines;
}

// Applies the change to the lines; false when nothing changes.
bool Edit(std::vector<std::string> &lines, const std::string &section, const char *key,
          const char *value)
{
    size_t start = lines.size(), end = lines.size();
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string name;
        if (!HeaderName(lines[i], name)) {
            continue;
        }
        if (start < lines.size()) {
            end = i;
            break;
        }
        if (Lin32NameEqual(name, section)) {
            start = i;
        }
    }
    bool found = start < lines.size();
    if (key == NULL) {
        if (found) {
            lines.erase(lines.begin() + (long)start, lines.begin() + (long)end);
        }
        return found;
    }
    std::string keyName = TrimBlanks(key, " ");
    size_t line = end;
    std::string existing;
    for (size_t i = start + 1; found && i < end; ++i) {
        std::string name;
        if (KeyName(lines[i], name) && Lin32NameEqual(name, keyName)) {
            line = i;
            existing = name;
            break;
        }
    }
    if (value == NULL) {
        if (line < end) {
            lines.erase(lines.begin() + (long)line);
            return true;
        }
        return false;
    }
    if (line < end) {
        std::string replaced = existing + "=" + value + "\r\n";
        if (replaced == lines[line]) {
            return false;
        }
        lines[line] = replaced;
        return true;
    }
    std::string added = keyName + "=" + value + "\r\n";
    if (found) {
        size_t after = start + 1;
        for (size_t i = start + 1; i < end; ++i) {
            if (!IsBlankLine(lines[i])) {
                after = i + 1;
            }
        }
        EndLine(lines[after - 1]);
        lines.insert(lines.begin() + (long)after, added);
        return true;
    }
    if (!lines.empty()) {
        EndLine(lines.back());
    }
    lines.push_back("[" + section + "]\r\n");
    lines.push_back(added);
    return true;
}

// Writes content over the file in place, as Wine does (Windows documents nothing
// better): a failure midway leaves the file cut where the writing stopped.
DWORD Rewrite(const Lin32Path &path, const std::string &content)
{
    int fd = open(path.linuxPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return Lin32ErrorFromErrno(errno, ERROR_ACCESS_DENIED);
    }
    DWORD error = Lin32WriteAll(fd, content.data(), content.size());
    if (error == ERROR_SUCCESS && path.driveType == DRIVE_REMOVABLE) {
        error = Lin32InjectedFailure(LIN32_OP_FLUSH);
        if (error == ERROR_SUCCESS && fsync(fd) != 0) {
            error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
        }
    }
    if (close(fd) != 0 && error == ERROR_SUCCESS) {
        error = Lin32ErrorFromErrno(errno, ERROR_WRITE_FAULT);
    }
    if (!path.exists) {
        Lin32NameCreated(path);
    }
    if (error == ERROR_SUCCESS && !path.exists && path.driveType == DRIVE_REMOVABLE) {
        return Lin32SyncPath(path.folder);
    }
    return error;
}

}  // namespace

BOOL WINAPI WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value,
                                       LPCSTR fileName)
{
    if (section == NULL || fileName == NULL) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    Lin32Path path;
    DWORD error = Lin32Resolve(fileName, path);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    if (path.isRoot || (path.exists && S_ISDIR(path.info.st_mode))) {
        return Fail(ERROR_ACCESS_DENIED);
    }
    std::string content;
    if (path.exists) {
        if (Lin32IsReadOnly(path.info)) {
            return Fail(ERROR_ACCESS_DENIED);
        }
        if (Lin32ShareConflict(path.info, GENERIC_READ | GENERIC_WRITE | LIN32_ACCESS_DELETE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE)) {
            return Fail(ERROR_SHARING_VIOLATION);
        }
        error = ReadWhole(path.linuxPath, content);
        if (error != ERROR_SUCCESS) {
            return Fail(error);
        }
    }
    std::vector<std::string> lines = SplitLines(content);
    if (!Edit(lines, TrimBlanks(section, " "), key, value)) {
        SetLastError(ERROR_SUCCESS);
        return TRUE;
    }
    content.clear();
    for (const std::string &line : lines) {
        content += line;
    }
    error = Rewrite(path, content);
    if (error != ERROR_SUCCESS) {
        return Fail(error);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

# Writes a C++ source that holds resource scripts as byte arrays, with the lookup
# Lin32BuiltInScriptFile over them, so that the Linux layer reads the very files the
# Windows build compiles.
#   cmake -DROOT=<folder> -DFILES=<a|b|...> -DOUTPUT=<file.cpp> -P embed_scripts.cmake
# FILES are paths relative to ROOT, separated by "|"; they are also the lookup names.
string(REPLACE "|" ";" files "${FILES}")
set(arrays "")
set(entries "")
set(index 0)
foreach(name IN LISTS files)
  file(READ "${ROOT}/${name}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND arrays "static const unsigned char file${index}[] = {${bytes}0};\n")
  string(APPEND entries "    {\"${name}\", file${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()

set(content "// Generated from the resource scripts by embed_scripts.cmake; do not edit.
#include \"lin32_dialog.h\"

#include <string.h>

${arrays}
static const struct {
    const char *name;
    const unsigned char *data;
    size_t size;
} builtInFiles[] = {
${entries}};

bool Lin32BuiltInScriptFile(const char *path, const char **text, size_t *size)
{
    for (const auto &file : builtInFiles) {
        if (path != nullptr && strcmp(path, file.name) == 0) {
            *text = (const char *)file.data;
            *size = file.size;
            return true;
        }
    }
    return false;
}
")
file(WRITE "${OUTPUT}" "${content}")

# Writes a C++ source that holds a compiled resource (.res) as a byte array, so that the
# Linux build carries the very bytes that windres makes for the exe.
#   cmake -DINPUT=<file.res> -DOUTPUT=<file.cpp> -DSYMBOL=<name> -P embed_resource.cmake
# The source defines <name>[] and <name>Size.
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
get_filename_component(source "${INPUT}" NAME)
file(WRITE "${OUTPUT}" "// Generated from ${source} by embed_resource.cmake; do not edit.
#include <stddef.h>

extern const unsigned char ${SYMBOL}[] = {${bytes}0};
extern const size_t ${SYMBOL}Size = ${size};
")

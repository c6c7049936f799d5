# Sourced by every script that starts Wine; sets
#   chartxfer_wine        the command for Wine's own tools and for 64-bit programs
#   chartxfer_runs_32bit  yes, or no when this machine's kernel runs no 32-bit programs
#   chartxfer_exe_build, chartxfer_exe_toolchain
#                         the build of the exe to open here and its toolchain file in
#                         cmake/: the 32-bit one that users get, else the 64-bit one
# Debian's wine command always starts Wine's 32-bit loader, which hands a 64-bit
# program on to the 64-bit one. Some kernels have no 32-bit mode (virtual machines
# without IA32 emulation: "Exec format error"); there the 64-bit loader is started
# directly, and a 32-bit program cannot run at all.
chartxfer_wine32_loader=/usr/lib/wine/wine
chartxfer_wine64_loader=/usr/lib/wine/wine64
chartxfer_wine=wine
chartxfer_runs_32bit=yes
chartxfer_exe_build=win32
chartxfer_exe_toolchain=mingw-w64-i686.cmake
if [ -x "$chartxfer_wine32_loader" ] && [ -x "$chartxfer_wine64_loader" ] &&
    ! "$chartxfer_wine32_loader" --version </dev/null >/dev/null 2>&1; then
    chartxfer_wine=$chartxfer_wine64_loader
    chartxfer_runs_32bit=no
    chartxfer_exe_build=win
    chartxfer_exe_toolchain=mingw-w64-x86_64.cmake
fi
chartxfer_no_32bit="this machine's kernel runs no 32-bit programs (Exec format error from $chartxfer_wine32_loader), so no 32-bit Windows program runs under its Wine"

# chartxfer_is_32bit_exe <file>: true for a PE file built for x86.
chartxfer_is_32bit_exe() {
    chartxfer_pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$chartxfer_pe" ] &&
        [ "$(od -An -tx1 -j$((chartxfer_pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')" = 4c01 ]
}

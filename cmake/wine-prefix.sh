#!/bin/sh
# Creates the Wine prefix the tests run in: wine-prefix.sh <prefix> <log file>.
# Besides Wine's own set-up it gives the prefix Wine's fonts and the drives of the end-to-end tests, each
# on a folder of its own under <prefix>/chartxfer-drives: A: a diskette drive with a disk
# (folder a), B: a diskette drive with no disk (its link points to a folder that does
# not exist), D: and E: fixed drives, and F: a second letter for the folder of D:. C:
# stays the prefix's own drive.
# Ends with the Wine server stopped; marks the prefix ready with .chartxfer-ready-<n>,
# where n counts the versions of this set-up: cmake/wine-run.sh sets up again a prefix
# made by an older one.
set -u
prefix=$1
log=$2
export WINEPREFIX="$prefix"
export WINEARCH="${WINEARCH:-win64}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
. "$(dirname "$0")/wine-loader.sh"

# Wine's own fonts (Debian's fonts-wine): MS Sans Serif, which the dialog asks for, and
# Marlett, which draws the title-bar buttons. This Wine looks for them only in the
# prefix's windows/Fonts folder, where wineboot does not put them; without them every
# face falls back to DejaVu Sans, wider than MS Sans Serif, and texts are cut.
wine_fonts=/usr/share/wine/fonts
for font in sserife.fon marlett.ttf; do
    if [ ! -f "$wine_fonts/$font" ]; then
        echo "wine-prefix.sh: $wine_fonts/$font is missing (Debian package fonts-wine;" \
             "scripts/setup.sh installs it)" | tee -a "$log" >&2
        exit 1
    fi
done

mkdir -p "$prefix" || exit 1
timeout 300 $chartxfer_wine wineboot -i </dev/null >>"$log" 2>&1 || exit 1
mkdir -p "$prefix/drive_c/windows/Fonts" &&
cp "$wine_fonts"/* "$prefix/drive_c/windows/Fonts/" || exit 1

drives="$prefix/chartxfer-drives"
mkdir -p "$drives/a" "$drives/d" "$drives/e" || exit 1
ln -sfn "$drives/a" "$prefix/dosdevices/a:" &&
ln -sfn "$drives/b-no-disk" "$prefix/dosdevices/b:" &&
ln -sfn "$drives/d" "$prefix/dosdevices/d:" &&
ln -sfn "$drives/e" "$prefix/dosdevices/e:" &&
ln -sfn "$drives/d" "$prefix/dosdevices/f:" || exit 1
# Without a window manager Wine waits about two seconds on every box it hides unless
# its windows are unmanaged.
timeout 60 $chartxfer_wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    </dev/null >>"$log" 2>&1 || exit 1
for letter in a b; do
    timeout 60 $chartxfer_wine reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d floppy /f \
        </dev/null >>"$log" 2>&1 || exit 1
done

# The mount manager reads the drive types when it starts: let the server and its
# services end, so that the next program starts them with these drives.
if ! timeout 60 wineserver -w </dev/null >>"$log" 2>&1; then
    wineserver -k </dev/null >>"$log" 2>&1
    timeout 30 wineserver -w </dev/null >>"$log" 2>&1
fi
touch "$prefix/.chartxfer-ready-3"

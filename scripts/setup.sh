#!/bin/bash
# Installs what the builds and tests need on Debian 12, and only what is missing: the
# native tool chain with GoogleTest, clang for fuzzing, the MinGW-w64 cross compilers
# for 32- and 64-bit Windows, Wine for both (32-bit Wine needs Debian's i386
# architecture) with Wine's fonts and a virtual display, and the locales the language
# tests switch between. Safe to run again; does nothing when everything is there.
# Ends with an error that names each package it could not install.
set -u

packages=(
    cmake make g++
    libgtest-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
    g++-mingw-w64-i686-posix binutils-mingw-w64-i686
    wine wine64 wine32:i386 fonts-wine
    xvfb x11-utils imagemagick
    locales
)

# The six languages of the dialog, Spanish, which has none, for the fallback, and the
# regional variants that must find the dialog of their base language.
locales=(de_DE en_GB fi_FI fr_FR pl_PL ru_RU es_ES de_AT fr_CA en_US)

sudo_if_needed() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    else
        sudo "$@"
    fi
}

# missing_packages: the packages of the list that are not installed, one a line.
missing_packages() {
    local package status
    for package in "${packages[@]}"; do
        status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null)
        case "$status" in
            *" installed") ;;
            *) echo "$package" ;;
        esac
    done
}

mapfile -t missing < <(missing_packages)
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    # wine32:i386 comes from Debian's i386 architecture, enabled once.
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        echo "setup: enabling the i386 architecture (for wine32)"
        sudo_if_needed dpkg --add-architecture i386 ||
            echo "setup: could not enable the i386 architecture" >&2
    fi
    sudo_if_needed apt-get update -q
    sudo_if_needed apt-get install -y -q --no-install-recommends "${missing[@]}"
    mapfile -t missing < <(missing_packages)
    if [ ${#missing[@]} -gt 0 ]; then
        echo "setup: not installed: ${missing[*]}" >&2
        exit 1
    fi
fi

# locale -a spells them de_DE.utf8; /etc/locale.gen wants "de_DE.UTF-8 UTF-8".
available=$(locale -a 2>/dev/null | tr 'A-Z' 'a-z')
wanted=()
for name in "${locales[@]}"; do
    lower=$(printf '%s' "$name" | tr 'A-Z' 'a-z')
    if ! printf '%s\n' "$available" | grep -qx "$lower.utf8"; then
        wanted+=("$name")
    fi
done

if [ ${#wanted[@]} -gt 0 ]; then
    echo "setup: generating locales ${wanted[*]}"
    for name in "${wanted[@]}"; do
        line="$name.UTF-8 UTF-8"
        if grep -q "^# *$line\$" /etc/locale.gen; then
            sudo_if_needed sed -i "s/^# *$line\$/$line/" /etc/locale.gen || exit 1
        elif ! grep -q "^$line\$" /etc/locale.gen; then
            echo "$line" | sudo_if_needed tee -a /etc/locale.gen >/dev/null || exit 1
        fi
    done
    sudo_if_needed locale-gen >/dev/null || exit 1
fi

exit 0

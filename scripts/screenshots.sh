#!/bin/bash
# Takes a screenshot of the dialog in each of its six languages, on the demo drives of
# scripts/run.sh, into docs/screenshots/<language>.png (or the folder given).
set -u
cd "$(dirname "$0")/.." || exit 1
out="${1:-docs/screenshots}"
mkdir -p "$out" || exit 1
status=0
for locale in en_GB de_DE fi_FI fr_FR pl_PL ru_RU; do
    echo "==== $locale"
    env -u DISPLAY -u LC_ALL -u LC_MESSAGES LANG="$locale.UTF-8" \
        SCREENSHOT="$(pwd)/$out/${locale%%_*}.png" ./scripts/run.sh </dev/null || status=1
done
exit $status

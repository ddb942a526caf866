#!/usr/bin/env bash
# Runs clang-tidy with the committed .clang-tidy over every source file of the
# project that BUILD_DIR (default build/default) compiles, two at a time.
# Exits non-zero when any file has a finding.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/default}
tidy=$(command -v clang-tidy-14 || command -v clang-tidy) || {
    echo "lint: clang-tidy is not installed" >&2
    exit 1
}
[[ -f "$build/compile_commands.json" ]] || {
    echo "lint: no $build/compile_commands.json; build first" >&2
    exit 1
}
root=$(pwd)
# The project's own files; Qt's generated sources are not ours.
files=$(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | cut -d'"' -f4 |
    grep -E "^$root/(src|tests|bench|tools)/" | grep -v '/autogen/\|qrc_' | sort -u)
echo "$files" | xargs -P 2 -n 4 "$tidy" -p "$build" --quiet 2>&1 |
    grep -v -E '^[0-9]+ warnings? generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' |
    tee "$build/lint.log"
! grep -q -E ': (warning|error):' "$build/lint.log"

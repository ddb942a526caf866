#!/usr/bin/env bash
# Checks every tracked .cpp and .h file against the committed .clang-format
# (clang-format 14); with --fix, formats them in place instead.
set -euo pipefail
cd "$(dirname "$0")/.."

format=$(command -v clang-format-14 || command -v clang-format) || {
    echo "format: clang-format is not installed" >&2
    exit 1
}
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [[ "${1:-}" == "--fix" ]]; then
    "$format" -i "${files[@]}"
else
    "$format" --dry-run --Werror "${files[@]}"
fi

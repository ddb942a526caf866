#!/usr/bin/env bash
# The layer check on a small made-up tree: a clean tree passes, and each kind
# of broken rule is reported by its own line.
set -euo pipefail
check=$1/cmake/CheckLayers.cmake
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Writes a manifest for targets given as NAME:FOLDER:SOURCES:LINKS (lists
# separated by commas) and runs the check; prints what it says.
run_check() {
    local manifest=$root/manifest.cmake names="" target name folder sources links
    echo "set(SCRFIX_SOURCE_ROOT \"$root/src\")" >"$manifest"
    for target in "$@"; do
        IFS=: read -r name folder sources links <<<"$target"
        names+="$name;"
        sources=$(sed "s|\([^,]*\)|$root/src/$folder/\1|g; s|,|;|g" <<<"$sources")
        echo "set(SCRFIX_FOLDER_$name \"$folder\")" >>"$manifest"
        echo "set(SCRFIX_SOURCES_$name \"$sources\")" >>"$manifest"
        echo "set(SCRFIX_LINKS_$name \"${links//,/;}\")" >>"$manifest"
    done
    echo "set(SCRFIX_TARGETS \"$names\")" >>"$manifest"
    cmake -DMANIFEST="$manifest" -P "$check" 2>&1
}

mkdir -p "$root/src/screen" "$root/src/display" "$root/src/app"
echo '#pragma once' >"$root/src/screen/layout.h"
echo '#include "screen/layout.h"' >"$root/src/display/render.cpp"
echo '#pragma once' >"$root/src/app/window.h"
echo '#include "display/render.h"' >"$root/src/app/window.cpp"
echo '#pragma once' >"$root/src/display/render.h"

run_check screen:screen:layout.h: display:display:render.h,render.cpp:screen \
    app:app:window.h,window.cpp:display >"$root/out" || fail "a clean tree: $(cat "$root/out")"

expect() {
    local wanted=$1
    shift
    if run_check "$@" >"$root/out"; then
        fail "passed, but should report: $wanted"
    fi
    grep -qF -- "$wanted" "$root/out" || fail "does not report \"$wanted\": $(cat "$root/out")"
}

expect "display/render.cpp includes screen/layout.h, but display does not link screen" \
    screen:screen:layout.h: display:display:render.h,render.cpp:
expect "display links app but includes none of its headers" \
    screen:screen:layout.h: display:display:render.h,render.cpp:screen,app app:app:window.h:
echo '#include "app/window.h"' >>"$root/src/display/render.cpp"
expect "display/render.cpp includes app/window.h: display/ may not use app/" \
    screen:screen:layout.h: display:display:render.h,render.cpp:screen,app app:app:window.h:
echo '#include "screen/missing.h"' >"$root/src/display/render.cpp"
touch "$root/src/screen/missing.h"
expect "display/render.cpp includes screen/missing.h, which no library lists" \
    screen:screen:layout.h: display:display:render.h,render.cpp:
printf '#include <QWidget>\n#include <unistd.h>\n' >"$root/src/display/render.cpp"
expect "display/render.cpp includes <QWidget>: only platform/ sees Qt" \
    display:display:render.h,render.cpp:Qt6::Widgets
expect "display/render.cpp includes <unistd.h>: only platform/ sees the system" \
    display:display:render.h,render.cpp:Qt6::Widgets
echo '' >"$root/src/display/render.cpp"
expect "display links PNG::PNG but includes none of its headers" \
    display:display:render.h,render.cpp:PNG::PNG
echo "layer check: a clean tree passes, every broken rule is reported"

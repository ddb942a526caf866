#!/usr/bin/env bash
# Runs every fuzz target built in BUILD_DIR (default build/fuzz) for SECONDS
# each (default 20), starting from the seeds in fuzz/seeds/<target>/ and the
# corpus that earlier runs left in BUILD_DIR/corpus/<target>/. A target's
# own libFuzzer flags (a larger -max_len for larger seeds) are read from
# fuzz/<target>.options, one line, after the defaults, which they override.
# Stops at the first target that finds a fault, showing the end of its
# report; the report and the input that caused it stay in BUILD_DIR/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/fuzz}
seconds=${2:-20}

shopt -s nullglob
targets=("$build"/fuzz/*_fuzz)
if ((${#targets[@]} == 0)); then
    echo "run-fuzzers: no fuzz targets in $build/fuzz; build them first (make fuzz)" >&2
    exit 1
fi

for target in "${targets[@]}"; do
    name=$(basename "$target")
    corpus=$build/corpus/$name
    findings=$build/findings/$name
    log=$build/findings/$name.log
    mkdir -p "$corpus" "$findings"
    seeds=()
    [[ -d fuzz/seeds/$name ]] && seeds=("fuzz/seeds/$name")
    options=()
    [[ -f fuzz/$name.options ]] && read -ra options <"fuzz/$name.options"

    echo "fuzz: $name for ${seconds} s"
    if ! "$target" -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$findings/" "${options[@]}" "$corpus" "${seeds[@]}" \
        >"$log" 2>&1; then
        tail -n 60 "$log"
        echo "fuzz: $name found a fault; the input that caused it is in $findings/" >&2
        exit 1
    fi
    grep -E '^Done [0-9]+ runs' "$log" | sed "s/^/fuzz: $name: /"
done

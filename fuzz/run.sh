#!/bin/sh
# make fuzz: runs each fuzz target for SECONDS on its corpus (fuzz/corpus/NAME
# as seeds, new inputs kept in BUILD/corpus/NAME), then prints the runs of each.
# Inputs that crash are left in BUILD/crashes/ and fail the run: once fixed,
# they go into fuzz/corpus/NAME, which `make test` replays.
# Usage: fuzz/run.sh BUILD SECONDS NAME...
set -u
build=$1
seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$build/crashes"
failed=""
summary=""
for name in "$@"; do
    mkdir -p "$build/corpus/$name"
    max_len=4096
    [ "$name" = images ] && max_len=65536
    # Long quoted values and wide headers only show on bigger files.
    [ "$name" = csv ] && max_len=262144
    [ "$name" = vcard ] && max_len=16384
    log="$build/fuzz-$name.log"
    echo "== $name ($seconds s)"
    QT_QPA_PLATFORM=offscreen "$build/fuzz/fuzz_$name" "$build/corpus/$name" "$here/corpus/$name" \
        -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=2048 -malloc_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$build/crashes/$name-" -print_final_stats=1 >"$log" 2>&1
    status=$?
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    summary="$summary$name: ${runs:-?} runs, exit $status\n"
    if [ "$status" -ne 0 ]; then
        failed="$failed $name"
        tail -n 40 "$log"
    fi
done
printf "%b" "$summary"
if [ -n "$failed" ]; then
    echo "Entrées qui plantent :$failed (voir $build/crashes/)"
    exit 1
fi

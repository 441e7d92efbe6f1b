#!/bin/sh
# Runs the benchmarks behind the README's "Speed and size": a Release build
# in build-release (configured when missing), pinned to two cores, random
# interleaving, repetitions, medians; each memory benchmark in a process of
# its own; the kind-3 runs on a PostgreSQL test server this script starts
# and stops. Writes one JSON file per run into the output folder and prints
# the medians.
#
#   bench/speed_and_size.sh [OUTPUT_FOLDER]     (default /tmp/tembra-speed)
#   TEMBRA_BENCH_CORES=2,3 bench/speed_and_size.sh   (cores to pin to; 0,1)
set -eu
cd "$(dirname "$0")/.."
out=${1:-/tmp/tembra-speed}
cores=${TEMBRA_BENCH_CORES:-0,1}
mkdir -p "$out"

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j4
bench=build-release/bench

eval "$(scripts/pg-test-server.sh start "$out/pg")"
trap 'scripts/pg-test-server.sh stop "$out/pg" >/dev/null' EXIT

# run NAME PROGRAM REPETITIONS [ARGUMENTS...]
run() {
    name=$1
    program=$2
    repetitions=$3
    shift 3
    echo "== $name"
    taskset -c "$cores" "$bench/$program" --benchmark_enable_random_interleaving=true \
        --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/$name.json" "$@" | grep -E '_median|^BM_.*Memory'
}

run grid controls_grid_bench 5 --benchmark_filter=-Memory
for memory in GridMemory PlainListMemory BusinessGridMemory BusinessListMemory; do
    run "memory-$memory" controls_grid_bench 1 --benchmark_filter="^BM_$memory/"
done
run query db_query_bench 5
run charts charts_draw_bench 5
run forms forms_builder_bench 5
run start app_start_to_login_bench 40

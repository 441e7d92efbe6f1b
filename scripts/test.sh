#!/usr/bin/env bash
# Installs what is needed, builds, starts the PostgreSQL test server, runs every
# test, then builds the unit tests and the fuzz targets again with clang under
# ASan and UBSan and runs them there: the unit tests (without the end-to-end
# sessions and the benchmarks) and each fuzz target for a short bounded time.
# Exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
jobs=$(nproc)

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

pg_folder=$(mktemp -d /tmp/tembra-pg.XXXXXX)
chmod 755 "$pg_folder"
trap 'scripts/pg-test-server.sh stop "$pg_folder"; rm -rf "$pg_folder"' EXIT
# A plain assignment, so that a server that cannot start ends the run here.
pg_env=$(scripts/pg-test-server.sh start "$pg_folder")
eval "$pg_env"

ctest --test-dir build --output-on-failure -j "$jobs"

# One sanitizer build for both, so the libraries are compiled once for them.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DTEMBRA_FUZZ=ON
cmake --build build-fuzz -j "$jobs"
ctest --test-dir build-fuzz --output-on-failure -j "$jobs"

#!/usr/bin/env bash
# Installs what is needed, builds and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target tembra
exec build/app/tembra "$@"

#!/usr/bin/env bash
# Installs what is needed, builds and starts the program. On the first run it
# puts the demo database and a cfg.ini pointing at it into the program folder;
# a cfg.ini or database already there (the user's own) is never replaced.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup-debian.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target tembra tembra_demo_database

program_folder=build/app
if [ ! -e "$program_folder/demo.mdb" ]; then
  cp build/demo/demo.mdb "$program_folder/demo.mdb"
fi
build/demo/tembra_demo_db settings "$program_folder/cfg.ini" "$program_folder/demo.mdb"
exec "$program_folder/tembra" "$@"

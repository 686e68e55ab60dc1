#!/usr/bin/env bash
# Builds the workbench and starts it on the bundled sample database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target ecgworkbench
exec build/app/ecgworkbench

#!/usr/bin/env bash
# Builds and runs every test; CI runs this command. First the format and layering checks, then
#  1. Debug with AddressSanitizer and UndefinedBehaviorSanitizer (clang), every module, the fuzz
#     targets: every suite runs, each in one process (the sanitizers' start-up in a process per
#     test cost ten times the tests themselves), and the fuzz targets replay their seeds;
#  2. Release (-O3), the configuration packagers build: every suite runs, each test in a process
#     of its own; so the tests run both in isolation and one after another;
#  3. RelWithDebInfo, the configuration of scripts/run.sh and of the benchmarks: the modules,
#     the programs and the benchmarks are built (target products); its tests are neither built
#     nor run, as its code differs from Release's only in the optimiser's level and debug
#     information, and building them would cost a third of the whole run.
# Each build folder is kept, so a second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

# Each step is announced with the seconds spent so far, so a slow step shows in CI's log.
step() { echo "== [${SECONDS}s] $*"; }

step "format and layering"
bash scripts/check-format.sh
bash scripts/check-layers.sh

jobs=$(nproc)
common=(-G Ninja -DWB_WERROR=ON)

step "sanitizer build (Debug)"
cmake -S . -B build-asan "${common[@]}" -DCMAKE_BUILD_TYPE=Debug -DWB_SANITIZE=ON -DWB_FUZZ=ON \
      -DWB_SUITE_PER_PROCESS=ON -DWB_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-asan -j "$jobs"
step "sanitizer build: every suite and the fuzz seeds"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

step "Release build"
cmake -S . -B build-release "${common[@]}" -DCMAKE_BUILD_TYPE=Release -DWB_BENCH=OFF
cmake --build build-release -j "$jobs"
step "Release build: every suite"
ctest --test-dir build-release --output-on-failure -j "$jobs"

step "RelWithDebInfo build: the modules, programs and benchmarks"
cmake -S . -B build "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs" --target products

step "All tests and checks passed."

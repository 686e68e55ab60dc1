#!/usr/bin/env bash
# Builds and runs every test; CI runs this command. First the format and layering checks, then
#  1. Debug with AddressSanitizer and UndefinedBehaviorSanitizer (clang), every module, the fuzz
#     targets: every suite runs, each in one process (the sanitizers' start-up in a process per
#     test cost ten times the tests themselves), and the fuzz targets replay their seeds;
#  2. Release (-O3), the configuration packagers build: the modules, the programs, the
#     benchmarks and every suite, each test in a process of its own; so the tests run both in
#     isolation and one after another. Each benchmark runs once at its smallest size (a smoke
#     run, label bench_smoke). This build has no precompiled headers, so every source compiles
#     on its own includes and a missing #include fails here (docs/ARCHITECTURE.md, Build).
# After each build the seconds spent compiling each module folder are printed, so that growth
# shows in every log (scripts/compile-times.sh).
# scripts/run.sh and day-to-day work use RelWithDebInfo, whose code differs from Release's only
# in the optimiser's level and debug information; CI does not build it a third time.
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
bash scripts/compile-times.sh build-asan
step "sanitizer build: every suite and the fuzz seeds"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

step "Release build"
cmake -S . -B build-release "${common[@]}" -DCMAKE_BUILD_TYPE=Release -DWB_BENCH=ON -DWB_PCH=OFF
cmake --build build-release -j "$jobs"
bash scripts/compile-times.sh build-release
step "Release build: every suite and a smoke run of every benchmark"
ctest --test-dir build-release --output-on-failure -j "$jobs"

step "All tests and checks passed."

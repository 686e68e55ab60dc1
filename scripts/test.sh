#!/usr/bin/env bash
# Builds and runs every test; CI runs this command. First the format and layering checks, then
#  1. Debug with AddressSanitizer and UndefinedBehaviorSanitizer (clang), every module, the fuzz
#     targets: every suite runs, and the fuzz targets replay their seeds;
#  2. Release (-O3), the configuration packagers build: every suite runs;
#  3. RelWithDebInfo, the configuration of scripts/run.sh and of the benchmarks: built only, as
#     its code differs from Release's only in the optimiser's level and debug information.
# Each build folder is kept, so a second run rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

bash scripts/check-format.sh
bash scripts/check-layers.sh

jobs=$(nproc)
common=(-G Ninja -DWB_WERROR=ON)

cmake -S . -B build-asan "${common[@]}" -DCMAKE_BUILD_TYPE=Debug -DWB_SANITIZE=ON -DWB_FUZZ=ON \
      -DWB_BENCH=OFF -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
cmake --build build-asan -j "$jobs"
ctest --test-dir build-asan --output-on-failure -j "$jobs"

cmake -S . -B build-release "${common[@]}" -DCMAKE_BUILD_TYPE=Release -DWB_BENCH=OFF
cmake --build build-release -j "$jobs"
ctest --test-dir build-release --output-on-failure -j "$jobs"

cmake -S . -B build "${common[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$jobs"

echo "All tests and checks passed."

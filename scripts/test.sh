#!/usr/bin/env bash
# Builds and runs every test: the release build with all modules, then the non-visual modules
# under AddressSanitizer and UndefinedBehaviorSanitizer, then the format and layering checks.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWB_WERROR=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DWB_NONVISUAL_ONLY=ON \
      -DWB_SANITIZE=ON -DWB_BENCH=OFF -DWB_WERROR=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
      -DWB_FUZZ=ON
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"

bash scripts/check-format.sh
bash scripts/check-layers.sh
echo "All tests and checks passed."

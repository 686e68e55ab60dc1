#!/usr/bin/env bash
# Every C++ file of ours is formatted by .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' | xargs -r clang-format --dry-run -Werror

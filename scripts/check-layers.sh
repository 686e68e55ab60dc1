#!/usr/bin/env bash
# Keeps the layering: Qt only in platform/gfx and platform/ui implementation files, no library
# includes the workbench, and platform/rtl depends on no GUI library.
set -euo pipefail
cd "$(dirname "$0")/.."
fail=0

qt=$(git ls-files -- '*.h' '*.cpp' | grep -v -E '^(platform/gfx|platform/ui)/.*\.cpp$' \
     | grep -v -E '^(tests|bench|fuzz)/' \
     | xargs -r grep -l -E '^\s*#\s*include\s*<Q[A-Za-z]' || true)
if [ -n "$qt" ]; then echo "Qt included outside platform/gfx and platform/ui sources:"; echo "$qt"; fail=1; fi

app=$(git ls-files -- 'platform/*' 'ecg/*' 'raster/*' 'controls/*' 'vizivodu/*' \
      | xargs -r grep -l -E '^\s*#\s*include\s*"app/' || true)
if [ -n "$app" ]; then echo "a library includes the workbench:"; echo "$app"; fail=1; fi

gui=$(git ls-files -- 'platform/rtl/*' | xargs -r grep -l -E '#\s*include\s*"platform/(gfx|ui)/|Qt6|Qt::' || true)
if [ -n "$gui" ]; then echo "platform/rtl depends on a GUI library:"; echo "$gui"; fail=1; fi

exit $fail

#!/usr/bin/env bash
# Prints where a build's time went, from Ninja's log: the seconds spent compiling per module
# folder (objects and precompiled headers, summed), the linking, and the total. Each output
# counts once, at its latest build; with ccache a hit counts what it cost, so the figures of a
# cold cache are the ones to compare.
#   scripts/compile-times.sh build-dir
set -euo pipefail
log="$1/.ninja_log"
[ -f "$log" ] || { echo "no $log"; exit 0; }

awk -F '\t' '
/^#/ { next }
NF >= 4 { seconds[$4] = ($2 - $1) / 1000 }
END {
    for (out in seconds) {
        if (out ~ /\.(o|pch|gch)$/) {
            folder = out
            if (!sub(/\/?CMakeFiles\/.*/, "", folder) || folder == "") folder = "(root)"
            compile[folder] += seconds[out]; objects[folder]++; total += seconds[out]
        } else if (out !~ /\.(a|cmake|ninja)$/ && out !~ /^(build\.ninja|CMakeFiles\/)/) {
            link += seconds[out]
        }
    }
    for (folder in compile) {
        printf "%8.1f s  %4d  %s\n", compile[folder], objects[folder], folder | "sort -rn"
    }
    close("sort -rn")
    printf "%8.1f s        compiling, every module\n", total
    printf "%8.1f s        linking and generated files\n", link
}' "$log"

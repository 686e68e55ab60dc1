#!/usr/bin/env bash
# Keeps the layering of cmake/modules.txt: every #include "folder/..." of a tracked source names
# its own module or one its row lists, every source belongs to a module, and no library but
# platform/gfx and platform/ui includes Qt, they only in their .cpp files (tests, benchmarks and
# fuzz targets may use it to check our output), and every row stands, with its folder, in the
# module table of docs/ARCHITECTURE.md. Prints each offence; fails on any.
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' |
    awk -v table=cmake/modules.txt -v doc=docs/ARCHITECTURE.md '
# A row "folder/**/*Suffix" holds the files below folder whose names end in Suffix, ahead of a
# row of that folder itself.
function rowLength(path, row,    base, suffix, stem) {
    if (row !~ /\/\*\*\/\*[^\/]*$/) return index(path, row "/") == 1 ? length(row) : -1
    base = row; sub(/\/\*\*\/\*[^\/]*$/, "", base)
    suffix = row; sub(/^.*\/\*\*\/\*/, "", suffix)
    stem = path; sub(/^.*\//, "", stem); sub(/\.[^.]*$/, "", stem)
    if (index(path, base "/") != 1 || length(stem) < length(suffix) ||
        substr(stem, length(stem) - length(suffix) + 1) != suffix) return -1
    return length(base) + 0.5
}
function moduleOf(path,    name, best, bestLength, rowLen) {
    best = ""; bestLength = -1
    for (name in folder) {
        rowLen = rowLength(path, folder[name])
        if (rowLen > bestLength) {
            best = name; bestLength = rowLen
        }
    }
    return best
}
function offend(message) { print message; failed = 1 }
BEGIN {
    while ((getline line < table) > 0) {
        sub(/#.*/, "", line)
        n = split(line, field, /[ \t]+/)
        first = field[1] == "" ? 2 : 1
        if (n < first + 1) continue
        name = field[first]; folder[name] = field[first + 1]; allowed[name] = " "
        for (i = first + 2; i <= n; ++i) if (field[i] != "") allowed[name] = allowed[name] field[i] " "
    }
    close(table)
    # The table after the header "| module (target) | folder | may include and links |": a row
    # per module, "| `target` | `folder` | ... |".
    inTable = 0; rows = 0
    while ((getline line < doc) > 0) {
        if (line ~ /^\| module \(target\) \| folder \| may include and links \|/) { inTable = 1; continue }
        if (!inTable) continue
        if (line !~ /^\|/) { if (rows > 0) break; continue }
        n = split(line, cell, /\|/)
        name = cell[2]; gsub(/[ `]/, "", name)
        dir = cell[3]; gsub(/[ `]/, "", dir)
        if (name != "" && name !~ /^-+$/) { documented[name] = dir; ++rows }
    }
    close(doc)
    for (name in folder) {
        if (!(name in documented)) {
            offend(doc ": the module table has no row for " name " (" folder[name] ") of " table)
        } else if (documented[name] != folder[name]) {
            offend(doc ": the module table gives " name " the folder " documented[name] ", " table " " folder[name])
        }
    }
}
{
    file = $0
    own = moduleOf(file)
    if (own == "") { offend(file ": belongs to no module of cmake/modules.txt"); next }
    # Tests, benchmarks and fuzz targets may use Qt as an outside reader or peer.
    qtAllowed = file ~ /^platform\/(gfx|ui)\/[^\/]*\.cpp$/ || file ~ /^(tests|bench|fuzz)\//
    lineNumber = 0
    while ((getline line < file) > 0) {
        ++lineNumber
        if (line !~ /^[ \t]*#[ \t]*include[ \t]*[<"]/) continue
        where = file ":" lineNumber ": "
        if (line ~ /include[ \t]*<Q/ && !qtAllowed) {
            offend(where "Qt is included only by platform/gfx and platform/ui .cpp files")
        }
        if (line !~ /include[ \t]*"[^"]*\//) continue
        target = line; sub(/^[^"]*"/, "", target); sub(/".*$/, "", target)
        module = moduleOf(target)
        if (module == "") {
            offend(where "\"" target "\" belongs to no module of cmake/modules.txt")
        } else if (module != own && index(allowed[own], " " module " ") == 0 &&
                   index(allowed[own], " * ") == 0) {
            offend(where own " includes " module " (\"" target "\"), which its row of cmake/modules.txt does not list")
        }
    }
    close(file)
}
END { exit failed }
'

#!/usr/bin/env bash
# Sets up a CUPS queue on Debian's cups-pdf driver, prints the canvas test fixture through it
# with the printer object, and shows the pages and text of the PDF file that comes out (cups-pdf
# remakes the file through Ghostscript, whose fonts may no longer map back to characters). Needs
# root (it installs packages, starts cupsd when none runs, adds the queue) and a build in build/.
set -euo pipefail
cd "$(dirname "$0")/.."
queue=WorkbenchPDF

apt-get install -y -qq --no-install-recommends cups printer-driver-cups-pdf poppler-utils >/dev/null

if ! lpstat -r 2>/dev/null | grep -q "is running"; then
    cupsd
    for _ in $(seq 50); do lpstat -r 2>/dev/null | grep -q "is running" && break; sleep 0.1; done
fi
model=$(lpinfo -m | awk '/CUPS-PDF/ {print $1; exit}')
[ -n "$model" ] || { echo "cups-pdf's model is not known to CUPS" >&2; exit 1; }
lpadmin -p "$queue" -E -v cups-pdf:/ -m "$model"
cupsenable "$queue"
cupsaccept "$queue"

marker=$(mktemp)
WB_CUPS_PRINTER=$queue QT_QPA_PLATFORM=offscreen \
    build/tests/gfx/gfx_tests --gtest_filter='Printers.PrintsTheFixtureOnACupsQueueWhenOneIsNamed'

# cups-pdf writes to the user's PDF folder, or to its spool folder for anonymous jobs; the file
# is whole only once the queue has finished the job.
for _ in $(seq 100); do lpstat -o "$queue" 2>/dev/null | grep -q . || break; sleep 0.2; done
for _ in $(seq 100); do
    out=$(find "$HOME/PDF" /var/spool/cups-pdf -name '*.pdf' -newer "$marker" 2>/dev/null | head -1 || true)
    [ -n "$out" ] && break
    sleep 0.2
done
rm -f "$marker"
[ -n "${out:-}" ] || { echo "no PDF came out of the queue" >&2; exit 1; }
echo "CUPS wrote $out:"
pdfinfo "$out" | grep -E 'Title|Pages|Page size'
pdftotext -raw "$out" -

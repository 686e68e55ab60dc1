#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the benchmarks need; does nothing
# when they are all there. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format ccache lld
    libclang-rt-14-dev
    qt6-base-dev libgl-dev qt6-image-formats-plugins
    libgtest-dev libgmock-dev libbenchmark-dev
    zlib1g-dev libjpeg-dev libpcre2-dev libicu-dev
    libpixman-1-dev libcairo2-dev
    libfontconfig-dev libfreetype-dev libharfbuzz-dev
    fonts-liberation2 fonts-wine fonts-dejavu-core
    qt6-translations-l10n
    # libwmf's reader only recommends the URW fonts, but finds no font without them
    poppler-utils emf2svg librsvg2-bin libwmf-bin fonts-urw-base35
    imagemagick libharfbuzz-bin
    # outside readers of the CSS and OOXML the style writers make
    python3 python3-tinycss2 libxml2-utils
    # RTF written by other programs (test fixtures) and the RTF reading benchmark's peers
    libreoffice-writer-nogui pandoc unrtf
    # outside checkers of the HTML, ZIP and DOCX files the writers make
    tidy unzip python3-docx
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"

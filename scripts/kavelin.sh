#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Kavelin needs (when missing), builds it, then
# starts the program (run) or runs the whole test suite (test).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-webengine-dev libqt6svg6-dev
  libpango1.0-dev libcairo2-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-noto-core fonts-lohit-deva fonts-dejavu-core
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea
  python3 python3-fonttools libharfbuzz-bin libharfbuzz-dev libfreetype-dev
  libx11-dev xvfb xauth poppler-utils
  help2man librsvg2-bin desktop-file-utils appstream dpkg-dev man-db file reuse
  zlib1g-dev aspell aspell-hi hunspell-hi apertium-hin tesseract-ocr-hin
  libzip-dev libexpat1-dev zipcmp libxml2-utils python3-docx python3-odf
  libreoffice-writer-nogui
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
  cmake --build build
}

# The Qt-free libraries (engine, RTF, settings file, converter) and their
# tests, built again with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitizer_tests() {
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKAVELIN_BUILD_GUI=OFF -DKAVELIN_BUILD_BENCH=OFF -DKAVELIN_SANITIZE=ON
  cmake --build build-sanitize
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
    ctest --test-dir build-sanitize --output-on-failure
}

case "${1:-}" in
  run)
    install_missing
    build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "kavelin: no display to show the window on (DISPLAY is not set)." >&2
      echo "The converter needs none: build/cli/kavelin-convert tests/data/sample-hi.txt" >&2
      exit 1
    fi
    exec ./build/app/kavelin
    ;;
  test)
    install_missing
    build
    ctest --test-dir build --output-on-failure
    sanitizer_tests
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# install_test.sh tree|deb BUILD SOURCE APP_ID VERSION
#   tree: installs the build into a DESTDIR and checks the tree, the desktop
#         entry, the AppStream metadata, the man pages and the installed
#         programs (kavelin on the offscreen platform, Help > Contents through
#         a stand-in xdg-open).
#   deb:  builds the Debian package with CPack and inspects it with dpkg-deb.
set -uo pipefail
check=$1 build=$2 source=$3 id=$4 version=$5

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
expect_eq() {  # what, expected, actual
  [ "$2" = "$3" ] || fail "$1: expected '$2', got '$3'"
}

icon_sizes=(16 22 24 32 48 64 128 256)
files=(
  usr/bin/kavelin
  usr/bin/kavelin-convert
  "usr/share/applications/$id.desktop"
  "usr/share/metainfo/$id.metainfo.xml"
  "usr/share/icons/hicolor/scalable/apps/$id.svg"
  usr/share/man/man1/kavelin.1.gz
  usr/share/man/man1/kavelin-convert.1.gz
  usr/share/kavelin/readme.txt
  usr/share/doc/kavelin/copyright
  usr/share/doc/kavelin/changelog.gz
)
for size in "${icon_sizes[@]}"; do files+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png"); done

# A PNG's width and height from its header.
png_size() {
  local hex
  hex=$(od -An -tx1 -j16 -N8 "$1" | tr -d ' \n')
  echo "$((16#${hex:0:8}))x$((16#${hex:8:8}))"
}

# Checks the files of an installed tree rooted at $1.
check_tree() {
  local root=$1 f
  for f in "${files[@]}"; do
    [ -f "$root/$f" ] || fail "not installed: $f"
  done
  for f in usr/bin/kavelin usr/bin/kavelin-convert; do
    [ -x "$root/$f" ] || fail "not executable: $f"
  done
  expect_eq "programs in usr/bin" "kavelin kavelin-convert" "$(ls "$root/usr/bin" | sort | tr '\n' ' ' | sed 's/ $//')"
  for size in "${icon_sizes[@]}"; do
    f="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
    [ -f "$f" ] && expect_eq "size of the ${size}px icon" "${size}x${size}" "$(png_size "$f")"
  done
  cmp -s "$source/readme.txt" "$root/usr/share/kavelin/readme.txt" || fail "the installed read-me differs from readme.txt"
  # The bundled font, when the source tree builds one: its files, its licence
  # beside them and in the copyright file, and the fontconfig alias.
  if [ -f "$source/resources/fonts/fonts.cmake" ]; then
    compgen -G "$root/usr/share/fonts/truetype/kavelin/*.ttf" >/dev/null || fail "no font in usr/share/fonts/truetype/kavelin"
    [ -f "$root/usr/share/fonts/truetype/kavelin/OFL.txt" ] || fail "no OFL.txt beside the font"
    compgen -G "$root/usr/share/fontconfig/conf.avail/*.conf" >/dev/null || fail "no fontconfig alias in usr/share/fontconfig/conf.avail"
    local link
    for link in "$root"/etc/fonts/conf.d/*kavelin*.conf; do
      expect_eq "the fontconfig alias link" "/usr/share/fontconfig/conf.avail/$(basename "$link")" "$(readlink "$link")"
    done
    compgen -G "$root/etc/fonts/conf.d/*kavelin*.conf" >/dev/null || fail "the fontconfig alias is not enabled in etc/fonts/conf.d"
    grep -q '^License: OFL-1.1' "$root/usr/share/doc/kavelin/copyright" || fail "the copyright file lacks the font's licence"
  fi
  grep -q '^License: GPL-3+$' "$root/usr/share/doc/kavelin/copyright" || fail "the copyright file does not say GPL-3+"
  grep -q '<project_license>GPL-3.0-or-later</project_license>' "$root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the AppStream metadata has no project_license GPL-3.0-or-later"
  local odd
  odd=$(find "$root" -type d ! -perm 755 -o -type f ! -perm 644 ! -path '*/bin/*' -print)
  expect_eq "files not 644 and folders not 755" "" "$odd"
}

tree() {
  local root=$work/root
  DESTDIR=$root cmake --install "$build" --prefix /usr >"$work/install.log" 2>&1 ||
    { cat "$work/install.log" >&2; fail "cmake --install"; return; }
  check_tree "$root"

  desktop-file-validate "$root/usr/share/applications/$id.desktop" >"$work/dfv.log" 2>&1 ||
    { cat "$work/dfv.log" >&2; fail "desktop-file-validate"; }
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >"$work/as.log" 2>&1 ||
    { cat "$work/as.log" >&2; fail "appstreamcli validate --no-net"; }
  local desktop=$root/usr/share/applications/$id.desktop
  expect_eq "Exec" "Exec=kavelin %F" "$(grep '^Exec=' "$desktop")"
  expect_eq "Categories" "Categories=Office;TextTools;" "$(grep '^Categories=' "$desktop")"
  expect_eq "Icon" "Icon=$id" "$(grep '^Icon=' "$desktop")"

  # The man pages: render without warnings, hold every option of --help, and
  # the sections that --help lacks.
  local program page option
  for program in kavelin kavelin-convert; do
    page=$root/usr/share/man/man1/$program.1.gz
    MANWIDTH=80 man --warnings -l "$page" >"$work/$program.txt" 2>"$work/$program.warn" ||
      fail "man -l $program"
    [ -s "$work/$program.warn" ] && { cat "$work/$program.warn" >&2; fail "$program(1) has roff warnings"; }
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS "EXIT STATUS" EXAMPLES "SEE ALSO"; do
      grep -q "^$section" "$work/$program.txt" || fail "$program(1) lacks the section $section"
    done
    for option in $("$root/usr/bin/$program" --help | grep -oE -- '(^|[ ,])--?[a-zA-Z][a-zA-Z-]*' | tr -d ' ,' | sort -u); do
      grep -qe "$option" "$work/$program.txt" || fail "$program(1) does not name $option"
    done
  done

  # The installed converter, on the sample text: the same as the built one.
  local convert=$root/usr/bin/kavelin-convert
  expect_eq "kavelin-convert --version" "kavelin-convert $version" "$("$convert" --version | head -n 1)"
  expect_eq "namaste" "ueLrs " "$(echo namaste | "$convert")"
  expect_eq "namaste --to unicode" "नमस्ते" "$(echo namaste | "$convert" --to unicode | sed 's/ *$//')"
  "$convert" "$source/tests/data/sample-hi.txt" -o "$work/sample.out" || fail "kavelin-convert on the sample"
  "$build/cli/kavelin-convert" "$source/tests/data/sample-hi.txt" >"$work/sample.expected"
  cmp -s "$work/sample.out" "$work/sample.expected" || fail "the installed kavelin-convert converts the sample differently"
  [ -s "$work/sample.out" ] || fail "no output for the sample"

  # The installed program, started from a folder without a read-me: --help and
  # --version need no display; Help > Contents opens the installed read-me.
  local kavelin=$root/usr/bin/kavelin status
  mkdir -p "$work/elsewhere" "$work/bin" "$work/config" "$work/data"
  cd "$work/elsewhere" || return
  expect_eq "kavelin --version" "kavelin $version" "$(env -u DISPLAY "$kavelin" --version | head -n 1)"
  env -u DISPLAY "$kavelin" --help | grep -q '^Usage: kavelin \[options\] \[files\.\.\.\]' || fail "kavelin --help"
  QT_QPA_PLATFORM=offscreen "$kavelin" --no-such-option >/dev/null 2>&1
  status=$?
  expect_eq "exit status of a usage error" 2 "$status"

  cat >"$work/bin/xdg-open" <<OPEN
#!/bin/sh
printf '%s\n' "\$@" > "$work/opened.tmp" && mv "$work/opened.tmp" "$work/opened"
OPEN
  chmod +x "$work/bin/xdg-open"
  PATH=$work/bin:$PATH QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME=$work/config \
    XDG_DATA_HOME=$work/data XDG_DATA_DIRS=$work/data "$kavelin" --show-readme \
    >"$work/kavelin.log" 2>&1 &
  pids+=($!)
  local waited=0
  while [ ! -f "$work/opened" ] && [ $waited -lt 600 ] && kill -0 "${pids[-1]}" 2>/dev/null; do
    sleep 0.1
    waited=$((waited + 1))
  done
  if [ -f "$work/opened" ]; then
    expect_eq "the read-me that Help > Contents opens" "$root/usr/share/kavelin/readme.txt" "$(cat "$work/opened")"
  else
    cat "$work/kavelin.log" >&2
    fail "Help > Contents opened nothing within 60 s"
  fi
  kill -0 "${pids[-1]}" 2>/dev/null || fail "kavelin did not keep running"
  cd / || return
}

deb() {
  (cd "$work" && cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out") >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log" >&2; fail "cpack -G DEB"; return; }
  local package
  package=$(ls "$work/out"/kavelin_*.deb 2>/dev/null)
  expect_eq "package file" "kavelin_${version}_$(dpkg --print-architecture).deb" "$(basename "$package")"
  [ -f "$package" ] || return

  dpkg-deb -I "$package" >"$work/info" || fail "dpkg-deb -I"
  field() { dpkg-deb -f "$package" "$1"; }
  expect_eq "Package" kavelin "$(field Package)"
  expect_eq "Version" "$version" "$(field Version)"
  expect_eq "Section" editors "$(field Section)"
  [[ "$(field Maintainer)" =~ ^.+\ \<.+@.+\>$ ]] || fail "Maintainer is not 'name <address>': $(field Maintainer)"
  [ "$(field Description | wc -l)" -gt 3 ] || fail "the Description has no long text"
  local depends
  depends=$(field Depends)
  for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 \
      libqt6webenginewidgets6 libpango-1.0-0 libcairo2 fonts-noto-core; do
    [[ ", $depends," == *", $dep"[\ ,]* ]] || fail "Depends lacks $dep: $depends"
  done
  local recommends
  recommends=$(field Recommends)
  for dep in xdg-utils fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea \
      aspell aspell-hi hunspell-hi apertium-hin tesseract-ocr-hin; do
    [[ ", $recommends," == *", $dep"[\ ,]* ]] || fail "Recommends lacks $dep: $recommends"
  done

  dpkg-deb -c "$package" >"$work/contents" || fail "dpkg-deb -c"
  local f
  for f in "${files[@]}"; do
    grep -q " \./$f\$" "$work/contents" || fail "not in the package: $f"
  done
  if [ -f "$source/resources/fonts/fonts.cmake" ]; then
    grep -q ' \./etc/fonts/conf\.d/65-kavelin-legacy-devanagari\.conf -> /usr/share/fontconfig/conf\.avail/' \
      "$work/contents" || fail "the package does not enable the fontconfig alias"
  fi
  grep -v ' root/root ' "$work/contents" && fail "files not owned by root"
  dpkg-deb -x "$package" "$work/unpacked" || fail "dpkg-deb -x"
  check_tree "$work/unpacked"
  for f in "$work/unpacked/usr/bin/"*; do
    readelf -S "$f" | grep -q '\.symtab' && fail "not stripped: ${f#"$work"/unpacked/}"
  done
}

case "$check" in
  tree) tree ;;
  deb) deb ;;
  *) echo "usage: $0 tree|deb BUILD SOURCE APP_ID VERSION" >&2; exit 2 ;;
esac
[ $failures -eq 0 ] && echo "install $check: all checks passed"
[ $failures -eq 0 ]

#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process comparison on the sample text repeated to about 7.5 MB:
# kavelin-convert, optionally another build of it (OTHER=path), a JavaScript
# transliteration library (SANSCRIPT=folder holding node_modules with
# @indic-transliteration/sanscript), and a plain byte-table pass (tr).
# Needs hyperfine. Usage: bench/whole_process.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/input.txt" <<'PY'
import sys
s = open("tests/data/sample-hi.txt", encoding="utf-8").read()
open(sys.argv[1], "w", encoding="utf-8").write(s * (7_500_000 // len(s) + 1))
PY
commands=("$build/cli/kavelin-convert $work/input.txt -o $work/out.txt")
[ -n "${OTHER:-}" ] && commands+=("$OTHER $work/input.txt -o $work/other.txt")
if [ -n "${SANSCRIPT:-}" ]; then
  cat > "$work/sanscript.js" <<'JS'
const fs = require('fs');
const Sanscript = require(process.env.SANSCRIPT + '/node_modules/@indic-transliteration/sanscript');
fs.writeFileSync(process.argv[3], Sanscript.t(fs.readFileSync(process.argv[2], 'utf8'), 'itrans', 'devanagari'));
JS
  commands+=("node $work/sanscript.js $work/input.txt $work/js.txt")
fi
commands+=("tr a-z A-Z < $work/input.txt > $work/tr.txt")
echo "input: $(stat -c %s "$work/input.txt") bytes"
hyperfine --warmup 2 --runs 10 "${commands[@]}"
/usr/bin/time -f "kavelin-convert peak memory: %M KB" "$build/cli/kavelin-convert" "$work/input.txt" -o "$work/out.txt"

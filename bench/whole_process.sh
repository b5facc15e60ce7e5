#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Whole-process throughput and peak memory of kavelin-convert in every
# direction, on the sample text repeated to about 7.5 MB and to ten times that,
# and on text of many words (the romanized data's sentences, when present):
# Roman to glyph codes (UTF-8 and raw cp1252) and to Unicode, Unicode to glyph
# codes (UTF-8 and raw), glyph codes (UTF-8 and raw) to Unicode. The glyph
# and Unicode inputs are what the build makes of the Roman ones.
#
# Beside it: another build of kavelin-convert (OTHER=path), a JavaScript
# transliteration library (SANSCRIPT=folder holding node_modules with
# @indic-transliteration/sanscript; skipped when unset) on the Roman text, and
# a plain byte-table pass (tr).
#
# Each figure is the median of RUNS runs (default 3): wall time, throughput of
# input (MB = 10^6 bytes) over wall time, the CPU time (user + system), and
# the peak resident memory. The output goes to standard output redirected to a
# file, so that no fsync of -o is timed. Needs bash, coreutils and python3.
# Usage: bench/whole_process.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export KAVELIN="$build/cli/kavelin-convert" OTHER="${OTHER:-}" SANSCRIPT="${SANSCRIPT:-}"
export RUNS="${RUNS:-3}" WORK="$work"
if [ -n "$SANSCRIPT" ]; then
  cat > "$work/sanscript.js" <<'JS'
const fs = require('fs');
const Sanscript = require(process.env.SANSCRIPT + '/node_modules/@indic-transliteration/sanscript');
fs.writeFileSync(process.argv[3], Sanscript.t(fs.readFileSync(process.argv[2], 'utf8'), 'itrans', 'devanagari'));
JS
else
  echo "SANSCRIPT not set: the JavaScript library is left out"
fi
exec /usr/bin/python3 - <<'PY'
import os
import statistics
import subprocess
import sys
import time

work = os.environ["WORK"]
kavelin = os.environ["KAVELIN"]
other = os.environ["OTHER"]
sanscript = os.environ["SANSCRIPT"]
runs = int(os.environ["RUNS"])
sample = open("tests/data/sample-hi.txt", encoding="utf-8").read()


def run(argv, stdin=None, stdout=None):
    """Wall seconds, CPU seconds and peak memory (KB) of one process. The
    peak comes from /usr/bin/time, whose own child starts small (a child of
    this script would start with the script's memory)."""
    fin = open(stdin, "rb") if stdin else subprocess.DEVNULL
    fout = open(stdout, "wb") if stdout else subprocess.DEVNULL
    report = f"{work}/time.txt"
    start = time.perf_counter()
    status = subprocess.run(["/usr/bin/time", "-o", report, "-f", "%U %S %M", *argv],
                            stdin=fin, stdout=fout, stderr=subprocess.DEVNULL).returncode
    wall = time.perf_counter() - start
    for f in (fin, fout):
        if f is not subprocess.DEVNULL:
            f.close()
    if status != 0:
        sys.exit("failed: " + " ".join(argv))
    user, system, peak = open(report).read().split()[-3:]
    return wall, float(user) + float(system), int(peak)


def measure(argv, stdin=None, stdout=None):
    results = [run(argv, stdin, stdout) for _ in range(runs)]
    return tuple(statistics.median(r[k] for r in results) for k in range(3))


# Inputs: the Roman text at both sizes, and what the build makes of it.
inputs = {}
for label, size in (("7.5MB", 7_500_000), ("75MB", 75_000_000)):
    roman = f"{work}/roman-{label}.txt"
    with open(roman, "w", encoding="utf-8") as f:
        for _ in range(size // len(sample) + 1):
            f.write(sample)
    files = {"roman": roman}
    for name, args in (("glyphs", []), ("raw", ["--encoding", "cp1252"]),
                       ("unicode", ["--to", "unicode"])):
        files[name] = f"{work}/{name}-{label}.txt"
        subprocess.run([kavelin, *args, roman], stdout=open(files[name], "wb"), check=True)
    inputs[label] = files

# Text of many words, as a document has (the sample's few hundred words make
# caches look better than they are): the sentences of the romanized data when
# it is there, measuring data only, its Hindi and its Roman side each
# repeated to 75 MB.
aligned = "../shared/data/romanized/hi.romanized.aligned.tsv"
if os.path.exists(aligned):
    sides = {"unicode": [], "roman": []}
    for line in open(aligned, encoding="utf-8"):
        fields = line.rstrip("\n").split("\t")
        if len(fields) != 2:
            continue
        for side, word in zip(("unicode", "roman"), fields):
            sides[side].append("\n" if word == "</s>" else word + " ")
    files = {}
    for side, words in sides.items():
        text = "".join(words)
        files[side] = f"{work}/{side}-varied.txt"
        with open(files[side], "w", encoding="utf-8") as f:
            for _ in range(75_000_000 // len(text.encode()) + 1):
                f.write(text)
    for name, args in (("glyphs", []), ("raw", ["--encoding", "cp1252"])):
        files[name] = f"{work}/{name}-varied.txt"
        subprocess.run([kavelin, "--from", "unicode", *args, files["unicode"]],
                       stdout=open(files[name], "wb"), check=True)
    inputs["varied"] = files
else:
    print(f"{aligned} not found: the text of many words is left out")

directions = [
    ("roman -> glyphs", "roman", []),
    ("roman -> glyphs cp1252", "roman", ["--encoding", "cp1252"]),
    ("roman -> unicode", "roman", ["--to", "unicode"]),
    ("unicode -> glyphs", "unicode", ["--from", "unicode"]),
    ("unicode -> glyphs cp1252", "unicode", ["--from", "unicode", "--encoding", "cp1252"]),
    ("glyphs -> unicode", "glyphs", ["--from", "glyphs"]),
    ("glyphs cp1252 -> unicode", "raw", ["--from", "glyphs", "--encoding", "cp1252"]),
]
programs = [("kavelin-convert", kavelin)] + ([("other", other)] if other else [])

print(f"median of {runs} runs; MB/s of input over wall time, cpu MB/s over user + system time")
print(f"{'program':16} {'direction':26} {'input':>7} {'MB':>7} {'wall s':>7} {'MB/s':>7} "
      f"{'cpu s':>6} {'cpu MB/s':>8} {'peak MB':>8}")


def show(program, direction, label, path, figures):
    size = os.path.getsize(path) / 1e6
    wall, cpu, peak = figures
    print(f"{program:16} {direction:26} {label:>7} {size:7.1f} {wall:7.3f} {size / wall:7.1f} "
          f"{cpu:6.3f} {size / max(cpu, 0.001):8.1f} {peak / 1024:8.1f}", flush=True)


for direction, source, args in directions:
    for program, binary in programs:
        for label, files in inputs.items():
            path = files[source]
            show(program, direction, label, path,
                 measure([binary, *args, path], stdout=f"{work}/out.txt"))
for label, files in inputs.items():
    path = files["roman"]
    if sanscript:
        show("sanscript (js)", "roman -> unicode", label, path,
             measure(["node", f"{work}/sanscript.js", path, f"{work}/js.txt"]))
    show("tr a-z A-Z", "bytes", label, path,
         measure(["tr", "a-z", "A-Z"], stdin=path, stdout=f"{work}/tr.txt"))
PY

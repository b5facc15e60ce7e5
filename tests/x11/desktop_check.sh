#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The desktop program under a real X server with a window manager (Xvfb and
# openbox), driven by xdotool: typing and saving the English text, five
# restarts that must keep the stored placement exactly, Enter in the
# browser's address box on a local file: page, typing after a chart pick,
# aligning the caret's paragraph, the dialogs' title bars, the Unicode
# preview's place after a restart, File > Convert Documents on a folder, the
# spelling menu of an unknown word in the Hindi box, whose first correction is
# made in the English box, and (where soffice is installed) a DOCX and an ODT
# that LibreOffice wrote opened in the Editing Box.
#
#   tests/x11/desktop_check.sh [PROGRAM] [SCREENSHOT_DIR]
#
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing.
set -uo pipefail

program=${1:-build/app/kavelin}
shots=${2:-}
for tool in xvfb-run Xvfb openbox xdotool xprop xwininfo; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool not installed"; exit 77; }
done
[ -x "$program" ] || { echo "no program at $program" >&2; exit 1; }
program=$(realpath "$program")

if [ -z "${KAVELIN_X11_INNER:-}" ]; then
  export KAVELIN_X11_INNER=1
  exec xvfb-run -a -s "-screen 0 ${KAVELIN_X11_SCREEN:-1280x1024}x24 -nolisten tcp" "$0" "$program" "$shots"
fi

# --- inside the X server -----------------------------------------------------
work=$(mktemp -d)
trap 'kill $wm 2>/dev/null; rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
export QTWEBENGINE_CHROMIUM_FLAGS="--no-sandbox --disable-gpu --disable-dev-shm-usage"
unset QT_QPA_PLATFORM
conf=$XDG_CONFIG_HOME/Kavelin/Kavelin.conf
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
shot() { [ -n "$shots" ] && mkdir -p "$shots" && import -window root "$shots/$1.png" 2>/dev/null; }

openbox --sm-disable >/dev/null 2>&1 & wm=$!
for _ in $(seq 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.1
done

# Waits for a visible window of `pid` whose name matches `regex` and that the
# window manager has framed: a main window, or with `yes` a dialog or panel
# (transient for another window), or with `any` either; prints its id.
wait_window() {
  local pid=$1 regex=$2 transient=${3:-no} except=${4:-} id props
  for _ in $(seq 300); do
    for id in $(xdotool search --onlyvisible --pid "$pid" --name "$regex" 2>/dev/null); do
      [ "$id" = "$except" ] && continue
      [[ "$(xdotool getwindowname "$id")" =~ $regex ]] || continue
      props=$(xprop -id "$id" WM_TRANSIENT_FOR _NET_FRAME_EXTENTS 2>/dev/null)
      grep -q '_NET_FRAME_EXTENTS(CARDINAL)' <<<"$props" || continue
      [ "$transient" = any ] && { echo "$id"; return 0; }
      if grep -q 'window id' <<<"$props"; then
        [ "$transient" = yes ] && { echo "$id"; return 0; }
      else
        [ "$transient" = no ] && { echo "$id"; return 0; }
      fi
    done
    sleep 0.1
  done
  return 1
}

# The outer (frame) rectangle of a client window: "x y w h".
outer_of() {
  local id=$1 x y w h l r t b info
  info=$(xwininfo -id "$id")
  x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
  y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
  w=$(sed -n 's/.*Width: *//p' <<<"$info")
  h=$(sed -n 's/.*Height: *//p' <<<"$info")
  read -r l r t b < <(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= //; s/,//gp')
  [ -n "${b:-}" ] || { echo "unframed"; return 0; }
  echo "$((x - l)) $((y - t)) $((w + l + r)) $((h + t + b))"
}

# Waits until the window manager has framed the window and its outer frame is
# `expected` (or, without one, keeps still for a second).
wait_settled() {
  local id=$1 expected=${2:-} last="" now same=0
  for _ in $(seq 100); do
    if xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '='; then
      now=$(outer_of "$id")
      [ -n "$expected" ] && [ "$now" = "$expected" ] && return 0
      if [ "$now" = "$last" ]; then same=$((same + 1)); else same=0; fi
      [ -z "$expected" ] && [ "$same" -ge 5 ] && return 0
      last=$now
    fi
    sleep 0.2
  done
  return 1
}

placement() { grep -E '^Main(Left|Top|Width|Height)=' "$conf" 2>/dev/null | sort | tr '\n' ' '; }

# Starts the program and waits for its main window, framed at the outer
# rectangle `expected` when one is given.
start() {
  "$program" >>"$work/program.log" 2>&1 &
  pid=$!
  if ! main=$(wait_window "$pid" '^Kavelin$'); then
    kill -0 "$pid" 2>/dev/null || echo "the program has ended"
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      echo "window $w '$(xdotool getwindowname "$w")': $(xprop -id "$w" WM_TRANSIENT_FOR _NET_FRAME_EXTENTS | tr '\n' ' ')"
    done
    fail "no main window"
    return 1
  fi
  wait_settled "$main" "${1:-}" || true
}

quit() {
  xdotool windowactivate --sync "$main" >/dev/null 2>&1
  xdotool key --clearmodifiers ctrl+q
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  if kill -0 "$pid" 2>/dev/null; then
    fail "Ctrl+Q did not end the program"
    kill "$pid"
  fi
  wait "$pid" 2>/dev/null
}

# 1. First run: the design outer frame; type, save with Ctrl+S (the extension
#    is added), quit with Ctrl+Q.
# Unscaled, the design placement (1000, 1000, 12000, 9000 twips) in pixels;
# scaled, the window must be wholly on the screen.
scaled=${QT_SCALE_FACTOR:-1}
if [ "$scaled" = 1 ]; then design="66 66 800 600"; else design=""; fi
start "$design" || exit 1
shot main-first-run
outer=$(outer_of "$main")
if [ -n "$design" ]; then
  [ "$outer" = "$design" ] || fail "first run's outer frame is $outer, not $design"
fi
read -r ox oy ow oh <<<"$outer"
read -r sw sh < <(xdpyinfo 2>/dev/null | sed -n 's/.*dimensions: *\([0-9]*\)x\([0-9]*\) pixels.*/\1 \2/p')
if [ -n "${sw:-}" ] && { [ "$ox" -lt 0 ] || [ "$oy" -lt 0 ] || [ $((ox + ow)) -gt "$sw" ] ||
  [ $((oy + oh)) -gt "$sh" ]; }; then
  fail "the window ($outer) is not wholly on the ${sw}x${sh} screen"
fi
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool type --delay 30 "namaste bhaarat"
sleep 0.3
xdotool key --clearmodifiers ctrl+s
if dialog=$(wait_window "$pid" '^Save Text' yes); then
  xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
  sleep 0.3
  shot save-dialog
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 10 "$work/english"
  xdotool key Return
  for _ in $(seq 30); do [ -f "$work/english.txt" ] && break; sleep 0.1; done
  if [ "$(cat "$work/english.txt" 2>/dev/null)" != "namaste bhaarat" ]; then
    fail "the typed text was not saved to english.txt"
  fi
else
  fail "Ctrl+S opened no \"Save Text\" dialog"
fi
shot main-typed
# The Editing Box frame at start-up is the one two layout toggles give.
if [ "$scaled" = 1 ] && command -v import >/dev/null && command -v compare >/dev/null; then
  frame_area="250x480+545+50"  # the Editing Box frame: below the small buttons, above the clock
  import -window "$main" "$work/before.png"
  for _ in 1 2; do
    xdotool mousemove --window "$main" 560 38 click 1  # the "<" / ">" button
    sleep 0.5
  done
  import -window "$main" "$work/after.png"
  convert "$work/before.png" -crop "$frame_area" +repage "$work/before-frame.png"
  convert "$work/after.png" -crop "$frame_area" +repage "$work/after-frame.png"
  differing=$(compare -metric AE "$work/before-frame.png" "$work/after-frame.png" null: 2>&1)
  [ -n "$shots" ] && cp "$work/before.png" "$shots/toggle-before.png" && cp "$work/after.png" "$shots/toggle-after.png"
  [ "$differing" = "0" ] || fail "the Editing Box frame changed after two toggles ($differing pixels)"
fi
quit
first=$(placement)
if [ "$scaled" = 1 ] && [ "$first" != "MainHeight=9000 MainLeft=1000 MainTop=1000 MainWidth=12000 " ]; then
  fail "first run stored '$first'"
fi
echo "stored after the first run: $first"

# 2. Five restarts: the same outer frame and the same stored values each time.
for run in 1 2 3 4 5; do
  start "$outer" || break
  now=$(outer_of "$main")
  [ "$now" = "$outer" ] || fail "restart $run: outer frame $now, not $outer"
  quit
  [ "$(placement)" = "$first" ] || fail "restart $run stored '$(placement)', not '$first'"
done

# 3. The browser: Enter in the address box opens a local page typed anew.
page=$work/page.html
echo '<html><head><title>Local test page</title></head><body>Local page</body></html>' >"$page"
start || exit 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+v
sleep 0.3
xdotool key w
# The browser opens on the home page, whose title names the program.
if browser=$(wait_window "$pid" 'write Hindi|Working' no "$main"); then
  sleep 1
  xdotool windowactivate --sync "$browser" >/dev/null 2>&1
  for _ in $(seq 30); do [ "$(xdotool getactivewindow)" = "$browser" ] && break; sleep 0.1; done
  [ "$(xdotool getactivewindow)" = "$browser" ] || fail "the browser window is not active"
  # A click in the address box gives it the focus.
  xdotool mousemove --window "$browser" 120 70 click 1
  sleep 0.3
  xdotool key --clearmodifiers ctrl+a
  xdotool type --delay 10 "file://$page"
  xdotool key Return
  title=""
  for _ in $(seq 100); do
    title=$(xdotool getwindowname "$browser")
    [ "$title" = "Local test page" ] && break
    sleep 0.1
  done
  shot browser
  [ "$title" = "Local test page" ] || fail "Enter in the address box: the caption is '$title'"
else
  fail "View > Web Browser opened no window"
fi
quit

# 4. At the design placement (client area at 67, 88 of the screen), places in
#    the window's client area.
if [ "$scaled" = 1 ]; then
  start "$outer" || exit 1
  click() { xdotool mousemove --window "$main" "$1" "$2" click 1; sleep 0.3; }
  xdotool windowactivate --sync "$main" >/dev/null 2>&1
  # A chart pick keeps the focus on the grid; what is typed next goes to the
  # English box, which Ctrl+S then saves.
  click 28 136  # the consonant chart's "k"
  xdotool type --delay 40 "aa mal"
  xdotool key BackSpace
  xdotool type --delay 40 "l"
  shot chart-pick-typed
  xdotool key --clearmodifiers ctrl+s
  if dialog=$(wait_window "$pid" '^Save Text' yes); then
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$work/picked"
    xdotool key Return
    for _ in $(seq 30); do [ -f "$work/picked.txt" ] && break; sleep 0.1; done
    [ "$(cat "$work/picked.txt" 2>/dev/null)" = "kaa mal" ] ||
      fail "typing after a chart pick saved '$(cat "$work/picked.txt" 2>/dev/null)', not 'kaa mal'"
  else
    fail "Ctrl+S after a chart pick opened no \"Save Text\" dialog"
  fi
  # Center with the caret in the first paragraph of the Editing Box: that
  # paragraph's text moves right, the second stays at the left edge.
  click 663 212
  xdotool type --delay 20 "ueLrs"
  xdotool key Return
  xdotool type --delay 20 "ueLrs"
  xdotool key Up
  click 288 34  # Center
  xdotool mousemove --window "$main" 400 500
  sleep 0.3
  shot aligned
  if command -v import >/dev/null && command -v convert >/dev/null; then
    import -window "$main" "$work/aligned.png"
    # The left edge of each line's ink inside the Editing Box.
    ink_left() {
      convert "$work/aligned.png" -crop "210x22+556+$1" +repage -threshold 60% -negate -trim \
        -format '%X' info: 2>/dev/null | tr -d '+'
    }
    first=$(ink_left 72)
    second=$(ink_left 97)
    if [ -z "$first" ] || [ -z "$second" ] || [ "$first" -le $((second + 30)) ]; then
      fail "Center did not center the caret's paragraph (ink at $first and $second)"
    fi
  fi
  # Emptied again, the Editing Box asks nothing at closing.
  click 663 212
  xdotool key --clearmodifiers ctrl+a Delete
  # The dialogs: title and close button; no maximise (openbox keeps its
  # minimise button on every dialog whatever the hints say).
  dialog_hints() {
    local id=$1 what=$2 mwm actions
    mwm=$(xprop -id "$id" _MOTIF_WM_HINTS | sed -n 's/.*= //p')
    actions=$(xprop -id "$id" _NET_WM_ALLOWED_ACTIONS)
    IFS=', ' read -r _ _ decorations _ <<<"$mwm"
    [ -n "${decorations:-}" ] && [ $((decorations & 0x60)) -eq 0 ] ||
      fail "$what asks for minimise or maximise buttons (_MOTIF_WM_HINTS $mwm)"
    grep -q MAXIMIZE <<<"$actions" && fail "$what can be maximised"
  }
  # A button's dialog: its picture, its title-bar hints, then the key that closes it.
  button_dialog() {
    local x=$1 y=$2 title=$3 name=$4 what=$5 close=$6 dialog
    click "$x" "$y"
    if dialog=$(wait_window "$pid" "$title" yes); then
      shot "$name"
      dialog_hints "$dialog" "$what"
      xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
      xdotool key "$close"
    else
      fail "the $what button opened no dialog"
    fi
  }
  button_dialog 360 84 '^Settings$' settings Settings Escape
  button_dialog 464 84 '^About' about About Return
  quit

  # The Unicode preview after a restart: beside the window, off it.
  sed -i '/^UnicodePreview=/d' "$conf"
  sed -i 's/^\[Settings\]$/[Settings]\nUnicodePreview=1/' "$conf"
  start "$outer" || exit 1
  if panel=$(wait_window "$pid" '^Unicode Preview$' any); then
    sleep 1
    shot preview-restart
    read -r px py pw ph < <(xwininfo -id "$panel" | sed -n 's/.*Absolute upper-left X: *//p; s/.*Absolute upper-left Y: *//p; s/.*Width: *//p; s/.*Height: *//p' | tr '\n' ' ')
    read -r mx my mw mh <<<"$(outer_of "$main")"
    if [ $((px < mx + mw && mx < px + pw && py < my + mh && my < py + ph)) = 1 ]; then
      fail "the preview ($px $py $pw $ph) covers the main window ($mx $my $mw $mh)"
    fi
  else
    fail "the Unicode preview did not show again after a restart"
  fi
  quit
fi

# 5. File > Convert Documents: a folder of letters added through its dialog,
#    converted into a "converted" folder beside them; one damaged document and
#    one with a character the font lacks give their own lines.
letters=$work/letters
mkdir -p "$letters"
printf 'ueLrs] nqfu;kA\n' >"$letters/greeting.txt"
printf '{\\rtf1{\\fonttbl{\\f0 DevLys 160;}}\\f0 fon~;kFkhZ\\par}' >"$letters/students.rtf"
printf 'not a package' >"$letters/damaged.odt"
printf 'ueLrs' >"$letters/copy.txt"
python3 - "$letters/letter.docx" <<'PY'
import sys, zipfile
w = 'http://schemas.openxmlformats.org/wordprocessingml/2006/main'
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('[Content_Types].xml', '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/></Types>')
    z.writestr('_rels/.rels', '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>')
    z.writestr('word/document.xml', f'<w:document xmlns:w="{w}"><w:body><w:p><w:r><w:rPr><w:rFonts w:ascii="DevLys 160" w:hAnsi="DevLys 160"/></w:rPr><w:t>ueLrs] nqfu;kA</w:t></w:r><w:r><w:t xml:space="preserve"> Hello</w:t></w:r></w:p></w:body></w:document>')
PY
mkdir -p "$letters/converted" && printf 'older' >"$letters/converted/copy.txt"
start || exit 1
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.3
xdotool key v
if window=$(wait_window "$pid" '^Convert Documents$' yes); then
  sleep 0.5
  shot convert-empty
  xdotool windowactivate --sync "$window" >/dev/null 2>&1
  xdotool key --clearmodifiers alt+o  # Add Folder…
  if dialog=$(wait_window "$pid" '^Add Folder$' yes); then
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$letters"
    xdotool key Return
    sleep 0.5
    shot convert-added
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    xdotool key --clearmodifiers alt+v  # Convert
    for _ in $(seq 50); do [ -f "$letters/converted/letter.docx" ] && break; sleep 0.1; done
    # The warning about the damaged document comes up over the window.
    if box=$(wait_window "$pid" '^Convert Documents$' yes "$window"); then
      sleep 0.3
      shot convert-warning
      xdotool windowactivate --sync "$box" >/dev/null 2>&1
      xdotool key Return
    else
      fail "no message about the damaged document"
    fi
    sleep 0.5
    shot convert-done
    for name in greeting.txt students.rtf letter.docx "copy (2).txt"; do
      [ -f "$letters/converted/$name" ] || fail "Convert Documents wrote no converted/$name"
    done
    [ -e "$letters/converted/damaged.odt" ] && fail "a damaged document left an output"
    [ "$(cat "$letters/converted/copy.txt")" = older ] || fail "converted/copy.txt was written over"
    [ "$(cat "$letters/greeting.txt")" = 'ueLrs] nqfu;kA' ] || fail "an original was changed"
    [ "$(cat "$letters/converted/greeting.txt")" = 'नमस्ते, दुनिया।' ] ||
      fail "greeting.txt converted to '$(cat "$letters/converted/greeting.txt")'"
  else
    fail "Add Folder… opened no dialog"
  fi
  xdotool windowactivate --sync "$window" >/dev/null 2>&1
  xdotool key Escape
  for _ in $(seq 30); do xdotool search --onlyvisible --name '^Convert Documents$' >/dev/null 2>&1 || break; sleep 0.1; done
  xdotool search --onlyvisible --name '^Convert Documents$' >/dev/null 2>&1 && fail "Escape left the window open"
else
  fail "File > Convert Documents… opened no window"
fi
quit
# 6. Spelling: an unknown word underlined in the Hindi box; a right-click shows
#    its corrections, and the first one replaces its letters in the English box.
if [ "$scaled" = 1 ]; then
  start "$outer" || exit 1
  xdotool windowactivate --sync "$main" >/dev/null 2>&1
  sleep 3  # the word lists are read
  xdotool type --delay 30 "bhaarat ek vishaal desh hai. bhart aur hindee"
  xdotool key Escape
  sleep 0.5
  shot spelling-underlined
  xdotool mousemove --window "$main" 300 158 click 3  # the Hindi box's "bhart"
  sleep 1
  shot spelling-menu
  xdotool key Down Return
  sleep 0.5
  shot spelling-corrected
  xdotool windowactivate --sync "$main" >/dev/null 2>&1
  xdotool key --clearmodifiers ctrl+s
  if dialog=$(wait_window "$pid" '^Save Text' yes); then
    xdotool windowactivate --sync "$dialog" >/dev/null 2>&1
    sleep 0.3
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 10 "$work/corrected"
    xdotool key Return
    for _ in $(seq 30); do [ -f "$work/corrected.txt" ] && break; sleep 0.1; done
    corrected=$(cat "$work/corrected.txt" 2>/dev/null)
    if [[ "$corrected" != "bhaarat ek vishaal desh hai. "*" aur hindee" ]] ||
      [[ "$corrected" == *" bhart "* ]]; then
      fail "the spelling menu's first correction left the English text '$corrected'"
    fi
  else
    fail "Ctrl+S after a correction opened no \"Save Text\" dialog"
  fi
  quit
fi

# 7. Documents LibreOffice wrote from an RTF fixture with a header, a footer,
#    a footnote, a table and a text box: each opens in the Editing Box from
#    the command line, a message lists what was left out, and the title names
#    the document.
fixture=$(dirname "$(realpath "$0")")/../documents/data/mixed.rtf
if command -v soffice >/dev/null && [ -f "$fixture" ]; then
  for format in docx odt; do
    soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to "$format" \
      --outdir "$work/lo" "$fixture" >/dev/null 2>&1
    document=$work/lo/mixed.$format
    [ -f "$document" ] || { fail "soffice wrote no $format"; continue; }
    "$program" "$document" >>"$work/program.log" 2>&1 &
    pid=$!
    if message=$(wait_window "$pid" "^mixed\\.$format - Kavelin$" yes); then
      sleep 0.5
      shot "office-$format-dropped"
      xdotool windowactivate --sync "$message" >/dev/null 2>&1
      xdotool key Return
    else
      fail "opening mixed.$format showed no message of what was left out"
    fi
    if main=$(wait_window "$pid" "^mixed\\.$format - Kavelin$"); then
      sleep 1
      shot "office-$format-opened"
      quit
    else
      fail "no main window titled mixed.$format"
      kill "$pid" 2>/dev/null
    fi
  done
else
  echo "skipped the office documents: soffice is not installed"
fi

if [ "$failures" -ne 0 ]; then
  echo "--- program output"; cat "$work/program.log"
  exit 1
fi
echo "desktop check passed"

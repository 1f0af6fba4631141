#!/usr/bin/env bash
# Uses the card window as a person would, from outside, on a private X server (Xvfb) with xdotool:
# the name dialog at its place, a refused name asked again with an empty box, a card drawn,
# "repeat" with the same name drawing the same picture, "save on C:\wimgx" writing exactly the
# picture on screen, "exit" ending the program with status 0; then a second start that clears a
# killed save's leftover, and the window manager's close request ending it while the dialog asks;
# then on small and scaled screens (1366 x 768 at 150 %, 1024 x 600 at 100 and 200 %) the whole
# window, the card in sharp whole screen pixels, and Print… through the print dialog.
#
# Usage: window_e2e.sh PATH/TO/newyear-card [PATH/TO/newyear-card-render]
# With the renderer given, the saved card is also compared with the renderer's card for the name:
# the same file, greeting included.
# Needs Xvfb, xdotool, xprop and xwininfo (x11-utils) and ImageMagick (import, compare, convert,
# identify). Set KEEP_E2E_FILES=1 to keep the screenshots of a failed run.
set -euo pipefail

program=${1:?usage: window_e2e.sh PATH/TO/newyear-card [PATH/TO/newyear-card-render]}
renderer=${2:-}
program=$(realpath "$program")
[ -x "$program" ] || { echo "FAIL: $program is not an executable" >&2; exit 1; }
for tool in Xvfb xdotool xprop xwininfo import compare convert identify timeout flock python3; do
  # A missing tool skips the test (exit status 77) rather than failing it.
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing" >&2; exit 77; }
done

# Places in the window's client area, in pixels.
readonly PICTURE_X=32 PICTURE_Y=24 PICTURE_W=700 PICTURE_H=525
readonly REPEAT_X=$((656 + 36)) REPEAT_Y=$((576 + 8))
readonly SAVE_X=$((616 + 56)) SAVE_Y=$((600 + 8))
readonly EXIT_X=$((696 + 16)) EXIT_Y=$((624 + 8))
# The dialog's corner: 500 and 8700 twips at 96 dots per inch.
readonly DIALOG_X=33 DIALOG_Y=580 DIALOG_SLACK=3
# The text box's blinking caret changes this many pixels of a dialog screenshot, and no more.
readonly CARET_PIXELS=20
readonly NAME=anna OTHER_NAME=bor REFUSED_NAME=Ana

work=$(mktemp -d "${TMPDIR:-/tmp}/window-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
holder=""
step="setting up"

# Ends a process this script started: politely, then after 5 s for sure.
stop() {
  local pid=$1 tries=0
  kill "$pid" 2>/dev/null || return 0
  while kill -0 "$pid" 2>/dev/null && [[ $(ps -o stat= -p "$pid" 2>/dev/null) != Z* ]] &&
    [ "$tries" -lt 50 ]; do
    sleep 0.1
    tries=$((tries + 1))
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

cleanup() {
  local status=$?
  [ -n "$app_pid" ] && stop "$app_pid"
  [ -n "$holder" ] && stop "$holder"
  [ -n "$xvfb_pid" ] && stop "$xvfb_pid"
  if [ "$status" -ne 0 ] && [ "${KEEP_E2E_FILES:-0}" = 1 ]; then
    echo "Files of the failed run kept in $work" >&2
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
# A test runner's deadline ends the script with a signal; clean up then too.
trap 'exit 143' TERM
trap 'exit 130' INT

fail() {
  echo "FAIL ($step): $*" >&2
  if [ -s "$work/program.log" ]; then
    echo "--- program output ---" >&2
    tail -n 20 "$work/program.log" >&2
  fi
  exit 1
}

# Runs an X client with a deadline; --sync and friends can otherwise wait for ever.
with_deadline() { timeout 10 "$@"; }

now_ms() { date +%s%3N; }

# Counts the pixels in which two images differ.
differing_pixels() {
  local count
  count=$(compare -metric AE "$1" "$2" null: 2>&1) || true
  # compare prints the count (in ImageMagick 6 sometimes as a float) or an error.
  [[ $count =~ ^[0-9.e+]+$ ]] || fail "compare could not compare $1 and $2: $count"
  printf '%.0f\n' "$count"
}

# Counts the pure white pixels of an image.
white_pixels() {
  convert "$1" -alpha off -fill black +opaque '#FFFFFF' -fill white -opaque '#FFFFFF' \
    -format '%[fx:round(mean*w*h)]' info:
}

# Screenshot of a part of the screen: screenshot FILE X Y WIDTH HEIGHT.
screenshot() {
  with_deadline import -window root -crop "$4x$5+$2+$3" +repage "$1" 2>>"$work/import.log" ||
    fail "could not take a screenshot"
}

program_running() {
  local state
  state=$(ps -o stat= -p "$app_pid" 2>/dev/null) || return 1
  [[ $state != Z* ]]
}

# The program's viewable modal window (the name dialog), or nothing.
find_dialog() {
  local id
  for id in $(with_deadline xdotool search --pid "$app_pid" 2>/dev/null || true); do
    with_deadline xwininfo -id "$id" 2>/dev/null | grep -q 'Map State: IsViewable' || continue
    with_deadline xprop -id "$id" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_MODAL ||
      continue
    echo "$id"
    return 0
  done
}

# Waits for a name dialog other than the window `$1` (empty: any) and prints its id.
wait_for_dialog() {
  local not=$1 deadline=$(($(now_ms) + 20000)) id
  while [ "$(now_ms)" -lt "$deadline" ]; do
    program_running || fail "the program ended while a name dialog was expected"
    id=$(find_dialog)
    if [ -n "$id" ] && [ "$id" != "$not" ]; then
      echo "$id"
      return 0
    fi
    sleep 0.1
  done
  fail "no name dialog within 20 s"
}

wait_for_no_dialog() {
  local deadline=$(($(now_ms) + 10000))
  while [ "$(now_ms)" -lt "$deadline" ]; do
    [ -z "$(find_dialog)" ] && return 0
    sleep 0.1
  done
  fail "the name dialog did not close"
}

# Prints "X Y WIDTH HEIGHT" of a window.
window_geometry() {
  local shell X="" Y="" WIDTH="" HEIGHT=""
  shell=$(with_deadline xdotool getwindowgeometry --shell "$1") || fail "no geometry for window $1"
  # The output also sets WINDOW and SCREEN; only the place and size are wanted.
  eval "$(grep -E '^(X|Y|WIDTH|HEIGHT)=[0-9]+$' <<<"$shell")"
  if [ -z "$X" ] || [ -z "$Y" ] || [ -z "$WIDTH" ] || [ -z "$HEIGHT" ]; then
    fail "no geometry for window $1"
  fi
  echo "$X $Y $WIDTH $HEIGHT"
}

# Waits up to 20 s for the card file the "save" button writes into the folder `$1`, and puts its
# path in `saved`, after letting the save finish (the file is put in place whole).
wait_for_saved_card() {
  local folder=$1 deadline=$(($(now_ms) + 20000))
  saved=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    program_running || fail "the program ended while saving"
    saved=$(find "$folder" -maxdepth 1 -name 'T*.bmp' 2>/dev/null | head -n 1)
    [ -n "$saved" ] && break
    sleep 0.2
  done
  [ -n "$saved" ] || fail "no card file appeared in $folder within 20 s"
  sleep 0.5
}

# Waits until the picture area shows a new finished card: no longer the picture in the file `$2`
# that it showed before, not changing any more, and with the greeting's white glyphs. Leaves it in
# the file `$1`.
wait_for_card() {
  local out=$1 before=$2 deadline=$(($(now_ms) + 60000)) previous="$work/previous.png"
  local changed renewed white
  screenshot "$previous" "$picture_left" "$picture_top" "$PICTURE_W" "$PICTURE_H"
  while [ "$(now_ms)" -lt "$deadline" ]; do
    program_running || fail "the program ended while drawing a card"
    sleep 0.5
    screenshot "$out" "$picture_left" "$picture_top" "$PICTURE_W" "$PICTURE_H"
    changed=$(differing_pixels "$previous" "$out")
    renewed=$(differing_pixels "$before" "$out")
    if [ "$changed" -eq 0 ] && [ "$renewed" -gt 0 ]; then
      convert "$out" -crop 400x24+10+488 +repage "$work/band.png"
      white=$(white_pixels "$work/band.png")
      [ "$white" -gt 50 ] && return 0
    fi
    cp "$out" "$previous"
  done
  fail "no new finished card within 60 s (the picture kept changing, stayed the old one or shows no greeting)"
}

# The inside of the text box of dialog `$1` standing at row `$2`, `$3` rows high, where typed
# text shows: the box stands above the buttons at the dialog's bottom, so the reason line that a
# refusal adds above it does not move it from there.
box_area() { echo "$((dialog_x + 12)) $(($2 + $3 - 60)) 140 14"; }

# Answers the open dialog `$1` with the text `$2` and Return.
answer_dialog() {
  local typed geometry y h
  geometry=$(window_geometry "$1")
  read -r _ y _ h <<<"$geometry"
  with_deadline xdotool type --delay 20 "$2" || fail "could not type '$2'"
  sleep 0.2
  screenshot "$work/typed.png" $(box_area "$1" "$y" "$h")
  typed=$(differing_pixels "$work/empty-dialog.png" "$work/typed.png")
  [ "$typed" -gt "$CARET_PIXELS" ] || fail "typing '$2' did not reach the dialog's text box"
  # Return goes to the focused window: the dialog closes before a key sent to it by id is done.
  with_deadline xdotool key Return || fail "could not press Return"
}

# Waits for the name dialog, answers it with `$1` and waits until it has gone.
enter_name() {
  local dialog
  dialog=$(wait_for_dialog "")
  answer_dialog "$dialog" "$1"
  wait_for_no_dialog
}

click() {
  with_deadline xdotool mousemove "$((window_x + $1))" "$((window_y + $2))" click 1 ||
    fail "could not click at ($1, $2) of the window"
}

# The buttons in the screenshot `$1`, the card's area `$2` (WIDTHxHEIGHT+X+Y) left out: light
# rectangles at least 20 x 12 pixels and mostly filled, one "X Y WIDTH HEIGHT" line each, narrowest
# first. Light text (the finished card's mark, the status line) is smaller or thinner.
find_buttons() {
  local area=$2 x0 y0 w h
  IFS='x+' read -r w h x0 y0 <<<"$area"
  convert "$1" -fill black -draw "rectangle $x0,$y0 $((x0 + w - 1)),$((y0 + h - 1))" \
    -colorspace gray -threshold 60% -define connected-components:verbose=true \
    -connected-components 4 null: |
    awk '$NF ~ /\(255/ {
      split($2, box, /[x+]/)
      if (box[1] >= 20 && box[2] >= 12 && $4 * 2 >= box[1] * box[2])
        print box[3], box[4], box[1], box[2]
    }' | sort -k3,3n
}

# Whether the screen shows the card `$1` (a BMP) whole at `$2` (X Y) with each card pixel a square
# of `$3` x `$3` screen pixels: prints the number of card pixels that differ, or "blurred" when a
# square is not one colour.
card_on_screen() {
  local card=$1 x=$2 y=$3 k=$4 w h
  read -r w h < <(identify -format '%w %h\n' "$card")
  screenshot "$work/card-area.png" "$x" "$y" $((w * k)) $((h * k))
  convert "$work/card-area.png" -sample "${w}x${h}" "$work/card-pixels.png"
  convert "$work/card-pixels.png" -sample $((w * k))x$((h * k)) "$work/card-squares.png"
  if [ "$(differing_pixels "$work/card-area.png" "$work/card-squares.png")" -ne 0 ]; then
    echo blurred
    return
  fi
  differing_pixels "$work/card-pixels.png" "$card"
}

# The one image of the PDF `$1`, written to `$2` as a PPM file; fails unless it is stored
# losslessly as 8-bit RGB.
pdf_image() {
  python3 - "$1" "$2" <<'PYTHON'
import re, sys, zlib
data = open(sys.argv[1], "rb").read()
images = [m for m in re.finditer(rb"<<((?:(?!>>).)*?/Subtype\s*/Image(?:(?!>>).)*)>>\s*stream\r?\n",
                                 data, re.S)]
if len(images) != 1:
    sys.exit(f"{len(images)} images in the PDF, not one")
head = images[0].group(1)
number = lambda key: int(re.search(rb"/" + key + rb"\s+(\d+)", head).group(1))
if not re.search(rb"/Filter\s*/FlateDecode", head) or number(b"BitsPerComponent") != 8 or \
        not re.search(rb"/ColorSpace\s*/DeviceRGB", head):
    sys.exit("the image is not lossless 8-bit RGB: " + head.decode("latin-1"))
width, height = number(b"Width"), number(b"Height")
pixels = zlib.decompressobj().decompress(data[images[0].end():])
if len(pixels) < width * height * 3:
    sys.exit("the image's data is cut short")
with open(sys.argv[2], "wb") as out:
    out.write(b"P6 %d %d 255\n" % (width, height) + pixels[:width * height * 3])
PYTHON
}

# Starts the program in its own home folder `$1` (other settings may follow as NAME=VALUE), with
# window pixels as screen pixels; its id goes to app_pid.
start_program() {
  local home=$1
  shift
  mkdir -p "$home"
  env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_FONT_DPI \
    -u QT_QPA_PLATFORM -u LANGUAGE QT_ENABLE_HIGHDPI_SCALING=0 HOME="$home" \
    XDG_RUNTIME_DIR="$work/runtime" "$@" "$program" >"$work/program.log" 2>&1 &
  app_pid=$!
}

# Waits up to 10 s for the program to end after `$1` and expects status 0.
expect_ended_after() {
  local deadline=$(($(now_ms) + 10000)) status=0
  while program_running && [ "$(now_ms)" -lt "$deadline" ]; do sleep 0.1; done
  program_running && fail "the program still runs 10 s after $1"
  wait "$app_pid" || status=$?
  app_pid=""
  [ "$status" -eq 0 ] || fail "the program ended with status $status after $1"
}

# --- The X server -------------------------------------------------------------------------------
# Starts a private X server with one screen of `$1` (WIDTHxHEIGHT) pixels, ending any earlier one.
start_xvfb() {
  [ -n "$xvfb_pid" ] && stop "$xvfb_pid"
  step="starting Xvfb at $1"
  # Xvfb picks a free display and writes its number once it accepts clients; -noreset keeps it from
  # resetting when its last client leaves.
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset 3>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  local deadline=$(($(now_ms) + 20000)) display=""
  while [ "$(now_ms)" -lt "$deadline" ]; do
    display=$(head -n 1 "$work/display" 2>/dev/null || true)  # the file may not exist yet
    [[ $display =~ ^[0-9]+$ ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || fail "Xvfb stopped: $(tail -n 3 "$work/xvfb.log")"
    sleep 0.1
  done
  [[ $display =~ ^[0-9]+$ ]] || fail "Xvfb did not start within 20 s"
  export DISPLAY=":$display"
  unset XAUTHORITY
}
start_xvfb 1280x1024

# --- The program --------------------------------------------------------------------------------
step="starting the program"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
# Window pixels are screen pixels; the program finds its save folder under HOME.
start_program "$work/home"

step="first name dialog"
dialog=$(wait_for_dialog "")
geometry=$(window_geometry "$dialog")
read -r dialog_x dialog_y dialog_w dialog_h <<<"$geometry"
if [ $((dialog_x - DIALOG_X)) -lt -$DIALOG_SLACK ] || [ $((dialog_x - DIALOG_X)) -gt $DIALOG_SLACK ] ||
  [ $((dialog_y - DIALOG_Y)) -lt -$DIALOG_SLACK ] || [ $((dialog_y - DIALOG_Y)) -gt $DIALOG_SLACK ]; then
  fail "the dialog stands at ($dialog_x, $dialog_y), not near ($DIALOG_X, $DIALOG_Y)"
fi
echo "name dialog at ($dialog_x, $dialog_y), $dialog_w x $dialog_h"

step="main window"
window=$(with_deadline xdotool search --all --pid "$app_pid" --name '^Form1$' | head -n 1) ||
  fail "no main window"
[ -n "$window" ] || fail "no main window"
geometry=$(window_geometry "$window")
read -r window_x window_y window_w window_h <<<"$geometry"
if [ "$window_w" -lt 732 ] || [ "$window_h" -lt 641 ]; then
  fail "the window is $window_w x $window_h, too small for its controls"
fi
picture_left=$((window_x + PICTURE_X))
picture_top=$((window_y + PICTURE_Y))
echo "main window at ($window_x, $window_y), $window_w x $window_h"
# The desktop finds the window's icon and menu entry: the icon's pixels and the entry's name.
# They are set just after the window appears.
icon_deadline=$(($(now_ms) + 10000))
until with_deadline xprop -id "$window" _NET_WM_ICON | grep -q "Icon ("; do
  [ "$(now_ms)" -lt "$icon_deadline" ] || fail "the window has no icon"
  sleep 0.1
done
with_deadline xprop -id "$window" WM_CLASS | grep -q '"newyear-card"' ||
  fail "the window's class does not name the program"

step="refused name"
sleep 0.3  # let the dialog paint
screenshot "$work/empty-dialog.png" $(box_area "$dialog" "$dialog_y" "$dialog_h")
answer_dialog "$dialog" "$REFUSED_NAME"
second=$(wait_for_dialog "$dialog")
geometry=$(window_geometry "$second")
read -r second_x second_y second_w second_h <<<"$geometry"
[ "$second_x $second_y" = "$dialog_x $dialog_y" ] ||
  fail "the dialog came back at ($second_x, $second_y), not at ($dialog_x, $dialog_y)"
# Asked again, it says why on a line of its own under the prompt: it is taller by that line.
[ "$second_h" -gt "$dialog_h" ] || fail "the dialog came back without a reason ($second_h rows high)"
sleep 0.3
screenshot "$work/second-dialog.png" $(box_area "$second" "$second_y" "$second_h")
difference=$(differing_pixels "$work/empty-dialog.png" "$work/second-dialog.png")
[ "$difference" -le "$CARET_PIXELS" ] ||
  fail "the dialog came back with its box not empty ($difference pixels differ)"
echo "'$REFUSED_NAME' refused; the dialog came back empty, with its reason"

step="first card"
answer_dialog "$second" "$NAME"
wait_for_no_dialog
convert -size "${PICTURE_W}x${PICTURE_H}" xc:black "$work/black.png"
wait_for_card "$work/card.png" "$work/black.png"
coloured=$(differing_pixels "$work/card.png" "$work/black.png")
[ "$coloured" -gt $((PICTURE_W * PICTURE_H / 2)) ] ||
  fail "the picture is mostly black ($coloured pixels not black)"
echo "card for '$NAME' drawn"

step="repeat with another name"
click "$REPEAT_X" "$REPEAT_Y"
enter_name "$OTHER_NAME"
wait_for_card "$work/other-card.png" "$work/card.png"
difference=$(differing_pixels "$work/card.png" "$work/other-card.png")
[ "$difference" -gt 1000 ] || fail "'repeat' with another name drew the same picture"
echo "'repeat': card for '$OTHER_NAME' drawn"

step="repeat with the same name"
click "$REPEAT_X" "$REPEAT_Y"
enter_name "$NAME"
wait_for_card "$work/card-again.png" "$work/other-card.png"
difference=$(differing_pixels "$work/card.png" "$work/card-again.png")
[ "$difference" -eq 0 ] || fail "the same name drew a different picture ($difference pixels differ)"
echo "'repeat': '$NAME' drew the identical picture"

step="save"
click "$SAVE_X" "$SAVE_Y"
wait_for_saved_card "$work/home/wimgx"
[[ $(basename "$saved") =~ ^T[0-9]{14}\.bmp$ ]] || fail "the card file is named $(basename "$saved")"
size=$(identify -format '%m %w x %h' "$saved") || fail "the saved file is not an image"
# ImageMagick names the Windows 3 bitmap header BMP3.
[[ $size =~ ^BMP[23]?\ $PICTURE_W\ x\ $PICTURE_H$ ]] || fail "the saved file is $size"
convert "$saved" -alpha off "$work/saved.png"
screenshot "$work/card-at-save.png" "$picture_left" "$picture_top" "$PICTURE_W" "$PICTURE_H"
difference=$(differing_pixels "$work/saved.png" "$work/card-at-save.png")
[ "$difference" -eq 0 ] || fail "the saved card differs from the screen in $difference pixels"
# The progress mark ends under the right end of the picture.
screenshot "$work/mark.png" "$((window_x + 728))" "$((window_y + 562))" 4 1
white=$(white_pixels "$work/mark.png")
[ "$white" -eq 2 ] || fail "the progress mark is not at columns 730 and 731"
if [ -n "$renderer" ]; then
  # The whole card, greeting included, is the core's: the renderer makes the same file without any
  # font, while the window has the machine's.
  printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >"$work/no-fonts.conf"
  FONTCONFIG_FILE="$work/no-fonts.conf" "$renderer" --name "$NAME" --out "$work/rendered.bmp" \
    >/dev/null 2>&1 || fail "the renderer could not draw '$NAME'"
  difference=$(differing_pixels "$saved" "$work/rendered.bmp")
  [ "$difference" -eq 0 ] || fail "the saved card differs from the rendered one in $difference pixels"
  cmp -s "$saved" "$work/rendered.bmp" || fail "the saved file is not byte for byte the rendered one"
fi
echo "saved $(basename "$saved"), equal to the screen"

if command -v xclip >/dev/null; then
  step="copy"
  # Keys go to the focused window: a click on the window's black floor gives it the focus.
  click 100 650
  with_deadline xdotool key ctrl+c || fail "could not press Ctrl+C"
  sleep 0.5
  timeout 10 xclip -selection clipboard -t image/png -o >"$work/clipboard.png" ||
    fail "the clipboard holds no PNG image after Ctrl+C"
  difference=$(differing_pixels "$work/clipboard.png" "$work/saved.png")
  [ "$difference" -eq 0 ] || fail "the copied card differs from the saved one in $difference pixels"
  echo "Ctrl+C put the card on the clipboard"
fi

step="save as"
# Ctrl+Shift+S opens the file dialog on the person's name; a path typed over it is where the PNG
# goes, and the window then says so under the card.
mkdir -p "$work/chosen"
click 100 650
with_deadline xdotool key ctrl+shift+s || fail "could not press Ctrl+Shift+S"
file_dialog=$(wait_for_dialog "")
sleep 0.5
with_deadline xdotool key ctrl+a || fail "could not select the file name"
with_deadline xdotool type --delay 10 "$work/chosen/card of anna.png" || fail "could not type a path"
with_deadline xdotool key Return || fail "could not press Return"
deadline=$(($(now_ms) + 10000))
until [ -f "$work/chosen/card of anna.png" ] || [ "$(now_ms)" -gt "$deadline" ]; do sleep 0.2; done
[ -f "$work/chosen/card of anna.png" ] || fail "Save as… wrote no file where it was told"
difference=$(differing_pixels "$work/chosen/card of anna.png" "$work/saved.png")
[ "$difference" -eq 0 ] || fail "the card saved as PNG differs from the saved BMP in $difference pixels"
wait_for_no_dialog
echo "Save as… wrote the card as a PNG into the chosen folder"

step="exit"
click "$EXIT_X" "$EXIT_Y"
expect_ended_after "'exit'"
echo "'exit' ended the program with status 0"

# The window in each of its languages makes the same card and saves the same file.
for locale in sl_SI.UTF-8 de_DE.UTF-8; do
  step="the card in $locale"
  start_program "$work/home-$locale" LC_ALL="$locale"
  enter_name "$NAME"
  wait_for_card "$work/card-$locale.png" "$work/black.png"
  difference=$(differing_pixels "$work/card.png" "$work/card-$locale.png")
  [ "$difference" -eq 0 ] || fail "the card differs from the English one in $difference pixels"
  click "$SAVE_X" "$SAVE_Y"
  wait_for_saved_card "$work/home-$locale/wimgx"
  if [ -n "$renderer" ]; then
    cmp -s "$saved" "$work/rendered.bmp" || fail "the saved file is not the rendered one"
  fi
  click "$EXIT_X" "$EXIT_Y"
  expect_ended_after "'exit'"
  echo "$locale: the same card, saved as the same file"
done

# --- Leftovers and a close request while asking ----------------------------------------------------
# Start-up removes the temporary file of a save that was killed outright and keeps the one whose
# writer still holds it; the window manager's close request (WM_DELETE_WINDOW, as the frame's
# close control sends it) ends the program also while the name dialog asks.
step="leftovers at start-up"
temp_name() {
  python3 -c '
import sys
name = "." + sys.argv[1] + ".newyear-card-" + sys.argv[2]
check = 2166136261
for byte in name.encode():
    check = ((check ^ byte) * 16777619) & 0xFFFFFFFF
print(name + "%04x" % ((check ^ (check >> 16)) & 0xFFFF))' "$@"
}
dead="$work/home/wimgx/$(temp_name T20261231235958.bmp 0badcafe)"
live="$work/home/wimgx/$(temp_name T20261231235959.bmp 5eedf00d)"
echo part >"$dead"
echo part >"$live"
python3 -c 'import fcntl, sys, time
held = open(sys.argv[1])
fcntl.flock(held, fcntl.LOCK_EX)
time.sleep(60)' "$live" &
holder=$!
until ! flock -n "$live" true 2>/dev/null; do sleep 0.1; done
start_program "$work/home"
dialog=$(wait_for_dialog "")
[ ! -e "$dead" ] || fail "the leftover of a killed save is still there"
[ -e "$live" ] || fail "start-up removed a temporary file whose writer still holds it"
stop "$holder"
holder=""
echo "start-up removed the dead save's leftover and kept the live one"

step="close request while asking"
window=$(with_deadline xdotool search --all --pid "$app_pid" --name '^Form1$' | head -n 1) ||
  fail "no main window"
python3 -c '
import ctypes, sys
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XOpenDisplay.argtypes = [ctypes.c_char_p]
x.XInternAtom.restype = ctypes.c_ulong
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
x.XFlush.argtypes = x.XCloseDisplay.argtypes = [ctypes.c_void_p]
class ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5)]
display = x.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
message = ClientMessage(type=33, window=int(sys.argv[1]), format=32)  # ClientMessage
message.message_type = x.XInternAtom(display, b"WM_PROTOCOLS", 0)
message.data[0] = x.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
event = (ctypes.c_long * 24)()
ctypes.memmove(event, ctypes.byref(message), ctypes.sizeof(message))
x.XSendEvent(display, int(sys.argv[1]), 0, 0, event)
x.XFlush(display)
x.XCloseDisplay(display)' "$window" || fail "could not send the close request"
expect_ended_after "a close request while asking"
echo "a close request while asking ended the program with status 0"
# --- Small and scaled screens ---------------------------------------------------------------------
# Each screen shows the whole window: the card, reduced back to card pixels, is the renderer's, each
# of its pixels a sharp square of whole screen pixels; the three buttons are on the screen and work;
# Print… writes the card through the print dialog into a PDF, pixel for pixel.
# Screen, display scaling, screen pixels per card pixel, the card's corner in the window.
readonly SCREENS=(
  "1366x768 1.5 1 48 36"
  "1024x600 1 1 32 24"
  "1024x600 2 1 64 48"
)
if [ -z "$renderer" ]; then
  echo "small and scaled screens: skipped, they compare the card with the renderer's" >&2
  screens_to_try=()
else
  screens_to_try=("${SCREENS[@]}")
fi
for row in "${screens_to_try[@]}"; do
  read -r screen scale factor card_x card_y <<<"$row"
  start_xvfb "$screen"
  step="$screen at $scale: the card"
  home="$work/home-$screen-$scale"
  start_program "$home" QT_ENABLE_HIGHDPI_SCALING=1 QT_SCALE_FACTOR="$scale"
  wait_for_dialog "" >/dev/null
  with_deadline xdotool type --delay 20 "$NAME" || fail "could not type '$NAME'"
  with_deadline xdotool key Return || fail "could not press Return"
  wait_for_no_dialog
  window=$(with_deadline xdotool search --all --pid "$app_pid" --name '^Form1$' | head -n 1) ||
    fail "no main window"
  read -r window_x window_y window_w window_h <<<"$(window_geometry "$window")"
  screen_w=${screen%x*} screen_h=${screen#*x}
  if [ $((window_x + window_w)) -gt "$screen_w" ] ||
    [ $((window_y + window_h)) -gt "$screen_h" ]; then
    fail "the window ($window_w x $window_h at $window_x, $window_y) juts out of the screen"
  fi
  deadline=$(($(now_ms) + 60000))
  while :; do
    shown=$(card_on_screen "$work/rendered.bmp" $((window_x + card_x)) $((window_y + card_y)) \
      "$factor")
    [ "$shown" = 0 ] && break
    program_running || fail "the program ended while drawing a card"
    [ "$(now_ms)" -lt "$deadline" ] ||
      fail "the screen does not show the rendered card within 60 s ($shown pixels differ)"
    sleep 0.5
  done
  echo "$screen at $scale: the card at $factor screen pixel(s) per card pixel, as rendered"

  step="$screen at $scale: the buttons"
  screenshot "$work/screen.png" 0 0 "$screen_w" "$screen_h"
  mapfile -t buttons < <(find_buttons "$work/screen.png" \
    "$((700 * factor))x$((525 * factor))+$((window_x + card_x))+$((window_y + card_y))")
  [ "${#buttons[@]}" -eq 3 ] || fail "${#buttons[@]} buttons on the screen, not 3: ${buttons[*]}"
  for button in "${buttons[@]}"; do
    read -r x y w h <<<"$button"
    if [ "$x" -le "$window_x" ] || [ "$y" -le "$window_y" ] ||
      [ $((x + w)) -ge $((window_x + window_w)) ] ||
      [ $((y + h)) -ge $((window_y + window_h)) ]; then
      fail "a button ($w x $h at $x, $y) is cut off by the window's edge"
    fi
  done
  # The narrowest is exit, the widest save.
  read -r exit_x exit_y exit_w exit_h <<<"${buttons[0]}"
  read -r save_x save_y save_w save_h <<<"${buttons[2]}"

  step="$screen at $scale: print"
  # Keys go to the focused window: a click on the window's black floor gives it the focus.
  with_deadline xdotool mousemove $((window_x + 5)) $((window_y + window_h - 5)) click 1 ||
    fail "could not click the window's floor"
  with_deadline xdotool key ctrl+p || fail "could not press Ctrl+P"
  wait_for_dialog "" >/dev/null
  sleep 0.5
  # The output file's box, by its label's mnemonic; Return prints.
  with_deadline xdotool key alt+f ctrl+a || fail "could not reach the output file's box"
  with_deadline xdotool type --delay 10 "$home/printed card.pdf" || fail "could not type a path"
  with_deadline xdotool key Return || fail "could not press Return"
  deadline=$(($(now_ms) + 20000))
  until [ -s "$home/printed card.pdf" ] || [ "$(now_ms)" -gt "$deadline" ]; do sleep 0.2; done
  [ -s "$home/printed card.pdf" ] || fail "Print… wrote no PDF where it was told"
  wait_for_no_dialog
  pdf_image "$home/printed card.pdf" "$work/printed.ppm" || fail "no card in the PDF"
  difference=$(differing_pixels "$work/printed.ppm" "$work/rendered.bmp")
  [ "$difference" -eq 0 ] ||
    fail "the printed card differs from the rendered one in $difference pixels"
  echo "$screen at $scale: printed through the print dialog, the PDF holds the card"

  step="$screen at $scale: save and exit"
  with_deadline xdotool mousemove $((save_x + save_w / 2)) $((save_y + save_h / 2)) click 1 ||
    fail "could not click 'save'"
  wait_for_saved_card "$home/wimgx"
  cmp -s "$saved" "$work/rendered.bmp" || fail "the saved file is not the rendered one"
  with_deadline xdotool mousemove $((exit_x + exit_w / 2)) $((exit_y + exit_h / 2)) click 1 ||
    fail "could not click 'exit'"
  expect_ended_after "'exit'"
  echo "$screen at $scale: the three buttons on screen (${buttons[*]});" \
    "'save' saved the card, 'exit' ended"
done
echo "PASS"

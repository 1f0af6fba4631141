#!/usr/bin/env bash
# The headless renderer as a person or a script uses it: single cards, recipes, refused names, bad
# files and batches, each checked from outside through the files it writes and what it says.
#
#   tests/renderer/render_cli_test.sh build/newyear-card-render
#
# Pictures are decoded with Pillow, which Debian's /usr/bin/python3 has (python3-pil). Without it
# the test is skipped: exit status 77.
set -u

render=${1:?usage: render_cli_test.sh PATH/TO/newyear-card-render}
render=$(realpath "$render")
python=/usr/bin/python3
if ! "$python" -c 'import PIL' 2>/dev/null; then
  echo "render_cli_test: skipped: $python cannot import PIL; install python3-pil" >&2
  exit 77
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/render-cli-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

passed=0
failed=0
pass() { passed=$((passed + 1)); }
fail() {
  failed=$((failed + 1))
  echo "FAIL: $*" >&2
}

# Runs the renderer with stdin from /dev/null unless redirected by the caller; leaves the exit
# status in $status and what it printed in out.txt and err.txt.
status=0
run() {
  "$render" "$@" >out.txt 2>err.txt
  status=$?
}
run_stdin() {
  local input=$1
  shift
  "$render" "$@" <"$input" >out.txt 2>err.txt
  status=$?
}
said() { grep -qiE -- "$1" err.txt; }
show_err() { sed 's/^/    /' err.txt >&2; }

# Picture and recipe questions, answered by Pillow and the json module.
cat >tool.py <<'PY'
import json, math, sys
from PIL import Image

def pixels(path):
    with Image.open(path) as image:
        return image.size, image.convert("RGB").tobytes()

command, args = sys.argv[1], sys.argv[2:]
if command == "size":
    print("%dx%d" % pixels(args[0])[0])
elif command == "same":
    (size_a, a), (size_b, b) = pixels(args[0]), pixels(args[1])
    if size_a != size_b:
        sys.exit("sizes differ: %s and %s" % (size_a, size_b))
    if a != b:
        first = next(k for k in range(len(a)) if a[k] != b[k]) // 3
        count = sum(1 for k in range(0, len(a), 3) if a[k:k + 3] != b[k:k + 3])
        sys.exit("%d pixels differ, the first at (%d, %d)"
                 % (count, first % size_a[0], first // size_a[0]))
elif command == "same-above":
    # same-above A B ROW: the pictures agree on every row above ROW
    (size_a, a), (size_b, b) = pixels(args[0]), pixels(args[1])
    end = int(args[2]) * size_a[0] * 3
    if size_a != size_b or a[:end] != b[:end]:
        sys.exit("they differ above row " + args[2])
    if a == b:
        sys.exit("they are equal, greeting line included")
elif command == "check-recipe":
    recipe = json.load(open(args[0]))
    expected_name = args[1]
    keys = ["name", "seed", "draws", "pmin", "pspan", "per1", "per2", "per3", "ph1", "ph2",
            "ph3", "wl1", "wl2", "wl3", "tip1", "tip2", "tip3", "pozic0", "fi0", "r0",
            "korakfi1", "fak1", "fak2", "fak3"]
    missing = [key for key in keys if key not in recipe]
    if missing:
        sys.exit("missing keys: " + ", ".join(missing))
    if recipe["name"] != expected_name:
        sys.exit("name is %r, not %r" % (recipe["name"], expected_name))
    if not isinstance(recipe["seed"], int):
        sys.exit("seed is not a whole number: %r" % recipe["seed"])
    draws = recipe["draws"]
    if not (isinstance(draws, list) and len(draws) == 20):
        sys.exit("draws is not a list of 20: %r" % draws)
    for k, draw in enumerate(draws):
        if isinstance(draw, bool) or not isinstance(draw, (int, float)) or not 0 <= draw < 1:
            sys.exit("draw %d is not a number in [0, 1): %r" % (k + 1, draw))
    for key in keys[3:]:
        value = recipe[key]
        if isinstance(value, bool) or not isinstance(value, (int, float)) or not math.isfinite(value):
            sys.exit("%s is not a number: %r" % (key, value))
elif command == "get":
    print(json.load(open(args[0]))[args[1]])
elif command == "set-draw":
    # set-draw IN OUT INDEX VALUE, VALUE being JSON (a number, a string, ...)
    recipe = json.load(open(args[0]))
    recipe["draws"][int(args[2])] = json.loads(args[3])
    json.dump(recipe, open(args[1], "w"))
elif command == "drop":
    # drop IN OUT KEY
    recipe = json.load(open(args[0]))
    del recipe[args[2]]
    json.dump(recipe, open(args[1], "w"))
elif command == "shorten":
    recipe = json.load(open(args[0]))
    recipe["draws"].pop()
    json.dump(recipe, open(args[1], "w"))
else:
    sys.exit("unknown command " + command)
PY
tool() { "$python" tool.py "$@"; }

# A card expected to be written: exit 0 and a 700 x 525 picture.
expect_card() {
  local what=$1 file=$2
  if [ "$status" -ne 0 ]; then
    fail "$what: exit status $status"
    show_err
    return 1
  fi
  if [ ! -s "$file" ]; then
    fail "$what: $file was not written"
    return 1
  fi
  local size
  size=$(tool size "$file" 2>&1)
  if [ "$size" != "700x525" ]; then
    fail "$what: $file decodes to '$size', not 700x525"
    return 1
  fi
  pass
}

# A run expected to be turned down: a non-zero status from the program itself (not a signal), a
# message matching the pattern, and an output folder that stayed empty.
expect_refusal() {
  local what=$1 pattern=$2 folder=$3
  if [ "$status" -eq 0 ]; then
    fail "$what: exit status 0"
  elif [ "$status" -ge 128 ]; then
    fail "$what: the renderer crashed (exit status $status)"
    show_err
  elif ! said "$pattern"; then
    fail "$what: the message does not match /$pattern/"
    show_err
  elif [ -n "$(ls -A "$folder")" ]; then
    fail "$what: left files behind: $(ls -A "$folder" | tr '\n' ' ')"
  else
    pass
  fi
}

same_bytes() {
  local what=$1
  if cmp -s "$2" "$3"; then pass; else fail "$what: $2 and $3 differ"; fi
}
same_pixels() {
  local what=$1 why
  if why=$(tool same "$2" "$3" 2>&1); then pass; else fail "$what: $2 and $3: $why"; fi
}

# --- help -----------------------------------------------------------------------------------
run --help
if [ "$status" -eq 0 ]; then pass; else fail "--help exits with $status"; fi
for option in --name --out --recipe --from-recipe --threads --names --out-dir --format --jobs \
  --address --version --help; do
  if grep -qE -- "(^|[^-a-z])$option([^-a-z]|\$)" out.txt; then
    pass
  else
    fail "--help does not mention $option"
  fi
done

# --- one card -------------------------------------------------------------------------------
run --name "ana novak" --out novak.bmp
expect_card "a card as BMP" novak.bmp
run --name "ana novak" --out novak.png
expect_card "a card as PNG" novak.png
same_pixels "the BMP and the PNG of one name" novak.bmp novak.png
run --name "ana novak" --out novak-again.bmp
expect_card "the same name again" novak-again.bmp
same_bytes "the same name twice" novak.bmp novak-again.bmp

run --name ab --out ab.bmp
expect_card "ab" ab.bmp
run --name ba --out ba.bmp
expect_card "ba" ba.bmp
# The letters of "ab" and "ba" give the same seed and so the same picture; only the greeting
# line, which starts with the name, tells the two apart.
if why=$(tool same-above ab.bmp ba.bmp 488 2>&1); then pass; else fail "ab and ba: $why"; fi
if cmp -s ab.bmp novak.bmp; then fail "different names gave the same card"; else pass; fi

run --name "ana novak" --threads 1 --out threads1.bmp
expect_card "--threads 1" threads1.bmp
run --name "ana novak" --threads 2 --out threads2.bmp
expect_card "--threads 2" threads2.bmp
same_bytes "--threads 1 and --threads 2" threads1.bmp threads2.bmp
same_bytes "--threads 1 and the default thread count" threads1.bmp novak.bmp

run --name '' --out empty.bmp
expect_card "the empty name" empty.bmp
run --name "$(printf 'z%.0s' {1..100})" --out hundred.bmp
expect_card "a name of 100 letters" hundred.bmp

# --- recipes --------------------------------------------------------------------------------
run --name "ana novak" --out recipe-card.bmp --recipe novak.json
expect_card "a card with its recipe" recipe-card.bmp
if why=$(tool check-recipe novak.json "ana novak" 2>&1); then
  pass
else
  fail "the recipe: $why"
fi
same_bytes "writing the recipe leaves the card as it was" recipe-card.bmp novak.bmp
run --from-recipe novak.json --out from-recipe.bmp --recipe from-recipe.json
expect_card "a card from a recipe" from-recipe.bmp
same_bytes "the card made from its own recipe" from-recipe.bmp novak.bmp
same_bytes "the recipe of a card made from a recipe" from-recipe.json novak.json

# Draw 12 picks the shape formula: tip1 = Int(draw * 15 + 1). Move it to the next formula.
tip1=$(tool get novak.json tip1)
tip1=${tip1%.0}
new_tip1=$((tip1 % 15 + 1))
new_draw=$(awk -v t="$new_tip1" 'BEGIN { printf "%.6f", (t - 0.5) / 15 }')
tool set-draw novak.json forced.json 11 "$new_draw"
run --from-recipe forced.json --out forced.bmp --recipe forced-out.json
expect_card "a card with a forced formula" forced.bmp
if cmp -s forced.bmp novak.bmp; then
  fail "forcing formula $new_tip1 instead of $tip1 left the picture as it was"
else
  pass
fi
forced_tip1=$(tool get forced-out.json tip1 2>&1)
if [ "${forced_tip1%.0}" = "$new_tip1" ]; then
  pass
else
  fail "draw 12 set to $new_draw gives tip1 $forced_tip1, expected $new_tip1"
fi

# --- refused names --------------------------------------------------------------------------
mkdir refused
tab_name=$(printf 'a\tb')
long_name=$(printf 'a%.0s' {1..101})
check_refused_name() {
  local name=$1 shown=$2 pattern=$3
  run --name "$name" --out refused/card.bmp --recipe refused/card.json
  expect_refusal "the name $shown" "$pattern" refused
  if [ "$status" -ne 0 ] && ! said "a to z"; then
    fail "the refusal of $shown does not say which characters are allowed"
    show_err
  fi
}
check_refused_name "Ana" "'Ana'" "'A'.*position 1"
check_refused_name "ana2" "'ana2'" "'2'.*position 4"
check_refused_name "j-k" "'j-k'" "'-'.*position 2"
check_refused_name "$tab_name" "with a tab" "tab.*position 2"
check_refused_name "č" "'č'" "'č'.*position 1"
check_refused_name "$long_name" "of 101 letters" "101.*100|100.*101"

# --- bad recipe files -----------------------------------------------------------------------
mkdir recipes bad
echo '{"name": "ana", "draws": [0.5,' >recipes/not-json.json
tool drop novak.json recipes/no-draws.json draws
tool drop novak.json recipes/no-name.json name
tool shorten novak.json recipes/19-draws.json
tool set-draw novak.json recipes/draw-one.json 4 1.0
tool set-draw novak.json recipes/draw-negative.json 6 -0.1
tool set-draw novak.json recipes/draw-text.json 2 '"0.5"'
check_bad_recipe() {
  local file=$1 pattern=$2
  run --from-recipe "recipes/$file" --out bad/card.bmp --recipe bad/card.json
  expect_refusal "the recipe $file" "$pattern" bad
}
check_bad_recipe not-json.json "JSON"
check_bad_recipe no-draws.json "draws"
check_bad_recipe no-name.json "name"
check_bad_recipe 19-draws.json "19"
check_bad_recipe draw-one.json "draw 5\b"
check_bad_recipe draw-negative.json "draw 7\b"
check_bad_recipe draw-text.json "draw 3\b"
check_bad_recipe missing.json "missing.json"

# --- output paths ---------------------------------------------------------------------------
run --name ana --out no-such-folder/card.bmp
expect_refusal "a card in a missing folder" "no-such-folder" refused
if [ -e no-such-folder ]; then fail "the missing output folder was created"; else pass; fi
run --name ana --out refused/card.gif
expect_refusal "a card with an unknown extension" "\.bmp|\.png" refused

# --- batches --------------------------------------------------------------------------------
# Line 3 is refused; line 2 is the empty name; every line ends in CR LF.
printf 'ab\r\n\r\nAna\r\nba\r\n' >names.txt
run --names names.txt --out-dir batch
if [ "$status" -ne 0 ] && [ "$status" -lt 128 ]; then
  pass
else
  fail "a batch with a refused line exits with $status, expected a non-zero status of its own"
fi
if said "line 3.*'A'.*position 1"; then
  pass
else
  fail "the batch does not report the refused line 3 and its character"
  show_err
fi
if said "line (1|2|4)\b"; then fail "the batch complains about an accepted line"; show_err; else pass; fi

# Checks that a batch folder holds one card per accepted line, named T<14 digits>-<line>, each
# equal to the single card of that line's name.
check_batch() {
  local what=$1 folder=$2 extension=$3
  shift 3
  local expected=("$@") listed
  listed=$(ls -A "$folder" 2>/dev/null | sort | tr '\n' ' ')
  local pattern="^T[0-9]{14}-([0-9]+)\.$extension\$" file line single
  local count=0
  for file in "$folder"/*; do
    [ -e "$file" ] || continue
    count=$((count + 1))
    if ! [[ $(basename "$file") =~ $pattern ]]; then
      fail "$what: unexpected file $(basename "$file")"
      continue
    fi
    line=$((10#${BASH_REMATCH[1]}))
    single=""
    for entry in "${expected[@]}"; do
      [ "${entry%%=*}" = "$line" ] && single=${entry#*=}
    done
    if [ -z "$single" ]; then
      fail "$what: a card for line $line, which was refused"
    else
      same_pixels "$what: the card of line $line" "$file" "$single"
    fi
  done
  if [ "$count" -eq "${#expected[@]}" ]; then
    pass
  else
    fail "$what: $count files ($listed), expected ${#expected[@]}"
  fi
}
check_batch "a batch from a file" batch png 1=ab.bmp 2=empty.bmp 4=ba.bmp

# From standard input, with ten lines, as BMP on one job.
printf 'ab\n\nAna\nba\nAB\nb2\nx-y\n\t\nč\nana novak' >names-stdin.txt
run_stdin names-stdin.txt --names - --out-dir batch-stdin --format bmp --jobs 1
if [ "$status" -ne 0 ] && [ "$status" -lt 128 ]; then
  pass
else
  fail "a batch on standard input with refused lines exits with $status"
fi
for line in 3 5 6 7 8 9; do
  if said "line $line\b"; then pass; else fail "standard input: refused line $line not reported"; fi
done
check_batch "a batch from standard input" batch-stdin bmp 1=ab.bmp 2=empty.bmp 4=ba.bmp 10=novak.bmp
for line in 000001 000002 000004 000010; do
  if ls batch-stdin/T*-"$line".bmp >/dev/null 2>&1; then
    pass
  else
    fail "standard input: no card numbered $line (numbers are padded to six digits)"
  fi
done
for file in batch-stdin/*-000001.bmp; do same_bytes "a BMP of a batch" "$file" ab.bmp; done

# Files that are not lists of names.
mkdir batch-bad
head -c 4096 "$render" >binary.txt
run --names binary.txt --out-dir batch-bad
expect_refusal "a binary names file" "binary|UTF-8" batch-bad
run --names missing-names.txt --out-dir batch-bad
expect_refusal "a missing names file" "missing-names\.txt" batch-bad
mkdir names-folder
run --names names-folder --out-dir batch-bad
expect_refusal "a folder as the names file" "names-folder" batch-bad

# --- what is at an output path ---------------------------------------------------------------
# A regular file is replaced, a link is followed to the file it points to, and anything else is
# refused and left as it is. Each row: a kind of thing in the way, the option it is given to, the
# file name, and what `stat -c %F` must say of the name afterwards.
mkdir -p ways/elsewhere
make_in_the_way() {
  local kind=$1 path=$2
  case $kind in
    fifo) mkfifo "$path" ;;
    folder) mkdir "$path" ;;
    device) mknod "$path" c 1 3 2>/dev/null ;;
    socket) "$python" -c 'import socket, sys; socket.socket(socket.AF_UNIX).bind(sys.argv[1])' "$path" ;;
    link) ln -s "elsewhere/target-$(basename "$path")" "$path" ;;
    chain) ln -s "link-to-$(basename "$path")" "$path" &&
      ln -s "$PWD/ways/elsewhere/chained-$(basename "$path")" "ways/link-to-$(basename "$path")" ;;
  esac
}
while read -r kind option file kind_after; do
  path=ways/$file
  if ! make_in_the_way "$kind" "$path"; then
    echo "render_cli_test: cannot make a $kind here; not checked" >&2
    continue
  fi
  if [ "$option" = --out ]; then
    run --name ab --out "$path"
  else
    run --name ab --out ways/card-for-$file.bmp --recipe "$path"
  fi
  after=$(stat -c %F "$path")
  if [ "$after" != "$kind_after" ]; then
    fail "$option onto a $kind: afterwards it is a '$after', not a '$kind_after'"
  elif [[ $kind == link || $kind == chain ]]; then
    target=$(readlink -f "$path")
    if [ "$status" -ne 0 ]; then
      fail "$option through a $kind: exit status $status"
      show_err
    elif [ ! -s "$target" ]; then
      fail "$option through a $kind: the file it points to was not written"
    else
      pass
    fi
  elif [ "$status" -ne 1 ] || ! said "$file.*(folder|device|pipe|socket)"; then
    fail "$option onto a $kind: exit status $status and the message does not say what is there"
    show_err
  else
    pass
  fi
done <<'TABLE'
fifo   --out    fifo.bmp       fifo
folder --out    folder.bmp     directory
device --out    device.bmp     character special file
socket --out    socket.bmp     socket
link   --out    link.bmp       symbolic link
chain  --out    chain.bmp      symbolic link
fifo   --recipe fifo.json      fifo
link   --recipe link.json      symbolic link
TABLE
same_bytes "a card written through a link" ways/elsewhere/target-link.bmp ab.bmp
leftovers=$(ls -A ways ways/elsewhere | grep '^\.' | tr '\n' ' ')
if [ -z "$leftovers" ]; then pass; else fail "temporary files left behind: $leftovers"; fi

# --- modes and half-done work ---------------------------------------------------------------
(umask 027 && "$render" --name ab --out mode-new.bmp --recipe mode-new.json) 2>err.txt
cp ab.bmp mode-kept.bmp && chmod 600 mode-kept.bmp
run --name ba --out mode-kept.bmp
for row in "mode-new.bmp 640" "mode-new.json 640" "mode-kept.bmp 600"; do
  set -- $row
  mode=$(stat -c %a "$1")
  if [ "$mode" = "$2" ]; then pass; else fail "$1 has mode $mode, expected $2"; fi
done
# When one of the two files cannot be written, neither is changed.
cp ab.bmp old.bmp && cp novak.json old.json
run --name ba --out old.bmp --recipe missing-folder/r.json
if [ "$status" -eq 1 ]; then pass; else fail "a recipe in a missing folder: exit status $status"; fi
same_bytes "the card next to a recipe that could not be written" old.bmp ab.bmp
run --name ba --out missing-folder/card.bmp --recipe old.json
same_bytes "the recipe next to a card that could not be written" old.json novak.json

# --- inputs without end, and messages that say what is wrong ----------------------------------
echo plain >plain-file
tool set-draw novak.json recipes/draw-rounds-to-one.json 0 0.99999999
printf '{"name": "\\ud800", "draws": []}' >recipes/surrogate.json
yes | head -c 5000000 | tr -d '\n' >one-long-line.txt
"$python" -c 'import sys; sys.stdout.write("x" * 2000000)' >recipes/huge.json
mkdir inputs
while IFS='|' read -r expected pattern args; do
  eval "run $args"
  if [ "$status" -ne "$expected" ]; then
    fail "$args: exit status $status, expected $expected"
    show_err
  elif ! said "$pattern"; then
    fail "$args: the message does not match /$pattern/"
    show_err
  else
    pass
  fi
done <<'TABLE'
1|/dev/zero.*line 1|--names /dev/zero --out-dir inputs
1|line 1.*longer|--names one-long-line.txt --out-dir inputs
1|1 MiB|--from-recipe /dev/zero --out inputs/card.bmp
1|1 MiB|--from-recipe recipes/huge.json --out inputs/card.bmp
1|rounds to 1|--from-recipe recipes/draw-rounds-to-one.json --out inputs/card.bmp
1|surrogate|--from-recipe recipes/surrogate.json --out inputs/card.bmp
1|plain-file is a file, not a folder|--name ab --out plain-file/card.bmp
1|plain-file.*not a folder|--names names.txt --out-dir plain-file
1|plain-file is a file, not a folder|--names names.txt --out-dir plain-file/cards
2|--out.*empty|--name ab --out ''
2|--out-dir.*empty|--names names.txt --out-dir ''
2|unknown option|--name ab --out inputs/card.bmp --colour red
2|--threads.*1 to 1024|--name ab --out inputs/card.bmp --threads 0
2|--address.*empty|--name ab --out inputs/card.bmp --address ''
TABLE
printf 'ab\nba\r' >cr-at-end.txt
run --names cr-at-end.txt --out-dir cr-at-end
if [ "$status" -eq 2 ] && said "line 2\b.*U\+000D" && ! said "line 1\b"; then
  pass
else
  fail "a CR at the end of the last line: exit status $status"
  show_err
fi
if [ -z "$(ls -A inputs)" ]; then pass; else fail "files left in inputs: $(ls -A inputs)"; fi
yes | head -c 5000000 | tr -d '\n' | "$render" --names - --out-dir inputs >out.txt 2>err.txt
status=$?
if [ "$status" -eq 1 ] && said "standard input.*line 1"; then
  pass
else
  fail "an endless line on standard input: exit status $status"
  show_err
fi

# --- batches: byte order mark, threads, streaming and name clashes ---------------------------
printf '\xEF\xBB\xBFab\nba\n' >bom.txt
run --names bom.txt --out-dir bom --threads 1
check_batch "a names file with a byte order mark, one thread a card" bom png 1=ab.bmp 2=ba.bmp

# The first card appears while the list is still being written.
mkfifo names.fifo
"$render" --names names.fifo --out-dir streamed >out.txt 2>err.txt &
renderer=$!
exec 3>names.fifo
echo ab >&3
for _ in $(seq 1 200); do
  ls streamed/*.png >/dev/null 2>&1 && break
  sleep 0.1
done
if ls streamed/*.png >/dev/null 2>&1; then pass; else fail "no card before the names ended"; fi
exec 3>&-
wait "$renderer"
status=$?
check_batch "a batch read as it is written" streamed png 1=ab.bmp

# Another batch in the same second: files it did not write are never replaced. The names this
# batch would take in the next seconds are there already.
mkdir clash
now=$(date +%s)
for k in 0 1 2 3 4 5; do
  echo "not ours" >"clash/$(date -d "@$((now + k))" +T%Y%m%d%H%M%S)-000001.png"
done
printf 'ab\n' >one-name.txt
run --names one-name.txt --out-dir clash
if [ "$status" -eq 0 ] && [ "$(grep -lx "not ours" clash/* | wc -l)" -eq 6 ]; then
  pass
else
  fail "a batch in a folder of another batch: exit status $status, files replaced"
fi
clash_cards=(clash/*-000001-2.png)
if [ -e "${clash_cards[0]}" ]; then
  same_pixels "the card under a second name" "${clash_cards[0]}" ab.bmp
else
  fail "a batch in a folder of another batch: no card named -000001-2.png ($(ls clash | tr '\n' ' '))"
fi

# --- the greeting's address, the version ------------------------------------------------------
run --name ab --out address.bmp --address "cards.example.net"
expect_card "a card with another address" address.bmp
if why=$(tool same-above address.bmp ab.bmp 488 2>&1); then pass; else fail "--address: $why"; fi
run --version
if [ "$status" -eq 0 ] && grep -qE '^newyear-card-render [0-9]' out.txt; then
  pass
else
  fail "--version: exit status $status, '$(cat out.txt)'"
fi

echo "render_cli_test: $passed passed, $failed failed"
[ "$failed" -eq 0 ]

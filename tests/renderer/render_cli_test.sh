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
test_name=render_cli_test
source "$(dirname "${BASH_SOURCE[0]}")/renderer_test_kit.sh"
need_pillow

work=$(mktemp -d "${TMPDIR:-/tmp}/render-cli-test.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1

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
elif command == "manifest":
    # manifest FILE: its rows as line:status:file:name, one a line, from a CSV read as RFC 4180
    # has it (a header, CR LF) or from JSON Lines with the same keys
    import csv, io
    raw = open(args[0], "rb").read().decode("utf-8")
    if args[0].endswith(".csv"):
        if raw and not raw.endswith("\r\n") or "\n" in raw.replace("\r\n", ""):
            sys.exit("a line does not end in CR LF")
        rows = list(csv.reader(io.StringIO(raw, newline="")))
        if rows[0] != ["line", "name", "file", "status", "message"]:
            sys.exit("the header is %r" % rows[0])
        rows = [dict(zip(rows[0], row)) for row in rows[1:]]
    else:
        rows = [json.loads(line) for line in raw.splitlines()]
    for row in rows:
        if (row["status"] == "made") != (row["message"] == "") or \
                (row["status"] == "made") != (row["file"] != ""):
            sys.exit("line %s: a file only for a card made, a reason for the others: %r"
                     % (row["line"], row))
        print("%s:%s:%s:%s" % (row["line"], row["status"], row["file"], row["name"]))
elif command == "check-file":
    # check-file FILE SIZE DPI TITLE DESCRIPTION SOFTWARE REFERENCE: the size, the resolution
    # ("-" for none), the text chunks ("-" for none) and every pixel against the reference
    # scaled up by repeating pixels
    path, size, dpi, title, description, software, reference = args
    with Image.open(path) as image:
        info = image.info
        got = "%dx%d" % image.size
        if got != size:
            sys.exit("%s, not %s" % (got, size))
        got_dpi = "%g/%g" % tuple(round(d) for d in info["dpi"]) if "dpi" in info else "-"
        if got_dpi not in (dpi, "%s/%s" % (dpi, dpi)):
            sys.exit("dpi %s, not %s" % (got_dpi, dpi))
        texts = {key: info.get(key, "-") for key in ("Title", "Description", "Software")}
        wanted = {"Title": title, "Description": description, "Software": software}
        if texts != wanted:
            sys.exit("texts %r, not %r" % (texts, wanted))
        with Image.open(reference) as small:
            scaled = small.convert("RGB").resize(image.size, Image.NEAREST)
            if image.convert("RGB").tobytes() != scaled.tobytes():
                sys.exit("the pixels are not the reference's, each an N x N square")
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
elif command == "temp-name":
    # temp-name BASE DIGITS: the name a writer gives the temporary file for BASE, its last four
    # hex digits checking the rest (FNV-1a folded to 16 bits)
    name = "." + args[0] + ".newyear-card-" + args[1]
    check = 2166136261
    for byte in name.encode():
        check = ((check ^ byte) * 16777619) & 0xFFFFFFFF
    print(name + "%04x" % ((check ^ (check >> 16)) & 0xFFFF))
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
  --address --year --file-names --manifest --shard --time --scale --dpi --quiet --version --help; do
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
sed 's/"draws": \[/"draws": [1e400, /' novak.json >recipes/huge-number.json
tool set-draw novak.json recipes/override.json 0 0.5 && sed -i 's/"ana novak"/"\\u202eana"/' recipes/override.json
"$python" -c 'import sys; sys.stdout.buffer.write(open(sys.argv[1]).read().encode("utf-16"))' \
  novak.json >recipes/utf16.json
# Nested 90000 deep ahead of the name: a reader that recurses runs out of stack.
"$python" -c 'import sys; sys.stdout.write("{\"x\": " + "[" * 90000 + "]" * 90000 + ", \"name\": \"ab\"}")' \
  >recipes/deep.json
cp novak.json recipes/$'osc\e]0;owned\a.json' && printf '\xff' >>recipes/$'osc\e]0;owned\a.json'
mkdir inputs
printf 'ab\n' >inputs-list.csv
while IFS='|' read -r expected pattern args; do
  eval "run $args"
  if [ "$status" -ne "$expected" ]; then
    fail "$args: exit status $status, expected $expected"
    show_err
  elif ! said "$pattern"; then
    fail "$args: the message does not match /$pattern/"
    show_err
  elif grep -vqE "^(newyear-card-render: [^A-Z]|Try 'newyear-card-render --help')" err.txt; then
    fail "$args: a message not in the program's own style"
    show_err
  elif LC_ALL=C grep -qP '[\x00-\x08\x0b-\x1f\x7f]' err.txt; then
    fail "$args: the message prints a control character as it is"
    cat -v err.txt >&2
  else
    pass
  fi
done <<'TABLE'
1|/dev/zero.*line 1|--names /dev/zero --out-dir inputs
2|line 1.*more than any name|--names one-long-line.txt --out-dir inputs
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
2|--address.*"ä".*printable ASCII|--name ab --out inputs/card.bmp --address 'cärds.example.net'
2|--year.*1 to 4 digits|--name ab --out inputs/card.bmp --year 20x7
2|option '--nam' is ambiguous|--nam ab --out inputs/card.bmp
2|unknown option '-x'|-x --name ab --out inputs/card.bmp
2|option '--out' needs a value|--name ab --out
2|option '--quiet' takes no value|--quiet=yes --name ab --out inputs/card.bmp
2|both go to standard output|--name ab --out - --recipe -
2|--format goes with|--name ab --out inputs/card.bmp --format bmp
1|recipes/huge-number.json|--from-recipe recipes/huge-number.json --out inputs/card.bmp
2|control character.*U\+202E|--from-recipe recipes/override.json --out inputs/card.bmp
2|--jobs 64 is more than helps|--names names.txt --out-dir jobs-capped --jobs 64
2|--shard needs --file-names name, or --time|--names names.txt --out-dir inputs --shard 1/4
2|--shard takes K/N.*'4/4'|--names names.txt --out-dir inputs --shard 4/4 --file-names name
2|--shard takes K/N.*'-1/2'|--names names.txt --out-dir inputs --shard=-1/2 --file-names name
2|--time takes.*'20270229120000'|--names names.txt --out-dir inputs --time 20270229120000
2|--file-names takes time or name|--names names.txt --out-dir inputs --file-names first
2|--manifest: .*\.csv or \.jsonl|--names names.txt --out-dir inputs --manifest inputs/list.txt
2|--manifest goes with --names|--name ab --out inputs/card.png --manifest inputs/list.csv
2|--names and --manifest lead to one file|--names inputs-list.csv --out-dir inputs --manifest ./inputs-list.csv
1|cannot write no-such-folder/list.csv.*does not exist|--names names.txt --out-dir inputs --manifest no-such-folder/list.csv
2|--scale takes a whole number from 1 to 8|--name ab --out inputs/card.png --scale 9
2|--dpi takes a whole number from 1 to 10000|--name ab --out inputs/card.png --dpi 0
1|utf16.json is UTF-16; save it as UTF-8|--from-recipe recipes/utf16.json --out inputs/card.bmp
1|deep.json nests.*more than 64 deep|--from-recipe recipes/deep.json --out inputs/card.bmp
1|recipes/osc<U\+001B>\]0;owned<U\+0007>\.json is not valid JSON|--from-recipe recipes/$'osc\e]0;owned\a.json' --out inputs/card.bmp
1|cannot write no<U\+001B>\[2J/card.bmp: the folder no<U\+001B>\[2J does not exist|--name ab --out $'no\e[2J/card.bmp'
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
if [ "$status" -eq 2 ] && said "line 1: refused.*more than any name"; then
  pass
else
  fail "a line longer than any name on standard input: exit status $status"
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

# --- bad lines in a names list ----------------------------------------------------------------
# Line 3 of five is bad. A line that cannot be a name is refused like any other and the other four
# cards are made (status 2); only a NUL byte, which no text holds, stops the list (status 1), and
# then the message says how many lines were not read. Each row: what line 3 is (printf's format),
# the status, the lines that get cards, and what the message must say.
line_400=$(printf 'a%.0s' {1..400})
while IFS='|' read -r what line3 expected made pattern; do
  printf "ab\nba\n$line3\nana novak\nab\n" >bad-lines.txt
  rm -rf bad-lines
  run --names bad-lines.txt --out-dir bad-lines --format bmp --quiet
  got=$(ls bad-lines 2>/dev/null | sed -E 's/^T[0-9]{14}-0*([0-9]+)\.bmp$/\1/' | sort -n | tr '\n' ' ')
  if [ "$status" -ne "$expected" ]; then
    fail "$what on line 3: exit status $status, expected $expected"
    show_err
  elif [ "$got" != "$made " ]; then
    fail "$what on line 3: cards for lines '$got', expected '$made '"
  elif ! said "$pattern"; then
    fail "$what on line 3: the message does not match /$pattern/"
    show_err
  elif [ "$(grep -c . err.txt)" -ne 1 ]; then
    fail "$what on line 3: more than one message"
    show_err
  elif LC_ALL=C grep -qP '[\x00-\x08\x0e-\x1f\x7f]|\xc2[\x80-\x9f]|\xe2\x80[\xa8-\xae]' err.txt; then
    fail "$what on line 3: the message prints a control character as it is"
  else
    pass
  fi
done <<TABLE
a line of 402 bytes|${line_400}aa|2|1 2 4 5|line 3: refused.*402 bytes
a line of 401 characters|${line_400}a|2|1 2 4 5|line 3: refused.*401 characters
Latin-1 text|jos\xe9|2|1 2 4 5|line 3: refused.*not UTF-8.*0xE9
a lone 0xFF byte|\xff|2|1 2 4 5|line 3: refused.*not UTF-8.*0xFF
a C1 control|a\xc2\x85b|2|1 2 4 5|line 3: refused.*control character.*U\+0085
a right-to-left override|\xe2\x80\xaeab|2|1 2 4 5|line 3: refused.*control character.*U\+202E
a NUL byte|a\x00b|1|1 2|line 3.*NUL.*3 lines were not read
TABLE
# A byte order mark alone is a list of no names.
printf '\xEF\xBB\xBF' >bom-only.txt
run --names bom-only.txt --out-dir bom-only
if [ "$status" -eq 0 ] && [ -z "$(ls -A bom-only)" ]; then
  pass
else
  fail "a names file that is only a byte order mark: status $status, files: $(ls bom-only | tr '\n' ' ')"
fi

# --- files named after the person, and the manifest --------------------------------------------
# Each row: the case, the list (printf's format), files in the folder before, more options, the
# exit status, the summary, and the manifest's rows as line:status:file:name (";" between rows).
# A file is named by the list alone; a file there already is never replaced, and the numbering
# moves past it. Every card's PNG title is its name. The same batch with a JSON Lines manifest and
# --quiet gives the same rows and no summary.
while IFS='|' read -r what list before options expected summary rows; do
  for manifest in list.csv list.jsonl; do
    rm -rf by-name && mkdir by-name
    for file in $before; do echo "not ours" >"by-name/$file"; done
    printf "$list" >list.txt
    quiet=$([ "$manifest" = list.jsonl ] && echo --quiet)
    run --names list.txt --out-dir by-name --file-names name --manifest "$manifest" $options $quiet
    got=$(tool manifest "$manifest" 2>&1 | tr '\n' ';')
    want=$rows
    [ "$manifest" = list.jsonl ] && want=$(echo "$rows" | sed -E "s/([;:])'=/\1=/g")
    made=$(echo "$got" | tr ';' '\n' | awk -F: '$2 == "made" {print $3}' | sort)
    listed=$( (for file in $before; do echo "$file"; done; echo "$made") | sed '/^$/d' | sort | tr '\n' ' ')
    if [ "$status" -ne "$expected" ]; then
      fail "$what ($manifest): exit status $status, expected $expected"
      show_err
    elif [ "$got" != "$want;" ]; then
      fail "$what ($manifest): the manifest gives '$got', expected '$want;'"
    elif [ "$(ls -A by-name | sort | tr '\n' ' ')" != "$listed" ]; then
      fail "$what ($manifest): the folder holds '$(ls -A by-name | tr '\n' ' ')', expected '$listed'"
    elif [ -n "$before" ] && [ "$(cat $(printf 'by-name/%s ' $before) | sort -u)" != "not ours" ]; then
      fail "$what ($manifest): a file of an earlier batch was replaced"
    elif [ -z "$quiet" ] && ! grep -qE "^newyear-card-render: $summary, [0-9.]+ s\$" err.txt; then
      fail "$what ($manifest): no summary '$summary, ... s'"
      show_err
    elif [ -n "$quiet" ] && said "cards?, "; then
      fail "$what ($manifest): a summary in spite of --quiet"
    else
      pass
    fi
    while IFS=: read -r line state file name; do
      [ "$state" = made ] || continue
      title=$("$python" -c 'import sys; from PIL import Image; print(Image.open(sys.argv[1]).info["Title"])' "by-name/$file")
      [ "$title" = "$name" ] || fail "$what ($manifest): by-name/$file is titled '$title', not '$name'"
    done < <(echo "$got" | tr ';' '\n')
  done
done <<'TABLE'
repeated names|ana\nbob\nana\nana\nbob||--jobs 2|0|5 cards|1:made:ana.png:ana;2:made:bob.png:bob;3:made:ana-2.png:ana;4:made:ana-3.png:ana;5:made:bob-2.png:bob
the empty name and spaces|\n \nana  marija\n ana marija \nana marija|||0|5 cards|1:made:card.png:;2:made:card-2.png: ;3:made:ana-marija.png:ana  marija;4:made:ana-marija-2.png: ana marija ;5:made:ana-marija-3.png:ana marija
refused lines|ana\nAna\nb2\njos\xe9\nana|||2|2 cards, 3 lines refused|1:made:ana.png:ana;2:refused::Ana;3:refused::b2;4:refused::jos<0xE9>;5:made:ana-2.png:ana
a folder of an earlier batch|ana\nana\nbob|ana.png ana-2.png card.png|--jobs 1|0|3 cards|1:made:ana-3.png:ana;2:made:ana-4.png:ana;3:made:bob.png:bob
names a spreadsheet would misread|a"b\nc,d\n=1+1\nx\ty|||2|0 cards, 4 lines refused|1:refused::a"b;2:refused::c,d;3:refused::'=1+1;4:refused::x<U+0009>y
TABLE

# Four shards at once, into one folder or each into its own, make exactly the cards of the whole
# batch, byte for byte, and their manifests put together are the whole batch's. Shard 3 of 4 has
# the refused line 4; "bob" of line 7 is the second bob though shard 2 never sees line 2.
printf 'ana\nbob\n\nAna\nana\nana marija\nbob\nx\nana\n' >shard-list.txt
for style in "--file-names name" "--time T20261231235958"; do
  rm -rf whole
  run --names shard-list.txt --out-dir whole $style --manifest whole.csv --quiet
  for layout in one-folder own-folders; do
    rm -rf shared shard-? shard-?.csv
    statuses=""
    pids=()
    for k in 0 1 2 3; do
      folder=shared
      [ "$layout" = own-folders ] && folder=shard-$k
      "$render" --names shard-list.txt --out-dir "$folder" $style --shard "$k/4" \
        --manifest "shard-$k.csv" --quiet >/dev/null 2>&1 &
      pids+=($!)
    done
    for pid in "${pids[@]}"; do
      wait "$pid"
      statuses+="$? "
    done
    [ "$layout" = own-folders ] && mkdir shared && cp -n shard-?/* shared/
    { head -n 1 shard-0.csv && tail -q -n +2 shard-?.csv | sort -t, -k1,1n; } >merged.csv
    differing=$(cd whole && for file in *; do cmp -s "$file" "../shared/$file" || echo "$file"; done)
    what="shards ($style, $layout)"
    if [ "$status" -ne 2 ] || [ "$statuses" != "0 0 0 2 " ]; then
      fail "$what: exit status $status for the whole batch, '$statuses' for the shards"
    elif [ "$(ls whole | wc -l)" -ne 8 ] || [ "$(ls whole)" != "$(ls shared)" ]; then
      fail "$what: the shards wrote '$(ls shared | tr '\n' ' ')', the whole batch '$(ls whole | tr '\n' ' ')'"
    elif [ -n "$differing" ]; then
      fail "$what: files differ from the whole batch's: $differing"
    elif ! cmp -s merged.csv whole.csv; then
      fail "$what: the manifests put together differ from the whole batch's"
      diff merged.csv whole.csv >&2
    else
      pass
    fi
  done
done

# --- print size and what the file says --------------------------------------------------------
# Read back by Pillow: the size, the resolution, the PNG's text chunks and every pixel against the
# unscaled card. Each row: the options, the file, its size, its dots per inch, and whether it is a
# PNG with text.
version=$("$render" --version | head -n 1)
greeting=(--address cards.example.net --year 2027)
description="ana marija, I wish you a happy new year 2027      cards.example.net"
"$render" --name "ana marija" "${greeting[@]}" --out marija.bmp
printf 'ana marija\n' >marija.txt
while IFS='|' read -r options file size dpi text; do
  rm -rf chunks chunk.png chunk.bmp
  eval "run $options ${greeting[*]}"
  if [ "$text" = yes ]; then
    texts=("ana marija" "$description" "$version")
  else
    texts=(- - -)
  fi
  if [ "$status" -ne 0 ]; then
    fail "$options: exit status $status"
    show_err
  elif why=$(tool check-file "$file" "$size" "$dpi" "${texts[@]}" marija.bmp 2>&1); then
    pass
  else
    fail "$options: $file: $why"
  fi
done <<'TABLE'
--name "ana marija" --out chunk.png|chunk.png|700x525|-|yes
--name "ana marija" --out chunk.png --scale 3|chunk.png|2100x1575|300|yes
--name "ana marija" --out chunk.png --dpi 150|chunk.png|700x525|150|yes
--name "ana marija" --out chunk.bmp|chunk.bmp|700x525|72|no
--name "ana marija" --out chunk.bmp --scale 2 --dpi 600|chunk.bmp|1400x1050|600|no
--names marija.txt --out-dir chunks --file-names name --scale 8 --quiet|chunks/ana-marija.png|5600x4200|300|yes
--names marija.txt --out-dir chunks --file-names name --format bmp --scale 5 -q|chunks/ana-marija.bmp|3500x2625|300|no
TABLE

# --- hostile paths ----------------------------------------------------------------------------
# Links planted by another user in a sticky folder that everyone may write in (as /tmp) are not
# followed: writing as the user 12345 must not replace that user's own notes through a link of
# nobody's (65534). Standard output is a stream, and a card and recipe that lead to one file are
# refused before anything is written.
# Needs root to act as the other users; skipped otherwise.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  as_user() {
    local user=$1
    shift
    setpriv --reuid "$user" --regid "$user" --clear-groups env HOME="$work/home" "$@"
  }
  chmod 755 "$work"
  mkdir -p shared home && chmod 1777 shared && chown 12345:12345 home
  echo ab >one-line.txt
  # Each row: who runs the renderer, who planted the link in the shared folder, the option it is
  # given to (the folder through the link spelt with a slash or "/." after it, or a card in that
  # folder), and whether the link is followed (the notes replaced) or refused (left alone). The
  # last kind is no link but the planter's own file, which only its owner may replace.
  while read -r runner planter option outcome; do
    rm -f shared/* home/* && echo "my notes" >home/notes.txt && chown 12345:12345 home/notes.txt
    notes_file=home/notes.txt
    case $option in
      --out) link=shared/card.png target=$work/home/notes.txt ;;
      --recipe) link=shared/card.json target=$work/home/notes.txt ;;
      --out-dir* | --out-via) link=shared/cards target=$work/home ;;
      --out-theirs) link=shared/card.png target="" notes_file=$link ;;
    esac
    if [ -n "$target" ]; then
      as_user "$planter" ln -s "$target" "$link"
    else
      as_user "$planter" sh -c 'echo "my notes" >"$1" && chmod 666 "$1"' sh "$link"
    fi
    case $option in
      --out | --out-theirs) as_user "$runner" "$render" --name ab --out "$link" >out.txt 2>err.txt ;;
      --out-via) as_user "$runner" "$render" --name ab --out "$link/card.png" >out.txt 2>err.txt ;;
      --recipe) as_user "$runner" "$render" --name ab --out "home/card-$runner.bmp" \
        --recipe "$link" >out.txt 2>err.txt ;;
      --out-dir) as_user "$runner" "$render" --names one-line.txt --out-dir "$link" \
        >out.txt 2>err.txt ;;
      --out-dir/) as_user "$runner" "$render" --names one-line.txt --out-dir "$link/" \
        >out.txt 2>err.txt ;;
      --out-dir/.) as_user "$runner" "$render" --names one-line.txt --out-dir "$link/." \
        >out.txt 2>err.txt ;;
    esac
    status=$?
    notes=$(head -c 8 "$notes_file")
    case $outcome in
      refused)
        if [ "$status" -eq 1 ] && [ "$notes" = "my notes" ] && said "belongs to another user" &&
          [ -z "$(ls -A shared | grep -v '^card')" ] && [ "$(ls -A home)" = notes.txt ]; then
          pass
        else
          fail "$option through a link of $planter as $runner: status $status, notes '$notes'"
          show_err
        fi
        ;;
      followed)
        if [ "$status" -eq 0 ] && [ "$notes" != "my notes" ]; then
          pass
        else
          fail "$option through a link of $runner's own: status $status, notes not written"
          show_err
        fi
        ;;
    esac
  done <<'TABLE'
12345 65534  --out     refused
12345 65534  --recipe  refused
12345 65534  --out-dir refused
12345 65534  --out-dir/ refused
12345 65534  --out-dir/. refused
12345 65534  --out-via refused
12345 65534  --out-theirs refused
0     65534  --out     refused
12345 12345  --out    followed
12345 0      --recipe followed
TABLE
else
  echo "render_cli_test: not root or no setpriv; links of other users not checked" >&2
fi

# Streams: a destination that is one of the descriptors the shell opened for the renderer, under
# any spelling or link, is written to as a stream; the log it is keeps its earlier lines. Each row:
# the --recipe destination and the redirection that makes it the log.
ln -sf /dev/stdout stdout-link.json
while IFS='|' read -r destination redirection; do
  echo "earlier line" >log.txt
  eval "\"\$render\" --name ab --out stream-card.bmp --recipe '$destination' $redirection"
  status=$?
  if [ "$status" -eq 0 ] && [ "$(head -n 1 log.txt)" = "earlier line" ] &&
    tail -n +2 log.txt | grep -v '^newyear-card-render' | tool check-recipe /dev/stdin ab 2>/dev/null; then
    pass
  else
    fail "--recipe $destination $redirection: status $status; the log: $(head -c 200 log.txt)"
  fi
done <<'TABLE'
/dev/stdout|>>log.txt 2>err.txt
//dev/stdout|>>log.txt 2>err.txt
/dev/./stdout|>>log.txt 2>err.txt
/proc/self/fd/1|>>log.txt 2>err.txt
/proc/thread-self/fd/1|>>log.txt 2>err.txt
stdout-link.json|>>log.txt 2>err.txt
/dev/stderr|>out.txt 2>>log.txt
/dev/fd/3|>out.txt 2>err.txt 3>>log.txt
TABLE
# A card for a terminal is refused before anything is made; a card and a recipe into one log too.
if command -v script >/dev/null; then
  for destination in - /dev/stdout /dev/./stdout; do
    script -qec "'$render' --name ab --out $destination" /dev/null >tty.txt 2>&1 </dev/null
    status=$?
    if [ "$status" -eq 2 ] && grep -q "refusing to write a card to a terminal" tty.txt &&
      [ "$(wc -c <tty.txt)" -lt 1000 ]; then
      pass
    else
      fail "--out $destination onto a terminal: status $status, $(wc -c <tty.txt) bytes shown"
    fi
  done
fi
echo "earlier line" >log.txt
"$render" --name ab --out /dev/stdout --recipe /dev/stderr >>log.txt 2>&1
status=$?
if [ "$status" -eq 2 ] && grep -q "cannot both go to standard output and standard error" log.txt &&
  [ "$(head -n 1 log.txt)" = "earlier line" ]; then
  pass
else
  fail "a card and a recipe into one log: status $status"
fi

# The same file twice, and names that are not UTF-8.
cp ab.bmp same.bmp && ln -sf same.bmp same-link.json
for recipe in same.bmp same-link.json ./same.bmp; do
  run --name ba --out same.bmp --recipe "$recipe"
  if [ "$status" -eq 2 ] && cmp -s same.bmp ab.bmp && said "one file"; then
    pass
  else
    fail "--out same.bmp --recipe $recipe: status $status, or the card was replaced"
  fi
done
latin_name=$'caf\xe9.bmp'
run --name ab --out "$latin_name"
same_bytes "a file name that is not UTF-8" "$latin_name" ab.bmp
printf 'ab\n' >$'n\xe9.txt'
run --names $'n\xe9.txt' --out-dir latin-names --format bmp
check_batch "a names file whose name is not UTF-8" latin-names bmp 1=ab.bmp
long_name=$(printf 'l%.0s' {1..251}).bmp
run --name ab --out "$long_name"
same_bytes "a file name of 255 bytes" "$long_name" ab.bmp

# Clean-up: a later run removes the temporary files whose writer is gone (killed outright) and
# nothing else: not one whose writer runs or is stopped (it holds the file's lock), not a file or
# link named like one, not another user's. Each row: what is planted and whether it goes.
mkdir stale
holders=() planted=()
while IFS='|' read -r what goes; do
  name=stale/$(tool temp-name card.bmp "$(printf '%08x' $((RANDOM * 32768 + RANDOM)))")
  case $what in
    "a dead writer's") echo part >"$name" ;;
    "a running writer's" | "a stopped writer's")
      echo part >"$name"
      "$python" -c 'import fcntl, sys, time
held = open(sys.argv[1])
fcntl.flock(held, fcntl.LOCK_EX)
time.sleep(60)' "$name" &
      holders+=($!)
      for _ in $(seq 1 50); do flock -n "$name" true || break; sleep 0.1; done
      [ "$what" = "a stopped writer's" ] && kill -STOP "$!"
      ;;
    "a look-alike of the user's") name=stale/.card.bmp.newyear-card-0123456789ab && echo mine >"$name" ;;
    "a link") ln -s card.bmp "$name" ;;
    "another user's")
      [ "$(id -u)" -eq 0 ] || continue
      echo part >"$name" && chown 12345:12345 "$name"
      ;;
  esac
  planted+=("$what|$goes|$name")
done <<'TABLE'
a dead writer's|yes
a running writer's|no
a stopped writer's|no
a look-alike of the user's|no
a link|no
another user's|no
TABLE
run --name ab --out stale/card.bmp
for row in "${planted[@]}"; do
  IFS='|' read -r what goes name <<<"$row"
  if [ -e "$name" ] || [ -L "$name" ]; then gone=no; else gone=yes; fi
  if [ "$gone" = "$goes" ]; then pass; else fail "clean-up of $what temporary file: removed: $gone"; fi
done
for holder in "${holders[@]}"; do kill -CONT "$holder" 2>/dev/null; kill "$holder" 2>/dev/null; done
wait "${holders[@]}" 2>/dev/null

# Signals: SIGTERM while a batch writes leaves no temporary file behind.
for delay in 0.35 0.5 0.65 0.8 0.95; do
  rm -rf signalled
  head -c 4096 /dev/zero | tr '\0' '\n' | sed 's/^/ab/' >many-names.txt
  "$render" --names many-names.txt --out-dir signalled --format bmp >/dev/null 2>&1 &
  renderer=$!
  sleep "$delay"
  kill -TERM "$renderer"
  wait "$renderer"
  status=$?
  hidden=$(ls -A signalled 2>/dev/null | grep '^\.' | tr '\n' ' ')
  if [ "$status" -eq 143 ] && [ -z "$hidden" ]; then
    pass
  else
    fail "SIGTERM after ${delay}s: status $status, temporary files left: '$hidden'"
  fi
done
# SIGTERM about when a card and its recipe are put in place: afterwards both are the old pair or
# both the new one. The delays spread around the end of a run, as long as one takes here.
"$render" --name ab --out pair-old.bmp --recipe pair-old.json 2>err.txt
started=$(date +%s%N)
"$render" --name ba --out pair-new.bmp --recipe pair-new.json 2>err.txt
took=$((($(date +%s%N) - started) / 1000))
for step in $(seq 0 19); do
  cp pair-old.bmp pair.bmp && cp pair-old.json pair.json
  "$render" --name ba --out pair.bmp --recipe pair.json >/dev/null 2>&1 &
  renderer=$!
  sleep "$(awk -v t="$took" -v k="$step" 'BEGIN { printf "%.4f", t * (0.8 + k * 0.02) / 1e6 }')"
  kill -TERM "$renderer" 2>/dev/null
  wait "$renderer"
  status=$?
  card=other
  cmp -s pair.bmp pair-old.bmp && card=ab
  cmp -s pair.bmp pair-new.bmp && card=ba
  recipe=$(tool get pair.json name 2>&1)
  if [ "$card" = "$recipe" ] && [ -z "$(ls -A . | grep '^\.pair')" ]; then
    pass
  else
    fail "SIGTERM at step $step (status $status): the card is $card's, the recipe $recipe's"
  fi
done
# Standard error a closed pipe: messages are lost, the batch goes on and its status still tells.
printf 'ab\nAna\nba\n' >closed-stderr.txt
"$python" -c '
import os, subprocess, sys
read_end, write_end = os.pipe()
os.close(read_end)
ended = subprocess.run(sys.argv[1:], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=write_end).returncode
sys.exit(ended if ended >= 0 else 128 - ended)' \
  "$render" --names closed-stderr.txt --out-dir closed-stderr --format bmp --jobs 1
status=$?
if [ "$status" -eq 2 ]; then
  check_batch "a batch whose standard error is a closed pipe" closed-stderr bmp 1=ab.bmp 3=ba.bmp
else
  fail "a batch whose standard error is a closed pipe: exit status $status, expected 2"
fi

# --- thread limits ------------------------------------------------------------------------------
# Under a limit of eight processes for the user, the threads that could start make the cards (the
# caller's own at least), and the shortfall is said once. Needs root to act as another user.
if [ "$(id -u)" -eq 0 ] && command -v setpriv >/dev/null; then
  printf 'ab\nba\nab\nba\n' >four-names.txt
  mkdir -p limited && chown 12345:12345 limited
  while IFS='|' read -r what args; do
    rm -rf limited/*
    setpriv --reuid 12345 --regid 12345 --clear-groups env HOME="$work/home" bash -c \
      "ulimit -u 8 && cd '$work/limited' && exec '$render' $args" >out.txt 2>err.txt
    status=$?
    said_times=$(grep -c "threads asked for" err.txt)
    cards=$(ls limited | wc -l)
    if [ "$status" -ne 0 ] || [ "$said_times" -ne 1 ] || [ "$cards" -lt 1 ]; then
      fail "$what under ulimit -u 8: status $status, said $said_times times, $cards files"
      show_err
    else
      for card in limited/*.bmp; do same_pixels "$what under ulimit -u 8" "$card" ab.bmp; break; done
    fi
  done <<'TABLE'
one card on 64 threads|--name ab --threads 64 --out card.bmp
a batch of 64 threads a card|--names ../four-names.txt --out-dir . --format bmp --threads 64
a batch of 2 jobs of 64 threads|--names ../four-names.txt --out-dir . --format bmp --jobs 2 --threads 64
TABLE
fi

# A full disk stops a batch after the first card that did not fit, saying how many were not made,
# rather than failing every card after it. A small tmpfs holds two cards as BMP.
mkdir small-disk
if [ "$(id -u)" -eq 0 ] && mount -t tmpfs -o size=2500k tmpfs small-disk 2>/dev/null; then
  trap 'umount "$work/small-disk" 2>/dev/null; rm -rf "$work"' EXIT
  printf 'ab\n%.0s' {1..10} >ten-names.txt
  run --names ten-names.txt --out-dir small-disk/cards --format bmp --quiet
  cards=$(ls small-disk/cards | wc -l)
  not_made=$(sed -nE 's/.*: ([0-9]+) lines? (was|were) not made.*/\1/p' err.txt)
  if [ "$status" -eq 1 ] && [ "$(grep -c 'disk is full' err.txt)" -eq 1 ] &&
    [ "$(grep -c . err.txt)" -eq 2 ] && [ "$((cards + ${not_made:-99}))" -eq 10 ]; then
    pass
  else
    fail "a batch onto a full disk: status $status, $cards cards, ${not_made:-?} not made"
    show_err
  fi
  umount small-disk
else
  echo "render_cli_test: cannot mount a small disk here; the full disk not checked" >&2
fi

# --- the command line as GNU tools have it --------------------------------------------------------
run --help
if [ -z "$(awk 'length > 80' out.txt)" ]; then pass; else fail "--help has lines over 80 columns"; fi
if [ "$(grep -c '^  or:  newyear-card-render ' out.txt)" -eq 2 ]; then
  pass
else
  fail "--help does not give its second and third usage lines as '  or:  ...'"
fi
for pair in n:name o:out r:recipe R:from-recipe l:names d:out-dir f:format j:jobs t:threads \
  a:address F:file-names m:manifest k:shard T:time s:scale D:dpi q:quiet h:help V:version; do
  if grep -qE -- "^  -${pair%%:*}, --${pair#*:}([= ]|\$)" out.txt; then
    pass
  else
    fail "--help does not list -${pair%%:*}, --${pair#*:}"
  fi
done
# Standard output: the card as a stream in the --format, and a write error there is a failure.
"$render" --name ab --out - --format bmp >stdout.bmp 2>err.txt
same_bytes "--out - --format bmp" stdout.bmp ab.bmp
"$render" -n ab -o /dev/stdout >stdout.png 2>err.txt
same_pixels "-o /dev/stdout, PNG by default" stdout.png ab.bmp
for args in "--help" "--version" "--name ab --out -" "--name ab --out recipe-full.bmp --recipe -"; do
  "$render" $args >/dev/full 2>err.txt
  status=$?
  if [ "$status" -eq 1 ] && said "cannot write standard output"; then
    pass
  else
    fail "$args >/dev/full: status $status"
    show_err
  fi
done
if [ ! -e recipe-full.bmp ]; then pass; else fail "a card was put in place though its recipe failed"; fi
run --name ab --out /proc/card.bmp
if [ "$status" -eq 1 ] && ! said "does not exist"; then
  pass
else
  fail "--out /proc/card.bmp: status $status, the message is not the real error"
  show_err
fi

# The progress bar: only on a terminal that can redraw a line, not with --quiet, cleared before a
# message, and counted in words ("1 line"). Each row: the terminal type, the options, and whether
# a bar is expected. `script` gives the renderer a terminal.
if command -v script >/dev/null; then
  printf 'ab\nAna\nba\n' >tty-names.txt
  while IFS='|' read -r term args bar; do
    rm -rf tty
    TERM=$term script -qec "'$render' --names tty-names.txt --out-dir tty --format bmp $args" \
      /dev/null >tty.txt 2>&1 </dev/null
    if [ "$bar" = yes ] && ! grep -aq '\] 3/3 lines' tty.txt; then
      fail "TERM=$term $args: no progress bar"
    elif [ "$bar" = no ] && grep -aqE '\]|lines? done' tty.txt; then
      fail "TERM=$term $args: a progress bar where none belongs"
    elif ! "$python" -c '
import re, sys
text = open(sys.argv[1], "rb").read()
starts = [m.start() for m in re.finditer(rb"newyear-card-render:", text)]
sys.exit(not starts or any(s and not text[:s].endswith((b"\n", b"\x1b[K")) for s in starts))
' tty.txt; then
      fail "TERM=$term $args: the refused line is not reported on a line of its own"
      cat -v tty.txt >&2
    else
      pass
    fi
  done <<'TABLE'
xterm||yes
xterm|--quiet|no
xterm|-q|no
dumb||no
TABLE
  printf 'ab\n' | TERM=xterm script -qec "'$render' --names - --out-dir tty-one --format bmp" \
    /dev/null >tty.txt 2>&1
  if grep -aq '1 line done' tty.txt && ! grep -aq '1 lines' tty.txt; then
    pass
  else
    fail "one line from standard input is not '1 line done': $(cat -v tty.txt)"
  fi
fi

# --- the greeting's address, the version ------------------------------------------------------
run --name ab --out address.bmp --address "cards.example.net"
expect_card "a card with another address" address.bmp
if why=$(tool same-above address.bmp ab.bmp 488 2>&1); then pass; else fail "--address: $why"; fi
run --name ab --out year.bmp --year 2027
expect_card "a card of another year" year.bmp
if why=$(tool same-above year.bmp ab.bmp 488 2>&1); then pass; else fail "--year: $why"; fi
if tool same year.bmp ab.bmp >/dev/null 2>&1; then fail "--year did not change the greeting"; else pass; fi
# The greeting has its own typeface: no font, fontconfig or Qt platform plugin is needed.
printf '<?xml version="1.0"?>\n<fontconfig></fontconfig>\n' >no-fonts.conf
FONTCONFIG_FILE="$PWD/no-fonts.conf" QT_QPA_PLATFORM=none run --name ab --out no-fonts.bmp
same_bytes "a card made without fonts" no-fonts.bmp ab.bmp
run --version
if [ "$status" -eq 0 ] && grep -qE '^newyear-card-render [0-9]' out.txt; then
  pass
else
  fail "--version: exit status $status, '$(cat out.txt)'"
fi

report

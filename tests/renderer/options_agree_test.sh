#!/usr/bin/env bash
# The renderer's options as --help lists them, as the manual page lists them and as bash completes
# them must be the same options, with the same letters and the same kind of value; and the
# completion must offer the right files after each option that takes one, in both "--out FILE" and
# "--out=FILE" form.
set -uo pipefail
render=$(realpath "${1:?usage: options_agree_test.sh RENDERER MANUAL_PAGE COMPLETION}")
manual=$(realpath "${2:?}")
completion=$(realpath "${3:?}")
bash_completion=/usr/share/bash-completion/bash_completion
if [ ! -f "$bash_completion" ]; then
  echo "bash-completion is not installed (Debian: bash-completion); skipped"
  exit 77
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# "letter long VALUE" per option ("-" for an option without a value), sorted.
from_help=$("$render" --help | sed -nE 's/^  -(.), --([a-z-]+)(=([A-Z/]+))?( .*)?$/\1 \2 \4/p' |
  awk '{print $1, $2, ($3 == "" ? "-" : $3)}' | sort)
from_manual=$(sed -nE 's/^\.BR \\-(.) ", " \\-\\-([a-z\\-]+)( =\\fI([A-Z/]+)\\fR)?$/\1 \2 \4/p' "$manual" |
  sed 's/\\-/-/g' | awk '{print $1, $2, ($3 == "" ? "-" : $3)}' | sort)
[ -n "$from_help" ] || fail "no options found in --help"
if [ "$from_help" != "$from_manual" ]; then
  fail "--help and the manual page list different options:"
  diff <(echo "$from_help") <(echo "$from_manual") | sed 's/^/  /'
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && touch card.png card.BMP notes.txt recipe.json list.csv growth.mp4 && mkdir cards
# Runs the completion as bash would for the command line $1, the cursor at its end.
complete_line() {
  bash -c '
    source "$1"; source "$2"; PATH="$3:$PATH"
    COMP_LINE=$4; COMP_POINT=${#COMP_LINE}
    read -ra COMP_WORDS <<<"$COMP_LINE"
    [[ $COMP_LINE == *" " ]] && COMP_WORDS+=("")
    # bash splits "--out=ca" into "--out", "=" and "ca".
    words=(); for word in "${COMP_WORDS[@]}"; do
      if [[ $word == --*=* ]]; then words+=("${word%%=*}" "=" "${word#*=}"); else words+=("$word"); fi
    done
    [[ ${words[-1]} == "=" ]] && words+=("")
    COMP_WORDS=("${words[@]}"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _newyear_card_render newyear-card-render "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    [ ${#COMPREPLY[@]} -eq 0 ] || printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
    _ "$bash_completion" "$completion" "$(dirname "$render")" "$1"
}

offered=$(complete_line "newyear-card-render --")
wanted=$(echo "$from_help" | awk '{print "--" $2 ($3 == "-" ? "" : "=")}' | sort | tr '\n' ' ')
[ "$offered" = "$wanted" ] || fail "completion offers '$offered', --help lists '$wanted'"

# Every option that takes a value has its own case in the completion, by both spellings.
while read -r letter long value; do
  [ "$value" = - ] && continue
  grep -qE -- "(^|[ (])-$letter \| --$long( |\))" "$completion" ||
    fail "the completion has no case for -$letter | --$long"
done <<<"$from_help"

# What follows an option: command line | what must be offered.
while IFS='|' read -r line expected; do
  got=$(complete_line "$line")
  [ "$got" = "$expected" ] || fail "'$line' completes to '$got', not '$expected'"
done <<'CASES'
newyear-card-render --out |card.BMP card.png cards 
newyear-card-render --out=ca|card.BMP card.png cards 
newyear-card-render -r |cards recipe.json 
newyear-card-render --from-recipe=|cards recipe.json 
newyear-card-render --out-dir |cards 
newyear-card-render --video=|cards growth.mp4 
newyear-card-render --format=|bmp mp4 png 
newyear-card-render --format=p|png 
newyear-card-render --file-names |name time 
newyear-card-render --manifest=|cards list.csv 
newyear-card-render --name |
CASES

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "--help, the manual page and the completion agree on $(echo "$from_help" | wc -l) options"

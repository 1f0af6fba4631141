#!/usr/bin/env bash
# Every text the window shows has its Slovenian and German translation: the texts are gathered
# from the sources afresh (lupdate) and any without a translation is listed. Then the program's
# --help speaks each language, and English stays the default.
set -uo pipefail
program=${1:?usage: translations_test.sh WINDOW_PROGRAM SOURCE_FOLDER LUPDATE}
sources=${2:?}
lupdate=${3:?}
[ -x "$lupdate" ] || { echo "lupdate not found (Debian: qt6-l10n-tools); skipped"; exit 77; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for language in sl de; do
  catalogue=$sources/translations/newyear-card_$language.ts
  cp "$catalogue" "$work/$language.ts"
  "$lupdate" -silent -no-obsolete -locations none "$sources"/*.cpp -ts "$work/$language.ts" ||
    fail "lupdate could not read the sources"
  untranslated=$(python3 - "$work/$language.ts" <<'PY'
import sys, xml.etree.ElementTree as ET
for message in ET.parse(sys.argv[1]).getroot().iter('message'):
    translation = message.find('translation')
    if translation.get('type') in ('unfinished', 'vanished', 'obsolete') or not (translation.text or '').strip():
        print('  ' + repr(message.find('source').text))
PY
  )
  [ -z "$untranslated" ] || fail "texts without a $language translation:"$'\n'"$untranslated"
done

# Locale | the first line of --help
while IFS='|' read -r locale expected; do
  got=$(env -u LANGUAGE -u LC_MESSAGES LC_ALL="$locale" "$program" --help | head -n 1)
  [ "$got" = "$expected" ] || fail "--help under $locale begins '$got', not '$expected'"
done <<'CASES'
C.UTF-8|Usage: newyear-card [OPTION]...
en_GB.UTF-8|Usage: newyear-card [OPTION]...
sl_SI.UTF-8|Uporaba: newyear-card [MOŽNOST]...
de_DE.UTF-8|Aufruf: newyear-card [OPTION]...
de_AT.UTF-8|Aufruf: newyear-card [OPTION]...
CASES

[ "$failures" -eq 0 ] || exit 1
echo "every text of the window has its Slovenian and German translation"

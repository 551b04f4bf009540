#!/usr/bin/env bash
# Checks the lookup page that -html writes in a real browser: headless
# Chromium (Debian's chromium, installed when missing) opens the page of a
# run over examples/contest-weekend.adi and a log written here, a callsign
# in its address, and the page as the browser made it is checked: a whole
# callsign, a beginning that several callsigns share, lower case, a callsign
# not worked, the overview, a comment holding markup and script (shown as
# text, and nothing of it runs or changes the page), a Latin-1 comment.
#
# ctest runs it with the program it built; run by hand, it builds one.
#
#   bash tests/browser/lookup_page_test.sh [QUORVEL]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bash "$top/scripts/install-deps" chromium
quorvel=${1:+$(realpath "$1")}
if [ -z "$quorvel" ]; then
  cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$top/build" --parallel "$(nproc)" --target quorvel >/dev/null
  quorvel="$top/build/quorvel"
fi
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-page-XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C

# tag NAME VALUE: an ADIF field, its length counted in bytes.
tag() { printf '<%s:%d>%s ' "$1" "${#2}" "$2"; }
attack="</script><script>document.title='PWNED';document.body.innerHTML='PWNED'</script><h1 id=pwned>PWNED</h1><img src=x onerror=alert(1)>"
{
  printf 'ADIF written for the page check\n<EOH>\n'
  tag CALL G4ABD; tag QSO_DATE 20240311; tag TIME_ON 1200; tag BAND 20M; tag MODE CW; tag COMMENT "$attack"; printf '<EOR>\n'
  tag CALL F5LAT; tag QSO_DATE 20240311; tag TIME_ON 1300; tag BAND 40M; tag MODE SSB; tag COMMENT $'CAF\xe9'; printf '<EOR>\n'
  tag CALL G4ABC; tag QSO_DATE 20240312; tag TIME_ON 0800; tag BAND 15M; tag MODE FT8; printf '<EOR>\n'
} >"$work/page-check.adi"
mkdir "$work/run"
(cd "$work/run" && "$quorvel" -html -comment "$top/examples/contest-weekend.adi" "$work/page-check.adi" >/dev/null 2>&1)

# dom ADDRESS-HASH: the page as the browser made it, opened at that hash.
dom() {
  timeout 60 chromium --headless --no-sandbox --disable-gpu --no-first-run --disable-extensions \
    --dump-dom "file://$work/run/LOOKUP.HTM$1" 2>/dev/null
}

checks=0 failed=0
# check WHAT HASH TEXT...: each TEXT must stand in the page opened at HASH;
# a TEXT that starts with "!" must not.
check() {
  local what=$1 hash=$2 problem="" text
  shift 2
  dom "$hash" >"$work/dom"
  for text in "$@"; do
    if [ "${text:0:1}" = "!" ]; then
      if grep -qiF -- "${text:1}" "$work/dom"; then problem="$problem; holds ${text:1}"; fi
    elif ! grep -qF -- "$text" "$work/dom"; then
      problem="$problem; lacks $text"
    fi
  done
  checks=$((checks + 1))
  if [ -z "$problem" ]; then
    echo "lookup page: $what: ok"
  else
    failed=$((failed + 1))
    echo "lookup page: $what: FAILED${problem}"
  fi
}

# The page's own script ran when it marked the body ready.
ready='data-ready-ms='
check "a whole callsign" "#G4ABC" "$ready" '<p id="summary">2 contacts with 1 callsign</p>' \
  '<h2>G4ABC</h2><pre> 20240309 1815       20  CW G4ABC ' ' 20240312 0800       15 FT8 G4ABC </pre>' '!<h2>G4ABD'
check "a beginning several callsigns share" "#G4AB" '<p id="summary">3 contacts with 2 callsigns</p>' \
  '<h2>G4ABC</h2>' '<h2>G4ABD</h2>' '!<h2>G3XYZ'
check "lower case typed" "#g4abc" '<p id="summary">2 contacts with 1 callsign</p>' '<h2>G4ABC</h2>'
check "not worked" "#ZZ9ZZZ" '<p id="summary">Not worked</p>' '<div id="answer"></div>'
check "the overview" "" '<p id="summary">10 contacts in 36 lists</p>' '<li><span>G.TXT</span><span>4</span></li>' \
  '<li><span>Z.TXT</span><span>0</span></li>'
check "a comment holding markup and script" "#G4ABD" "$ready" '<title>quorvel lookup</title>' \
  '** &lt;/SCRIPT&gt;&lt;SCRIPT&gt;DOCUMENT.TITLE=' '&lt;H1 ID=PWNED&gt;PWNED&lt;/H1&gt;&lt;IMG SRC=X ONERROR=ALERT(1)&gt;' \
  '!<h1 id="pwned"' '!<img' '!<title>PWNED'
check "a Latin-1 comment" "#F5LAT" $'F5LAT ** CAF\xc3\xa9</pre>'
echo "lookup page: $checks checks, $((checks - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]

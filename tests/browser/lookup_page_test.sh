#!/usr/bin/env bash
# Checks the lookup page that -html writes in real browsers: headless
# Chromium and Firefox ESR (Debian's chromium and firefox-esr, installed
# when missing, driven by drive.py) open the page of a run over
# examples/contest-weekend.adi and a log written here, a callsign in its
# address, and the page as each browser made it is checked: a callsign's
# card (its dates, its band and mode grid cell by cell, its contacts), a
# beginning that several callsigns share, a callsign a wide frequency
# moved right, lower case, a callsign not worked, the overview's pictures
# (the band bars' numbers counted from the lists here), a most-worked
# callsign clicked, a comment holding markup and script (shown as text,
# and nothing of it runs or changes the page), a Latin-1 comment in a
# list the script must look through whole, a contact of a spreadsheet
# that writes its date and time in one field, a month-first date a later
# row settles; and on a second page, of a text log alone, each contact's
# card as the reader understood it: frequencies of every band from 160 m
# to 23 cm and below 1 MHz, bands written with their units (one wider
# than its field beside a four-letter mode), day-first dates a later row
# settles.
#
# ctest runs it with the program it built; run by hand, it builds one.
#
#   bash tests/browser/lookup_page_test.sh [QUORVEL]
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bash "$top/scripts/install-deps" chromium chromium-driver firefox-esr python3
quorvel=${1:+$(realpath "$1")}
if [ -z "$quorvel" ]; then
  cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$top/build" --parallel "$(nproc)" --target quorvel >/dev/null
  quorvel="$top/build/quorvel"
fi
source "$top/scripts/lib.sh"
scratch_folder page
export LC_ALL=C

# tag NAME VALUE: an ADIF field, its length counted in bytes.
tag() { printf '<%s:%d>%s ' "$1" "${#2}" "$2"; }
attack="</script><script>document.title='PWNED';document.body.innerHTML='PWNED'</script><h1 id=pwned>PWNED</h1><img src=x onerror=alert(1)>"
{
  printf 'ADIF written for the page check\n<EOH>\n'
  tag CALL G4ABD; tag QSO_DATE 20240311; tag TIME_ON 1200; tag BAND 20M; tag MODE CW; tag COMMENT "$attack"; printf '<EOR>\n'
  tag CALL F5LAT; tag QSO_DATE 20240311; tag TIME_ON 1300; tag BAND 40M; tag MODE SSB; tag COMMENT $'CAF\xe9'; printf '<EOR>\n'
  tag CALL G4ABC; tag QSO_DATE 20240312; tag TIME_ON 0800; tag BAND 15M; tag MODE FT8; printf '<EOR>\n'
  tag CALL G4ABC; tag QSO_DATE 20240311; tag TIME_ON 0900; tag BAND 20M; tag MODE CW; printf '<EOR>\n'
  # A frequency wider than the band's field moves the callsign right on
  # its line, and the list still sorts by it: the page halves G.TXT to
  # find it. A slashed zero typed as a letter past ASCII leaves F.TXT in
  # an order the page's script does not see, and it looks through it whole.
  tag CALL G0AAA; tag QSO_DATE 20240313; tag TIME_ON 1200; tag FREQ 14.0250000; tag MODE CW; printf '<EOR>\n'
  tag CALL $'F\xc3\x98AA'; tag QSO_DATE 20240313; tag TIME_ON 1300; tag BAND 20M; tag MODE CW; printf '<EOR>\n'
} >"$work/page-check.adi"
printf 'Date,Call,Band,Mode\n3/9/2024 18:15,VK3ABC,20m,FT8\n6/21/2024 09:00,VK4ABC,20m,FT8\n' >"$work/spreadsheet.csv"
mkdir "$work/run" "$work/text"
(cd "$work/run" && "$quorvel" -html -comment "$top/examples/contest-weekend.adi" "$work/page-check.adi" \
  "$work/spreadsheet.csv" >/dev/null 2>&1)
# The second page: each row a callsign, its band as the log wrote it, the
# band and mode its card shows; the day settled by the last row.
rows=(AA1AAA,1.830,CW,160M AA2AAA,3.525,SSB,80M AA3AAA,5.357,FT8,60M AA4AAA,7.025,CW,40M AA5AAA,10.136,FT8,30M
  AA6AAA,14.025,CW,20M AA7AAA,18.080,RTTY,17M AA8AAA,21.025,CW,15M AA9AAA,24.900,SSB,12M AB1AAA,28.025,FT8,10M
  AB2AAA,50.125,FT8,6M AB3AAA,144.300,FM,2M AB4AAA,222.100,FM,1.25M AB5AAA,432.100,FM,70CM AB6AAA,1296.200,CW,23CM
  AB7AAA,0.4757,CW,630M AB8AAA,0.1375,CW,2190M AB9AAA,1.25m,FM,1.25M AC1AAA,13cm,RTTY,13CM AC2AAA,144MHz,FM,2M
  AC3AAA,23cm,FM,23CM)
{
  echo "Date,Time,Call,Band,Mode"
  for i in "${!rows[@]}"; do
    IFS=, read -r call band mode _ <<<"${rows[$i]}"
    printf '%02d/06/2024,%04d,%s,%s,%s\n' $((4 + i / 7 + 14 * (i == ${#rows[@]} - 1))) $((101 + i)) "$call" "$band" "$mode"
  done
} >"$work/text.csv"
(cd "$work/text" && "$quorvel" -html "$work/text.csv" >/dev/null 2>&1)

# The contacts per band, counted from the lists: each line's band, the
# word before the mode (or a glued band and mode less its four-letter
# mode), named as the ADIF band table does.
band_rows=$(cat "$work/run"/*.TXT | awk '
  BEGIN { n["40"] = "40M"; n["14.025"] = "20M"; n["14.0250000"] = "20M"; n["20"] = "20M"; n["20M"] = "20M"; n["15"] = "15M"
          n["10"] = "10M"; n["70C"] = "70CM"; split("40M 20M 15M 10M 70CM", order, " ") }
  { line = $0; sub(/ [*][*] .*/, "", line); words = split(line, w, " ")
    band = words == 5 ? w[3] : substr(w[3], 1, length(w[3]) - 4); count[band in n ? n[band] : "other"]++ }
  END { for (i = 1; i <= 5; ++i) printf "<tr><th>%s</th><td>%d</td></tr>", order[i], count[order[i]] }')

# The steps every browser takes, and what each page it keeps must hold
# (a text that starts with "!" must not stand in it).
steps=(open:#G0AAA dom:wide open:#G4ABC dom:whole open:#G4AB dom:shared open:#g4abc dom:lower open:#ZZ9ZZZ dom:absent
  open: dom:overview 'click:svg a text' dom:clicked open:#G4ABD dom:markup open:#F5LAT dom:latin1 open:#VK3ABC dom:datetime
  open:#VK4ABC dom:settled)
# The page's own script ran when it marked the body ready.
ready='data-ready-ms='
grid='<table class="grid"><caption>By band and mode</caption><thead><tr><th>Band</th><th>CW</th><th>FT8</th></tr></thead><tbody><tr><th>20M</th><td>2</td><td class="none">·</td></tr><tr><th>15M</th><td class="none">·</td><td>1</td></tr></tbody></table>'
declare -A expected=(
  [whole]="$ready|<p id=\"summary\">3 contacts with 1 callsign</p>|<h2>G4ABC</h2><p class=\"facts\">3 contacts, first 2024-03-09, last 2024-03-12</p>|$grid|<tbody><tr><td>2024-03-12</td><td>0800</td><td title=\"15\">15M</td><td>FT8</td><td></td></tr><tr><td>2024-03-11</td><td>0900</td><td title=\"20\">20M</td><td>CW</td><td></td></tr><tr><td>2024-03-09</td><td>1815</td><td title=\"20\">20M</td><td>CW</td><td></td></tr></tbody>|!<h2>G4ABD"
  [shared]="<p id=\"summary\">4 contacts with 2 callsigns</p>|<h2>G4ABC</h2>|<h2>G4ABD</h2>|!<h2>G3XYZ"
  [lower]="<p id=\"summary\">3 contacts with 1 callsign</p>|<h2>G4ABC</h2>"
  [absent]="<p id=\"summary\">Not worked</p>|<div id=\"answer\"></div>"
  [overview]="<p id=\"summary\">15 contacts in 36 lists</p>|aria-label=\"Contacts per band\"|aria-label=\"Contacts per mode\"|aria-label=\"Contacts per year\"|aria-label=\"Most-worked callsigns\"|<caption>Contacts per band</caption><thead><tr><th>Band</th><th>Contacts</th></tr></thead><tbody>$band_rows</tbody>|<caption>Contacts per mode</caption><thead><tr><th>Mode</th><th>Contacts</th></tr></thead><tbody><tr><th>CW</th><td>6</td></tr><tr><th>FT8</th><td>4</td></tr><tr><th>SSB</th><td>2</td></tr><tr><th>FM</th><td>1</td></tr>|<tr><th>2024</th><td>15</td></tr>|<a href=\"#G4ABC\"><text|!<h2>"
  [clicked]="<p id=\"summary\">3 contacts with 1 callsign</p>|<h2>G4ABC</h2>|$grid"
  [markup]="$ready|<title>quorvel lookup</title>|<td>&lt;/SCRIPT&gt;&lt;SCRIPT&gt;DOCUMENT.TITLE=|&lt;H1 ID=PWNED&gt;PWNED&lt;/H1&gt;&lt;IMG SRC=X ONERROR=ALERT(1)&gt;</td>|!<h1 id=\"pwned\"|!<img|!<title>PWNED"
  [wide]="<p id=\"summary\">1 contact with 1 callsign</p>|<h2>G0AAA</h2><p class=\"facts\">1 contact, on 2024-03-13</p>|<td title=\"14.0250000\">20M</td>"
  [latin1]=$'<td>CAF\xc3\xa9</td>'
  [datetime]="<h2>VK3ABC</h2><p class=\"facts\">1 contact, on 2024-03-09</p>|<td>2024-03-09</td><td>1815</td><td>20M</td><td>FT8</td>"
  [settled]="<h2>VK4ABC</h2>|<td>2024-06-21</td><td>0900</td><td>20M</td><td>FT8</td>"
)
names=(wide whole shared lower absent overview clicked markup latin1 datetime settled)
declare -A what=([wide]="a callsign a wide frequency moved" [whole]="a callsign's card" [shared]="a beginning several callsigns share" [lower]="lower case typed"
  [absent]="not worked" [overview]="the overview" [clicked]="a most-worked callsign clicked"
  [markup]="a comment holding markup and script" [latin1]="a Latin-1 comment, in a list the page looks through whole"
  [datetime]="a contact whose date and time stood in one field" [settled]="a month-first date a later row settled")
steps2=()
for i in "${!rows[@]}"; do
  IFS=, read -r call _ mode band <<<"${rows[$i]}"
  day=$((4 + i / 7 + 14 * (i == ${#rows[@]} - 1)))
  steps2+=("open:#$call" "dom:text-$call")
  names+=("text-$call")
  expected["text-$call"]="<h2>$call</h2>|<td>2024-06-$(printf %02d $day)</td><td>$(printf %04d $((101 + i)))</td>|>$band</td><td>$mode</td>"
  what["text-$call"]="a text log's contact on $band"
done

checks=0 failed=0
for browser in chromium firefox; do
  mkdir "$work/$browser"
  if ! timeout 300 python3 "$top/tests/browser/drive.py" "$browser" "file://$work/run/LOOKUP.HTM" "$work/$browser" \
    "${steps[@]}" || ! timeout 300 python3 "$top/tests/browser/drive.py" "$browser" "file://$work/text/LOOKUP.HTM" \
    "$work/$browser" "${steps2[@]}"; then
    echo "lookup page: $browser: FAILED to drive it"
    failed=$((failed + 1))
    continue
  fi
  for name in "${names[@]}"; do
    problem=""
    IFS='|' read -r -a texts <<<"${expected[$name]}"
    for text in "${texts[@]}"; do
      if [ "${text:0:1}" = "!" ]; then
        if grep -qiF -- "${text:1}" "$work/$browser/$name"; then problem="$problem; holds ${text:1}"; fi
      elif ! grep -qF -- "$text" "$work/$browser/$name"; then
        problem="$problem; lacks $text"
      fi
    done
    checks=$((checks + 1))
    if [ -z "$problem" ]; then
      echo "lookup page: $browser: ${what[$name]}: ok"
    else
      failed=$((failed + 1))
      echo "lookup page: $browser: ${what[$name]}: FAILED${problem}"
    fi
  done
done
echo "lookup page: $checks checks, $((checks - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]

#!/bin/sh
# quorvant-ini against crudini (Debian package crudini): the same 100 sets on a 10 KB and a 1 MB
# server-style file (CRLF, comments, "Key = value" spacing, trailing blanks, a repeated key in
# other capitals). Run by hand:  bench/ini_tool_bench.sh [BUILD_DIR]
# For each size it prints the time per set and the lines each tool changed besides the 100 set
# lines:
#   - on the Windows-1252 file the server really has (crudini cannot decode it);
#   - on the same text in UTF-8, names spelled as in the file (crudini's best case);
#   - on the UTF-8 file with names in other capitals, as the window and the server match them.
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$top/build}/quorvant-ini
command -v crudini >/dev/null || { echo "crudini is not installed (apt-get install crudini)" >&2; exit 1; }
[ -x "$tool" ] || { echo "no $tool; build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

make_file() {  # SIZE ENCODING OUT
    python3 - "$@" <<'PY'
import sys
size, encoding, out = int(sys.argv[1]), sys.argv[2], sys.argv[3]
lines = ["; Settings of the automation server", "; Last edited by hand"]
n = 0
while sum(len(l) + 2 for l in lines) < size:
    lines += ["", "[Section%d]" % n, "; players of block %d" % n,
              "PresLevel = 80", "Mixsnelheid=1500", "Naam=Caf\u00e9 %d" % n,
              "LogPath=C:\\Radio\\log  ", "UPPER=1", "upper=duplicate", "Path=\\\\server\\share;x"]
    n += 1
open(out, "wb").write(("\r\n".join(lines) + "\r\n").encode(encoding))
PY
}

sets() {  # FILE CAPITALS(as-file|other): 100 sets of PresLevel, spread over the sections
    sections=$(grep -c '^\[' "$1")
    i=0
    while [ $i -lt 100 ]; do
        s=$(( i * sections / 100 ))
        if [ "$2" = as-file ]; then echo "Section$s PresLevel $((i + 1))"; else echo "SECTION$s preslevel $((i + 1))"; fi
        i=$((i + 1))
    done
}

now() { date +%s%N; }

measure() {  # LABEL WHO FILE SETS
    cp "$3" "$work/out.ini"
    : > "$work/err"
    failed=0
    start=$(now)
    while read -r section key value; do
        if [ "$2" = quorvant-ini ]; then
            "$tool" "$work/out.ini" set "$section" "$key" "$value" 2>>"$work/err" || failed=$((failed + 1))
        else
            crudini --set "$work/out.ini" "$section" "$key" "$value" 2>>"$work/err" || failed=$((failed + 1))
        fi
    done < "$4"
    end=$(now)
    set_lines=$(diff --text "$3" "$work/out.ini" | grep -ci '^> *preslevel *= *[0-9]' || true)
    other=$(diff --text "$3" "$work/out.ini" | grep '^[<>]' | grep -vi '^[<>] *preslevel *= *[0-9]' | wc -l)
    printf '%-28s %-12s %7.2f ms/set  %3d failed  %3d set lines  %5d other lines changed\n' \
        "$1" "$2" "$(echo "($end - $start) / 100 / 1000000" | bc -l)" "$failed" "$set_lines" "$other"
    [ "$failed" -eq 0 ] || echo "    first error: $(grep -m1 'Error' "$work/err" || head -c 200 "$work/err")"
    if [ "$other" -gt 0 ]; then
        echo "    first other changes:"
        diff --text "$3" "$work/out.ini" | grep '^[<>]' | grep -vi '^[<>] *preslevel *= *[0-9]' | head -4 | sed 's/^/      /'
    fi
}

for size in 10240 1048576; do
    make_file "$size" cp1252 "$work/w1252.ini"
    make_file "$size" utf-8 "$work/utf8.ini"
    sets "$work/w1252.ini" as-file > "$work/as-file"
    sets "$work/w1252.ini" other > "$work/other"
    echo "== $(stat -c %s "$work/w1252.ini") bytes, $(grep -c '^\[' "$work/w1252.ini") sections"
    for who in quorvant-ini crudini; do
        measure "Windows-1252, other capitals" "$who" "$work/w1252.ini" "$work/other"
        measure "UTF-8, names as in the file" "$who" "$work/utf8.ini" "$work/as-file"
        measure "UTF-8, other capitals" "$who" "$work/utf8.ini" "$work/other"
    done
done

#!/bin/sh
# quorvant-ini against crudini (Debian package crudini): the same 100 sets on a 10 KB and a 1 MB
# server-style file (Windows-1252, CRLF, comments, "Key = value" spacing, mixed-case names,
# a repeated key). Prints the time per set and, per tool, the lines that changed besides the 100
# values that were set. Run by hand:  bench/ini_tool_bench.sh [BUILD_DIR]
set -eu
top=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$top/build}/quorvant-ini
command -v crudini >/dev/null || { echo "crudini is not installed (apt-get install crudini)" >&2; exit 1; }
[ -x "$tool" ] || { echo "no $tool; build first" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A file of about SIZE bytes: [Section0..N], each with a comment, spaced and plain keys.
make_file() {
    python3 - "$1" "$2" <<'PY'
import sys
size, out = int(sys.argv[1]), sys.argv[2]
lines = ["; Settings of the automation server", "; Last edited by hand"]
n = 0
while sum(len(l) + 2 for l in lines) < size:
    lines += ["", "[Section%d]" % n, "; players of block %d" % n,
              "PresLevel = 80", "Mixsnelheid=1500", "Naam=Caf\u00e9 %d" % n,
              "LogPath=C:\\Radio\\log  ", "UPPER=1", "upper=duplicate", "Path=\\\\server\\share;x"]
    n += 1
open(out, "wb").write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
PY
}

# The 100 sets: PresLevel of the first 100 sections (wrapping in small files), written with other capitals.
sets() {
    sections=$(grep -c '^\[' "$1")
    i=0
    while [ $i -lt 100 ]; do
        echo "section$((i % sections)) preslevel $((i + 1))"
        i=$((i + 1))
    done
}

now() { date +%s%N; }

run() {  # run LABEL SIZE
    label=$1
    make_file "$2" "$work/orig.ini"
    sets "$work/orig.ini" > "$work/sets"
    bytes=$(stat -c %s "$work/orig.ini")
    for who in quorvant-ini crudini; do
        cp "$work/orig.ini" "$work/$who.ini"
        start=$(now)
        while read -r section key value; do
            if [ "$who" = quorvant-ini ]; then
                "$tool" "$work/$who.ini" set "$section" "$key" "$value"
            else
                crudini --set "$work/$who.ini" "$section" "$key" "$value" 2>>"$work/crudini.err" || echo "crudini failed" >>"$work/crudini.err"
            fi
        done < "$work/sets"
        end=$(now)
        per=$(( (end - start) / 100000 ))
        # Changed lines other than the PresLevel lines the sets were for.
        other=$(diff --text "$work/orig.ini" "$work/$who.ini" | grep '^[<>]' | grep -vi '^[<>] *preslevel *=' | wc -l)
        preslines=$(diff --text "$work/orig.ini" "$work/$who.ini" | grep -ci '^> *preslevel *=' || true)
        printf '%-6s %8d bytes  %-12s %8.2f ms/set  %4d PresLevel lines written, %6d other lines changed\n' \
            "$label" "$bytes" "$who" "$(echo "$per / 1000" | bc -l)" "$preslines" "$other"
        cp "$work/$who.ini" "$work/$label-$who.ini"
    done
}

run 10KB 10240
run 1MB 1048576

echo
echo "What crudini changed in the 10 KB file besides the sets (first lines of the diff):"
diff --text "$work/orig.ini" "$work/10KB-crudini.ini" | grep -vi 'preslevel' | head -20 || true
file "$work/orig.ini" "$work/10KB-crudini.ini" "$work/10KB-quorvant-ini.ini" | sed "s|$work/||"
[ -s "$work/crudini.err" ] && { echo "crudini errors:"; sort "$work/crudini.err" | uniq -c | head -5; }
exit 0

#!/bin/bash
# The Windows artefacts as a station would use them, under Wine and Xvfb, against the Linux build
# of the same checkout:
#   tests/windows/smoke.sh WINDOWS_BUILD LINUX_BUILD
# 1. a silent install of the installer, with the server's folder given;
# 2. quorvant-ini.exe get, set, del, list, check and history on UTF-8, Windows-1252 and UTF-16
#    files: output and files byte for byte as the Linux tool's;
# 3. the installed quorvant.exe, started without --folder (the installer's folder), saved with
#    Ctrl+S: server.ini and news.ini byte for byte as the Linux program saves them;
# 4. a silent uninstall that removes the program and leaves the settings and their history.
# Exit 0 when all hold; 77 (skipped) without wine or Xvfb.
set -u
win=$(cd "$1" && pwd)
lin=$(cd "$2" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
command -v wine >/dev/null && command -v Xvfb >/dev/null && command -v xdotool >/dev/null || exit 77

version=$(sed -n 's/^project(Quorvant VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
setup=$win/quorvant-$version-setup.exe
work=$(mktemp -d /tmp/quorvant-smoke.XXXXXX)
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
xvfb=
cleanup() {
    wineserver -k 2>/dev/null
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "smoke: FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "smoke: ok: $*"; }
winpath() { echo "Z:$1" | tr / '\\'; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
wineboot -i >/dev/null 2>&1

# --- 1. Silent install. -----------------------------------------------------------------------
station=$work/station
mkdir -p "$station/database"
cp "$top/sample/database/"* "$station/database/"
# Values a save rewrites (a word, a fraction, blanks), so the save below has something to write.
sed -e "s|@DATABASE@|$(winpath "$station/database" | sed 's/\\/\\\\/g')|" \
    -e 's/^PresLevel=.*/PresLevel= 81.5/' -e 's/^PresFactor=.*/PresFactor= 3 /' \
    "$top/sample/server.ini.in" > "$station/server.ini"
cp "$top/sample/news.ini" "$station/news.ini"
reference=$work/reference
cp -r "$station" "$reference"
cp "$station/server.ini" "$work/server-before.ini"
sed -i "s|^DatabasePath=.*|DatabasePath=$(winpath "$station/database" | sed 's/\\/\\\\/g')|" "$reference/server.ini"

program_files="$WINEPREFIX/drive_c/Program Files/Quorvant"
# Into the default folder: Wine would quote a /D= with a space, and the installer takes /D= only
# unquoted (as the last word, the way it is typed on Windows).
wine "$setup" /S "/FOLDER=$(winpath "$station")"
wineserver -w
if [ -f "$program_files/quorvant.exe" ] && [ -f "$program_files/quorvant-ini.exe" ] && [ -f "$program_files/uninstall.exe" ] &&
   [ -f "$program_files/plugins/platforms/qwindows.dll" ] && [ -f "$program_files/translations/qtbase_nl.qm" ]; then
    pass "silent install into Program Files"
else
    fail "silent install: $(ls "$program_files" 2>&1 | tr '\n' ' ')"
fi

# --- 2. quorvant-ini.exe against the Linux tool. --------------------------------------------
ini_win() { (cd "$1" && wine "$program_files/quorvant-ini.exe" "${@:2}"); }
ini_lin() { (cd "$1" && "$lin/quorvant-ini" "${@:2}"); }
for fixture in server-utf8-lf server-cp1252-crlf server-utf16le-crlf; do
    for side in lin win; do
        mkdir -p "$work/ini-$side-$fixture"
        cp "$top/tests/data/untouched/$fixture.ini" "$work/ini-$side-$fixture/server.ini"
    done
    step=0
    while IFS= read -r line; do
        step=$((step + 1))
        eval "set -- $line"
        for side in lin win; do
            "ini_$side" "$work/ini-$side-$fixture" "$@" > "$work/out-$side" 2>/dev/null
            echo "exit $?" >> "$work/out-$side"
            # Who and when differ by nature; the rest of a history line must not.
            if [ "$2" = history ]; then  # $1 is the file
                awk -F'\t' 'BEGIN { OFS = "\t" } $4 ~ /^quorvant-ini/ { $2 = "-"; $3 = "-"; $4 = "quorvant-ini" } { print }' \
                    "$work/out-$side" > "$work/out-$side.masked" && mv "$work/out-$side.masked" "$work/out-$side"
            fi
        done
        if cmp -s "$work/out-lin" "$work/out-win" &&
           cmp -s "$work/ini-lin-$fixture/server.ini" "$work/ini-win-$fixture/server.ini"; then
            pass "$fixture: quorvant-ini $line"
        else
            fail "$fixture: quorvant-ini $line"
            diff <(od -c "$work/out-lin") <(od -c "$work/out-win") | head -n 10
            cmp "$work/ini-lin-$fixture/server.ini" "$work/ini-win-$fixture/server.ini"
        fi
    done <<'EOF'
server.ini get Faders PresLevel
server.ini set Faders PresLevel 95
server.ini set Files LogPath 'D:\Logboek\één'
server.ini del Faders PresSpeed
server.ini list Faders
server.ini --dry-run set Faders FaderSpeed 2600
server.ini set Faders PresLevel 5000
server.ini --force set Faders PresLevel 5000
server.ini history
server.ini diff 2
server.ini restore 1
server.ini get Faders PresLevel
EOF
done

# --- 3. The installed window, started as from the Start menu, saved with Ctrl+S. -------------
save_with_ctrl_s() {  # folder log command...
    local folder=$1 log=$2; shift 2
    local before; before=$(ls -a "$folder/.quorvant-history" 2>/dev/null | wc -l)
    "$@" > "$log" 2>&1 &
    local window=""
    for _ in $(seq 120); do
        window=$(xdotool search --onlyvisible --name '^Quorvant [0-9]' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || { echo "no window"; return 1; }
    sleep 2
    # What the window looked like, for the one who reads the log (ImageMagick, where installed).
    command -v import >/dev/null && import -window root "$win/smoke-$(basename "$log" .log).png" 2>/dev/null
    xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
    xdotool key --clearmodifiers ctrl+s
    for _ in $(seq 60); do
        [ "$(ls -a "$folder/.quorvant-history" 2>/dev/null | wc -l)" -gt "$before" ] && break
        sleep 0.5
    done
    sleep 1
    xdotool key --clearmodifiers alt+F4 2>/dev/null
    return 0
}
started=$(date +%s.%N)
save_with_ctrl_s "$station" "$work/window-win.log" wine "$program_files/quorvant.exe" || fail "quorvant.exe showed no window"
# Wine's window may outlive the program for a moment: the search below must not find it.
wineserver -k 2>/dev/null
wineserver -w 2>/dev/null
save_with_ctrl_s "$reference" "$work/window-lin.log" "$lin/quorvant" --folder "$reference" || fail "quorvant showed no window"
wineserver -k 2>/dev/null
pkill -f "$lin/quorvant --folder" 2>/dev/null
for file in server.ini news.ini; do
    if cmp -s "$station/$file" "$reference/$file"; then
        pass "window save of $file byte for byte as on Linux"
    else
        fail "window save of $file differs from Linux"
        diff "$reference/$file" "$station/$file" | head -n 20
    fi
done
if ! cmp -s "$station/server.ini" "$work/server-before.ini" && grep -q '^PresLevel=82' "$station/server.ini"; then
    pass "the save wrote what the window showed"
else
    fail "server.ini was not saved"
fi

# --- 4. Silent uninstall. ---------------------------------------------------------------------
wine "$program_files/uninstall.exe" /S
wineserver -w
sleep 2
wineserver -w
if [ ! -e "$program_files/quorvant.exe" ] && [ -f "$station/server.ini" ] && [ -f "$station/news.ini" ] &&
   [ -d "$station/.quorvant-history" ]; then
    pass "uninstall removed the program and kept the settings and their history"
else
    fail "uninstall: $(ls "$program_files" 2>&1 | tr '\n' ' ')"
fi

echo "smoke: $failures failure(s)"
[ $failures -eq 0 ]

#!/bin/bash
# Installs the build into a temporary prefix and checks the installed copy as a user meets it:
# the layout; one version in --version of both programs (without a display, also after Qt's
# -platform), the manual pages and the metainfo; then the installed window, started
# with --folder on a copy of the sample under a private X server with the accessibility bus, must
# show its texts, fill the genre list through its helper, and save into that folder when its save
# button is pressed. Exit 77 (skipped) for the window part when Xvfb or pyatspi is missing.
#   tests/installed_program.sh BUILD_DIR SOURCE_DIR
set -u
build=$1
source=$2
work=$(mktemp -d)
cleanup() { [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install"
for f in bin/quorvant bin/quorvant-ini libexec/quorvant/quorvant-genres share/quorvant/quorvant.lng \
         share/applications/org.quorvant.Quorvant.desktop share/metainfo/org.quorvant.Quorvant.metainfo.xml \
         share/icons/hicolor/scalable/apps/quorvant.svg share/man/man1/quorvant.1.gz share/man/man1/quorvant-ini.1.gz \
         share/doc/quorvant/copyright share/doc/quorvant/changelog.gz \
         share/icons/hicolor/16x16/apps/quorvant.png share/icons/hicolor/256x256/apps/quorvant.png; do
    [ -e "$prefix/$f" ] || fail "not installed: $f"
done
[ "$(ls "$prefix/bin")" = "$(printf 'quorvant\nquorvant-ini')" ] || fail "bin/ holds: $(ls "$prefix/bin")"
[ ! -e "$prefix/lib" ] || fail "something was installed in lib/: $(ls -R "$prefix/lib")"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build/CMakeCache.txt"
said=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/quorvant" -platform offscreen --version) || fail "quorvant --version"
[ "$said" = "Quorvant $version" ] || fail "quorvant --version said: $said"
said=$("$prefix/bin/quorvant-ini" --version)
[ "$said" = "quorvant-ini $version" ] || fail "quorvant-ini --version said: $said"
for page in quorvant quorvant-ini; do
    zcat "$prefix/share/man/man1/$page.1.gz" | head -1 | grep -q "\"Quorvant $version\"" || fail "$page.1 gives another version"
done
grep -q "<release version=\"$version\"" "$prefix/share/metainfo/org.quorvant.Quorvant.metainfo.xml" || fail "metainfo release"
zcat "$prefix/share/doc/quorvant/changelog.gz" | head -1 | grep -q "^quorvant ($version) " || fail "changelog's newest entry"

# A copy of the sample without PresLevel: the window's save writes it again, which shows where it saved.
folder=$work/station
mkdir "$folder"
sed "s|@DATABASE@|$source/sample/database|" "$source/sample/server.ini.in" | grep -v '^PresLevel=' > "$folder/server.ini"
cp "$source/sample/news.ini" "$folder/news.ini"
"$prefix/bin/quorvant-ini" "$folder/server.ini" get Faders PresLevel >/dev/null 2>&1 && fail "PresLevel still in the copy"

command -v Xvfb >/dev/null && command -v dbus-run-session >/dev/null && [ -x /usr/libexec/at-spi-bus-launcher ] &&
    /usr/bin/python3 -c 'import pyatspi' 2>/dev/null || { echo "SKIP: the window part needs Xvfb, dbus and pyatspi"; exit 77; }

Xvfb -displayfd 3 -screen 0 1600x1200x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$work/display")"
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/xdg
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"

dbus-run-session -- /bin/bash -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 & launcher=$!
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$0" --folder "$1" >"$2/program.log" 2>&1 & program=$!
    /usr/bin/python3 - "$program" "$1" <<"PY"
import os, sys, time, pyatspi
pid = int(sys.argv[1])
server_ini = os.path.join(sys.argv[2], "server.ini")
def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        try:
            if a is not None and a.get_process_id() == pid: return a
        except Exception: pass
def find(node, test):
    if test(node): return node
    for i in range(node.childCount):
        c = node.getChildAtIndex(i)
        r = find(c, test) if c is not None else None
        if r: return r
app = None
# Waits are generous and end early: a loaded machine may take long to start the window.
for _ in range(300):
    app = application()
    if app and find(app, lambda n: n.getRoleName() == "push button" and n.name == "Wijzigingen bewaren"): break
    time.sleep(0.2)
save = app and find(app, lambda n: n.getRoleName() == "push button" and n.name == "Wijzigingen bewaren")
if not save: print("FAIL: no save button named from the texts"); sys.exit(1)
genre = None
for _ in range(150):  # the helper answers from its own process
    genre = find(app, lambda n: n.name == "Kleinkunst")
    if genre: break
    time.sleep(0.2)
if not genre: print("FAIL: the genre list was not filled by the helper"); sys.exit(1)
save.queryAction().doAction(0)
# The save has landed once the key it adds is in the file.
for _ in range(150):
    if "PresLevel=" in open(server_ini, encoding="latin-1").read(): break
    time.sleep(0.2)
PY
    rc=$?
    kill $program $launcher 2>/dev/null; wait 2>/dev/null
    exit $rc' "$prefix/bin/quorvant" "$folder" "$work" 2> >(grep -v "Failed to set fd limit" >&2) || { cat "$work/program.log" >&2; fail "the installed window"; }

[ "$("$prefix/bin/quorvant-ini" "$folder/server.ini" get Faders PresLevel)" = 0 ] || fail "the window did not save into $folder"
[ ! -e "$prefix/bin/server.ini" ] || fail "a server.ini was written beside the installed program"
[ ! -e "$HOME/.config/quorvant" ] || fail "--folder must not be remembered"
echo "PASS"

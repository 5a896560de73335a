#!/bin/sh
# Makes the Debian package from a build folder (cpack -G DEB, as the README does) in a scratch
# folder and runs lintian on it: any error (E:) or warning (W:) fails. Exit 77 (skipped) on a
# machine without lintian or dpkg-shlibdeps.
#   resources/check-package.sh BUILD_DIR
set -u
build=$1
for tool in lintian dpkg-shlibdeps cpack; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
set -- "$work"/*.deb
[ -f "$1" ] || { cat "$work/cpack.log"; echo "FAIL: cpack made no package"; exit 1; }
# Information (I:) is shown, not failed on. Its warning about running as root says nothing about
# the package.
lintian --display-info --fail-on error,warning "$1" 2>"$work/lintian.err"
status=$?
grep -v "running with root privileges" "$work/lintian.err" >&2
exit $status

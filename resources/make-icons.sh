#!/bin/sh
# Draws the PNG icons (hicolor sizes 16 to 256) from quorvant.svg into icons/NxN/quorvant.png, and
# the Windows program icon windows/quorvant.ico from them.
# Run it after changing the SVG and commit what it writes: the build only copies the PNGs, so it
# needs no SVG renderer. Needs rsvg-convert (Debian: librsvg2-bin) and icotool (icoutils).
set -e
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/${size}x${size}"
    rsvg-convert --width "$size" --height "$size" --output "icons/${size}x${size}/quorvant.png" quorvant.svg
done
# Windows shows 16 to 64 in lists and title bars, 256 (kept as PNG inside) in large views.
icotool -c -o windows/quorvant.ico icons/16x16/quorvant.png icons/24x24/quorvant.png icons/32x32/quorvant.png \
    icons/48x48/quorvant.png icons/64x64/quorvant.png icons/128x128/quorvant.png -r icons/256x256/quorvant.png

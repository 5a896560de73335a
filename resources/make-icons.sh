#!/bin/sh
# Draws the PNG icons (hicolor sizes 16 to 256) from quorvant.svg into icons/NxN/quorvant.png.
# Run it after changing the SVG and commit what it writes: the build only copies the PNGs, so it
# needs no SVG renderer. Needs rsvg-convert (Debian: librsvg2-bin).
set -e
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
    mkdir -p "icons/${size}x${size}"
    rsvg-convert --width "$size" --height "$size" --output "icons/${size}x${size}/quorvant.png" quorvant.svg
done

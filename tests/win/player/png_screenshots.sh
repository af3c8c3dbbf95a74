#!/usr/bin/env bash
# Turns the bitmaps that the GUI tests captured into PNG files.
set -euo pipefail
dir=${1:?usage: png_screenshots.sh DIR}
shopt -s nullglob
for bmp in "$dir"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm "$bmp"
done

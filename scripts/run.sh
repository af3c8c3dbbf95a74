#!/usr/bin/env bash
# Installs what is missing, builds, and shows the stream information of FILE,
# or of a generated sample when no file is given.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" native >/dev/null

file=${1:-}
if [ -z "$file" ]; then
  sample_dir="$root/build/sample"
  file="$sample_dir/sample.mp2"
  if [ ! -f "$file" ]; then
    mkdir -p "$sample_dir"
    sox -q -n -r 44100 -c 2 -b 16 "$sample_dir/sample.wav" synth 10 sine 220-880 sine 330 gain -6
    twolame --quiet -b 192 "$sample_dir/sample.wav" "$file"
  fi
fi
exec "$root/build/native/tools/quavera-decode" --info "$file"

#!/usr/bin/env bash
# Installs what is missing, builds, and plays FILE (or a generated sample) in
# the player under Wine. With a display, the window shows there and the sound
# goes to the machine's audio; without one, the player runs on a virtual X
# server with a capturing sound device, and the script saves a screenshot and
# tells what was captured.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" native win64 >/dev/null

file=${1:-}
if [ -z "$file" ]; then
  sample_dir="$root/build/sample"
  file="$sample_dir/sample.mp2"
  if [ ! -f "$file" ]; then
    mkdir -p "$sample_dir"
    sox -q -n -r 44100 -c 2 -b 16 "$sample_dir/sample.wav" synth 8 sine 220-880 sine 330 remix 1,2v0.5 2,1v0.5 \
      fade 0.2 8 0.5 gain -6
    twolame --quiet -b 192 "$sample_dir/sample.wav" "$file"
  fi
fi
file=$(realpath "$file")
"$root/build/native/tools/quavera-decode" --info "$file"

if [ -n "${DISPLAY:-}" ]; then QUAVERA_AUDIO=${QUAVERA_AUDIO:-system}; fi
source "$root/scripts/wine-session.sh"

# The prefix is new on every run: record this version as installed, so that
# the player plays at once instead of opening its first-run settings.
version=$(sed -n 's/.*"ProductVersion", "\([0-9]*\), \([0-9]*\)".*/\1.\2/p' "$root/resources/quavera.rc")
wine reg add 'HKCU\Software\Brixlane\Quavera\Playback' /v Version /d "$version" /f >/dev/null 2>&1

# /P plays at once, /C closes the player when the file has played.
wine "$root/build/win64/bin/Quavera.exe" /p /c "Z:${file//\//\\}" &
player=$!
mkdir -p "$root/build/screenshots"
shot="$root/build/screenshots/run.png"
# Wait for the window to be drawn (the screen stays black until then).
for _ in $(seq 30); do
  sleep 0.5
  import -display "$DISPLAY" -window root "$shot" 2>/dev/null || continue
  [ "$(convert "$shot" -format '%[fx:mean>0.01]' info: 2>/dev/null)" = 1 ] && break
done
sleep 1
import -display "$DISPLAY" -window root "$shot" 2>/dev/null && echo "screenshot: build/screenshots/run.png"
wait "$player"
if [ "$QUAVERA_AUDIO" = capture ] && [ -s "$QUAVERA_CAPTURE" ]; then
  echo "captured audio:"
  sox -t raw -r "$(sed -n 's/^outputRate: //p' < <("$root/build/native/tools/quavera-decode" --info "$file"))" \
    -e signed -b 16 -c 2 "$QUAVERA_CAPTURE" -n stat 2>&1 | grep -E 'Length|Maximum amplitude|RMS +amplitude'
fi

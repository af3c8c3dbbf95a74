#!/usr/bin/env bash
# Prints the CPU time that real-time playback costs, per refresh method:
# quavera-play plays 60 s of generated Layer II on a paced device. The first
# line is the same time spent paused: the cost of Wine's sound driver in the
# process, which playback adds to.
#   usage: tools/win/bench_playback.sh [SECONDS]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
seconds=${1:-60}
bash "$root/scripts/build.sh" native win64 >/dev/null
work="$root/build/bench"
mkdir -p "$work"
stream="$work/bench${seconds}.mp2"
if [ ! -f "$stream" ]; then
  sox -q -n -r 44100 -c 2 -b 16 "$work/bench.wav" synth "$seconds" sine 100-8000 pinknoise sine 440 remix 1,2v0.5 2,3v0.5 gain -6
  twolame --quiet -b 192 "$work/bench.wav" "$stream"
fi
QUAVERA_AUDIO=pulse
source "$root/scripts/wine-session.sh"
play="$root/build/win64/tools/quavera-play.exe"
wine "$play" --registry 'QuaveraBench\warmup' --stop-after 500 "Z:${stream//\//\\}" >/dev/null
printf 'paused (driver baseline): '
wine "$play" --registry "QuaveraBench\\paused" --cpu --pause-ms $((seconds * 2000)) \
  --stop-after $((seconds * 1000)) "Z:${stream//\//\\}" | grep '^cpu'
for method in 1 2 3; do
  for quality in 1 2; do
    printf 'method %d, quality %d: ' "$method" "$quality"
    wine "$play" --registry "QuaveraBench\\m$method" --method "$method" --quality "$quality" --tick 0 --cpu \
      "Z:${stream//\//\\}" | grep '^cpu'
  done
done

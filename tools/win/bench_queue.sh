#!/usr/bin/env bash
# Prints the queue's set-up time per entry for playlists of 100 to 100 000
# entries (".m3u" and ".pls", scanned and with the length in the entries),
# all naming one short generated file.
#   usage: tools/win/bench_queue.sh [LARGEST]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
largest=${1:-100000}
bash "$root/scripts/build.sh" win64 >/dev/null
work="$root/build/bench/queue"
mkdir -p "$work"
if [ ! -f "$work/short.mp2" ]; then
  sox -q -n -r 44100 -c 2 -b 16 "$work/short.wav" synth 0.5 sine 440 gain -6
  twolame --quiet -b 128 "$work/short.wav" "$work/short.mp2"
  rm "$work/short.wav"
fi
source "$root/scripts/wine-session.sh"
wine "$root/build/win64/tools/quavera-queue-bench.exe" "Z:${work//\//\\}" "Z:${work//\//\\}\\short.mp2" "$largest"

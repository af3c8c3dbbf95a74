#!/usr/bin/env bash
# Seeds the fuzzer with small generated Layer II and Layer III streams (the
# first byte of each seed is the fuzzer's configuration byte), then fuzzes for
# the given number of seconds.
# Usage: run_fuzzer.sh FUZZER WORK_DIR SECONDS
set -euo pipefail
fuzzer=$1
work=$2/fuzz-run
seconds=$3
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
if command -v sox >/dev/null && command -v twolame >/dev/null && command -v lame >/dev/null; then
  sox -R -n -r 32000 -c 2 -b 16 "$work/s.wav" synth 0.3 sine 300-3000 pinknoise gain -6 2>/dev/null
  twolame --quiet -b 64 "$work/s.wav" "$work/a.mp2"
  twolame --quiet -m j -b 192 "$work/s.wav" "$work/b.mp2"
  sox -R -n -r 24000 -c 1 -b 16 "$work/m.wav" synth 0.3 sine 500 gain -6 2>/dev/null
  twolame --quiet -b 32 "$work/m.wav" "$work/c.mp2"
  lame --quiet -b 32 "$work/m.wav" "$work/d.mp3"
  # Layer III with short blocks (clicks after silence), joint and plain stereo.
  sox -R -n -r 44100 -c 2 -b 16 "$work/k.wav" synth 0.02 square 300 pad 0 0.1 repeat 2 gain -3 2>/dev/null
  lame --quiet -m j -b 128 "$work/k.wav" "$work/e.mp3"
  # VBR behind its information frame.
  lame --quiet -V 4 "$work/k.wav" "$work/g.mp3"
  sox -R -n -r 22050 -c 2 -b 16 "$work/l.wav" synth 0.3 sine 300-3000 pinknoise gain -6 2>/dev/null
  lame --quiet -m s -b 64 "$work/l.wav" "$work/f.mp3"
  i=0
  for f in "$work"/*.mp2 "$work"/*.mp3; do
    for pick in '\x00' '\x85' '\x4c'; do
      { printf "$pick"; cat "$f"; } >"$work/seeds/seed$i"
      i=$((i + 1))
    done
  done
fi
# Seeds for the framed Layer III configurations: random side information and
# main data behind each header choice.
for choice in 0 1 2 3 4 5; do
  { printf '\x24'; printf "\\x0$choice"; head -c 3000 /dev/urandom; } >"$work/seeds/framed$choice"
done
exec "$fuzzer" -max_total_time="$seconds" -max_len=20000 -print_final_stats=1 "$work/corpus" "$work/seeds"

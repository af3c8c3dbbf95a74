#!/usr/bin/env bash
# Makes the streams the player tests open: tones of 1, 10 and 120 seconds and
# a file that is not audio at all.
set -euo pipefail
out=${1:?usage: make_player_streams.sh OUTDIR}
mkdir -p "$out"
cd "$out"
[ -f .done ] && exit 0
for seconds in 1 10 120; do
  sox -q -n -r 44100 -c 2 -b 16 "tone$seconds.wav" synth "$seconds" sine 440 sine 660 gain -6
  twolame --quiet -b 128 -m s "tone$seconds.wav" "tone$seconds.mp2"
  rm "tone$seconds.wav"
done
printf 'This is a text file, not an MPEG audio stream.\n%.0s' $(seq 200) > notaudio.mp2
touch .done

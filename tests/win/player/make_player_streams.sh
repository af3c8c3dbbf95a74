#!/usr/bin/env bash
# Makes the streams the player tests open: tones of 1, 10.2 and 120 seconds
# and a file that is not audio at all. The 10.2 s tone lasts just over 10 s, so
# that its last half second shows as 0:09.
set -euo pipefail
out=${1:?usage: make_player_streams.sh OUTDIR}
mkdir -p "$out"
cd "$out"
[ -f .done ] && exit 0
for tone in 1:1 10:10.2 120:120; do
  name=tone${tone%%:*}
  sox -q -n -r 44100 -c 2 -b 16 "$name.wav" synth "${tone#*:}" sine 440 sine 660 gain -6
  twolame --quiet -b 128 -m s "$name.wav" "$name.mp2"
  rm "$name.wav"
done
printf 'This is a text file, not an MPEG audio stream.\n%.0s' $(seq 200) > notaudio.mp2
touch .done

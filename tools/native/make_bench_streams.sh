#!/usr/bin/env bash
# Makes the material of the speed benchmark and of the output checksums:
# 300 s of generated music-like stereo at 44.1 kHz (plucked chords over a bass
# line, noise bursts, sweeps, wide stereo, a few quiet passages), encoded as
#   l2-192.mp2      Layer II 192 kbit/s            (twolame)
#   l2-384.mp2      Layer II 384 kbit/s            (twolame)
#   l3-128j.mp3     Layer III 128 kbit/s joint     (lame)
#   l3-320.mp3      Layer III 320 kbit/s           (lame)
#   l3-v2.mp3       Layer III VBR -V 2             (lame)
#   l3-lsf22.mp3    Layer III 64 kbit/s joint at 22.05 kHz (MPEG-2 LSF)
# Everything is repeatable (sox -R): the same tools make the same bytes.
# Usage: make_bench_streams.sh OUTDIR   (does nothing when OUTDIR is up to date)
set -euo pipefail
out=${1:?usage: make_bench_streams.sh OUTDIR}
script=$(readlink -f "$0")
mkdir -p "$out"
cd "$out"
stamp=$(sha256sum "$script" | cut -c1-16)
[ "$(cat .done 2>/dev/null)" = "$stamp" ] && exit 0
for tool in sox twolame lame; do
  command -v "$tool" >/dev/null || { echo "make_bench_streams.sh: $tool is missing" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The input side set too: otherwise sox makes the sweeps at its own rate and resamples.
synth() { sox -R -r 44100 -n -c 2 -b 16 "$@"; }

# Chord roots in semitones from A440 (a slow progression, repeated).
roots=(-21 -24 -28 -26 -21 -17 -19 -26 -24 -22)
segments=60 # of 5 s
for ((i = 0; i < segments; i++)); do
  r=${roots[i % ${#roots[@]}]}
  third=$((i % 3 == 0 ? 3 : 4))
  # The chord struck twice, its notes spread over both sides.
  synth "$work/chord.wav" synth 2.5 pluck %$r pluck %$((r + third)) pluck %$((r + 7)) pluck %$((r + 12)) \
    remix 1v0.45,2v0.15,3v0.35 2v0.35,3v0.15,4v0.45 repeat 1
  synth "$work/bass.wav" synth 5 sawtooth %$((r - 12)) lowpass 400 tremolo 2 40 gain -6
  # Noise bursts, every quarter second, darker every other segment.
  filter=$((i % 2 == 0 ? 6000 : 2500))
  synth "$work/hat.wav" synth 0.06 whitenoise whitenoise gain -8 fade 0 0.06 0.05 highpass $filter pad 0 0.19 repeat 19
  parts=("$work/chord.wav" "$work/bass.wav" "$work/hat.wav")
  if ((i % 4 == 3)); then
    # Sweeps in opposite directions on the two sides.
    synth "$work/sweep.wav" synth 5 sine 200-9000 sine 9000-200 gain -10
    parts+=("$work/sweep.wav")
  fi
  level=-3
  ((i % 10 == 9)) && level=-40 # a quiet passage
  sox -R -m "${parts[@]}" -b 16 "$work/seg$(printf %03d "$i").wav" gain -n $level
done
sox -R "$work"/seg*.wav -b 16 "$work/material.wav"
sox -R "$work/material.wav" -r 22050 "$work/material22.wav"

twolame --quiet -b 192 "$work/material.wav" l2-192.mp2
twolame --quiet -b 384 "$work/material.wav" l2-384.mp2
lame --quiet -m j -b 128 "$work/material.wav" l3-128j.mp3
lame --quiet -b 320 "$work/material.wav" l3-320.mp3
lame --quiet -V 2 "$work/material.wav" l3-v2.mp3
lame --quiet -m j -b 64 "$work/material22.wav" l3-lsf22.mp3
echo "$stamp" >.done

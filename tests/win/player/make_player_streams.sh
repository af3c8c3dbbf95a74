#!/usr/bin/env bash
# Makes the streams the player tests open: tones of 1, 10.2 and 120 seconds
# (the 1 s one also under a name with a blank), 10.2 s of VBR, the 10 s tone
# with an ID3 version 1 tag, a 10 s mono tone, 60 s of noise below 4 kHz with
# mpg123's decode of it (mono, 16 bit, 44.1 kHz) and a file that is not audio
# at all. The 10.2 s tone lasts just over 10 s, so
# that its last half second shows as 0:09.
set -euo pipefail
out=${1:?usage: make_player_streams.sh OUTDIR}
# Made again when this script changes.
stamp=.done-$(md5sum < "$0" | cut -c1-12)
mkdir -p "$out"
cd "$out"
[ -f "$stamp" ] && exit 0
for tone in 1:1 10:10.2 120:120; do
  name=tone${tone%%:*}
  sox -q -n -r 44100 -c 2 -b 16 "$name.wav" synth "${tone#*:}" sine 440 sine 660 gain -6
  twolame --quiet -b 128 -m s "$name.wav" "$name.mp2"
  rm "$name.wav"
done
# VBR with lame's information frame, whose header says 128 kbit/s: at that
# rate its bytes would last about 3 s, its frames last 10.2 s.
sox -q -n -r 44100 -c 2 -b 16 vbr10.wav synth 10.2 sine 440 sine 660 gain -6
lame --quiet -V 9 --resample 44.1 vbr10.wav vbr10.mp3
rm vbr10.wav
# The tag: a title of 30 letters without a NUL, an artist with blanks before
# its NULs, an album whose NUL hides what follows, a comment of bytes that are
# no letters, genre 17.
{
  cat tone10.mp2
  printf 'TAGABCDEFGHIJKLMNOPQRSTUVWXYZabcd'
  printf 'Artist   '; head -c 21 /dev/zero
  printf 'Album\0junk%20s' ''
  printf '2001'
  printf '\377\376\001\007end\0%22s' ''
  printf '\021'
} > tagged.mp2
# A name with a blank, as the shell quotes it on a command line.
cp tone1.mp2 "tone one.mp2"
sox -q -n -r 44100 -c 1 -b 16 mono10.wav synth 10 sine 550 gain -6
twolame --quiet -b 64 -m m mono10.wav mono10.mp2
rm mono10.wav
sox -q -n -r 44100 -c 1 -b 16 noise60-mono.wav synth 60 whitenoise lowpass 4000 norm -6
sox -q noise60-mono.wav -c 2 noise60.wav
twolame --quiet -b 192 -m s noise60.wav noise60.mp2
rm noise60-mono.wav noise60.wav
mpg123 -q -s --mono noise60.mp2 > noise60.raw
printf 'This is a text file, not an MPEG audio stream.\n%.0s' $(seq 200) > notaudio.mp2
rm -f .done*
touch "$stamp"

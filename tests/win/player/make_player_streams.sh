#!/usr/bin/env bash
# Makes the streams the player tests open: tones of 1, 10.2 and 120 seconds
# (the 1 s one also under a name with a blank), 10.2 s of VBR, the 10 s tone
# with an ID3 version 1 tag, a 10 s mono tone, 60 s of noise below 4 kHz with
# mpg123's decode of it (mono, 16 bit, 44.1 kHz), a file that is not audio at
# all, and runs of three files for continuous playback (tagged Layer II, and
# lame's gapless parts of one signal) with the decoder tool's output of each. The 10.2 s tone lasts just over 10 s, so that its
# last half second shows as 0:09.
# The run's files are 116 frames each (a multiple of four, so that the
# filterbank's phase is the same at a join as at a start) and end in silence,
# so that played on from one into the next they sound exactly as their own
# decodes joined. Each begins with an ID3v2 tag that holds two frames of
# another stream of the same format: decoded as audio, a tag would be heard.
#   usage: make_player_streams.sh OUTDIR DECODER
set -euo pipefail
out=${1:?usage: make_player_streams.sh OUTDIR DECODER}
decoder=${2:?usage: make_player_streams.sh OUTDIR DECODER}
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

sox -q -n -r 44100 -c 2 -b 16 loud.wav synth 0.5 square 1000 gain -3
twolame --quiet -b 128 -m s loud.wav loud.mp2
for i in 1 2 3; do
  low=$((330 + 110 * i))
  sox -q -n -r 44100 -c 2 -b 16 run$i.wav synth 2.7 sine $low sine $((low * 3 / 2)) gain -8 pad 0 0.32
  twolame --quiet -b 128 -m s run$i.wav run$i.untagged.mp2
done
python3 - <<'PY'
loud = open("loud.mp2", "rb").read()
frames = loud[417 * 5:417 * 7]
assert frames[0] == 0xFF and frames[417] == 0xFF, "the other stream's frames are 417 bytes"
body = frames + bytes(100)
size = bytes((len(body) >> shift) & 0x7F for shift in (21, 14, 7, 0))
for i in (1, 2, 3):
    audio = open(f"run{i}.untagged.mp2", "rb").read()
    assert len(audio) == 116 * 417, f"run{i} is not 116 frames"
    open(f"run{i}.mp2", "wb").write(b"ID3\x04\x00\x00" + size + body + audio)
PY
for i in 1 2 3; do "$decoder" -q 2 run$i.mp2 run$i.wav; done
rm -f loud.wav loud.mp2 run?.untagged.mp2

# An album encoded gaplessly: one signal cut into three files of 3 s, each
# encoded with lame on its own, and the uncut signal encoded whole; beside
# each, the decoder tool's gapless output.
sox -q -n -r 44100 -c 2 -b 16 album.wav synth 9 sine 200-2000 sine 700 gain -8
for i in 1 2 3; do
  sox -q album.wav album$i.wav trim $((3 * i - 3)) 3
  lame --quiet -V 2 album$i.wav album$i.mp3
  "$decoder" -q 2 --gapless album$i.mp3 album$i.wav
done
lame --quiet -V 2 album.wav album.mp3
"$decoder" -q 2 --gapless album.mp3 album.wav
rm -f .done*
touch "$stamp"

#!/usr/bin/env bash
# Makes the small streams the engine tests open: generated tones and noise
# encoded with Debian's encoders, and damaged copies of them.
set -euo pipefail
out=${1:?usage: make_engine_streams.sh OUTDIR}
mkdir -p "$out"
cd "$out"
[ -f .done ] && exit 0

sox -q -n -r 44100 -c 2 -b 16 tone44.wav synth 2 sine 440 sine 660 gain -6
sox -q -n -r 44100 -c 1 -b 16 tone44m.wav synth 2 sine 550 gain -6
sox -q -n -r 22050 -c 2 -b 16 tone22.wav synth 2 sine 300 sine 500 gain -6
sox -q -n -r 48000 -c 2 -b 16 tone48.wav synth 1 sine 1000 gain -6
sox -q -n -r 44100 -c 2 -b 16 blip44.wav synth 0.15 sine 880 gain -6
sox -q -n -r 44100 -c 2 -b 16 long44.wav synth 6 sine 200-2000 sine 300 gain -6

twolame --quiet -b 128 -m s tone44.wav stereo128.mp2
twolame --quiet -b 64 -m m tone44m.wav mono64.mp2
twolame --quiet -b 192 -m s tone48.wav stereo192_48k.mp2
twolame --quiet -b 128 -m s blip44.wav short.mp2
twolame --quiet -b 128 -m j long44.wav long.mp2
lame --quiet -b 64 tone22.wav lsf22.mp3
lame --quiet -b 128 tone44.wav stereo128.mp3
# VBR with lame's information frame, and mpg123's length of it in samples.
lame --quiet -V 5 long44.wav vbr.mp3
mpg123 -q -w vbr.ref.wav vbr.mp3
python3 -c "import os; print((os.path.getsize('vbr.ref.wav') - 44) // 4)" > vbr.samples
rm vbr.ref.wav

python3 - <<'PY'
import random
import struct
base = open("stereo128.mp2", "rb").read()

def patched(byte2_mask, byte2_value, layer=None):
    data = bytearray(base)
    data[2] = (data[2] & ~byte2_mask) | byte2_value
    if layer is not None:
        # With the CRC present, so that the first 16 bits are not all ones.
        data[1] = (data[1] & 0xF8) | layer
    return bytes(data)

open("bitrate15.mp2", "wb").write(patched(0xF0, 0xF0))
open("freeformat.mp2", "wb").write(patched(0xF0, 0x00))
mp3 = bytearray(open("stereo128.mp3", "rb").read())
first = mp3.find(b"\xff\xfb")
mp3[first + 2] &= 0x0F
open("freeformat.mp3", "wb").write(bytes(mp3))
open("reservedrate.mp2", "wb").write(patched(0x0C, 0x0C))
open("layer1.mp2", "wb").write(patched(0, 0, layer=0x06))
rng = random.Random(7)
# Bytes without 0xFF cannot hold a sync word.
junk = bytes(rng.randrange(0, 255) for _ in range(1000))
open("junk_before.mp2", "wb").write(junk + base)
open("random.bin", "wb").write(bytes(rng.randrange(0, 255) for _ in range(20000)))
# Any bytes: a chance sync word may open as a stream, but nothing may break.
open("random_any.bin", "wb").write(bytes(rng.randrange(0, 256) for _ in range(20000)))
open("empty.mp2", "wb").write(b"")
open("short_header.mp2", "wb").write(base[:3])
# Ends in the middle of a frame.
open("truncated.mp2", "wb").write(base[: len(base) // 2 + 211])
# A stereo stream that goes on in single-channel mode.
open("switch.mp2", "wb").write(base + open("mono64.mp2", "rb").read())

# The frame count of the information frame; with absurd values the stream
# plays as a plain one.
vbr = bytearray(open("vbr.mp3", "rb").read())
xing = vbr.find(b"Xing")
open("vbr.frames", "w").write(str(struct.unpack(">I", vbr[xing + 8:xing + 12])[0]))
no_frames = bytearray(vbr)
no_frames[xing + 8:xing + 12] = struct.pack(">I", 0)
open("vbr_noframes.mp3", "wb").write(bytes(no_frames))
# Tags at the end of a Layer II stream: an APEv2 tag whose item holds a frame
# of the stream (as a picture may hold anything), then an ID3v1 tag.
item = base[:418]
items = struct.pack("<II", len(item), 0) + b"Cover\0" + item
footer = lambda flags: b"APETAGEX" + struct.pack("<IIII", 2000, len(items) + 32, 1, flags) + bytes(8)
ape = footer(0xA0000000) + items + footer(0x80000000)
id3v1 = b"TAG" + b" " * 124 + b"\xff"
open("tagged_end.mp2", "wb").write(base + ape + id3v1)
open("tagged_end.tags", "w").write(str(len(ape) + len(id3v1)))

# One MPEG-2 Layer III frame alone: a decode call needs two, so the stream
# ends before its first block holds any audio.
lsf = open("lsf22.mp3", "rb").read()
def lsf_frame_length(header):
    bitrates = [0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160]
    rates = [22050, 24000, 16000]
    return 72000 * bitrates[header[2] >> 4] // rates[(header[2] >> 2) & 3] + ((header[2] >> 1) & 1)
first = lsf.find(b"\xff\xf3")
second = first + lsf_frame_length(lsf[first:first + 4])
open("lsf_one_frame.mp3", "wb").write(lsf[second:second + lsf_frame_length(lsf[second:second + 4])])
PY
touch .done

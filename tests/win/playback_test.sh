#!/usr/bin/env bash
# End-to-end playback through Tamblin1.dll under Wine: quavera-play plays a
# generated stream on the capturing wave-out device, and the captured PCM is
# compared with the decoder tool's output of the same file and settings.
#   usage: playback_test.sh SCENARIO
# Environment: QUAVERA_PLAY (quavera-play.exe), QUAVERA_DECODE (native decoder
# tool), QUAVERA_STREAMS (the generated streams), QUAVERA_CAPTURE (the capture
# file of the wave-out device).
set -euo pipefail
scenario=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/playback.XXXXXX")
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# play FILE [quavera-play options...]: plays, keeps stdout in $work/out
play() {
  local file=$1; shift
  rm -f "$QUAVERA_CAPTURE"
  timeout 120 wine "$QUAVERA_PLAY" --registry "QuaveraTests\\Playback.$scenario" "$@" \
    "$(windows_path "$QUAVERA_STREAMS/$file")" >"$work/out" 2>"$work/err" || {
    cat "$work/out" "$work/err"; fail "quavera-play exited with $?"; }
  cat "$work/out"
  [ -s "$work/err" ] && { echo "boxes:"; cat "$work/err"; }
  cp "$QUAVERA_CAPTURE" "$work/capture.raw"
}

# decode FILE [decoder options...]: the reference PCM in $work/ref.wav
decode() {
  local file=$1; shift
  "$QUAVERA_DECODE" "$@" "$QUAVERA_STREAMS/$file" "$work/ref.wav"
}

# compare BITS CHANNELS MAX_HEAD_FRAMES [SEARCH_FROM_BYTES]: the capture equals
# the reference after a head that may only be quieter (the muted start), no
# longer than MAX_HEAD_FRAMES frames of 1152 samples. With SEARCH_FROM_BYTES the
# reference is looked for in the capture from there on (a second run).
compare() {
  python3 - "$work/capture.raw" "$work/ref.wav" "$@" <<'PY'
import sys
capture_path, ref_path, bits, channels, max_head_frames = sys.argv[1:6]
offset = int(sys.argv[6]) if len(sys.argv) > 6 else 0
bits, channels, max_head_frames = int(bits), int(channels), float(max_head_frames)
cap = open(capture_path, "rb").read()
ref = open(ref_path, "rb").read()
data = ref.find(b"data")
ref = ref[data + 8:]
width = bits // 8
if offset:
    # Past any muted head: ten frames in, the two runs must agree exactly.
    probe_at = 10 * 1152 * channels * width
    probe = ref[probe_at:probe_at + 4096]
    found = cap.find(probe, offset)
    if found < 0:
        sys.exit("the second run's audio is not in the capture")
    cap = cap[found - probe_at:]
def samples(raw):
    if width == 2:
        return [int.from_bytes(raw[i:i + 2], "little", signed=True) for i in range(0, len(raw) - 1, 2)]
    return [b - 128 for b in raw]
c, r = samples(cap), samples(ref)
if len(c) < len(r):
    sys.exit(f"capture has {len(c)} samples, the decoder {len(r)}")
diff = [i for i in range(len(r)) if c[i] != r[i]]
head = diff[-1] + 1 if diff else 0
for i in diff:
    if abs(c[i]) > abs(r[i]) or (c[i] != 0 and (c[i] > 0) != (r[i] > 0)):
        sys.exit(f"sample {i}: captured {c[i]}, decoded {r[i]}: differs by more than volume")
frames = head / channels / 1152
print(f"identical after {head} samples ({frames:.2f} frames); {len(r)} samples compared")
if frames > max_head_frames:
    sys.exit(f"quieter head of {frames:.2f} frames is longer than {max_head_frames}")
if any(c[len(r):]):
    sys.exit("the capture has sound after the end of the stream")
PY
}

count() { grep -c "^$1" "$work/out" || true; }

case $scenario in
  method1|method2|method3)
    play long.mp2 --method "${scenario#method}"
    decode long.mp2 -q 2
    # One block of two frames plays muted, and the device's latency adds to it
    # until the first finished block brings the volume back.
    compare 16 2 8
    [ "$(tail -n1 "$work/out" | cut -d' ' -f1)" = CMD_STREAM_END ] || fail "no CMD_STREAM_END at the end"
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "CMD_STREAM_END more than once"
    # 44.1 kHz: 38 frames per one-second tick.
    frames=$(python3 -c "import os; print((os.path.getsize('$work/ref.wav') - 44) // 4608)")
    [ "$(count CMD_POSITION)" = $((frames / 38)) ] || fail "$(count CMD_POSITION) position ticks for $frames frames"
    ;;
  mp3|mp3-lsf)
    file=stereo128.mp3
    [ "$scenario" = mp3-lsf ] && file=lsf22.mp3
    play "$file" --method 3
    decode "$file" -q 2
    compare 16 2 8
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  settings)
    play long.mp2 --method 1 --divisor 2 --quality 1 --channels 1 --bits 8 --buffers 6 --frames 3
    decode long.mp2 -r 2 -q 1 -c 1 -b 8
    compare 8 1 10
    ;;
  short)
    play short.mp2 --method 3
    decode short.mp2 -q 2
    # Shorter than the ring: nothing is muted.
    compare 16 2 0
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  no-ticks)
    play long.mp2 --tick 0
    [ "$(count CMD_POSITION)" = 0 ] || fail "position messages with tick interval 0"
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  seek-paused)
    play long.mp2 --method 2 --seek-paused 3000
    grep -q '^seek 3000 -> 1' "$work/out" || fail "seek refused"
    grep -q '^paused 1 position' "$work/out" || fail "the stream did not stay paused"
    grep -q '^resume -> 1' "$work/out" || fail "no resume"
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  seek-end)
    play long.mp2 --seek 100000
    grep -q '^seek 100000 -> 0' "$work/out" || fail "a seek beyond the end was accepted"
    ;;
  replay)
    play long.mp2 --method 1 --replay
    grep -q '^replay -> 1' "$work/out" || fail "no replay"
    [ "$(count CMD_STREAM_END)" = 2 ] || fail "the replay did not end"
    decode long.mp2 -q 2
    # The device stays open: the second run follows the first in the capture,
    # from its start again.
    compare 16 2 8 $(($(stat -c %s "$work/ref.wav") - 44))
    ;;
  late-seek1|late-seek2|late-seek3)
    # Every block written by a seek this close to the end may finish before
    # the seek lets go of the refresh: the end must still be noticed.
    method=${scenario#late-seek}
    for seek in 2000 1990; do
      play stereo128.mp2 --method "$method" --buffers 8 --frames 4 --seek $seek
      grep -q "^seek $seek -> 1" "$work/out" || fail "seek to $seek refused"
      [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END after a seek to $seek"
    done
    # Paused there, the seek leaves nothing to play: the stream ends at once.
    play stereo128.mp2 --method "$method" --buffers 8 --frames 4 --seek-paused 2000
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END after a paused seek"
    # A seek into the last ring's worth of a longer stream: the rest of it
    # plays to its last frame, audibly after the muted first block.
    play long.mp2 --method "$method" --buffers 8 --frames 4 --seek 5500
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END after a seek near the end"
    decode long.mp2 -q 2
    python3 - "$work/capture.raw" "$work/ref.wav" <<'PY' || fail "the end of the stream is missing after a seek near the end"
import sys
capture = open(sys.argv[1], "rb").read()
ref = open(sys.argv[2], "rb").read()
ref = ref[ref.find(b"data") + 8:]
tail = ref[-2 * 4 * 1152 * 4:]  # the last two blocks
sys.exit(0 if capture.find(tail) >= 0 else 1)
PY
    # A stream whose first block decodes to nothing.
    play lsf_one_frame.mp3 --method "$method" --buffers 8 --frames 4
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END for a single frame"
    ;;
  truncated|switch|failing-reader)
    case $scenario in
      truncated) play truncated.mp2 ;;
      switch) play switch.mp2 ;;
      failing-reader) play long.mp2 --fail-after 40000 ;;
    esac
    [ "$(tail -n1 "$work/out" | cut -d' ' -f1)" = CMD_STREAM_END ] || fail "did not end cleanly"
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "PASS $scenario"

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

source "$(dirname "$0")/capture_support.sh"

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
    # lame's information frame is not played, and neither are its delay and padding.
    file=stereo128.mp3
    [ "$scenario" = mp3-lsf ] && file=lsf22.mp3
    play "$file" --method 3
    decode "$file" -q 2 --gapless
    compare 16 2 8
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  vbr|vbr-noframes|tags-end)
    # lame's information frame is not played, nor are the encoder's delay and
    # padding: the capture is the gapless decode from its first sample on. An
    # information frame that cannot be trusted is a frame of a plain stream;
    # tags at the end are not played.
    file=vbr.mp3
    [ "$scenario" = vbr-noframes ] && file=vbr_noframes.mp3
    [ "$scenario" = tags-end ] && file=tagged_end.mp2
    play "$file"
    decode "$file" -q 2 --gapless
    compare 16 2 8
    frames=$((($(stat -c %s "$work/ref.wav") - 44) / 4608))
    case $scenario in
      vbr-noframes)
        [ "$frames" = $(($(cat "$QUAVERA_STREAMS/vbr.frames") + 1)) ] || fail "$frames frames decoded" ;;
      tags-end)
        cp "$work/ref.wav" "$work/tagged.wav"
        decode stereo128.mp2 -q 2
        cmp -s "$work/ref.wav" "$work/tagged.wav" || fail "the tags at the end were decoded" ;;
    esac
    ;;
  vbr-seek)
    # A VBR stream seeks through its frames: played from 25, 50 and 75 % of
    # its 6 s, the capture (after the muted head) is the gapless decode from
    # the start of the frame that holds that time to the end. Seeking while
    # it plays, what follows the seek is that decode, from the first sample
    # heard at full volume on.
    decode vbr.mp3 -q 2 --gapless
    for ms in 1500 3000 4500; do
      play vbr.mp3 --method 2 --start-at $ms
      grep -q "^start at $ms -> 1" "$work/out" || fail "seek to $ms refused"
      heard_from "$work/capture.raw" $ms
    done
    play vbr.mp3 --method 3 --seek-paused 3000
    grep -q '^seek 3000 -> 1' "$work/out" || fail "seek refused"
    heard_from "$work/capture.raw"
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
  bad-arguments)
    # Refused with the usage, which names every option; nothing plays.
    stream=$(windows_path "$QUAVERA_STREAMS/short.mp2")
    for arguments in "--frames 0" "--buffers -3" "--seek -5" "--seek abc" "--seek 12x" "--tick" "--device -2" \
                     "--stress 0" "--method 99999999999" "--answer maybe"; do
      set +e
      # shellcheck disable=SC2086
      timeout 60 wine "$QUAVERA_PLAY" $arguments "$stream" >"$work/out" 2>"$work/err"
      status=$?
      set -e
      [ $status = 2 ] || fail "'$arguments' gave exit status $status"
      grep -q -- '--fail-after' "$work/err" && grep -q -- '--stress' "$work/err" && grep -q -- '--cpu' "$work/err" ||
        fail "'$arguments' did not show the whole usage"
      [ ! -s "$work/out" ] || fail "'$arguments' played"
    done
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

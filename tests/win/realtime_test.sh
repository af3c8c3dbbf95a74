#!/usr/bin/env bash
# Playback on a device that plays in real time (a PulseAudio null sink): the
# stream takes as long as it lasts, pauses add their time, and a storm of
# pause, resume, seek, stop and start operations leaves a usable engine.
#   usage: realtime_test.sh SCENARIO
# Environment: QUAVERA_PLAY, QUAVERA_STREAMS (see playback_test.sh).
set -euo pipefail
scenario=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/realtime.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# play FILE [options]: wall time in ms goes to $elapsed, output to $work/out
play() {
  local file=$1; shift
  local start end
  start=$(date +%s%N)
  timeout 180 wine "$QUAVERA_PLAY" --registry "QuaveraTests\\Realtime.$scenario" "$@" \
    "Z:${QUAVERA_STREAMS//\//\\}\\$file" >"$work/out" 2>"$work/err" || {
    cat "$work/out" "$work/err"; fail "quavera-play exited with $?"; }
  end=$(date +%s%N)
  elapsed=$(((end - start) / 1000000))
  grep -v '^CMD_POSITION' "$work/out" || true
  echo "wall time ${elapsed} ms"
}

# The stream lasts 6.06 s (twolame pads the sine sweep to whole frames).
duration=6060

case $scenario in
  warmup)
    # The first stream of a sound server session is paced badly; later ones are exact.
    play short.mp2
    ;;
  pacing1|pacing2|pacing3)
    play long.mp2 --method "${scenario#pacing}"
    ((elapsed >= duration - 300)) || fail "played ${elapsed} ms of a ${duration} ms stream: not paced"
    ((elapsed <= duration + 3000)) || fail "took ${elapsed} ms for a ${duration} ms stream"
    [ "$(grep -c '^CMD_POSITION' "$work/out")" -ge 5 ] || fail "too few position messages"
    ;;
  pause)
    play long.mp2 --pause-ms 1500
    grep -q '^resume -> 1' "$work/out" || fail "no resume"
    ((elapsed >= duration + 1200)) || fail "a 1.5 s pause added only $((elapsed - duration)) ms"
    ;;
  stress1|stress2|stress3)
    play long.mp2 --method "${scenario#stress}" --stress 300
    grep -q '^settle start -> 1' "$work/out" || fail "the engine would not start again"
    grep -q '^settle playing 1 paused 0' "$work/out" || fail "inconsistent state after the operations"
    grep -q '^settle seek -> 1' "$work/out" || fail "no seek after the operations"
    [ "$(tail -n1 "$work/out" | cut -d' ' -f1)" = CMD_STREAM_END ] || fail "did not play to the end"
    ;;
  volume-at-start)
    # A level chosen while the first block still plays muted is the level
    # that comes back after it.
    play long.mp2 --volume 8000 --stop-after 2500
    grep -q '^volume 8000 8000' "$work/out" || fail "the level chosen at the start was lost"
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "PASS $scenario"

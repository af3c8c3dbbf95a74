#!/usr/bin/env bash
# quavera-decode and quavera-compare as a user runs them: --info lines, the
# refusal and missing-file texts with exit code 1, and a decode into WAVE.
# Usage: tools_test.sh BUILD_TOOLS_DIR CONFORMANCE_DIR
set -uo pipefail
tools=$1
conformance=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
expect_line() { grep -qx "$2" <<<"$1" || fail "missing line '$2' in: $1"; }

for tool in sox twolame lame; do
  command -v "$tool" >/dev/null || { echo "skipping: $tool is not installed"; exit 0; }
done

sox -R -n -r 44100 -c 2 -b 16 "$work/in.wav" synth 2 sine 440 sine 660 gain -6 2>/dev/null
twolame --quiet -b 128 "$work/in.wav" "$work/tone.mp2"
info=$("$tools/quavera-decode" --info "$work/tone.mp2") || fail "--info exit code"
length=$(stat -c %s "$work/tone.mp2")
expect_line "$info" "layer: 2"
expect_line "$info" "mpegVersion: 1"
expect_line "$info" "bitratePerChannel: 64"
expect_line "$info" "streamRate: 44100"
expect_line "$info" "streamChannels: 2"
expect_line "$info" "fileLength: $length"
expect_line "$info" "title: tone"
expect_line "$info" "totalTime: $(awk "BEGIN { printf \"%.3f\", $length * 8 / 128 }")"

sox -R -n -r 22050 -c 1 -b 16 "$work/low.wav" synth 2 sine 440 gain -6 2>/dev/null
lame --quiet -b 64 "$work/low.wav" "$work/low.mp3"
info=$("$tools/quavera-decode" --info "$work/low.mp3") || fail "--info on Layer III"
expect_line "$info" "layer: 3"
expect_line "$info" "mpegVersion: 2"
expect_line "$info" "streamRate: 22050"
expect_line "$info" "infoFrame: cbr"
expect_line "$info" "encoderDelay: 576"
# The Layer III decode against mpg123, both low-passed below the subbands
# that are never synthesised: the LAME information frame is not decoded, so
# the two line up from their first samples; with --gapless both cut the
# encoder's delay and padding.
"$tools/quavera-decode" "$work/low.mp3" "$work/low.out.wav" || fail "decode Layer III"
"$tools/quavera-decode" --gapless "$work/low.mp3" "$work/low.gapless.wav" || fail "decode Layer III gapless"
if command -v mpg123 >/dev/null; then
  mpg123 -q --no-gapless -w "$work/low.ref.wav" "$work/low.mp3"
  mpg123 -q -w "$work/low.gapless.ref.wav" "$work/low.mp3"
  for pair in "low.out.wav low.ref.wav" "low.gapless.wav low.gapless.ref.wav"; do
    set -- $pair
    cmp=$("$tools/quavera-compare" --channels 1 --lowpass 0.71875 "$work/$1" "$work/$2")
    snr=$(sed -n 's/^snr_db: //p' <<<"$cmp")
    awk "BEGIN { exit !($snr >= 50) }" || fail "Layer III decode $1 at $snr dB"
    [ "$(stat -c %s "$work/$1")" = "$(stat -c %s "$work/$2")" ] || fail "$1 and $2 differ in length"
  done
fi

# Both commands refuse an input with exit code 1 and the given text.
expect_refusal() {
  local err rc
  err=$("$tools/quavera-decode" --info "$1" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 1 ] && [ "$err" = "$2" ] || fail "--info $1: exit code $rc, text: $err"
  err=$("$tools/quavera-decode" "$1" "$work/x.wav" 2>&1 >/dev/null); rc=$?
  [ $rc -eq 1 ] && [ "$err" = "$2" ] || fail "decode $1: exit code $rc, text: $err"
}

expect_refusal "$work/missing.mp2" "File $work/missing.mp2 does not exist!"
# An empty file is no audio file; a directory is no file at all.
: >"$work/empty.mp2"
expect_refusal "$work/empty.mp2" "This is not a valid audiofile!"
mkdir "$work/folder.mp2"
expect_refusal "$work/folder.mp2" "File $work/folder.mp2 does not exist!"

# Lengths above 2 GiB (sparse files) are capped to the largest 32-bit one,
# as the engine's reader does, not cut to their low 32 bits. The total time
# is that length at 128 kbit/s in single precision.
for size in 3221225472 4294968296; do
  cp "$work/tone.mp2" "$work/big.mp2"
  truncate -s "$size" "$work/big.mp2"
  info=$("$tools/quavera-decode" --info "$work/big.mp2") || fail "--info on $size bytes"
  expect_line "$info" "fileLength: 2147483647"
  expect_line "$info" "totalTime: 134217728.000"
done
rm -f "$work/big.mp2"

layer1=$conformance/mpeg1-layer1/l1-fl1.bit
[ -f "$layer1" ] || fail "missing test data: $layer1"
expect_refusal "$layer1" "This type of audiofile is currently not supported!"

"$tools/quavera-decode" -r 2 -q 2 -c 1 -b 8 "$work/tone.mp2" "$work/out.wav" || fail "decode exit code"
frames=$(( ($(stat -c %s "$work/out.wav") - 44) / 576 ))
[ "$frames" -ge 76 ] && [ "$(( ($(stat -c %s "$work/out.wav") - 44) % 576 ))" -eq 0 ] || fail "decoded size"
head -c 44 "$work/out.wav" | od -An -tu4 -j 24 -N 4 | grep -qw 22050 || fail "WAVE rate"
"$tools/quavera-decode" "$work/tone.mp2" /dev/null || fail "decode to /dev/null"

"$tools/quavera-decode" "$work/tone.mp2" "$work/a.wav"
cmp=$("$tools/quavera-compare" "$work/a.wav" "$work/a.wav") || fail "compare exit code"
expect_line "$cmp" "max_abs_lsb: 0.00"

[ $failures -eq 0 ] && echo "tools: all checks passed"
exit $((failures > 0))

#!/usr/bin/env bash
# Checksums of everything quavera-decode writes, so that a change meant to
# keep the output (a faster kernel, a new buffer scheme) can show that every
# byte stayed the same: the PCM (as a WAVE file), the messages and the exit
# code, for every stream at every quality (1 2 3), divisor (1 2 4), width
# (8 16) and channel count (1 2).
#
# Streams: the conformance set of the repository, the speed benchmark's
# material (make_bench_streams.sh) and short generated streams of the modes
# that material lacks (single channel, other rates, variable-bitrate Layer II,
# short blocks). Generated streams depend on the encoders installed; the list
# keeps each input's checksum, and an input that differs is reported and not
# compared.
#
#   pcm_checksums.sh make  TOOLS_DIR LIST   write LIST from TOOLS_DIR/quavera-decode
#   pcm_checksums.sh check TOOLS_DIR LIST   compare against LIST; exit 1 on any difference
#
# Generated streams are kept in $QUAVERA_STREAMS (default
# ${TMPDIR:-/tmp}/quavera-bench-streams); JOBS decodes run at once (default 2);
# KERNELS=plain|avx2|avx512 decodes with those kernels instead of the widest.
set -euo pipefail
mode=${1:-}
tools=${2:-}
list=${3:-}
if [[ ($mode != make && $mode != check) || -z $tools || -z $list ]]; then
  echo "usage: pcm_checksums.sh make|check TOOLS_DIR LIST" >&2
  exit 2
fi
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
decode=$(readlink -f "$tools/quavera-decode")
streams=${QUAVERA_STREAMS:-${TMPDIR:-/tmp}/quavera-bench-streams}
jobs=${JOBS:-2}
kernel_option=${KERNELS:+-k $KERNELS}

# Short streams of the modes the benchmark material lacks: tones, a sweep and
# noise, then clicks after silence (short blocks, a moving bitrate).
make_variety() {
  local dir=$1/variety
  local stamp
  stamp=$(sha256sum "$here/pcm_checksums.sh" | cut -c1-16)
  [ "$(cat "$dir/.done" 2>/dev/null)" = "$stamp" ] && return 0
  mkdir -p "$dir"
  local work
  work=$(mktemp -d)
  local rate
  for rate in 48000 44100 32000 24000 22050 16000; do
    sox -R -r "$rate" -n -c 2 -b 16 "$work/tones.wav" synth 3 sine 200-6000 pinknoise sine 1000 \
      remix 1,2v0.6 2,3v0.6 gain -4
    sox -R -r "$rate" -n -c 2 -b 16 "$work/clicks.wav" synth 0.02 square 300 pad 0 0.15 repeat 5 gain -3
    sox -R "$work/tones.wav" "$work/clicks.wav" "$work/$rate.wav"
  done
  twolame --quiet -m s -b 384 "$work/48000.wav" "$dir/l2-48k-stereo-384.mp2"
  twolame --quiet -m d -b 256 "$work/32000.wav" "$dir/l2-32k-dual-256.mp2"
  twolame --quiet -a -m m -b 48 "$work/44100.wav" "$dir/l2-44k-mono-48.mp2"
  twolame --quiet -m j -b 64 "$work/48000.wav" "$dir/l2-48k-joint-64.mp2"
  twolame --quiet -m j -b 128 "$work/24000.wav" "$dir/l2-24k-joint-128.mp2"
  twolame --quiet -a -m m -v "$work/22050.wav" "$dir/l2-22k-mono-vbr.mp2"
  twolame --quiet -m s -v "$work/16000.wav" "$dir/l2-16k-stereo-vbr.mp2"
  lame --quiet -m m -b 32 "$work/32000.wav" "$dir/l3-32k-mono-32.mp3"
  lame --quiet -m j -V 4 "$work/48000.wav" "$dir/l3-48k-joint-vbr4.mp3"
  lame --quiet -m s -b 320 "$work/44100.wav" "$dir/l3-44k-stereo-320.mp3"
  lame --quiet -m j -b 64 "$work/24000.wav" "$dir/l3-24k-joint-64.mp3"
  lame --quiet -m s -b 32 "$work/16000.wav" "$dir/l3-16k-stereo-32.mp3"
  lame --quiet -m m -V 2 "$work/22050.wav" "$dir/l3-22k-mono-vbr2.mp3"
  rm -rf "$work"
  echo "$stamp" >"$dir/.done"
}

bash "$here/make_bench_streams.sh" "$streams/bench"
make_variety "$streams"

# Names as the list shows them: relative to the conformance directory or to
# the generated streams' directory.
inputs=()
while IFS= read -r f; do inputs+=("conformance/${f#"$root/tests/data/conformance/"}"); done \
  < <(find "$root/tests/data/conformance" -name '*.bit' | sort)
while IFS= read -r f; do inputs+=("generated/${f#"$streams/"}"); done \
  < <(find "$streams/bench" "$streams/variety" -name '*.mp[23]' | sort)

path_of() {
  case $1 in
    conformance/*) echo "$root/tests/data/${1}" ;;
    generated/*) echo "$streams/${1#generated/}" ;;
  esac
}

# One decode: name, configuration, exit code, PCM and message checksums.
decode_one() {
  local name=$1 q=$2 r=$3 b=$4 c=$5
  local tmp
  tmp=$(mktemp -d)
  local rc=0
  # shellcheck disable=SC2086
  "$decode" $kernel_option -q "$q" -r "$r" -b "$b" -c "$c" "$(path_of "$name")" "$tmp/out.wav" >"$tmp/messages" 2>&1 || rc=$?
  local pcm=none
  [ -f "$tmp/out.wav" ] && pcm=$(sha256sum <"$tmp/out.wav" | cut -c1-32)
  echo "$name q$q r$r b$b c$c exit$rc $pcm $(sha256sum <"$tmp/messages" | cut -c1-16)"
  rm -rf "$tmp"
}
export -f decode_one path_of
export decode root streams kernel_option

current=$(mktemp)
trap 'rm -f "$current"' EXIT
{
  for name in "${inputs[@]}"; do
    echo "input $name $(sha256sum <"$(path_of "$name")" | cut -c1-32)"
  done
  for name in "${inputs[@]}"; do
    for q in 1 2 3; do for r in 1 2 4; do for b in 8 16; do for c in 1 2; do
      echo "$name $q $r $b $c"
    done; done; done; done
  done | xargs -P "$jobs" -L 1 bash -c 'decode_one "$@"' _ | sort
} >"$current"

if [ "$mode" = make ]; then
  {
    echo "# quavera-decode output checksums: made by tools/native/pcm_checksums.sh; see there."
    cat "$current"
  } >"$list"
  echo "pcm_checksums: $(grep -vc '^\(#\|input\)' "$list") decodes of ${#inputs[@]} streams written to $list"
  exit 0
fi

# Inputs that differ from the list's are not compared.
declare -A changed
while read -r _ name sum; do
  want=$(awk -v n="$name" '$1 == "input" && $2 == n { print $3 }' "$list")
  if [ -z "$want" ]; then
    echo "not in the list: $name"
    changed[$name]=1
  elif [ "$want" != "$sum" ]; then
    echo "input differs from the list's, not compared: $name"
    changed[$name]=1
  fi
done < <(grep '^input ' "$current")
compared=0
differences=0
while read -r line; do
  name=${line%% *}
  [ -n "${changed[$name]:-}" ] && continue
  compared=$((compared + 1))
  if ! grep -qxF "$line" "$list"; then
    echo "DIFFERS: $line (list: $(grep -F "${line%% exit*} " "$list" | head -1))"
    differences=$((differences + 1))
  fi
done < <(grep -v '^input ' "$current")
echo "pcm_checksums: $compared decodes compared, $differences differ"
[ "$differences" -eq 0 ]

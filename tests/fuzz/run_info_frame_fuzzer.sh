#!/usr/bin/env bash
# Seeds the information-frame fuzzer with the first frames and the ends of
# lame streams (VBR, ABR, CBR, lower sampling frequencies, one channel) and a
# stream with tags at both ends, then fuzzes for the given number of seconds.
# Usage: run_info_frame_fuzzer.sh FUZZER WORK_DIR SECONDS
set -euo pipefail
fuzzer=$1
work=$2/info-frame-fuzz-run
seconds=$3
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
for tool in sox lame; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed (scripts/setup.sh installs it)"; exit 1; }
done
sox -R -n -r 44100 -c 2 -b 16 "$work/s.wav" synth 0.5 sine 300-3000 pinknoise gain -6 2>/dev/null
sox -R -n -r 22050 -c 1 -b 16 "$work/m.wav" synth 0.5 sine 500 gain -6 2>/dev/null
lame --quiet -V 2 "$work/s.wav" "$work/seeds/vbr"
lame --quiet --abr 96 "$work/s.wav" "$work/seeds/abr"
lame --quiet -b 128 --tt title --add-id3v2 "$work/s.wav" "$work/seeds/tagged"
lame --quiet -V 6 "$work/m.wav" "$work/seeds/lsf_mono"
rm "$work"/*.wav
exec "$fuzzer" -max_total_time="$seconds" -max_len=20000 -print_final_stats=1 "$work/corpus" "$work/seeds"

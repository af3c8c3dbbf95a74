#!/usr/bin/env bash
# Seeds the address fuzzer with typical addresses and header values, then
# fuzzes for the given number of seconds.
# Usage: run_http_address_fuzzer.sh FUZZER WORK_DIR SECONDS
set -euo pipefail
fuzzer=$1
work=$2/http-address-fuzz-run
seconds=$3
rm -rf "$work"
mkdir -p "$work/corpus" "$work/seeds"
i=0
for seed in 'http://server/a.mp3' 'HTTPS://user:pw@Host.example:8443/dir/My Song.mp3?x=1#f' \
            'http://[::1]:81/x.mp3' 'Server/A.mp3' 'ftp://x/a.mp3' 'bytes 100-199/200' '2147483648'; do
  printf '%s' "$seed" >"$work/seeds/seed$i"
  i=$((i + 1))
done
exec "$fuzzer" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 "$work/corpus" "$work/seeds"

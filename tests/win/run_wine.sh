#!/bin/sh
# Runs a Windows program of the test trees under Wine.
#
# Under load, wine now and then ends at once with a failure and without a
# word, before the program is even loaded: it takes under 5 ms, where
# loading the smallest test program takes 35 ms and a missing program 6 ms.
# Such a start is made once more, and said on stderr; a program that ran
# and failed is never started again.
start=$(date +%s%N)
wine "$@"
status=$?
elapsed_ms=$((($(date +%s%N) - start) / 1000000))
if [ "$status" -ne 0 ] && [ "$elapsed_ms" -lt 5 ]; then
  echo "run_wine.sh: wine ended with status $status after $elapsed_ms ms, before loading $1; starting it again" >&2
  exec wine "$@"
fi
exit "$status"

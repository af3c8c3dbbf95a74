#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
bash scripts/build.sh || exit 1

failed=0
run_ctest() {
  local tree=$1; shift
  echo "== test $tree"
  ctest --test-dir "build/$tree" --output-on-failure --timeout 300 "$@" || failed=1
}

run_ctest native -j2
run_ctest native-asan -j2
run_ctest native-fuzz
run_ctest win32 -L static

source scripts/wine-session.sh
# Last, so that the run ends with its summary.
run_ctest win64 -j2
exit $failed

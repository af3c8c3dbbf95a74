#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh || exit 1
bash scripts/build.sh || exit 1
# Both installers and portable archives; the 64-bit installer is also run below.
bash packaging/build.sh >/dev/null || exit 1

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

# Real time on a paced device: its own Wine session.
(QUAVERA_AUDIO=pulse; source scripts/wine-session.sh; run_ctest win64 -L realtime; exit $failed) || failed=1
# Everything else on the capturing device; last, so that the run ends with its summary.
(source scripts/wine-session.sh; run_ctest win64 -j2 -LE realtime; exit $failed) || failed=1
exit $failed

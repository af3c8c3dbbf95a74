#!/usr/bin/env bash
# Configures and builds the trees named on the command line (default: all).
#   native       decoder core, native tests and tools (Linux)
#   native-asan  the same with AddressSanitizer and UndefinedBehaviorSanitizer
#   native-fuzz  libFuzzer targets (clang)
#   win64        Tamblin1.dll, Quavera.exe, Windows tests and tools (run under Wine)
#   win32        the 32-bit deliverables (compiled and checked, not run)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-$(nproc)}
trees=("$@")
((${#trees[@]})) || trees=(native native-asan native-fuzz win64 win32)

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

for tree in "${trees[@]}"; do
  args=()
  case $tree in
    native) ;;
    native-asan) args=(-DQUAVERA_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    native-fuzz) args=(-DQUAVERA_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo) ;;
    win64) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake") ;;
    win32) args=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake") ;;
    *) echo "build.sh: unknown tree '$tree'" >&2; exit 2 ;;
  esac
  echo "== build $tree"
  cmake -S "$root" -B "$root/build/$tree" "${generator[@]}" "${args[@]}" >/dev/null
  cmake --build "$root/build/$tree" -j "$jobs"
done

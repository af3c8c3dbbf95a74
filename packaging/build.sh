#!/usr/bin/env bash
# Builds the installers and the portable archives from the Windows trees:
#   build/packages/Quavera-<version>-setup-x86.exe    32-bit (the deliverable)
#   build/packages/Quavera-<version>-setup-x64.exe    64-bit
#   build/packages/Quavera-<version>-portable-x86.zip
#   build/packages/Quavera-<version>-portable-x64.zip
# The version is the product version of the player's version resource.
#   usage: packaging/build.sh [x86|x64 ...]   (default: both)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
out="$root/build/packages"
mkdir -p "$out"

# "1, 00" -> "1.00": digits kept, commas become points, the rest dropped.
version=$(sed -n 's/.*VALUE "ProductVersion", "\(.*\)".*/\1/p' "$root/resources/quavera.rc" | tr ',' '.' | tr -cd '0-9.')
[ -n "$version" ] || { echo "packaging: no product version in resources/quavera.rc" >&2; exit 1; }

architectures=("$@")
((${#architectures[@]})) || architectures=(x86 x64)
for arch in "${architectures[@]}"; do
  case $arch in
    x86) tree=win32; target=x86 ;;
    x64) tree=win64; target=amd64 ;;
    *) echo "packaging: unknown architecture '$arch'" >&2; exit 2 ;;
  esac
  bin="$root/build/$tree/bin"
  for file in Quavera.exe Tamblin1.dll; do
    [ -f "$bin/$file" ] || { echo "packaging: $bin/$file is missing (scripts/build.sh $tree)" >&2; exit 1; }
  done
  setup="$out/Quavera-$version-setup-$arch.exe"
  makensis -V2 -DVERSION="$version" -DARCH="$target" -DBIN="$bin" -DOUTFILE="$setup" "$root/packaging/quavera.nsi"
  echo "packaging: $setup"

  portable="$out/Quavera-$version-portable-$arch.zip"
  staging=$(mktemp -d)
  mkdir "$staging/Quavera"
  cp "$bin/Quavera.exe" "$bin/Tamblin1.dll" "$staging/Quavera/"
  # Windows text files: CR LF line ends.
  sed 's/$/\r/' "$root/packaging/README.txt" > "$staging/Quavera/README.txt"
  sed 's/$/\r/' "$root/LICENSE" > "$staging/Quavera/LICENSE.txt"
  rm -f "$portable"
  (cd "$staging" && zip -q -X -r "$portable" Quavera)
  rm -rf "$staging"
  echo "packaging: $portable"
done

#!/usr/bin/env bash
# Installs what the build, the player and the tests need on Debian 12.
# Idempotent: when every package is present it only checks and returns.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine wine64 fonts-wine xvfb xauth imagemagick pulseaudio pulseaudio-utils
  clang libclang-rt-14-dev
  twolame lame mpg123 sox python3
  nsis zip
  # The streaming tests start their own proxy: the package without a service.
  tinyproxy-bin openssl
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  # wine32 would take over /usr/bin/wine with a loader that cannot run here.
  if dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: note: i386 multiarch is enabled; wine32 is not installed on purpose" >&2
  fi
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

#!/usr/bin/env bash
# The 64-bit installer in a prefix of its own: it installs silently, the
# installed player plays a file on the capturing device, and the uninstaller
# takes away every file and registry key that the installer wrote.
#   usage: installer_test.sh STREAM
# Environment: a Wine test session (DISPLAY, QUAVERA_CAPTURE, the ALSA set-up).
set -euo pipefail
stream=$1
fail() { echo "FAIL: $*" >&2; exit 1; }

root=$(cd "$(dirname "$0")/../.." && pwd)
setup=$(bash "$root/packaging/build.sh" x64 | sed -n 's/^packaging: \(.*setup-x64\.exe\)$/\1/p')
[ -f "$setup" ] || fail "the installer was not built"

work=$(mktemp -d "${TMPDIR:-/tmp}/installer.XXXXXX")
export WINEPREFIX="$work/prefix"
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
wineserver -w
wineserver -p
wine wineboot </dev/null >/dev/null 2>&1

drive=$WINEPREFIX/drive_c
installed="$drive/Program Files/Quavera"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Quavera.lnk"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quavera'

# What the machine holds: every file under C:\ and every registry key.
snapshot() {
  (cd "$drive" && find . -path ./windows -prune -o -path ./users -prune -o -print | sort) > "$work/$1.files"
  wine regedit /E "Z:${work//\//\\}\\$1-machine.reg" 'HKEY_LOCAL_MACHINE\Software' >/dev/null 2>&1
  wine regedit /E "Z:${work//\//\\}\\$1-user.reg" 'HKEY_CURRENT_USER\Software' >/dev/null 2>&1
  for hive in machine user; do
    iconv -f UTF-16 -t UTF-8 "$work/$1-$hive.reg" | tr -d '\r' | grep '^\[' | sort > "$work/$1-$hive.keys"
  done
}

snapshot before
wine "Z:${setup//\//\\}" /S
for file in Quavera.exe Tamblin1.dll Uninstall.exe; do
  [ -f "$installed/$file" ] || fail "$file was not installed"
done
[ -f "$shortcut" ] || fail "no Start-menu shortcut"
wine reg query "$uninstall_key" /v UninstallString >/dev/null 2>&1 || fail "no uninstall entry"
echo "installed: $(cd "$installed" && ls | tr '\n' ' ')"

# The installed player plays a file to its end and closes (/C). Recorded as
# installed before, it starts without its first-run settings, which would
# wait for an answer.
version=$(sed -n 's/.*"ProductVersion", "\([0-9]*\), \([0-9]*\)".*/\1.\2/p' "$root/resources/quavera.rc")
wine reg add 'HKCU\Software\Brixlane\Quavera\Playback' /v Version /d "$version" /f >/dev/null 2>&1
rm -f "$QUAVERA_CAPTURE"
timeout 120 wine "C:\\Program Files\\Quavera\\Quavera.exe" /p /c "Z:${stream//\//\\}" ||
  fail "the installed player did not play to the end and close"
python3 - "$QUAVERA_CAPTURE" <<'PY' || fail "the installed player played nothing audible"
import array, sys
samples = array.array("h", open(sys.argv[1], "rb").read())
loud = sum(1 for s in samples if abs(s) > 1000)
print(f"captured {len(samples)} samples, {loud} of them loud")
sys.exit(0 if loud > 10000 else 1)
PY

# The player keeps its own settings under the user's key: not the installer's.
wine reg delete 'HKCU\Software\Brixlane' /f >/dev/null 2>&1 || true
# The uninstaller copies itself to the temporary folder and goes on from
# there, so the first process ends before the work is done.
wine "C:\\Program Files\\Quavera\\Uninstall.exe" /S
for _ in $(seq 150); do [ -e "$installed" ] || break; sleep 0.2; done
[ ! -e "$installed" ] || fail "the program folder is still there: $(ls "$installed")"
snapshot after

left=$(diff "$work/before.files" "$work/after.files" | grep '^>' || true)
left+=$(diff "$work/before-machine.keys" "$work/after-machine.keys" | grep '^>' || true)
left+=$(diff "$work/before-user.keys" "$work/after-user.keys" | grep '^>' | grep -iv 'wine\|explorer\|mmdevices\|MuiCache' || true)
if [ -n "$left" ]; then
  echo "left behind:"; echo "$left"
  echo "$left" | grep -qi 'quavera\|brixlane' && fail "the uninstaller left files or keys of ours"
fi
echo "nothing of ours is left"

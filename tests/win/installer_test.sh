#!/usr/bin/env bash
# The 64-bit installer in a prefix of its own: it installs silently, the
# installed player plays a file on the capturing device and makes itself the
# program of its file types, the shell's play verb starts it on a file, and
# the uninstaller takes away every file and registry key that the installer
# and the player's file types left.
#   usage: installer_test.sh STREAM SHELL_VERB
# SHELL_VERB is the tool that opens a file through a verb of its class.
# Environment: a Wine test session (DISPLAY, QUAVERA_CAPTURE, the ALSA set-up).
set -euo pipefail
stream=$1
shell_verb=$2
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

# Whether the capture holds sound.
captured_sound() {
  python3 - "$QUAVERA_CAPTURE" <<'PY'
import array, sys
try:
    samples = array.array("h", open(sys.argv[1], "rb").read())
except OSError:
    sys.exit(1)
loud = sum(1 for s in samples if abs(s) > 1000)
print(f"captured {len(samples)} samples, {loud} of them loud")
sys.exit(0 if loud > 10000 else 1)
PY
}

# The installed player plays a file to its end and closes (/C). Recorded as
# installed before, it starts without its first-run settings, which would
# wait for an answer; none of its file types is registered in the new
# prefix, so it registers them without asking.
version=$(sed -n 's/.*"ProductVersion", "\([0-9]*\), \([0-9]*\)".*/\1.\2/p' "$root/resources/quavera.rc")
wine reg add 'HKCU\Software\Brixlane\Quavera\Playback' /v Version /d "$version" /f >/dev/null 2>&1
rm -f "$QUAVERA_CAPTURE"
timeout 120 wine "C:\\Program Files\\Quavera\\Quavera.exe" /p /c "Z:${stream//\//\\}" ||
  fail "the installed player did not play to the end and close"
captured_sound || fail "the installed player played nothing audible"

# The commands name the program in quotation marks. A program planted at
# C:\Program.exe, which an unquoted "C:\Program Files\..." command would
# start instead, stays unused: the shell's play verb starts the player on a
# file whose name has a blank, and it plays.
play=$(wine reg query 'HKCR\Quavera.AudioFile\shell\play\command' /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
[ "$play" = '"C:\Program Files\Quavera\Quavera.exe" /play %1' ] || fail "the play command is: $play"
cp "$drive/windows/system32/hostname.exe" "$drive/Program.exe"
cp "$stream" "$work/shell play.mp3"
rm -f "$QUAVERA_CAPTURE"
wine "$shell_verb" play "Z:${work//\//\\}\\shell play.mp3" || fail "the shell has no play verb for .mp3 files"
for _ in $(seq 100); do captured_sound >/dev/null && break; sleep 0.2; done
captured_sound || fail "the play verb did not start the player playing"
wine taskkill /im Quavera.exe >/dev/null 2>&1
for _ in $(seq 50); do wine tasklist 2>/dev/null | grep -qi quavera || break; sleep 0.2; done
rm -f "$drive/Program.exe"

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

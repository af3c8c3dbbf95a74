# Sourced by the test and run scripts: a private Wine prefix, an X server when
# there is no display, a wave-out device that captures to a file, and a
# persistent wineserver. Everything is removed again on exit.
QUAVERA_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quavera-wine.XXXXXX")
export WINEPREFIX="$QUAVERA_RUN_DIR/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QUAVERA_CAPTURE="$QUAVERA_RUN_DIR/capture.raw"

quavera_wine_cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${QUAVERA_XVFB_PID:-}" ] && kill "$QUAVERA_XVFB_PID" 2>/dev/null || true
  rm -rf "$QUAVERA_RUN_DIR"
}
trap quavera_wine_cleanup EXIT
trap 'exit 130' INT TERM

if [ -z "${DISPLAY:-}" ] || [ -n "${QUAVERA_XVFB:-}" ]; then
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$QUAVERA_RUN_DIR/display" 2>/dev/null &
  QUAVERA_XVFB_PID=$!
  for _ in $(seq 100); do [ -s "$QUAVERA_RUN_DIR/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$QUAVERA_RUN_DIR/display")"
fi

if [ -z "${QUAVERA_REAL_AUDIO:-}" ]; then
  printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$QUAVERA_CAPTURE" \
    > "$QUAVERA_RUN_DIR/asound.conf"
  export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$QUAVERA_RUN_DIR/asound.conf"
fi

wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
[ -n "${QUAVERA_REAL_AUDIO:-}" ] || wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
wineserver -p
# Start Wine's services now, outside any test's output pipes.
wine wineboot </dev/null >/dev/null 2>&1

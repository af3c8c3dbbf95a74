# Sourced by the test and run scripts: a private Wine prefix, an X server when
# there is no display, a wave-out device and a persistent wineserver.
# Everything is removed again on exit. The device is chosen by QUAVERA_AUDIO:
#   capture (default)  ALSA file plugin: exact samples in $QUAVERA_CAPTURE, not paced
#   pulse              a PulseAudio null sink: paced in real time
#   system             whatever the machine has (to listen)
QUAVERA_RUN_DIR=$(mktemp -d "${TMPDIR:-/tmp}/quavera-wine.XXXXXX")
export WINEPREFIX="$QUAVERA_RUN_DIR/prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export QUAVERA_CAPTURE="$QUAVERA_RUN_DIR/capture.raw"

quavera_wine_cleanup() {
  wineserver -k 2>/dev/null || true
  [ -n "${QUAVERA_PULSE:-}" ] && pactl exit 2>/dev/null || true
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

case ${QUAVERA_AUDIO:=capture} in
  capture)
    printf 'pcm.!default { type file slave.pcm "null" file "%s" format "raw" }\n' "$QUAVERA_CAPTURE" \
      > "$QUAVERA_RUN_DIR/asound.conf"
    export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$QUAVERA_RUN_DIR/asound.conf"
    wine_audio=alsa
    ;;
  pulse)
    mkdir -m 700 "$QUAVERA_RUN_DIR/xdg"
    XDG_RUNTIME_DIR="$QUAVERA_RUN_DIR/xdg" pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
      --load="module-native-protocol-unix auth-anonymous=1 socket=$QUAVERA_RUN_DIR/pulse.sock" \
      --load="module-null-sink sink_name=test rate=44100 channels=2" \
      --log-target=file:"$QUAVERA_RUN_DIR/pulse.log" 2>/dev/null
    export PULSE_SERVER="unix:$QUAVERA_RUN_DIR/pulse.sock" QUAVERA_PULSE=1
    wine_audio=pulse
    ;;
  *) wine_audio= ;;
esac

wineboot --init >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
[ -z "$wine_audio" ] || wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d "$wine_audio" /f >/dev/null 2>&1
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
wineserver -w
wineserver -p
# Start Wine's services now, outside any test's output pipes.
wine wineboot </dev/null >/dev/null 2>&1

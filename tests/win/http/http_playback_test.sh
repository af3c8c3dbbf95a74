#!/usr/bin/env bash
# End-to-end streaming under Wine: quavera-play and the player play addresses
# on the local test server (started by servers.sh), and the captured PCM is
# compared with the local decode of the same file.
#   usage: http_playback_test.sh SCENARIO
# Environment: as playback_test.sh, and QUAVERA_HTTP_RUN (the servers' run
# folder) and QUAVERA_PLAYER_TESTS (http_player_tests.exe).
set -euo pipefail
scenario=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/http-playback.XXXXXX")
trap 'rm -rf "$work"' EXIT

source "$(dirname "$0")/../capture_support.sh"

run=$QUAVERA_HTTP_RUN
url() { printf 'http://127.0.0.1:%s/%s/%s' "$(cat "$run/port")" "$1" "$2"; }

# same_audio_after_seek CAPTURE... : every capture holds the decode of the
# whole file from 16 frames after the seek target (3000 ms, frame 114) to its
# end and nothing audible after it, and skipped the audio in between; so the
# captures agree from there on.
same_audio_after_seek() {
  python3 - "$work/ref.wav" "$@" <<'PY'
import sys
ref = open(sys.argv[1], "rb").read()
ref = ref[ref.find(b"data") + 8:]
frame = 1152 * 2 * 2
probe_at = (114 + 16) * frame
rest = ref[probe_at:]
for path in sys.argv[2:]:
    cap = open(path, "rb").read()
    found = cap.find(rest[:4096])
    if found < 0:
        sys.exit(f"{path}: the audio after the seek target is not in the capture")
    if cap[found:found + len(rest)] != rest:
        sys.exit(f"{path}: the capture differs from the decode after the seek target")
    skipped = (probe_at - found) / frame
    print(f"{path}: identical from frame {114 + 16} to the end; {skipped:.1f} frames skipped")
    if skipped < 30:
        sys.exit(f"{path}: the seek skipped only {skipped:.1f} frames")
    if any(cap[found + len(rest):]):
        sys.exit(f"{path}: sound after the end of the stream")
PY
}

case $scenario in
  play)
    play_name "$(url files long.mp2)" --method 3
    decode long.mp2 -q 2
    compare 16 2 8
    [ "$(count CMD_STREAM_END)" = 1 ] || fail "no CMD_STREAM_END"
    ;;
  proxy)
    key="HKCU\\Software\\QuaveraTests\\Playback.$scenario"
    wine reg add "$key" /v Proxy /d 127.0.0.1 /f >/dev/null 2>&1
    wine reg add "$key" /v ProxyPort /t REG_DWORD /d "$(cat "$run/proxy-port")" /f >/dev/null 2>&1
    play_name "$(url files stereo128.mp3)"
    wine reg delete "$key" /f >/dev/null 2>&1
    decode stereo128.mp3 -q 2 --gapless
    compare 16 2 8
    grep -qF "GET $(url files stereo128.mp3) HTTP/1.1" "$run/tinyproxy.log" || fail "the request did not pass tinyproxy"
    ;;
  seek|norange-seek)
    kind=files
    [ "$scenario" = norange-seek ] && kind=norange
    play long.mp2 --seek 3000
    cp "$work/capture.raw" "$work/local.raw"
    play_name "$(url $kind long.mp2)" --seek 3000
    grep -q '^seek 3000 -> 1' "$work/out" || fail "seek refused"
    decode long.mp2 -q 2
    same_audio_after_seek "$work/local.raw" "$work/capture.raw"
    ;;
  vbr-seek)
    # A network stream seeks through its information frame's table: what
    # follows the seek is the decode from where the table leads, and its end
    # is cut where the audio ends.
    play_name "$(url files vbr.mp3)" --seek-paused 3000
    grep -q '^seek 3000 -> 1' "$work/out" || fail "seek refused"
    decode vbr.mp3 -q 2 --gapless
    heard_from "$work/capture.raw"
    ;;
  save)
    play_name "$(url files long.mp2)" --save "$(windows_path "$work/saved.mp2")"
    cmp "$work/saved.mp2" "$QUAVERA_STREAMS/long.mp2" || fail "the saved file differs from the served file"
    decode long.mp2 -q 2
    compare 16 2 8
    ;;
  drop)
    play_name "$(url drop long.mp2)" --timeout 10000
    grep -qE '^Error!: Connection (reset|aborted)!' "$work/err" || fail "no connection box"
    [ "$(tail -n1 "$work/out" | cut -d' ' -f1)" = CMD_STREAM_END ] || fail "did not end cleanly"
    ;;
  garbage)
    status=0
    timeout 60 wine "$QUAVERA_PLAY" --timeout 10000 "$(url garbage x)" >"$work/out" 2>"$work/err" || status=$?
    cat "$work/out" "$work/err"
    [ "$status" = 1 ] || fail "quavera-play ended with $status, not with a refused open"
    grep -q '^Error!: ' "$work/err" || fail "no box for a body that is not audio"
    ;;
  player)
    rm -f "$QUAVERA_CAPTURE"
    QUAVERA_HTTP_RUN=$(windows_path "$run") timeout 120 wine "$QUAVERA_PLAYER_TESTS" \
      --gtest_filter=PlayerUrl.PlaysAndSavesThroughTheUrlDialogUntilTheEnd || fail "the player test failed"
    cp "$QUAVERA_CAPTURE" "$work/capture.raw"
    decode long.mp2 -q 2
    compare 16 2 8
    ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "PASS $scenario"

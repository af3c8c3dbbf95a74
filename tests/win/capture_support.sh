# Shared by the end-to-end capture tests (sourced): runs quavera-play on the
# capturing wave-out device and compares the captured PCM with the decoder
# tool's output. Needs $work (a scratch folder), $scenario, QUAVERA_PLAY,
# QUAVERA_DECODE, QUAVERA_STREAMS and QUAVERA_CAPTURE.

fail() { echo "FAIL: $*" >&2; exit 1; }

windows_path() { printf 'Z:%s' "${1//\//\\}"; }

# play FILE [quavera-play options...]: plays, keeps stdout in $work/out
play() {
  local file=$1; shift
  play_name "$(windows_path "$QUAVERA_STREAMS/$file")" "$@"
}

# play_name NAME [quavera-play options...]: plays a name as given (a file or
# an address); stdout in $work/out, the boxes in $work/err, the capture in
# $work/capture.raw
play_name() {
  local name=$1; shift
  rm -f "$QUAVERA_CAPTURE"
  timeout 120 wine "$QUAVERA_PLAY" --registry "QuaveraTests\\Playback.$scenario" "$@" "$name" \
    >"$work/out" 2>"$work/err" || {
    cat "$work/out" "$work/err"; fail "quavera-play exited with $?"; }
  cat "$work/out"
  [ -s "$work/err" ] && { echo "boxes:"; cat "$work/err"; }
  cp "$QUAVERA_CAPTURE" "$work/capture.raw"
}

# decode FILE [decoder options...]: the reference PCM in $work/ref.wav
decode() {
  local file=$1; shift
  "$QUAVERA_DECODE" "$@" "$QUAVERA_STREAMS/$file" "$work/ref.wav"
}

# compare BITS CHANNELS MAX_HEAD_FRAMES [SEARCH_FROM_BYTES]: the capture equals
# the reference after a head that may only be quieter (the muted start), no
# longer than MAX_HEAD_FRAMES frames of 1152 samples. With SEARCH_FROM_BYTES the
# reference is looked for in the capture from there on (a second run).
compare() {
  python3 - "$work/capture.raw" "$work/ref.wav" "$@" <<'PY'
import sys
capture_path, ref_path, bits, channels, max_head_frames = sys.argv[1:6]
offset = int(sys.argv[6]) if len(sys.argv) > 6 else 0
bits, channels, max_head_frames = int(bits), int(channels), float(max_head_frames)
cap = open(capture_path, "rb").read()
ref = open(ref_path, "rb").read()
data = ref.find(b"data")
ref = ref[data + 8:]
width = bits // 8
if offset:
    # Past any muted head: ten frames in, the two runs must agree exactly.
    probe_at = 10 * 1152 * channels * width
    probe = ref[probe_at:probe_at + 4096]
    found = cap.find(probe, offset)
    if found < 0:
        sys.exit("the second run's audio is not in the capture")
    cap = cap[found - probe_at:]
def samples(raw):
    if width == 2:
        return [int.from_bytes(raw[i:i + 2], "little", signed=True) for i in range(0, len(raw) - 1, 2)]
    return [b - 128 for b in raw]
c, r = samples(cap), samples(ref)
if len(c) < len(r):
    sys.exit(f"capture has {len(c)} samples, the decoder {len(r)}")
diff = [i for i in range(len(r)) if c[i] != r[i]]
head = diff[-1] + 1 if diff else 0
for i in diff:
    if abs(c[i]) > abs(r[i]) or (c[i] != 0 and (c[i] > 0) != (r[i] > 0)):
        sys.exit(f"sample {i}: captured {c[i]}, decoded {r[i]}: differs by more than volume")
frames = head / channels / 1152
print(f"identical after {head} samples ({frames:.2f} frames); {len(r)} samples compared")
if frames > max_head_frames:
    sys.exit(f"quieter head of {frames:.2f} frames is longer than {max_head_frames}")
if any(c[len(r):]):
    sys.exit("the capture has sound after the end of the stream")
PY
}

count() { grep -c "^$1" "$work/out" || true; }

# heard_from CAPTURE [MS]: the capture ends with the reference decode from
# some sample on, exactly from where it is at full volume, and nothing
# audible after it. With MS (a capture that starts at a seek to MS) the
# decode, quieter before, starts at the capture's first sample, which must
# lie within the frame before MS.
heard_from() {
  python3 - "$1" "$work/ref.wav" "${2:-}" <<'PY'
import struct, sys
capture = open(sys.argv[1], "rb").read()
ref = open(sys.argv[2], "rb").read()
ref = ref[ref.find(b"data") + 8:]
c = struct.unpack(f"<{len(capture) // 2}h", capture[: len(capture) // 2 * 2])
r = struct.unpack(f"<{len(ref) // 2}h", ref)
tail = 20000
found = capture.find(ref[-tail:])
if found < 0 or found % 4:
    sys.exit("the end of the decode is not in the capture")
if any(c[(found + tail) // 2:]):
    sys.exit("the capture has sound after the end of the stream")
delta = (len(ref) - tail - found) // 2  # reference sample of capture sample 0
first = found // 2
while first > 0 and c[first - 1] == r[first - 1 + delta]:
    first -= 1
print(f"the decode from frame {delta // 2} on; exact from capture frame {first // 2}")
if sys.argv[3]:
    for i in range(first):
        a, b = c[i], r[i + delta]
        if abs(a) > abs(b) or (a != 0 and (a > 0) != (b > 0)):
            sys.exit(f"capture sample {i} is not the decode at a lower volume")
    target = int(sys.argv[3]) * 44.1
    error = (delta // 2 - target) / 44.1
    print(f"a seek to {sys.argv[3]} ms is heard from {error:+.1f} ms")
    if not -1152 / 44.1 < error <= 0:
        sys.exit("not within the frame that holds the time")
PY
}

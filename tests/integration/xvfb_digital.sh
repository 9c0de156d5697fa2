#!/usr/bin/env bash
# The real player plays a CD image through the sound card: a private sound
# server with a null output stands in for the card, and ALSA's file plugin
# in front of it keeps every sample the player wrote. A second start's /play
# makes the file grow at the real-time rate, /pause stops it, and what was
# written is the disc's first samples in order.
set -uo pipefail
zcd=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/../../scripts/lib/xvfb.sh"
new_work_dir
cleanup_digital() {
  HOME=$work/home XDG_RUNTIME_DIR=$work/runtime pulseaudio --kill 2>/dev/null
  cleanup_work_dir
}
trap cleanup_digital EXIT
mkdir -m 700 "$work/runtime" "$work/home" "$work/disc"
export LSAN_OPTIONS=suppressions=$here/lsan.supp
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home
export QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

skip_or_fail() {
  if [ "${ZCD_REQUIRE_REAL_SERVERS:-0}" = 1 ]; then echo "FAILED: $1"; exit 1; fi
  echo "skipped: $1"; exit 0
}
command -v pulseaudio >/dev/null || skip_or_fail "pulseaudio is not installed"
pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=zcdtest rate=44100" \
  --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 ||
  skip_or_fail "pulseaudio did not start: $(cat "$work/pulse.log")"
out=$work/written.raw
# ALSA reads this file alone: the system's hook that makes the running sound
# server the default would otherwise win over a user's own definition.
export ALSA_CONFIG_PATH=$work/asound.conf
cat >"$ALSA_CONFIG_PATH" <<CONF
pcm.default { type file; slave.pcm { type pulse } file "$out" format raw }
ctl.default { type pulse }
CONF

"$here/make_pattern_image.py" "$work/disc" 6 6
printf '[Zentaro CD]\r\nAutoInfo=0\r\nDigitalPlayback=1\r\n' >"$HOME/ZCD.ini"
start_xvfb "$work" || exit 1
"$zcd" --verbose --virtual-drive "$work/disc/pattern.cue" >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "disc loaded" || exit 1

size() { stat -c %s "$out" 2>/dev/null || echo 0; }
now_ms() { date +%s%3N; }
failed=0
fail() { echo "FAILED: $1"; failed=1; }

asked=$(now_ms)
"$zcd" /play || fail "/play did not reach the player"
for _ in $(seq 300); do [ "$(size)" -gt 0 ] && break; sleep 0.01; done
first=$(now_ms)
[ "$(size)" -gt 0 ] || fail "nothing was written after /play"
echo "first samples written $((first - asked)) ms after /play was started"

# 44100 frames of 4 bytes a second; the first buffer's worth is written at
# once, so the rate is taken after it.
sleep 1
s1=$(size) t1=$(now_ms)
sleep 2
s2=$(size) t2=$(now_ms)
rate=$(( (s2 - s1) * 1000 / (t2 - t1) ))
echo "written at $rate bytes/s"
[ "$rate" -gt 150000 ] && [ "$rate" -lt 200000 ] || fail "not the real-time rate: $rate bytes/s"

"$zcd" /pause || fail "/pause did not reach the player"
sleep 0.5
p1=$(size)
sleep 1.5
p2=$(size)
[ "$p1" = "$p2" ] || fail "samples went on being written after /pause ($p1, then $p2 bytes)"

# The samples written are the disc's from its first, in order.
python3 - "$out" "$p2" <<'PY' || fail "the samples written are not the disc's, in order"
import struct, sys
data = open(sys.argv[1], "rb").read()[: int(sys.argv[2])]
frames = struct.iter_unpack("<HH", data[: len(data) // 4 * 4])
for expected, (left, right) in enumerate(frames):
    if left | (((right ^ 0x5A5A) & 0xFFFF) << 16) != expected:
        print(f"frame {expected} is ({left}, {right})")
        sys.exit(1)
PY

[ "$failed" = 0 ] || { echo "the player said:"; cat "$work/player.log"; }
kill -TERM "$player"
wait "$player" || fail "the player did not end cleanly"
player=
exit $failed

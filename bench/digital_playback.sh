#!/usr/bin/env bash
# Digital playback's cost: the player on a virtual X server plays the demo
# disc (FLAC) through a private sound server with a null output, in real
# time; CPU as a share of one core and memory are sampled, then the same
# disc silently (digital playback off) for comparison, then the time from
# Play to the first samples handed to the sound device.
#   bench/digital_playback.sh [BUILD_DIR] [SECONDS]      (defaults: build, 30)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-30}
zcd=$build/zcd
demo=$build/demo/demo.cue
ticks=$(getconf CLK_TCK)

. "$root/scripts/lib/xvfb.sh"
new_work_dir
stop_all() {
  HOME=$work/home XDG_RUNTIME_DIR=$work/runtime pulseaudio --kill 2>/dev/null || true
  cleanup_work_dir
}
trap stop_all EXIT
mkdir -m 700 "$work/runtime" "$work/home"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=zcdtest rate=44100" --load=module-native-protocol-unix
export ALSA_CONFIG_PATH=$work/asound.conf
printf 'pcm.default { type pulse }\nctl.default { type pulse }\n' >"$ALSA_CONFIG_PATH"
start_xvfb "$work"

cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# measure LABEL DIGITAL: plays the demo disc for $seconds and samples.
measure() {
  local home=$work/player-$2
  mkdir -p "$home"
  printf '[Zentaro CD]\r\nAutoInfo=0\r\nDigitalPlayback=%s\r\n' "$2" >"$home/ZCD.ini"
  : >"$work/player.log"
  ZCD_HOME=$home "$zcd" --verbose --virtual-drive "$demo" >"$work/player.log" 2>&1 &
  player=$!
  wait_for_line "$work/player.log" "disc loaded"
  ZCD_HOME=$home "$zcd" /play
  sleep 3
  local before after
  before=$(cpu_ticks "$player")
  sleep "$seconds"
  after=$(cpu_ticks "$player")
  local rss hwm
  rss=$(awk '/VmRSS/ { print $2 }' "/proc/$player/status")
  hwm=$(awk '/VmHWM/ { print $2 }' "/proc/$player/status")
  kill -TERM "$player"
  wait "$player" || true
  player=
  awk -v l="$1" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" -v r="$rss" -v h="$hwm" \
    'BEGIN { printf "%-32s %5.2f %% of one core, resident %d KiB (peak %d KiB)\n", l, 100 * t / hz / s, r, h }'
}

measure "playing through the sound card" 1
measure "playing silently (digital off)" 0
"$build/bench/zcd_digital_latency" "$demo"

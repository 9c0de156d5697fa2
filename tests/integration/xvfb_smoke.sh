#!/usr/bin/env bash
# The player on a real X server: it starts with the demo disc, and a second
# start with /pause reaches it, shows no window and exits 0.
set -euo pipefail
zcd=$1
demo=$2

. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
new_work_dir
mkdir -m 700 "$work/runtime"
# Only matters for a sanitizer build.
export LSAN_OPTIONS=suppressions=$(dirname "$0")/lsan.supp
export XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

start_xvfb "$work"

"$zcd" --verbose --virtual-drive "$demo" >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "disc loaded"

windows_before=$(xdotool search --name '^ZCD' 2>/dev/null | wc -l)
[ "$windows_before" -ge 1 ] || { echo "no player window on the display"; exit 1; }

"$zcd" /pause
for _ in $(seq 100); do grep -qF "main: command pause [273 40056 0]" "$work/player.log" && break; sleep 0.1; done
grep -qF "main: command pause [273 40056 0]" "$work/player.log" || { echo "/pause did not arrive"; cat "$work/player.log"; exit 1; }
windows_after=$(xdotool search --name '^ZCD' 2>/dev/null | wc -l)
[ "$windows_after" -eq "$windows_before" ] || { echo "the second start opened a window"; exit 1; }

kill -TERM "$player"
status=0
wait "$player" || status=$?
player=
[ "$status" -eq 0 ] || { echo "the player exited with status $status"; tail -40 "$work/player.log"; exit 1; }
echo "1 passed, 0 failed"

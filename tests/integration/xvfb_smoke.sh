#!/usr/bin/env bash
# The player on a real X server: it starts with the demo disc, and a second
# start with /pause reaches it, shows no window and exits 0. Started the
# way `make run` starts it without a display, it says how to look at it, and
# Ctrl+C ends it the orderly way.
set -euo pipefail
zcd=$1
demo=$2
root=$(cd "$(dirname "$0")/../.." && pwd)

. "$root/scripts/lib/xvfb.sh"
new_work_dir
mkdir -m 700 "$work/runtime" "$work/run-home"
# Only matters for a sanitizer build.
export LSAN_OPTIONS=suppressions=$(dirname "$0")/lsan.supp
export XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

# A session of its own stands in for the terminal: Ctrl+C signals the whole
# foreground group.
env -u DISPLAY -u WAYLAND_DISPLAY ZCD_HOME="$work/run-home" \
  setsid "$root/scripts/run-player" "$zcd" "$demo" --verbose >"$work/run.log" 2>&1 </dev/null &
run=$!
wait_for_line "$work/run.log" "load disc"
# The screenshot command exactly as printed, run from another folder.
shot=$(grep -E '^ +XAUTHORITY=.* import ' "$work/run.log" | sed 's/^ *//')
(cd "$work" && bash -c "$shot") || { echo "the printed screenshot command failed: $shot"; exit 1; }
[ "$(identify -format %wx%h "$work/zcd.png")" = 1280x800 ] || { echo "no screenshot"; exit 1; }
screen=$(sed -n 's/.*X display \(:[0-9]*\)\./\1/p' "$work/run.log")
kill -INT -- -"$run"
status=0
wait "$run" || status=$?
[ "$status" -eq 0 ] || { echo "run-player ended with $status"; cat "$work/run.log"; exit 1; }
grep -qF "main: command exit" "$work/run.log" || { echo "Ctrl+C did not end the player"; exit 1; }
[ -f "$work/run-home/ZCD.ini" ] || { echo "no settings written at the end"; exit 1; }
[ ! -e "/tmp/.X${screen#:}-lock" ] || { echo "the virtual screen $screen is still there"; exit 1; }

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
echo "2 passed, 0 failed"

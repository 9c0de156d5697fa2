#!/usr/bin/env bash
# Remakes docs/player.png: the player with its built-in skin on a virtual X
# server, playing the demo disc, shown at twice its size so the pixels stay
# crisp. Run it after every change of the look.
#   tools/screenshot.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
zcd=$build/zcd
zcd_db=$build/tools/zcd-db
[ -x "$zcd" ] && [ -x "$zcd_db" ] || { echo "build the player first (make build)"; exit 1; }

. "$root/scripts/lib/xvfb.sh"
new_work_dir
mkdir -m 700 "$work/runtime" "$work/home"
export XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
# The demo disc with its titles, as a user would have it after a lookup.
"$zcd_db" add-xmcd "$root/resources/demo/misc" >/dev/null

start_xvfb "$work" 800x600

"$zcd" --verbose --virtual-drive "$root/resources/demo/demo.cue" >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "disc loaded"
"$zcd" /play
# Let the time run a few seconds and the track title scroll a little.
sleep 7
window=$(xdotool search --onlyvisible --name '^ZCD' | head -1)
import -window "$window" "$work/shot.png"
convert "$work/shot.png" -filter point -resize 200% "$root/docs/player.png"
kill -TERM "$player"
wait "$player" || true
player=
echo "wrote docs/player.png"

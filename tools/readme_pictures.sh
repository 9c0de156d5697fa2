#!/usr/bin/env bash
# Remakes the README's pictures from the real player on a virtual X server,
# driven by real clicks: full mode playing, the shade bar, the mixer open and
# a 20-track disc in the track box, each at normal and at double size.
# Run it after every change of the look.
#   tools/readme_pictures.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/xvfb.sh"
start_picture_screen "${1:-$root/build}"

# A disc of twenty short tracks with no titles, for the full track box.
{
  echo 'TITLE "Twenty"'
  echo 'REM LEADOUT 20:00:00'
  for t in $(seq 1 20); do
    printf 'TRACK %02d AUDIO\n  INDEX 01 %02d:00:00\n' "$t" $((t - 1))
  done
} >"$work/twenty.cue"

# start SCALE CUE: the player on its own data folder, at that size.
start() {
  local home=$work/home$1-$(basename "$2" .cue)
  mkdir -p "$home"
  printf '[Zentaro CD]\r\nWindowScale=%s\r\nxWinPos=100\r\nyWinPos=100\r\n' "$1" >"$home/ZCD.ini"
  ZCD_HOME=$home "$zcd_db" add-xmcd "$root/resources/demo/misc" >/dev/null
  # Emptied here, not by the background start, so a line of the last run
  # is never taken for this one.
  : >"$work/player.log"
  ZCD_HOME=$home "$zcd" --verbose --virtual-drive "$2" >"$work/player.log" 2>&1 &
  player=$!
  wait_for_line "$work/player.log" "disc loaded"
  win=$(xdotool search --onlyvisible --name '^ZCD' | head -1)
  scale=$1
  home_now=$home
}
stop() {
  kill -TERM "$player"
  wait "$player" || true
  player=
}
# click X Y [REPEAT]: a left click at the skin point X,Y of the client area.
click() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + (1 + $1) * scale)) $((Y + (1 + $2) * scale)) \
    click --repeat "${3:-1}" --delay 80 1
}
shot() {
  sleep "${2:-1}"
  import -window "$win" "$root/docs/$1.png"
  echo "wrote docs/$1.png"
}

for scale in 1 2; do
  suffix=$([ "$scale" = 1 ] && echo "" || echo "@2x")
  start "$scale" "$root/resources/demo/demo.cue"
  click 157 138 # Play
  shot "player$suffix" 6
  click 194 132 # the volume bar's button opens the mixer
  shot "mixer$suffix"
  click 194 132
  click 150 7 2 # a double click on the title strip
  shot "shade$suffix"
  stop

  start "$scale" "$work/twenty.cue"
  click 157 138
  shot "tracks$suffix" 2
  stop
done

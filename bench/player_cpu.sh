#!/usr/bin/env bash
# CPU used by the running player on a virtual X server, as a share of one
# core, in five states: a long disc title scrolling, playing with it, nothing
# to scroll, playing with the timer and caption ticking, and the idle sprite
# bouncing in an empty drive; then the time from start to a mapped window
# and from a click on Play to the caption that says so.
#   bench/player_cpu.sh [BUILD_DIR] [SECONDS]      (defaults: build, 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
seconds=${2:-60}
zcd=$build/zcd
zcd_db=$build/tools/zcd-db
ticks=$(getconf CLK_TCK)

. "$root/scripts/lib/xvfb.sh"
new_work_dir
start_xvfb "$work"
mkdir -m 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

# user + system clock ticks of the process so far
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# measure LABEL HOME [REMOTE-COMMAND]: starts the player on the demo disc,
# sends it the command, lets it settle, samples.
measure() {
  local label=$1 home=$2 remote=${3:-}
  # Emptied here, not by the background start, so a line of the last run
  # is never taken for this one.
  : >"$work/player.log"
  ZCD_HOME=$home "$zcd" --verbose --virtual-drive "$demo" >"$work/player.log" 2>&1 &
  player=$!
  wait_for_line "$work/player.log" "disc loaded"
  if [ -n "$remote" ]; then
    ZCD_HOME=$home "$zcd" "$remote"
  fi
  # The drive poll notices an ejected disc within 3 s.
  sleep 4
  local before after
  before=$(cpu_ticks "$player")
  sleep "$seconds"
  after=$(cpu_ticks "$player")
  kill -TERM "$player"
  wait "$player" || true
  player=
  awk -v l="$label" -v t=$((after - before)) -v hz="$ticks" -v s="$seconds" \
    'BEGIN { printf "%-40s %6.2f %% of one core (%d ticks in %d s)\n", l, 100 * t / hz / s, t, s }'
}

# A disc whose title is far wider than the slot.
# with_title HOME TITLE: a data folder whose database names the demo disc so.
with_title() {
  mkdir -p "$1/misc"
  sed -e "s|^DTITLE=.*|DTITLE=$2|" "$root/resources/demo/misc/7d083c0a" >"$1/misc/7d083c0a"
  ZCD_HOME=$1 "$zcd_db" add-xmcd "$1/misc" >/dev/null
}
with_title "$work/long" \
  "The Lantern Quartet and Friends / Harbour Lights, Night Ferries and Other Songs of the Sea"
with_title "$work/short" "Lantern / Harbour"
demo=$root/resources/demo/demo.cue

# start_up_ms HOME: milliseconds from the start of the process to its window
# being mapped on the screen.
start_up_ms() {
  local start end
  start=$(date +%s%N)
  ZCD_HOME=$1 "$zcd" --virtual-drive "$demo" >/dev/null 2>&1 &
  player=$!
  # xdotool's own --sync looks only every half second.
  until xdotool search --onlyvisible --name '^ZCD' >/dev/null 2>&1; do sleep 0.01; done
  end=$(date +%s%N)
  kill -TERM "$player"
  wait "$player" || true
  player=
  echo $(((end - start) / 1000000))
}

# click_to_caption_ms HOME: milliseconds from a click on the Play button to
# the caption saying the first track plays, seen by an X client.
click_to_caption_ms() {
  : >"$work/player.log"
  ZCD_HOME=$1 "$zcd" --verbose --virtual-drive "$demo" >"$work/player.log" 2>&1 &
  player=$!
  wait_for_line "$work/player.log" "disc loaded"
  local win= start
  until [ -n "$win" ]; do
    sleep 0.05
    win=$(xdotool search --onlyvisible --name '^ZCD' | head -1)
  done
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 158)) $((Y + 139))
  xprop -id "$win" -spy WM_NAME | while read -r line; do
    [[ $line == *'[1 -'* ]] && { date +%s%N >"$work/seen"; break; }
  done &
  local spy=$!
  sleep 0.5
  rm -f "$work/seen"
  start=$(date +%s%N)
  xdotool click 1
  wait "$spy"
  kill -TERM "$player"
  wait "$player" || true
  player=
  echo $((($(cat "$work/seen") - start) / 1000000))
}

# scrolling_cpu HOME: CPU while the track box's down arrow is held on a disc
# of 99 tracks: the box scrolls 28 rows, six steps each, about six seconds.
scrolling_cpu() {
  local cue=$work/many.cue
  {
    echo 'TITLE "Many"'
    echo 'REM LEADOUT 99:00:00'
    for t in $(seq 1 99); do printf 'TRACK %02d AUDIO\n  INDEX 01 %02d:00:00\n' "$t" $((t - 1)); done
  } >"$cue"
  : >"$work/player.log"
  ZCD_HOME=$1 "$zcd" --verbose --virtual-drive "$cue" >"$work/player.log" 2>&1 &
  player=$!
  wait_for_line "$work/player.log" "disc loaded"
  local win= before after
  until [ -n "$win" ]; do
    sleep 0.05
    win=$(xdotool search --onlyvisible --name '^ZCD' | head -1)
  done
  eval "$(xdotool getwindowgeometry --shell "$win")"
  sleep 1
  before=$(cpu_ticks "$player")
  xdotool mousemove $((X + 1 + 218 + 50)) $((Y + 1 + 19 + 127)) mousedown 1
  sleep 5
  after=$(cpu_ticks "$player")
  xdotool mouseup 1
  kill -TERM "$player"
  wait "$player" || true
  player=
  awk -v t=$((after - before)) -v hz="$ticks" \
    'BEGIN { printf "%-40s %6.2f %% of one core (%d ticks in 5 s)\n", "track box scrolling", 100 * t / hz / 5, t }'
}

measure "long disc title scrolling" "$work/long"
measure "playing, a long title scrolling" "$work/long" /play
measure "short titles, nothing scrolling" "$work/short"
measure "playing, timer and caption ticking" "$work/short" /play
measure "disc ejected, idle sprite bouncing" "$work/short" /eject
scrolling_cpu "$work/short"
times=$(for _ in 1 2 3 4 5; do start_up_ms "$work/short"; done | sort -n | tr '\n' ' ')
echo "start-up to a mapped window, 5 runs (ms): $times"
times=$(for _ in 1 2 3 4 5; do click_to_caption_ms "$work/short"; done | sort -n | tr '\n' ' ')
echo "click on Play to the playing caption, 5 runs (ms): $times"

#!/usr/bin/env bash
# The real player on an X server, the demo disc in D: and a short disc in E:,
# driven as a user drives it: keys, menus and commands from a second start.
# Everything is seen from outside, through the window's caption: the
# template while playing, "ZCD: <title>" when stopped, "ZCD" without a disc.
set -uo pipefail
zcd=$1
demo=$2
short=$3

. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
new_work_dir
mkdir -m 700 "$work/runtime" "$work/home"
export LSAN_OPTIONS=suppressions=$(dirname "$0")/lsan.supp
export XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
# Repeat all, so the short disc goes round; no CDDB lookups.
printf '[Zentaro CD]\r\nPlayType=1\r\nAutoInfo=0\r\n' >"$work/home/ZCD.ini"

start_xvfb "$work" || exit 1
"$zcd" --verbose --virtual-drive "$demo" --virtual-drive "$short" >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "disc loaded" || exit 1
win=$(xdotool search --onlyvisible --name '^ZCD' | head -n 1)
[ -n "$win" ] || { echo "no player window"; exit 1; }

passed=0
failed=0
caption() { xdotool getwindowname "$win"; }
# expect REGEX WHAT: the caption matches within 10 s.
expect() {
  for _ in $(seq 100); do
    if [[ $(caption) =~ $1 ]]; then
      passed=$((passed + 1))
      return 0
    fi
    sleep 0.1
  done
  echo "FAILED: $2: the caption is \"$(caption)\", not /$1/"
  failed=$((failed + 1))
}
# expect_still WHAT: a paused player's caption does not move for 2.5 s.
expect_still() {
  local before
  sleep 0.3
  before=$(caption)
  sleep 2.5
  if [ "$(caption)" = "$before" ] && [[ $before =~ ^ZCD:\ \[ ]]; then
    passed=$((passed + 1))
  else
    echo "FAILED: $1: the caption went from \"$before\" to \"$(caption)\""
    failed=$((failed + 1))
  fi
}
key() {
  xdotool windowfocus "$win"
  xdotool key "$@"
}
# menu X Y KEYS...: a right click at the client point X,Y, then the keys
# that pick from the menu it opens.
menu() {
  local x=$1 y=$2
  shift 2
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 1 + x)) $((Y + 1 + y)) click 3
  sleep 0.3
  xdotool key "$@" Return
}
# The transport strip's menu: Eject, Trk Bwd, Trk Fwd, Stop, Pause, Play.
strip_menu() {
  local downs=()
  for _ in $(seq "$1"); do downs+=(Down); done
  menu 20 137 "${downs[@]}"
}

# click X Y [BUTTON]: a click at the client point X,Y.
click() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  xdotool mousemove $((X + 1 + $1)) $((Y + 1 + $2)) click "${3:-1}"
}
# expect_height H WHAT: the window becomes H pixels high within 5 s.
expect_height() {
  for _ in $(seq 50); do
    eval "$(xdotool getwindowgeometry --shell "$win")"
    if [ "$HEIGHT" -eq "$1" ]; then
      passed=$((passed + 1))
      return 0
    fi
    sleep 0.1
  done
  echo "FAILED: $2: the window is $HEIGHT pixels high, not $1"
  failed=$((failed + 1))
}

stopped='^ZCD: Unknown CD$'
playing() { echo "^ZCD: \\[$1 - [0-9]+:[0-9]{2}\\] Track $1\$"; }

expect "$stopped" "the demo disc loads"
key y && expect "$(playing 1)" "Y plays"
key e && expect "$(playing 2)" "E goes to the next track"
key w && expect "$(playing 1)" "W goes back"
key t && expect_still "T pauses"
key t && expect "$(playing 1)" "T resumes"
key r && expect "$stopped" "R stops"
key q && expect '^ZCD$' "Q ejects"
key q && expect "$stopped" "Q closes the door and the disc loads"

# The transport strip's buttons and the title strip, clicked.
click 157 138 && expect "$(playing 1)" "a click on Play"
click 103 138 && expect "$stopped" "a click on Stop"
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 150)) $((Y + 7)) click --repeat 2 --delay 80 1
expect_height 19 "a double click on the title strip shades the window"
xdotool mousemove $((X + 150)) $((Y + 7)) click --repeat 2 --delay 80 1
expect_height 162 "a second double click brings the full window back"

# A drag in the track box moves the first entry behind the third: Play then
# starts with track 2. Eject and reload bring the disc's own order back.
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 1 + 228)) $((Y + 1 + 29)) mousedown 1
xdotool mousemove $((X + 1 + 236)) $((Y + 1 + 31))
xdotool mousemove $((X + 1 + 276)) $((Y + 1 + 29)) mouseup 1
click 157 138 && expect "$(playing 2)" "a drag in the track box reorders the play order"
key q && expect '^ZCD$' "Q ejects the reordered disc"
key q && expect "$stopped" "and the disc loads again"

strip_menu 6 && expect "$(playing 1)" "Play from the strip's menu"
strip_menu 3 && expect "$(playing 2)" "Trk Fwd from the menu"
strip_menu 2 && expect "$(playing 1)" "Trk Bwd from the menu"
menu 60 75 Down Down Down && expect "$(playing 3)" "the Quick Track menu plays its entry"
strip_menu 5 && expect_still "Pause from the menu"
strip_menu 4 && expect "$stopped" "Stop from the menu"
strip_menu 1 && expect '^ZCD$' "Eject from the menu"
strip_menu 1 && expect "$stopped" "Eject again closes the door"

"$zcd" /play && expect "$(playing 1)" "zcd /play"
"$zcd" /trkfwd && expect "$(playing 2)" "zcd /trkfwd"
"$zcd" /trkbwd && expect "$(playing 1)" "zcd /trkbwd"
"$zcd" /pause && expect_still "zcd /pause"
"$zcd" /pause && "$zcd" /stop && expect "$stopped" "zcd /stop"
"$zcd" /eject && expect '^ZCD$' "zcd /eject"
"$zcd" /eject && expect "$stopped" "zcd /eject closes the door"

# The short disc in E: plays through its order and, with repeat all, round.
"$zcd" '/play E:\Track01.cda'
expect "$(playing 1)" "the short disc plays"
expect "$(playing 2)" "its second track follows"
expect "$(playing 3)" "its last track follows"
expect "$(playing 1)" "repeat all goes round"

# A desktop logout's TERM ends the player the orderly way.
kill -TERM "$player"
status=0
wait "$player" || status=$?
player=
if [ "$status" -ne 0 ] || ! grep -q '^UseDrive=4' "$work/home/ZCD.ini"; then
  echo "FAILED: the player ended with status $status; ZCD.ini:"
  cat "$work/home/ZCD.ini"
  failed=$((failed + 1))
fi
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ] || { tail -40 "$work/player.log"; exit 1; }

#!/usr/bin/env bash
# Remakes the README's pictures of the database sheet and the Extended Info
# window from the real player on a virtual X server: the demo disc in the
# drive and a made-up collection of a few dozen discs in the database.
#   tools/database_pictures.sh [BUILD_DIR]      (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib/xvfb.sh"
start_picture_screen "${1:-$root/build}"

# A collection as a dump tree CATEGORY/DISCID; names are invented.
collection=$work/collection
artists=("Amber Coast" "The Paper Kites of Lund" "Marta Velasco" "Northbound Static"
  "Quiet Engines" "Selma Aro" "The Tidewater Trio" "Vesper Lane")
albums=("Morning Rooms" "Salt and Cedar" "Long Division" "Signal Fires" "Low Orbit"
  "Winter Light" "Open Water" "Field Recordings" "Glass Harbour" "Second Nature")
categories=(rock folk jazz classical blues misc)
n=0
for a in "${!artists[@]}"; do
  for k in 0 1 2 3; do
    album=${albums[$(((a * 3 + k) % ${#albums[@]}))]}
    category=${categories[$(((a + k) % ${#categories[@]}))]}
    id=$(printf '%02x%06x' $((n * 7 + 16)) $((n * 40503 % 16777216)))
    tracks=$((6 + (a + k) % 7))
    mkdir -p "$collection/$category"
    {
      echo "# xmcd"
      echo "#"
      echo "# Track frame offsets:"
      for t in $(seq 0 $((tracks - 1))); do echo "#	$((150 + t * 16000))"; done
      echo "#"
      echo "# Disc length: $(((150 + tracks * 16000) / 75)) seconds"
      echo "#"
      echo "# Revision: $k"
      echo "# Submitted via: ZCD 0.1.0"
      echo "#"
      echo "DISCID=$id"
      echo "DTITLE=${artists[$a]} / $album"
      for t in $(seq 0 $((tracks - 1))); do echo "TTITLE$t=Part $((t + 1))"; done
      echo "EXTD=Recorded live to two-track tape.\\nMixed in one afternoon."
      for t in $(seq 0 $((tracks - 1))); do echo "EXTT$t="; done
      echo "PLAYORDER="
    } >"$collection/$category/$id"
    n=$((n + 1))
  done
done

home=$work/home
mkdir -p "$home"
printf '[Zentaro CD]\r\nxWinPos=40\r\nyWinPos=40\r\nxExtWinPos=700\r\nyExtWinPos=60\r\n' \
  >"$home/ZCD.ini"
ZCD_HOME=$home "$zcd_db" add-xmcd "$collection" >/dev/null
ZCD_HOME=$home "$zcd_db" add-xmcd "$root/resources/demo/misc" >/dev/null
: >"$work/player.log"
ZCD_HOME=$home "$zcd" --verbose --virtual-drive "$root/resources/demo/demo.cue" \
  >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "disc loaded"
win=$(xdotool search --onlyvisible --name '^ZCD' | head -1)

# window NAME: the id of the visible window with that title, waited for.
window() {
  for _ in $(seq 100); do
    local id
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  echo "no window \"$1\"" >&2
  return 1
}
shot() {
  sleep 1
  import -window "$1" "$root/docs/$2.png"
  echo "wrote docs/$2.png"
}

xdotool windowfocus --sync "$win" key ctrl+d
sheet=$(window "Zentaro CD - Database")
xdotool windowfocus --sync "$sheet"
sleep 1
# In the tree: the fourth group ("jazz") opened and its first disc chosen.
eval "$(xdotool getwindowgeometry --shell "$sheet")"
xdotool mousemove $((X + 80)) $((Y + 137)) click --repeat 2 --delay 80 1
sleep 0.5
xdotool mousemove $((X + 120)) $((Y + 155)) click 1
shot "$sheet" database-library
xdotool key ctrl+Tab
shot "$sheet" database-editor
xdotool key ctrl+Tab
shot "$sheet" database-export
xdotool key ctrl+Tab
shot "$sheet" database-import

xdotool windowfocus --sync "$win" key ctrl+e
shot "$(window "Zentaro CD Extended Info")" extended-info

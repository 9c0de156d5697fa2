#!/usr/bin/env bash
# The real player on an X server with the demo disc in a virtual drive and a
# local CDDB server as its only server: the disc, unknown to the database,
# is queried as it loads, its titles reach the window and the entry lands in
# the database with the accent of its Latin-1 title intact.
set -uo pipefail
zcd=$1
demo=$2
server_script=$3
zcd_db=$4

. "$(dirname "$0")/../../scripts/lib/xvfb.sh"
new_work_dir
mkdir -m 700 "$work/runtime" "$work/home"
export LSAN_OPTIONS=suppressions=$(dirname "$0")/lsan.supp
export XDG_RUNTIME_DIR=$work/runtime ZCD_HOME=$work/home QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1

python3 "$server_script" "$work/port" &
server=$!
trap 'kill "$server" 2>/dev/null; cleanup_work_dir' EXIT
for _ in $(seq 100); do
  [ -s "$work/port" ] && break
  sleep 0.1
done
[ -s "$work/port" ] || { echo "FAILED: the CDDB server did not start"; exit 1; }
printf '[Zentaro CD]\r\nAutoInfo=1\r\n[Servers]\r\nNumServers=1\r\nServer0=127.0.0.1 %s CDDBP - 1 Here.\r\n' \
  "$(cat "$work/port")" >"$work/home/ZCD.ini"

start_xvfb "$work" || exit 1
"$zcd" --verbose --virtual-drive "$demo" >"$work/player.log" 2>&1 &
player=$!
wait_for_line "$work/player.log" "CDDB status 999" || {
  echo "FAILED: the query did not finish"
  tail -20 "$work/player.log"
  exit 1
}
win=$(xdotool search --onlyvisible --name '^ZCD' | head -n 1)
failed=0
for _ in $(seq 100); do
  [ "$(xdotool getwindowname "$win")" = "ZCD: Local Server / Found Disc" ] && break
  sleep 0.1
done
if [ "$(xdotool getwindowname "$win")" != "ZCD: Local Server / Found Disc" ]; then
  echo "FAILED: the caption is \"$(xdotool getwindowname "$win")\""
  failed=1
fi
# A desktop logout's TERM ends the player the orderly way.
kill -TERM "$player"
wait "$player"
player=
if ! "$zcd_db" list | grep -q $'^rock/[0-9a-f]\{8\}\tLocal Server / Found Disc$'; then
  echo "FAILED: the database lists:"
  "$zcd_db" list
  failed=1
fi
if ! "$zcd_db" show rock/ | grep -q '^TTITLE[0-9]*=Found Track [0-9]* Café'; then
  echo "FAILED: the stored entry lost its accent:"
  "$zcd_db" show rock/
  failed=1
fi
[ "$failed" -eq 0 ] && echo "the disc was queried, shown and filed"
exit "$failed"

# Sourced by scripts that run the player on a virtual X server.

# new_work_dir: a temporary folder in $work that is removed, and the player
# ($player) and X server ($xvfb) stopped, when the script exits.
new_work_dir() {
  work=$(mktemp -d)
  trap 'cleanup_work_dir' EXIT
}
cleanup_work_dir() {
  [ -n "${player:-}" ] && kill "$player" 2>/dev/null || true
  # Waited for, so its display number is free again when the script ends.
  [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
# start_xvfb WORKDIR [SIZE]: starts Xvfb on a free display with a 24-bit
# screen, exports DISPLAY and XAUTHORITY (a cookie in WORKDIR, so only this
# user's clients get in) and sets xvfb to its pid (the caller kills it). The
# server gets a session of its own: Ctrl+C in the terminal is meant for the
# player, which needs its screen while it ends. Another server started at
# the same moment may take the number first: this one then ends at once and
# the next number is tried.
start_xvfb() {
  local work=$1 size=${2:-1280x800} n
  export XAUTHORITY=$work/Xauthority
  for n in $(seq 90 130); do
    [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
    (umask 077 && : >"$XAUTHORITY")
    xauth -q -f "$XAUTHORITY" add ":$n" . "$(mcookie)"
    # -noreset: by default the server resets when its last client leaves, and
    # refuses a client that comes during the reset, such as the player right
    # after the readiness check below.
    setsid Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset -auth "$XAUTHORITY" \
      >"$work/xvfb.log" 2>&1 &
    xvfb=$!
    export DISPLAY=:$n
    for _ in $(seq 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      kill -0 "$xvfb" 2>/dev/null || break
      sleep 0.1
    done
    kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
  done
  echo "Xvfb did not start"; cat "$work/xvfb.log"; return 1
}

# wait_for_line FILE PATTERN: waits up to 20 s for PATTERN in FILE.
wait_for_line() {
  for _ in $(seq 200); do grep -q "$2" "$1" && return 0; sleep 0.1; done
  echo "no \"$2\" from the player:"; cat "$1"; return 1
}

# start_picture_screen BUILD_DIR: for the scripts that photograph the player:
# sets zcd and zcd_db from the build (which must exist), a work folder and a
# 1280x800 virtual screen with the settings pixel-exact pictures need.
start_picture_screen() {
  zcd=$1/zcd
  zcd_db=$1/tools/zcd-db
  [ -x "$zcd" ] && [ -x "$zcd_db" ] || { echo "build the player first (make build)"; exit 1; }
  new_work_dir
  mkdir -m 700 "$work/runtime"
  export XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb QT_SCALE_FACTOR=1
  start_xvfb "$work" 1280x800
}

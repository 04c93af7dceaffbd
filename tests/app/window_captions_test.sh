#!/usr/bin/env bash
# The program under a real X server: each window's title bar reads exactly its own caption, with
# nothing of the application's appended; the standard error box keeps the application title.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts the program with the settings given (may be empty), waits until a window of the program
# carries the caption, and stops it again. The X server's list of windows is what the user sees.
# Returns 2 when the program ended by itself before showing the caption, with what it printed.
show_caption() {  # caption, settings text
  local caption=$1 settings=$2 home="$work/$RANDOM$RANDOM"
  mkdir -p "$home/config/VORL" "$home/run"
  chmod 700 "$home/run"
  [ -z "$settings" ] || printf '%b' "$settings" > "$home/config/VORL/VORL.INI"
  [ -z "${engine:-}" ] || printf '%b' "$engine" > "$home/config/VORL/engine.ini"
  QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    "$program" 2>"$home/errors" &
  local pid=$! found=""
  for _ in $(seq 1 100); do
    if xwininfo -root -tree | grep -qF "\"$caption\": (\"vorl\""; then found=yes; break; fi
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  local windows
  windows=$(xwininfo -root -tree | grep -F '("vorl"' || true)
  if ! kill "$pid" 2>/dev/null; then
    wait "$pid" 2>/dev/null || true
    [ -n "$found" ] && return 0
    echo "the program ended before showing \"$caption\"; it printed:"
    grep -v propagateSizeHints "$home/errors" || true
    return 2
  fi
  wait "$pid" 2>/dev/null || true
  [ -n "$found" ] || { echo "no window captioned \"$caption\"; the program's windows:"; echo "$windows"; return 1; }
}

# A program that ended by itself is started once more (the X server of a loaded machine has been seen
# to drop a client); a second end, or a wrong caption, fails.
expect_caption() {
  local outcome=0
  show_caption "$@" || outcome=$?
  if [ "$outcome" -eq 2 ]; then
    outcome=0
    show_caption "$@" || outcome=$?
  fi
  [ "$outcome" -eq 0 ] || exit 1
}

expect_caption "Stratigraphic units" ""
expect_caption "Enter password to allow editing" "[Other links]\nSequence=1\n"
engine="[Aliases]\nVORL=$work/missing\n" expect_caption "VORL Database" ""
echo "captions as designed"

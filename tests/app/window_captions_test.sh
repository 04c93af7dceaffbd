#!/usr/bin/env bash
# The program under a real X server: each window's title bar reads exactly its own caption, with
# nothing of the application's appended; the standard error box keeps the application title.
set -euo pipefail
program=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Starts the program with the settings given (may be empty), waits until a window of the program
# carries the caption, and stops it again. The X server's list of windows is what the user sees.
expect_caption() {  # caption, settings text
  local caption=$1 settings=$2 home="$work/$RANDOM"
  mkdir -p "$home/config/VORL" "$home/run"
  chmod 700 "$home/run"
  [ -z "$settings" ] || printf '%b' "$settings" > "$home/config/VORL/VORL.INI"
  [ -z "${engine:-}" ] || printf '%b' "$engine" > "$home/config/VORL/engine.ini"
  QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data" XDG_RUNTIME_DIR="$home/run" \
    "$program" 2>/dev/null &
  local pid=$! found=""
  for _ in $(seq 1 100); do
    if xwininfo -root -tree | grep -qF "\"$caption\": (\"vorl\""; then found=yes; break; fi
    sleep 0.2
  done
  local windows
  windows=$(xwininfo -root -tree | grep -F '("vorl"' || true)
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  [ -n "$found" ] || { echo "no window captioned \"$caption\"; the program's windows:"; echo "$windows"; exit 1; }
}

expect_caption "Stratigraphic units" ""
expect_caption "Enter password to allow editing" "[Other links]\nSequence=1\n"
engine="[Aliases]\nVORL=$work/missing\n" expect_caption "VORL Database" ""
echo "captions as designed"

#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program on the bundled sample database.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-packages.sh
bash scripts/build.sh default
program=build/default/app/vorl
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  exec "$program"
fi
echo "No display: starting under Xvfb."
exec xvfb-run -a -s '-screen 0 1024x768x24' "$program"

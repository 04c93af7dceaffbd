#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (GUI tests on the offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${1:-default}
bash scripts/install-packages.sh
bash scripts/build.sh "$preset"
ctest --preset "$preset"

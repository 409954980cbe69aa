#!/usr/bin/env bash
# Builds the release configuration and starts the live panel (arguments go to panelhost serve).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target panelhost Skelvan Q4d
exec build/release/host/panelhost serve "$@"

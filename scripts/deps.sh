#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, if any are missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  libcairo2-dev libfontconfig-dev fonts-liberation
  nlohmann-json3-dev libcpp-httplib-dev libstb-dev
)
if [ "${1:-}" = "--browser" ]; then
  packages+=(chromium)
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# Node.js may come from another packaging than Debian's; only ask for Debian's when there is none.
if [ "${1:-}" = "--browser" ] && ! command -v npm >/dev/null 2>&1; then
  missing+=(nodejs npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

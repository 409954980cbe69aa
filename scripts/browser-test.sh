#!/usr/bin/env bash
# Browser tests of the live panel: `panelhost serve` from build/debug on a free loopback port with a
# temporary simulation folder, driven in Debian's Chromium by playwright-core. Exits non-zero on a
# failure; node's test runner prints the summary. A screenshot of the panel is left in
# build/debug/browser/panel.png for review.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${PANEL_BUILD:-build/debug}
exe=$build/host/panelhost
if [ ! -x "$exe" ]; then
  echo "browser-test: $exe is missing; build first (cmake --preset debug && cmake --build --preset debug)" >&2
  exit 1
fi
if [ ! -x /usr/bin/chromium ]; then
  echo "browser-test: /usr/bin/chromium is missing (bash scripts/deps.sh --browser)" >&2
  exit 1
fi
(cd tests/browser && npm ci --no-audit --no-fund --loglevel=error)

work=$(mktemp -d)
mkdir -p "$work/sim"
"$exe" --root "$work/sim" serve --port 0 >"$work/serve.log" 2>&1 &
pid=$!
stop() {
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  rm -rf "$work"
}
trap stop EXIT

url=
for _ in $(seq 200); do
  url=$(grep -o 'http://[^ ]*' "$work/serve.log" | head -n 1 || true)
  [ -n "$url" ] && break
  if ! kill -0 "$pid" 2>/dev/null; then
    cat "$work/serve.log" >&2
    exit 1
  fi
  sleep 0.1
done
if [ -z "$url" ]; then
  echo "browser-test: panelhost did not start" >&2
  cat "$work/serve.log" >&2
  exit 1
fi

export PANEL_URL=$url
export PANEL_ARTIFACTS=$PWD/$build/browser
export PANELHOST=$PWD/$exe
node --test --test-concurrency=1 tests/browser/

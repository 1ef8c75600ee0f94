#!/usr/bin/env bash
# Starts huebadge-settings on a free port with a copy of the demo device (plus a colour for
# one account), drives its page in headless Chromium (run.mjs) and stops it with SIGTERM,
# which must end it cleanly.
# Screenshots go to the build folder under browser-artifacts/.
set -u
here="$HUEBADGE_SOURCE_DIR/tests/browser"
artifacts="$HUEBADGE_BIN/browser-artifacts"
for tool in node /usr/bin/chromium; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps --browser)"; exit 1; }
done
if [[ ! -d "$here/node_modules/playwright-core" ]]; then
  (cd "$here" && npm ci --no-audit --no-fund --silent) || { echo "FAIL: npm ci"; exit 1; }
fi

root=$(mktemp -d)
output="$root/output.txt"
trap 'kill $server 2>/dev/null; rm -rf "$root"' EXIT
cp -R "$HUEBADGE_SOURCE_DIR/demo/device" "$root/device"
mkdir -p "$root/device/var/mobile/Library/Preferences"
cat >"$root/device/var/mobile/Library/Preferences/net.quorvel.huebadge.plist" <<'PLIST'
<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0">
<dict>
	<key>Home</key>
	<string>#FF0000</string>
	<key>mailBoxAlphaLevel</key>
	<integer>25</integer>
</dict>
</plist>
PLIST
"$HUEBADGE_BIN/huebadge-settings" --device-root "$root/device" --port 0 >"$output" 2>&1 &
server=$!
for _ in $(seq 100); do
  [[ -s "$output" ]] && break
  sleep 0.1
done
address=$(head -n 1 "$output")
if [[ ! "$address" =~ ^http://127\.0\.0\.1:[0-9]+/\?token=[0-9a-f]{32}$ ]]; then
  echo "FAIL: the program printed [$address]"; exit 1
fi

node "$here/run.mjs" "$address" "$artifacts" "$root/device"
result=$?

kill -TERM "$server"
wait "$server"
stopped=$?
if ((stopped != 0)); then echo "FAIL: SIGTERM ended the program with $stopped"; result=1; fi
if (($(wc -l <"$output") != 1)); then echo "FAIL: the program printed more than its address"; cat "$output"; result=1; fi
exit $result

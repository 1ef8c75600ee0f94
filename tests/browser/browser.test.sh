#!/usr/bin/env bash
# Starts huebadge-settings on a free port with a copy of the demo device (plus a colour for
# one account), drives its page in headless Chromium (run.mjs) and stops it with SIGTERM,
# which must end it cleanly, and again to drag a slider on an option page (options.mjs) and
# to watch that page's label preview follow a slider drag (preview.mjs); the same on a second
# copy for the profile page (profiles.mjs). Then does the same with
# huebadge-settings-testpages started on its alert page over an empty device (alert.mjs), and
# on the saturation-first colour picker's page (pickers.mjs). The filter list is driven on
# the demo device copy too (filters.mjs); last, over the demo device with its first settings
# file again, an account colour is edited (color.mjs). Over the demo settings, a filter is tried
# on samples and profiles are imported (tester.mjs), and axe-core checks every page (a11y.mjs);
# over a fresh device, the pane is used with the keyboard alone (keyboard.mjs).
# Screenshots go to the build folder under browser-artifacts/.
set -u
here="$HUEBADGE_SOURCE_DIR/tests/browser"
artifacts="$HUEBADGE_BIN/browser-artifacts"
for tool in node /usr/bin/chromium; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps --browser)"; exit 1; }
done
if [[ ! -d "$here/node_modules/playwright-core" || ! -d "$here/node_modules/axe-core" ]]; then
  (cd "$here" && npm ci --no-audit --no-fund --silent) || { echo "FAIL: npm ci"; exit 1; }
fi

root=$(mktemp -d)
servers=()
trap 'kill "${servers[@]}" 2>/dev/null; rm -rf "$root"' EXIT
result=0
cp -R "$HUEBADGE_SOURCE_DIR/demo/device" "$root/device"
mkdir -p "$root/device/var/mobile/Library/Preferences" "$root/empty/var/mobile/Library/Preferences"
cat >"$root/colors.plist" <<'PLIST'
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
cp "$root/colors.plist" "$root/device/var/mobile/Library/Preferences/net.quorvel.huebadge.plist"

# drive PROGRAM DEVICE SCRIPT [ARGS...]: serves DEVICE with PROGRAM ARGS, runs SCRIPT on its
# address, stops the program; any failure sets result.
drive() {
  local program=$1 device=$2 script=$3 output="$root/$1.txt" server address stopped
  shift 3
  # Emptied here, not only by the program's redirection: the wait below must not read the
  # address an earlier run of the same program left before the new one starts.
  : >"$output"
  "$HUEBADGE_BIN/$program" --device-root "$device" --port 0 "$@" >"$output" 2>&1 &
  server=$!
  servers+=("$server")
  # A loaded machine can take seconds to start a sanitizer build: wait for the address
  # while the program lives, up to a minute.
  for _ in $(seq 600); do
    [[ -s "$output" ]] && break
    kill -0 "$server" 2>/dev/null || break
    sleep 0.1
  done
  address=$(head -n 1 "$output")
  if [[ ! "$address" =~ ^http://127\.0\.0\.1:[0-9]+/\?token=[0-9a-f]{32}$ ]]; then
    echo "FAIL: $program printed [$address]"; result=1; return
  fi
  node "$here/$script" "$address" "$artifacts" "$device" || result=1
  kill -TERM "$server"
  wait "$server"
  stopped=$?
  if ((stopped != 0)); then echo "FAIL: SIGTERM ended $program with $stopped"; result=1; fi
  if (($(wc -l <"$output") != 1)); then echo "FAIL: $program printed more than its address"; cat "$output"; result=1; fi
}

cp -R "$root/device" "$root/profiles"
drive huebadge-settings "$root/device" run.mjs
drive huebadge-settings "$root/device" options.mjs
drive huebadge-settings "$root/device" preview.mjs
drive huebadge-settings "$root/profiles" profiles.mjs
drive huebadge-settings "$root/device" filters.mjs --page HBFilterController
drive huebadge-settings-testpages "$root/empty" alert.mjs --page TestAlertPage
drive huebadge-settings-testpages "$root/empty" pickers.mjs --page TestColorPickerPage_S
cp "$root/colors.plist" "$root/device/var/mobile/Library/Preferences/net.quorvel.huebadge.plist"
drive huebadge-settings "$root/device" color.mjs
cp -R "$HUEBADGE_SOURCE_DIR/demo/device" "$root/tester"
mkdir -p "$root/tester/var/mobile/Library/Preferences"
cp "$HUEBADGE_SOURCE_DIR/demo/net.quorvel.huebadge.plist" "$root/tester/var/mobile/Library/Preferences/"
drive huebadge-settings "$root/tester" tester.mjs
cp -R "$HUEBADGE_SOURCE_DIR/demo/device" "$root/a11y"
cp -R "$HUEBADGE_SOURCE_DIR/demo/device" "$root/keyboard"
mkdir -p "$root/a11y/var/mobile/Library/Preferences" "$root/keyboard/var/mobile/Library/Preferences"
cp "$HUEBADGE_SOURCE_DIR/demo/net.quorvel.huebadge.plist" "$root/a11y/var/mobile/Library/Preferences/"
drive huebadge-settings "$root/a11y" a11y.mjs
drive huebadge-settings "$root/keyboard" keyboard.mjs
exit $result

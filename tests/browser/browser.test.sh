#!/usr/bin/env bash
# Drives the pane in headless Chromium: for each drive NAME, starts its program on a free port
# over a fresh copy of its device, runs NAME.mjs on the address and stops the program with
# SIGTERM, which must end it cleanly with only its address printed. The drives: the root
# page and its pages (run), a slider on an option page (options) and its label preview
# (preview), the profile page (profiles), the filter list (filters), an alert (alert), the
# saturation-first colour picker (pickers), an account colour (color), the filter tester and
# profile import (tester), axe-core on every page (a11y), the keyboard alone (keyboard), and
# every row in reach of the wheel and the keyboard under the bars (reach), and a list of
# 10,000 filters scrolled to its end and a row dragged from there into the delete section
# (longlist), and a deleted filter undone and redone by the shortcuts and buttons (undo).
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
trap 'kill "${servers[@]}" 2>/dev/null; wait; rm -rf "$root"' EXIT
result=0
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

# Each drive over its own copy of a device: the demo device with one account colour
# ("colors"), the demo device with the demo settings ("demo"), the demo device with 10,000
# message filters ("long"), or an empty one ("empty").
device() {
  local kind=$1 name=$2
  mkdir -p "$root/$name/var/mobile/Library/Preferences"
  case $kind in
    empty) ;;
    colors)
      cp -R "$HUEBADGE_SOURCE_DIR/demo/device/." "$root/$name/"
      cp "$root/colors.plist" "$root/$name/var/mobile/Library/Preferences/net.quorvel.huebadge.plist" ;;
    demo)
      cp -R "$HUEBADGE_SOURCE_DIR/demo/device/." "$root/$name/"
      cp "$HUEBADGE_SOURCE_DIR/demo/net.quorvel.huebadge.plist" "$root/$name/var/mobile/Library/Preferences/" ;;
    long)
      cp -R "$HUEBADGE_SOURCE_DIR/demo/device/." "$root/$name/"
      node "$here/settings.mjs" "$root/$name" 10000 ;;
  esac
  echo "$root/$name"
}

# name: program, device, extra arguments. The test runner runs each as a test of its own
# (`browser.test.sh NAME`); with no name, all run one after another.
declare -A drives=(
  [run]="huebadge-settings colors"
  [options]="huebadge-settings colors"
  [preview]="huebadge-settings colors"
  [profiles]="huebadge-settings colors"
  [filters]="huebadge-settings colors --page HBFilterController"
  [alert]="huebadge-settings-testpages empty --page TestAlertPage"
  [pickers]="huebadge-settings-testpages empty --page TestColorPickerPage_S"
  [color]="huebadge-settings colors"
  [tester]="huebadge-settings demo"
  [a11y]="huebadge-settings demo"
  [keyboard]="huebadge-settings demo"
  [reach]="huebadge-settings demo"
  [longlist]="huebadge-settings long --page HBFilterController"
  [undo]="huebadge-settings demo --page HBFilterController"
)
names=("$@")
((${#names[@]})) || names=(run options preview profiles filters alert pickers color tester a11y keyboard reach longlist undo)
for name in "${names[@]}"; do
  [[ -n "${drives[$name]:-}" ]] || { echo "FAIL: no drive $name"; result=1; continue; }
  read -r program kind args <<<"${drives[$name]}"
  # shellcheck disable=SC2086
  drive "$program" "$(device "$kind" "$name")" "$name.mjs" $args
done
exit $result

#!/usr/bin/env bash
# Notifications across processes: a waiting process sees a post from another one, a wait
# with nothing posted times out, watch prints one line per delivery, bad arguments exit 2.
set -euo pipefail
notify="$HUEBADGE_BIN/huebadge-notify"
root=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$root"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# Posts NAME every tenth of a second until process PID ends (or 5 s pass): the waiter may not
# be watching yet when the first post goes out, and posts may coalesce.
post_until_gone() {
  local pid=$1 name=$2
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || return 0
    "$notify" --device-root "$root" post "$name"
    sleep 0.1
  done
}

"$notify" --device-root "$root" wait net.quorvel.huebadge/preferences --timeout 10 &
waiter=$!
post_until_gone "$waiter" net.quorvel.huebadge/preferences
wait "$waiter" || fail "wait did not see the post (exit $?)"

# A post of another name is not a delivery of this one.
set +e
HUEBADGE_DEVICE_ROOT="$root" "$notify" wait quiet --timeout 0.5 &
waiter=$!
"$notify" --device-root "$root" post loud
wait "$waiter"
status=$?
set -e
[[ $status -eq 1 ]] || fail "wait without a post exited $status, not 1"

"$notify" --device-root "$root" watch watched >"$root/lines" &
watcher=$!
for _ in $(seq 50); do
  [[ -s "$root/lines" ]] && break
  "$notify" --device-root "$root" post watched
  sleep 0.1
done
kill "$watcher"
[[ -s "$root/lines" ]] || fail "watch printed nothing"
if grep -qvx watched "$root/lines"; then fail "watch printed: $(cat "$root/lines")"; fi

for args in "" "post" "post a b" "wait" "wait a --timeout" "wait a --timeout -1" \
            "wait a --timeout soon" "watch" "shout a" "--device-root"; do
  set +e
  # shellcheck disable=SC2086
  "$notify" $args 2>"$root/err"
  status=$?
  set -e
  [[ $status -eq 2 ]] || fail "'$args' exited $status, not 2"
  grep -q '^usage: huebadge-notify' "$root/err" || fail "'$args' printed no usage line"
done
echo ok

#!/usr/bin/env bash
# huebadge-settings: refused arguments, the printed address, loopback only, one server per
# port, the token, a clean stop on SIGINT and SIGTERM, and starting on another page.
set -u
bin="$HUEBADGE_BIN/huebadge-settings"
root=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$root"' EXIT
failures=0
expect() {  # expect NAME EXPECTED ACTUAL
  if [[ "$2" != "$3" ]]; then
    echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1))
  fi
}
status() { "$@" >/dev/null 2>&1; echo $?; }
start() {  # start OUTPUT ARGS...: runs the program in the background, waits for its address
  local output=$1; shift
  "$bin" --device-root "$root" "$@" >"$output" 2>"$output.err" &
  for _ in $(seq 100); do [[ -s "$output" || -s "$output.err" ]] && break; sleep 0.1; done
}

for args in "--port" "--port 70000" "--port -1" "--port 8x" "--screen 390" "--screen 10x844" \
  "--appearance sepia" "--locale xx_NOPE" "--frobnicate 1" "stray" "--device-root" "--page"; do
  # shellcheck disable=SC2086
  expect "exit for [$args]" 2 "$(status "$bin" $args)"
done
expect "usage line" 1 "$("$bin" --port 2>&1 | grep -c '^usage: huebadge-settings')"

start "$root/first" --port 0 --appearance dark --screen 320x568 --locale de_CH
first=$!
address=$(head -n 1 "$root/first")
[[ "$address" =~ ^http://127\.0\.0\.1:([0-9]+)/\?token=([0-9a-f]{32})$ ]] \
  || { echo "FAIL address [$address]"; exit 1; }
port=${BASH_REMATCH[1]}
token=${BASH_REMATCH[2]}
http() {  # http TOKEN: the status and screen JSON of GET /api/screen
  python3 - "$port" "$1" <<'PY'
import json, sys, urllib.request, urllib.error
request = urllib.request.Request(f"http://127.0.0.1:{sys.argv[1]}/api/screen",
                                 headers={"Authorization": f"Bearer {sys.argv[2]}"})
try:
    with urllib.request.urlopen(request) as answer:
        screen = json.load(answer)
        print(answer.status, json.dumps(screen["appearance"]),
              json.dumps(screen["screen"], separators=(",", ":")))
except urllib.error.HTTPError as error:
    print(error.code)
PY
}
# The listening sockets on the port, as "address:port" from the kernel's table.
listeners() {
  python3 - "$port" <<'PY'
import socket, struct, sys
port = int(sys.argv[1])
for line in open("/proc/net/tcp").readlines()[1:] + open("/proc/net/tcp6").readlines()[1:]:
    local, state = line.split()[1], line.split()[3]
    address, local_port = local.split(":")
    if state == "0A" and int(local_port, 16) == port:
        if len(address) == 8:
            print(socket.inet_ntoa(struct.pack("<I", int(address, 16))) + f":{port}")
        else:
            print(f"[{address}]:{port}")
PY
}
expect "options reach the screen" '200 "dark" {"height":568.0,"navigationBarHeight":44.0,"statusBarHeight":44.0,"width":320.0}' \
  "$(http "$token")"
expect "a wrong token is refused" 401 "$(http 0)"
expect "listens on loopback only" "127.0.0.1:$port" "$(listeners)"

start "$root/second" --port "$port"
wait $!
expect "a second server on the same port fails" 1 $?
expect "and says why" 1 "$(grep -c "Cannot listen on 127.0.0.1:$port" "$root/second.err")"

kill -INT $first
wait $first
expect "SIGINT stops cleanly" 0 $?
expect "only the address was printed" 1 "$(wc -l <"$root/first")"

start "$root/third" --port "$port"
third=$!
expect "the port is free again" 1 "$(grep -c "^http://127.0.0.1:$port/" "$root/third")"
kill -TERM $third
wait $third
expect "SIGTERM stops cleanly" 0 $?

# An unknown page class is refused before anything listens, naming the classes there are; a
# known one is the first page, with nothing to go back to.
expect "exit for an unknown page" 1 "$(status "$bin" --device-root "$root" --port 0 --page NoSuchPage)"
"$bin" --device-root "$root" --port 0 --page NoSuchPage 2>"$root/unknown.err"
expect "the message names the known pages" 1 \
  "$(grep -c '^huebadge-settings: no page class named NoSuchPage; known:.* HuebadgeListController' "$root/unknown.err")"
start "$root/page" --port 0 --page HBAllInboxesFilterListController
paged=$!
[[ "$(head -n 1 "$root/page")" =~ ^http://127\.0\.0\.1:([0-9]+)/\?token=([0-9a-f]{32})$ ]] \
  || { echo "FAIL --page address"; exit 1; }
rows=$(python3 - "${BASH_REMATCH[1]}" "${BASH_REMATCH[2]}" <<'PY'
import json, sys, urllib.request
request = urllib.request.Request(f"http://127.0.0.1:{sys.argv[1]}/api/screen",
                                 headers={"Authorization": f"Bearer {sys.argv[2]}"})
screen = json.load(urllib.request.urlopen(request))
table = screen["page"]
print(json.dumps(screen["navigation"]["back"]), table["type"], table["sections"][0]["rows"][0]["text"])
PY
)
expect "--page starts on that page" "null UITableView All" "$rows"
kill -TERM $paged
wait $paged

if ((failures)); then echo "$failures failure(s)"; exit 1; fi
echo "all passed"

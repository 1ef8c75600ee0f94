#!/usr/bin/env bash
# huebadge-defaults against a temporary device root: reads, typed writes, deletes, export and
# import (XML and binary), refused domains, usage errors and posting after writes.
set -u
bin="$HUEBADGE_BIN"
root=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$root"' EXIT
failures=0
d() { "$bin/huebadge-defaults" --device-root "$root" "$@"; }
expect() {  # expect NAME EXPECTED ACTUAL
  if [[ "$2" != "$3" ]]; then
    echo "FAIL $1: expected [$2], got [$3]"; failures=$((failures + 1))
  fi
}
status() { "$@" >/dev/null 2>&1; echo $?; }
domain=net.quorvel.huebadge
file="$root/var/mobile/Library/Preferences/$domain.plist"

expect "missing domain exits 1" 1 "$(status d read $domain)"
expect "missing pair message" "The domain/default pair of ($domain, mailBoxAlphaLevel) does not exist" \
  "$(d read $domain mailBoxAlphaLevel 2>&1)"

d write $domain name "Home account" && d write $domain level -int 40 && d write $domain tenth -float 0.1 \
  && d write $domain on -bool YES && d write $domain off -bool 0 && d write $domain list -array a b \
  && d write $domain rec -dict k1 v1 k2 v2 || { echo "FAIL writes"; failures=$((failures + 1)); }
expect "string" "Home account" "$(d read $domain name)"
expect "int" "40" "$(d read $domain level)"
expect "float" "0.1" "$(d read $domain tenth)"
expect "bool yes" "1" "$(d read $domain on)"
expect "bool no" "0" "$(d read $domain off)"
expect "array as XML" "1" "$(d read $domain list | grep -c '<string>b</string>')"
expect "whole domain is XML" "1" "$(d read $domain | grep -c '<key>level</key>')"

python3 - "$file" <<'PY' || failures=$((failures + 1))
import plistlib, sys
v = plistlib.load(open(sys.argv[1], 'rb'))
want = {"name": "Home account", "level": 40, "tenth": 0.1, "on": True, "off": False,
        "list": ["a", "b"], "rec": {"k1": "v1", "k2": "v2"}}
if v != want:
    print("FAIL file contents", v); sys.exit(1)
PY

expect "bad int is a usage error" 2 "$(status d write $domain level -int 4x)"
expect "bad bool is a usage error" 2 "$(status d write $domain on -bool maybe)"
expect "odd dict is a usage error" 2 "$(status d write $domain rec -dict k)"
expect "unknown command" 2 "$(status d frobnicate $domain)"
expect "no arguments" 2 "$(status d)"
for bad in "a/b" ".hidden" "../x"; do
  expect "domain $bad refused" 2 "$(status d write "$bad" k v)"
done
expect "refused writes left the value" "40" "$(d read $domain level)"

d delete $domain level
expect "deleted key" 1 "$(status d read $domain level)"
expect "deleting a missing key" 1 "$(status d delete $domain level)"

d export $domain "$root/out.plist"
python3 -c "import plistlib,sys; plistlib.load(open(sys.argv[1],'rb'))" "$root/out.plist" \
  || { echo "FAIL export not readable"; failures=$((failures + 1)); }
expect "export to stdout" "$(cat "$root/out.plist")" "$(d export $domain -)"

python3 -c "import plistlib,sys; sys.stdout.buffer.write(plistlib.dumps({'imported': 7, 'x': [1, 'y']}, fmt=plistlib.FMT_BINARY))" >"$root/in.bplist"
d import other.domain "$root/in.bplist"
expect "binary import" "7" "$(d read other.domain imported)"
printf '<?xml version="1.0"?><plist><array/></plist>' | d import third.domain - 2>/dev/null
expect "non-dictionary import refused" 1 "$(status d read third.domain)"
printf 'garbage' >"$root/bad.plist"
expect "broken import refused" 1 "$(status d import other.domain "$root/bad.plist")"
expect "broken import left the domain" "7" "$(d read other.domain imported)"

printf 'not a plist' >"$file"
expect "unreadable domain is not overwritten" 1 "$(status d write $domain k v)"
expect "unreadable bytes kept" "not a plist" "$(cat "$file")"

"$bin/huebadge-notify" --device-root "$root" wait "$domain/preferences" --timeout 10 &
waiter=$!
sleep 0.5
d --post "$domain/preferences" write other.domain k v
wait $waiter
expect "post after write" 0 $?
d delete $domain
expect "deleted domain" 1 "$(status d read $domain)"

if ((failures)); then echo "$failures failure(s)"; exit 1; fi
echo "all passed"

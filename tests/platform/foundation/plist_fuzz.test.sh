#!/bin/bash
# Builds the property-list fuzz target with clang and libFuzzer, then runs it for a bounded
# time on the hostile and sample files. Any crash, sanitizer report or round-trip fault fails.
set -euo pipefail

src="${HUEBADGE_SOURCE_DIR:?}"
bin="${HUEBADGE_BIN:?}"
seconds="${PLIST_FUZZ_SECONDS:-30}"
work="$bin/plist-fuzz"
mkdir -p "$work/corpus" "$work/artifacts"

clang_bin=$(command -v clang++ || command -v clang++-14 || true)
if [[ -z "$clang_bin" ]]; then
    echo "clang++ not found" >&2
    exit 1
fi

foundation="$src/src/platform/foundation"
# shellcheck disable=SC2046
"$clang_bin" -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined \
    -fno-sanitize-recover=undefined -I"$src/src" \
    "$src/fuzz/PlistFuzzer.cpp" \
    "$foundation/PlistValue.cpp" "$foundation/PropertyList.cpp" "$foundation/FileBytes.cpp" \
    "$foundation/XmlPlistReader.cpp" "$foundation/BinaryPlistReader.cpp" \
    "$foundation/XmlPlistWriter.cpp" "$foundation/Base64.cpp" "$foundation/Iso8601Date.cpp" \
    $(pkg-config --cflags --libs expat) -o "$work/PlistFuzzer"

cp "$src"/tests/data/hostile/*.plist "$src"/tests/data/plist/*.plist "$work/corpus/"

"$work/PlistFuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
    -max_len=65536 -artifact_prefix="$work/artifacts/" -print_final_stats=1 \
    "$work/corpus" 2>&1 | tail -n 25

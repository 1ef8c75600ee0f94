#!/bin/bash
# Builds the fuzz targets with clang and libFuzzer (the XML and binary property-list readers,
# and the import of huebadge-defaults), then runs each for its share of a bounded time on the
# hostile and sample files: the whole corpus first, then new inputs (10 s in all unless
# PLIST_FUZZ_SECONDS says otherwise). Any crash, leak, sanitizer report or round-trip fault fails.
set -euo pipefail

src="${HUEBADGE_SOURCE_DIR:?}"
bin="${HUEBADGE_BIN:?}"
seconds="${PLIST_FUZZ_SECONDS:-10}"
work="$bin/plist-fuzz"
targets=(PlistFuzzer DefaultsImportFuzzer)
share=$(( (seconds + ${#targets[@]} - 1) / ${#targets[@]} ))

clang_bin=$(command -v clang++ || command -v clang++-14 || true)
if [[ -z "$clang_bin" ]]; then
    echo "clang++ not found" >&2
    exit 1
fi

foundation="$src/src/platform/foundation"
readers=("$foundation/PlistValue.cpp" "$foundation/PropertyList.cpp" "$foundation/FileBytes.cpp"
    "$foundation/XmlPlistReader.cpp" "$foundation/BinaryPlistReader.cpp"
    "$foundation/XmlPlistWriter.cpp" "$foundation/Base64.cpp" "$foundation/Iso8601Date.cpp")
declare -A extra=([PlistFuzzer]="" [DefaultsImportFuzzer]="$src/tools/huebadge-defaults/DomainImport.cpp")

# Each source is compiled once for both targets, two at a time, through ccache when it is
# there (so a rerun after a change compiles only what changed).
compile=("$clang_bin")
command -v ccache >/dev/null && compile=(ccache "$clang_bin")
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer-no-link,address,undefined
    -fno-sanitize-recover=undefined -I"$src/src" -I"$src/tools" -I"$src/fuzz")
read -r -a library_cflags <<<"$(pkg-config --cflags expat fmt)"
objects="$work/objects"
mkdir -p "$objects"
sources=("${readers[@]}" "${extra[DefaultsImportFuzzer]}")
for target in "${targets[@]}"; do sources+=("$src/fuzz/$target.cpp"); done
printf '%s\n' "${sources[@]}" | xargs -P 2 -I{} bash -c \
    'source=$1 out="$2/$(basename "$1" .cpp).o"; shift 2; exec "$@" -c "$source" -o "$out"' \
    _ {} "$objects" "${compile[@]}" "${flags[@]}" "${library_cflags[@]}"
reader_objects=()
for reader in "${readers[@]}"; do reader_objects+=("$objects/$(basename "$reader" .cpp).o"); done

for target in "${targets[@]}"; do
    dir="$work/$target"
    # An older layout kept the fuzzer itself where its folder now goes.
    [[ -e "$dir" && ! -d "$dir" ]] && rm -f "$dir"
    mkdir -p "$dir/corpus" "$dir/artifacts"
    own=("$objects/$target.o")
    [[ -n "${extra[$target]}" ]] && own+=("$objects/$(basename "${extra[$target]}" .cpp).o")
    # shellcheck disable=SC2046
    "$clang_bin" -fsanitize=fuzzer,address,undefined "${own[@]}" "${reader_objects[@]}" \
        $(pkg-config --libs expat fmt) -o "$dir/$target"
    cp "$src"/tests/data/hostile/*.plist "$src"/tests/data/plist/*.plist "$dir/corpus/"
done

for target in "${targets[@]}"; do
    dir="$work/$target"
    echo "== $target, $share s"
    "$dir/$target" -max_total_time="$share" -rss_limit_mb=2048 -timeout=10 \
        -max_len=65536 -artifact_prefix="$dir/artifacts/" -print_final_stats=1 \
        "$dir/corpus" 2>&1 | tail -n 25
done

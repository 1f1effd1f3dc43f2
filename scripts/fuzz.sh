#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer and runs each from a fixed seed: the meter's
# reply decoder, the store loader and the form image's file format. Each corpus lives in
# build/fuzz, so each run starts where the last one ended.
#   scripts/fuzz.sh                   each target for WMX_FUZZ_SECONDS (15) seconds
#   scripts/fuzz.sh --runs N [NAME]   each target (or the one named) for N executions
# Prints the executions and findings of every target; fails when one found something.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

limit=(-max_total_time="${WMX_FUZZ_SECONDS:-15}")
if [ "${1:-}" = --runs ]; then
    limit=(-runs="$2")
    shift 2
fi
only="${1:-}"

out="$WMX_BUILD/fuzz"
mkdir -p "$out"
status=0

# fuzz NAME MAX_LEN SOURCES...: builds NAME and runs it on its corpus, seeded by seed_NAME.
fuzz() {
    local name="$1" max_len="$2"
    shift 2
    [ -z "$only" ] || [ "$only" = "$name" ] || return 0
    local corpus="$out/$name-corpus" exe="$out/${name//-/_}_fuzz" log="$out/$name.log"
    mkdir -p "$corpus"
    clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
        -I"$WMX_ROOT" "$@" -o "$exe"
    "seed_${name//-/_}" "$corpus"
    local before after code=0
    before="$(ls "$out" | grep -c "^$name-" || true)"
    "$exe" -seed=1 -max_len="$max_len" "${limit[@]}" -print_final_stats=1 \
        -artifact_prefix="$out/$name-" "$corpus" >"$log" 2>&1 || code=$?
    after="$(ls "$out" | grep -c "^$name-" || true)"
    local runs
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
    echo "$name: ${runs:-?} executions, $((after - before)) findings"
    if [ "$code" -ne 0 ]; then
        tail -n 60 "$log"
        status="$code"
    fi
}

# Starting points of the decoder: CurrentRecord, split, then the deliveries.
seed_meter_delivery() {
    printf '\x02\xff\x02P?0753:0700:0699\r' >"$1/seed-measurement"
    printf '\x01\xff\x02V?KAVRA TINTRA\r' >"$1/seed-identification"
    printf '\x01\xff\x02E?0012\r\x02P?9999:0700:0700\r' >"$1/seed-two-frames"
    printf '\x03\x01\x02P?0753:07\x02P?00:0700\r' >"$1/seed-split"
}
fuzz meter-delivery 2100 "$WMX_ROOT"/meter/{MeterFrame,MeterLink,MeterPoll,Reading}.cpp \
    "$WMX_ROOT/tests/meter/MeterDeliveryFuzz.cpp"

# Starting points of the store loader: the old store's fill byte, then a file's first slot
# with the forms the program writes, and one with long digit runs.
seed_store_load() {
    { printf '9'; printf '\x05075,3%0250d' 0; printf '\x05-----%0250d' 0; printf '\x030,0'; } \
        >"$1/seed-written-forms"
    { printf '\x00\xff'; printf '9%.0s' $(seq 255); printf '\x27'; printf '7%.0s' $(seq 39); } \
        >"$1/seed-long-digits"
}
fuzz store-load 34706 "$WMX_ROOT"/data/{StoreImage,ReadingValue}.cpp \
    "$WMX_ROOT/tests/data/StoreLoadFuzz.cpp"

# Starting points of the bitmap format: small images in each header and compression kind.
seed_bitmap_file() {
    convert -size 5x3 xc:red "BMP3:$1/seed-24bit.bmp"
    convert -size 9x4 gradient: -type palette -colors 16 -compress RLE "BMP3:$1/seed-rle.bmp"
    convert -size 7x2 pattern:checkerboard -type bilevel "BMP2:$1/seed-core.bmp"
    convert -size 4x4 xc:blue -alpha set "BMP:$1/seed-v5-32bit.bmp"
}
fuzz bitmap-file 4096 "$WMX_ROOT/report/BitmapFile.cpp" "$WMX_ROOT/tests/report/BitmapFileFuzz.cpp"

exit "$status"

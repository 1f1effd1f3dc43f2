#!/usr/bin/env bash
# Builds the fuzz target of the meter's reply decoder with clang's libFuzzer and runs it briefly
# from a fixed seed. The corpus lives in build/fuzz, so each run starts where the last one ended.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

out="$WMX_BUILD/fuzz"
corpus="$out/meter-delivery-corpus"
mkdir -p "$corpus"
clang++ -std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all \
    -I"$WMX_ROOT" "$WMX_ROOT"/meter/{MeterFrame,MeterLink,Reading}.cpp \
    "$WMX_ROOT/tests/meter/MeterDeliveryFuzz.cpp" -o "$out/meter_delivery_fuzz"

# Starting points: CurrentRecord, split, then the deliveries.
printf '\x02\xff\x02P?0753:0700:0699\r' >"$corpus/seed-measurement"
printf '\x01\xff\x02V?KAVRA TINTRA\r' >"$corpus/seed-identification"
printf '\x01\xff\x02E?0012\r\x02P?9999:0700:0700\r' >"$corpus/seed-two-frames"
printf '\x03\x01\x02P?0753:07\x02P?00:0700\r' >"$corpus/seed-split"

log="$out/meter-delivery.log"
status=0
"$out/meter_delivery_fuzz" -seed=1 -max_len=2100 -max_total_time="${WMX_FUZZ_SECONDS:-15}" \
    -print_final_stats=1 -artifact_prefix="$out/" "$corpus" >"$log" 2>&1 || status=$?
grep -E '^(Done|stat::(number_of_executed_units|average_exec_per_sec|new_units_added))' "$log" || true
if [ "$status" -ne 0 ]; then
    tail -n 60 "$log"
    exit "$status"
fi

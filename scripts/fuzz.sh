#!/usr/bin/env bash
# fuzz.sh BUILD_DIR [SECONDS]
# Builds the libFuzzer target of the iEPG line reader and header parser
# natively with clang, and runs it (about 20 s by default) on the committed
# seed corpus. Exits non-zero when the fuzzer finds anything.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}
mkdir -p "$build"
build=$(cd "$build" && pwd)

exe="$build/iepg_fuzzer"
sources=(
  "$root/tests/iepg/iepg_fuzzer.cpp"
  "$root/iepg/line_reader.cpp"
  "$root/iepg/iepg_parser.cpp"
  "$root/iepg/channel_match.cpp"
  "$root/app/settings/settings_values.cpp"
  "$root/app/settings/settings_store.cpp"
  "$root/app/settings/app_settings.cpp"
)
echo "=== fuzz: building $exe ==="
clang++ -std=c++17 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" "${sources[@]}" -o "$exe"

# The fuzzer adds what it finds to the first directory: keep the committed
# seeds untouched.
work="$build/corpus"
mkdir -p "$work" "$build/artifacts"
echo "=== fuzz: running ${seconds}s ==="
cd "$build"
"$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -artifact_prefix="$build/artifacts/" -print_final_stats=1 \
  "$work" "$root/tests/iepg/corpus" 2>"$build/fuzz.log" || {
  status=$?
  tail -40 "$build/fuzz.log"
  echo "fuzz: the fuzzer found a problem (exit $status); see $build/artifacts" >&2
  exit 1
}
grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$build/fuzz.log" | tail -2 || true
echo "fuzz: nothing found"

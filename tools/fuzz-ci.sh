#!/usr/bin/env bash
# Builds the libFuzzer targets (preset `fuzz`: clang, ASan + UBSan) and runs each one for a
# bounded time on its checked-in seeds; any crash, leak, timeout or sanitizer report fails.
#   tools/fuzz-ci.sh [seconds-per-target]   (default 30)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-30}"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "${JOBS:-2}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
failed=0
for seeds in fuzz/corpus/*/; do
  name="$(basename "$seeds")"
  fuzzer="build-fuzz/fuzz/${name}_fuzzer"
  if [ ! -x "$fuzzer" ]; then
    echo "fuzz-ci: no target for $seeds" >&2
    failed=1
    continue
  fi
  mkdir -p "$work/$name/corpus" "$work/$name/artifacts"
  echo "== $name (${seconds} s)"
  # New inputs go to the scratch corpus; the checked-in seeds are only read.
  if ! "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/$name/artifacts/" \
      "$work/$name/corpus" "$seeds" >"$work/$name/log" 2>&1; then
    tail -n 60 "$work/$name/log" >&2
    for artifact in "$work/$name/artifacts"/*; do
      [ -e "$artifact" ] && echo "fuzz-ci: $name finding: $(basename "$artifact")" \
        "(base64: $(base64 -w0 "$artifact" | head -c 2000))" >&2
    done
    failed=1
  else
    grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units)' "$work/$name/log" | tail -n 2
  fi
done
exit "$failed"

#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each one for a bounded
# time on a scratch copy of its seed corpus, so new corpus entries never land in
# the repository. Exits non-zero when any target reports a finding; the
# reproducer is kept under build/fuzz/findings/<target>/.
#
#   tools/run-fuzzers.sh [SECONDS_PER_TARGET]    (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/run-fuzzers.sh [SECONDS_PER_TARGET]" >&2
  exit 64
fi

# Every target has a seed corpus folder of its own name.
targets=()
for corpus in fuzz/corpus/*/; do
  targets+=("$(basename "$corpus")")
done

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --parallel 2 --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
findings=build/fuzz/findings
failed=()
for target in "${targets[@]}"; do
  cp -r "fuzz/corpus/$target" "$scratch/$target"
  mkdir -p "$findings/$target"
  log="$scratch/$target.log"
  start=$SECONDS
  if build/fuzz/fuzz/"$target" "$scratch/$target" -max_total_time="$seconds" -timeout=5 \
      -rss_limit_mb=2048 -artifact_prefix="$findings/$target/" -print_final_stats=1 \
      >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} runs in $((SECONDS - start)) s, no finding"
  else
    echo "$target: FINDING (reproducer in $findings/$target/)"
    tail -n 40 "$log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz targets with findings: ${failed[*]}" >&2
  exit 1
fi

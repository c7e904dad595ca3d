#!/usr/bin/env bash
# Builds the libFuzzer targets (the fuzz preset) and runs each one for a bounded
# time on a scratch copy of its seed corpus, so new corpus entries never land in
# the repository. Targets run side by side, one per core (at most four, each
# with up to 2 GB), so the total time is about SECONDS_PER_TARGET times the
# number of targets divided by that count. Exits non-zero when any target
# reports a finding; the reproducer is kept under build/fuzz/findings/<target>/.
#
#   tools/run-fuzzers.sh [SECONDS_PER_TARGET]    (default 60)
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: tools/run-fuzzers.sh [SECONDS_PER_TARGET]" >&2
  exit 64
fi
parallel=$(nproc)
((parallel > 4)) && parallel=4

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

# Runs one target and leaves its one-line summary in $scratch/<target>.summary;
# the status says whether it found something.
run_target() {
  local target=$1 log="$scratch/$1.log" start=$SECONDS runs
  cp -r "fuzz/corpus/$target" "$scratch/$target"
  mkdir -p "$findings/$target"
  if build/fuzz/fuzz/"$target" "$scratch/$target" -max_total_time="$seconds" -timeout=5 \
      -rss_limit_mb=2048 -artifact_prefix="$findings/$target/" -print_final_stats=1 \
      >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$target: ${runs:-?} runs in $((SECONDS - start)) s, no finding" >"$scratch/$target.summary"
  else
    echo "$target: FINDING (reproducer in $findings/$target/)" >"$scratch/$target.summary"
    return 1
  fi
}

running=0
for target in "${targets[@]}"; do
  run_target "$target" &
  if ((++running == parallel)); then
    wait -n || true
    ((running--))
  fi
done
wait || true

failed=()
for target in "${targets[@]}"; do
  cat "$scratch/$target.summary"
  if grep -q FINDING "$scratch/$target.summary"; then
    tail -n 40 "$scratch/$target.log"
    failed+=("$target")
  fi
done

if ((${#failed[@]})); then
  echo "fuzz targets with findings: ${failed[*]}" >&2
  exit 1
fi

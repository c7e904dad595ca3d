#!/usr/bin/env bash
# Load figures of `tavrel serve` with wrk on loopback (keep-alive, 2 threads,
# 64 connections): single checks per second with their latency, accounts per
# second through the batch POST (10,000 items a request, as a JSON array and as
# NDJSON) and the server's peak resident memory. wrk and the server share the
# machine's cores, so each figure is the median of RUNS runs, and the server's
# CPU time per request or per account is printed beside it: that figure moves
# less when other work shares the machine.
#
#   bench/http_load.sh [TAVREL_BINARY] [SECONDS] [RUNS]
#   (default build/release/cli/tavrel, 10, 3)
set -euo pipefail
cd "$(dirname "$0")/.."

tavrel=${1:-build/release/cli/tavrel}
seconds=${2:-10}
runs=${3:-3}
for tool in wrk python3 "$tavrel"; do
  command -v "$tool" >/dev/null || { echo "http_load.sh: $tool not found" >&2; exit 69; }
done

work=$(mktemp -d)
server=
cleanup() {
  [[ -n $server ]] && kill -TERM "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

"$tavrel" serve --port 0 --threads 64 >"$work/listening" &
server=$!
for _ in $(seq 50); do
  grep -q '^listening on ' "$work/listening" && break
  sleep 0.1
done
url=$(sed -n 's/^listening on //p' "$work/listening")
[[ -n $url ]] || { echo "http_load.sh: the server did not start" >&2; exit 70; }

# 10,000 items: bank codes of the directory, accounts of 1 to 10 digits, fixed seed.
python3 - directory/banks.tsv "$work" <<'PY'
import json, random, sys
codes = [line.split("\t")[0] for line in open(sys.argv[1], encoding="utf-8")]
rnd = random.Random(20091207)
items = []
for _ in range(10000):
    digits = rnd.randint(1, 10)
    items.append({"bank_code": rnd.choice(codes),
                  "account": str(rnd.randint(10 ** (digits - 1), 10 ** digits - 1))})
with open(sys.argv[2] + "/batch.json", "w") as out:
    json.dump(items, out, separators=(",", ":"))
with open(sys.argv[2] + "/batch.ndjson", "w") as out:
    out.writelines(json.dumps(item, separators=(",", ":")) + "\n" for item in items)
PY
for kind in json ndjson; do
  type=application/json
  [[ $kind == ndjson ]] && type=application/x-ndjson
  cat >"$work/post_$kind.lua" <<LUA
wrk.method = "POST"
wrk.headers["Content-Type"] = "$type"
local body = io.open("$work/batch.$kind", "rb")
wrk.body = body:read("*a")
body:close()
LUA
done

# The server's user and system time in clock ticks.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$server/stat"; }
# The machine's steal time in clock ticks: on a virtual machine, the time the
# host ran something else on our cores; stalls of tens of ms that show in p99.
steal_ticks() { awk '$1 == "cpu" {print $9}' /proc/stat; }

run() {  # name, then wrk's arguments; prints rate, p50, p99, server CPU µs per request, steal ms
  local name=$1
  shift
  local before after stolen
  before=$(cpu_ticks)
  stolen=$(steal_ticks)
  wrk -t2 -c64 -d"${seconds}s" --latency "$@" >"$work/$name.txt"
  after=$(cpu_ticks)
  stolen=$(($(steal_ticks) - stolen))
  awk -v ticks=$((after - before)) -v stolen="$stolen" -v hz="$(getconf CLK_TCK)" '
    /^Requests\/sec:/ {rate = $2}
    $1 == "50%" {p50 = $2}
    $1 == "99%" {p99 = $2}
    / requests in / {requests = $1}
    END {printf "%s %s %s %.2f %d\n", rate, p50, p99, ticks / hz * 1e6 / requests,
         stolen / hz * 1000}' "$work/$name.txt"
}

# The median of column $1 of the lines read.
median() {
  sort -n -k"$1" | awk -v col="$1" '{v[NR] = $col} END {print v[int((NR + 1) / 2)]}'
}

check="${url}api/v1/check?bank_code=12030000&account=9290701"
for i in $(seq "$runs"); do
  run get "$check" >>"$work/get.runs"
  # A batch waits for a slot behind up to 63 others: wrk's 2 s timeout would
  # drop answers that are still coming.
  run post_json --timeout 30s -s "$work/post_json.lua" "${url}api/v1/check" >>"$work/post_json.runs"
  run post_ndjson --timeout 30s -s "$work/post_ndjson.lua" "${url}api/v1/check" \
    >>"$work/post_ndjson.runs"
done
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$server/status")

# wrk prints latencies with a unit; the median is taken over the values in ms.
to_ms() { awk '{v = $0; u = v; sub(/[0-9.]+/, "", u); sub(/[a-z]+$/, "", v);
  f = u == "us" ? 0.001 : u == "s" ? 1000 : u == "m" ? 60000 : 1; printf "%.3f\n", v * f}'; }

report() {  # label, runs file, items a request, unit, target
  local file=$2 items=$3
  local rate p50 p99 cpu steal
  rate=$(median 1 <"$file")
  steal=$(median 5 <"$file")
  p50=$(cut -d' ' -f2 "$file" | to_ms | median 1)
  p99=$(cut -d' ' -f3 "$file" | to_ms | median 1)
  cpu=$(median 4 <"$file" | awk -v n="$items" '{printf "%.0f", $1 * 1000 / n}')
  printf '%-20s %10.0f %-11s p50 %8.2f ms  p99 %8.2f ms  server CPU %6d ns/%s  steal %4d ms  (%s)\n' \
    "$1" "$(awk -v r="$rate" -v n="$items" 'BEGIN {print r * n}')" "$4" "$p50" "$p99" "$cpu" \
    "$6" "$steal" "$5"
}

echo "wrk -t2 -c64 -d${seconds}s --latency [--timeout 30s -s post.lua] URL, median of $runs runs;" \
  "$(nproc) cores shared by wrk and the server"
report "GET  /api/v1/check" "$work/get.runs" 1 requests/s "target 50,000/s, p99 < 5 ms" request
report "POST /api/v1/check" "$work/post_json.runs" 10000 accounts/s "JSON array, target 5,000,000/s" account
report "POST /api/v1/check" "$work/post_ndjson.runs" 10000 accounts/s "NDJSON, target 5,000,000/s" account
printf '%-20s %10.1f MB%-69s(target < 50 MB)\n' "peak resident memory" \
  "$(awk -v k="$peak_kb" 'BEGIN {print k / 1024}')" ""

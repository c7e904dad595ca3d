#!/usr/bin/env bash
# Load figures of `tavrel serve` with wrk on loopback (keep-alive, 2 threads,
# 64 connections): single checks per second with their latency, accounts per
# second through the batch POST (10,000 items a request) and the server's peak
# resident memory. wrk and the server share the machine's cores.
#
#   bench/http_load.sh [TAVREL_BINARY] [SECONDS]   (default build/release/cli/tavrel, 10)
set -euo pipefail
cd "$(dirname "$0")/.."

tavrel=${1:-build/release/cli/tavrel}
seconds=${2:-10}
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
python3 - directory/banks.tsv >"$work/batch.json" <<'PY'
import json, random, sys
codes = [line.split("\t")[0] for line in open(sys.argv[1], encoding="utf-8")]
rnd = random.Random(20091207)
items = []
for _ in range(10000):
    digits = rnd.randint(1, 10)
    items.append({"bank_code": rnd.choice(codes),
                  "account": str(rnd.randint(10 ** (digits - 1), 10 ** digits - 1))})
json.dump(items, sys.stdout, separators=(",", ":"))
PY
cat >"$work/post.lua" <<LUA
wrk.method = "POST"
wrk.headers["Content-Type"] = "application/json"
local body = io.open("$work/batch.json", "rb")
wrk.body = body:read("*a")
body:close()
LUA

run() {  # name, then wrk's arguments
  local name=$1
  shift
  wrk -t2 -c64 -d"${seconds}s" --latency "$@" >"$work/$name.txt"
  local rate p50 p99
  rate=$(awk '/^Requests\/sec:/ {print $2}' "$work/$name.txt")
  p50=$(awk '$1 == "50%" {print $2}' "$work/$name.txt")
  p99=$(awk '$1 == "99%" {print $2}' "$work/$name.txt")
  echo "$name $rate $p50 $p99"
}

read -r _ get_rate get_p50 get_p99 < <(run get "${url}api/v1/check?bank_code=12030000&account=9290701")
read -r _ post_rate post_p50 post_p99 < <(run post -s "$work/post.lua" "${url}api/v1/check")
peak_kb=$(awk '/^VmHWM:/ {print $2}' "/proc/$server/status")

printf 'GET  /api/v1/check   %10.0f requests/s   p50 %-9s p99 %-9s (target 50,000/s, p99 < 5 ms)\n' \
  "$get_rate" "$get_p50" "$get_p99"
printf 'POST /api/v1/check   %10.0f accounts/s   p50 %-9s p99 %-9s (target 5,000,000/s)\n' \
  "$(awk -v r="$post_rate" 'BEGIN {print r * 10000}')" "$post_p50" "$post_p99"
printf 'peak resident memory %10.1f MB                                   (target < 50 MB)\n' \
  "$(awk -v k="$peak_kb" 'BEGIN {print k / 1024}')"

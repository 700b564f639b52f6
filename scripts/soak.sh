#!/usr/bin/env bash
# On demand, not part of the test run: the event exerciser for 10 million events
# (two seeds side by side), the libFuzzer target for a bounded time, and the real
# window under Xvfb for a minute.
# Usage: scripts/soak.sh [--events N] [--fuzz-seconds S] [--window-seconds S] [--seed N]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
events=10000000
fuzz_seconds=300
window_seconds=60
seed=$(date +%s)
while [ $# -gt 0 ]; do
  case "$1" in
    --events) events=$2; shift 2 ;;
    --fuzz-seconds) fuzz_seconds=$2; shift 2 ;;
    --seed) seed=$2; shift 2 ;;
    --window-seconds) window_seconds=$2; shift 2 ;;
    *) echo "usage: $0 [--events N] [--fuzz-seconds S] [--window-seconds S] [--seed N]" >&2; exit 2 ;;
  esac
done

bash "$root/scripts/setup.sh"
# The fuzzer needs clang's runtime libraries; only this run does.
if ! dpkg-query -W -f='${Status}\n' libclang-rt-14-dev 2>/dev/null | grep -q '^install ok installed$'; then
  sudo=; [ "$(id -u)" -ne 0 ] && sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends libclang-rt-14-dev >/dev/null
fi

status=0
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT

release="$root/build/release"
cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release -Wno-dev >/dev/null
cmake --build "$release" --target exerciser -j2 >/dev/null
half=$(( (events + 1) / 2 ))
echo "== exerciser: $events events, seeds $seed and $((seed + 1))"
start=$SECONDS
pids=()
for s in "$seed" "$((seed + 1))"; do
  "$release/tests/exerciser/exerciser" --seed "$s" --events "$half" >"$logs/exerciser-$s.log" 2>&1 &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
cat "$logs"/exerciser-*.log
echo "== exerciser done in $((SECONDS - start)) s"

fuzz="$root/build/fuzz"
cmake -S "$root" -B "$fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
  -DSUDOKU_FUZZ=ON -DSUDOKU_BUILD_BENCH=OFF -Wno-dev >/dev/null
cmake --build "$fuzz" --target event_fuzzer -j2 >/dev/null
corpus="$fuzz/corpus"  # grows from run to run; starts from the seeds kept in fuzz/corpus
mkdir -p "$corpus" "$fuzz/artifacts"
cp -n "$root/fuzz/corpus/"* "$corpus/"
# An input's length bounds its events (EventFuzzer.cpp): libFuzzer starts from short inputs
# and lengthens them as coverage asks, up to max_len.
echo "== fuzzer: $fuzz_seconds s on two workers, corpus $corpus"
pids=()
for w in 1 2; do
  "$fuzz/fuzz/event_fuzzer" -max_total_time="$fuzz_seconds" -max_len=1024 -print_final_stats=1 \
    -artifact_prefix="$fuzz/artifacts/" "$corpus" >"$logs/fuzz-$w.log" 2>&1 &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
for w in 1 2; do
  grep -E 'VIOLATION|replay:|ERROR|SUMMARY|Test unit written|^#[0-9]+[[:space:]]+DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
    "$logs/fuzz-$w.log" || true
done
cmake --build "$release" --target sudoku -j2 >/dev/null
echo "== window: $window_seconds s of random clicks and keys"
bash "$root/scripts/soak-window.sh" --seconds "$window_seconds" --exe "$release/sudoku" || status=1

[ $status -eq 0 ] && echo "== soak passed" || echo "== soak FAILED"
exit $status

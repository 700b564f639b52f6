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
artifacts="$fuzz/artifacts/$(date +%Y%m%d-%H%M%S)"  # this run's: crashes, timeouts, slow units
mkdir -p "$corpus" "$artifacts"
cp -n "$root/fuzz/corpus/"* "$corpus/"
# An input's length bounds its events, and each input gets one pass of the game's own grid
# search (fuzz/FuzzInput.cpp): libFuzzer starts from short inputs and lengthens them as
# coverage asks, up to max_len. It writes a unit of 1 s or more as slow-unit-*, one of 10 s
# as timeout-*: anything written fails the soak.
echo "== fuzzer: $fuzz_seconds s on two workers, corpus $corpus"
pids=()
for w in 1 2; do
  "$fuzz/fuzz/event_fuzzer" -max_total_time="$fuzz_seconds" -max_len=1024 -report_slow_units=1 -timeout=10 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus" >"$logs/fuzz-$w.log" 2>&1 &
  pids+=($!)
done
for p in "${pids[@]}"; do wait "$p" || status=1; done
for w in 1 2; do
  grep -E 'VIOLATION|replay:|ERROR|SUMMARY|Test unit written|Slowest unit|^#[0-9]+[[:space:]]+DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|slowest_unit_time_sec|peak_rss_mb)' \
    "$logs/fuzz-$w.log" || true
done
written=$(find "$artifacts" -type f -printf '%f\n' | paste -sd ' ')
if [ -n "$written" ]; then
  echo "FAILED: libFuzzer wrote $written in $artifacts"
  status=1
else
  rmdir "$artifacts"
fi
# No input of the corpus over 100 ms: each one run once, and one over the limit twice more
# (the best of three counts: other work on the machine slows a single run).
limit_ms=100
find "$corpus" -type f -print0 | xargs -0 "$fuzz/fuzz/event_fuzzer" >"$logs/replay.log" 2>&1 ||
  { grep -E 'VIOLATION|replay:|ERROR' "$logs/replay.log"; echo "FAILED: an input of the corpus crashes"; status=1; }
slow=0
while read -r ms input; do
  best=$ms
  if [ "$ms" -gt "$limit_ms" ]; then
    for _ in 1 2; do
      t=$("$fuzz/fuzz/event_fuzzer" "$input" 2>&1 | awk '/^Executed/ { print $(NF - 1) }')
      [ "${t:-$best}" -lt "$best" ] && best=$t
    done
  fi
  if [ "$best" -gt "$limit_ms" ]; then
    echo "FAILED: $input takes $best ms (limit $limit_ms ms)"
    slow=1
  fi
done < <(awk '/^Executed/ { print $(NF - 1), $2 }' "$logs/replay.log")
[ $slow -eq 0 ] || status=1
echo "== corpus: $(grep -c '^Executed' "$logs/replay.log") inputs replayed, slowest $(awk '/^Executed/ { print $(NF - 1) }' \
  "$logs/replay.log" | sort -n | tail -n1) ms at first run"
cmake --build "$release" --target sudoku -j2 >/dev/null
echo "== window: $window_seconds s of random clicks and keys"
bash "$root/scripts/soak-window.sh" --seconds "$window_seconds" --exe "$release/sudoku" || status=1

[ $status -eq 0 ] && echo "== soak passed" || echo "== soak FAILED"
exit $status

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build-fuzz/ and runs each for a bounded time:
#   scripts/fuzz.sh [seconds per target, default 60] [targets, default: number_format workbook_reader]
# Seeds come from ../shared/corpus or $KX_CORPUS_DIR (workbooks and the format codes stored in them) and
# tests/fuzz/number_format_codes.txt. Prints per target the executions run and the crashes
# found; crashing inputs are kept in build-fuzz/findings/<target>/. Exits 1 when any crashed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
targets=("${@:2}")
[[ ${#targets[@]} -gt 0 ]] || targets=(number_format workbook_reader)
build_dir=build-fuzz
work_dir=$build_dir/fuzz-work

scripts/install-deps.sh clang python3
CC=clang CXX=clang++ cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_FUZZ=ON >/dev/null
python3 scripts/fuzz-seeds.py "${KX_CORPUS_DIR:-../shared/corpus}" tests/fuzz/number_format_codes.txt "$work_dir/seeds"

# Runs one target in fork mode so that it goes on after a crash; prints "<executions> <crashes>".
run_target() {
  local name=$1 log=$work_dir/$name.log
  mkdir -p "$work_dir/corpus/$name" "$build_dir/findings/$name"
  "$build_dir/tests/fuzz/${name}_fuzzer" -fork=1 -ignore_crashes=1 -ignore_ooms=1 -ignore_timeouts=1 \
    -max_total_time="$seconds" -max_len=262144 -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$build_dir/findings/$name/" \
    "$work_dir/corpus/$name" "$work_dir/seeds/$name" >"$log" 2>&1 || true
  grep -E '^#[0-9]+: ' "$log" | tail -n 1 |
    sed -E 's|^#([0-9]+):.*oom/timeout/crash: ([0-9]+)/([0-9]+)/([0-9]+).*|\1 \2 \3 \4|' |
    awk '{ print $1, $2 + $3 + $4 }'
}

status=0
for name in "${targets[@]}"; do
  if ! cmake --build "$build_dir" --parallel 2 --target "${name}_fuzzer" >"$work_dir/$name-build.log" 2>&1; then
    echo "$name: not built (see $work_dir/$name-build.log)"
    status=1
    continue
  fi
  read -r executions crashes < <(run_target "$name")
  echo "$name: ${seconds} s, ${executions:-0} executions, ${crashes:-0} crashes (inputs in $build_dir/findings/$name/)"
  [[ "${crashes:-0}" -eq 0 ]] || status=1
done
exit "$status"

#!/usr/bin/env bash
# Builds with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and runs the
# workbook engine's tests and the end-to-end conversions under them; any finding fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=build-asan
programs=(tests/workbook/test_workbook)
if compgen -G "tests/e2e/*.cpp" >/dev/null; then
  programs+=(tests/e2e/test_e2e)
fi

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKX_SANITIZE=ON >/dev/null
cmake --build "$build_dir" --parallel "$(nproc)" --target "${programs[@]##*/}"

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizers/lsan-suppressions.txt:print_suppressions=0
for program in "${programs[@]}"; do
  echo "== $program (sanitized)"
  "$build_dir/$program" --gtest_brief=1
done

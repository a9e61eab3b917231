#!/usr/bin/env bash
# Installs what is missing, builds Quenda and runs every test: the whole suite (GUI tests under
# Xvfb when no display is set), the whole suite again in a Release build (the build packagers
# make), the tests that need no display under AddressSanitizer and UndefinedBehaviorSanitizer,
# the whole program under the same two through its window tests, the worker-thread tests under
# ThreadSanitizer, and each plug-in loader's fuzz target for
# FUZZ_SECONDS (60 by default), with the rate it ran at. The end-to-end job benchmarks run once
# on a few files, and the selection benchmark on a few hundred, to show that they still work.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
jobs=$(nproc)

if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
  done
fi

echo "== build and run all tests"
bash scripts/build.sh build
ctest --test-dir build -j "$jobs" --output-on-failure

echo "== end-to-end job benchmarks, once on a few files (a smoke run; no time is checked)"
build/bench_jobs --files=3 --benchmark_min_time=0
echo "== selection benchmark, once on a few hundred files (a smoke run; no time is checked)"
build/bench-selection/bench_selection --files=300 --benchmark_min_time=0

echo "== Release build and all tests"
bash scripts/build.sh build-release -DCMAKE_BUILD_TYPE=Release
ctest --test-dir build-release -j "$jobs" --output-on-failure

echo "== AddressSanitizer and UndefinedBehaviorSanitizer, tests without a display"
bash scripts/build.sh build-asan -DQUENDA_SANITIZE=ON -DQUENDA_GUI=OFF -DQUENDA_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan -j "$jobs" -LE gui --output-on-failure

echo "== AddressSanitizer and UndefinedBehaviorSanitizer, the whole program through its window tests"
# The toolkit's libraries keep memory until the process ends; the suppression file leaves that to
# them, so a leak of the program's own still fails.
bash scripts/build.sh build-asan-gui -DQUENDA_SANITIZE=ON -DQUENDA_GUI=ON -DQUENDA_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS="suppressions=$root/tests/gui/toolkit-leaks.supp" \
  UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan-gui -j "$jobs" -L gui --output-on-failure

echo "== ThreadSanitizer, worker-thread tests"
bash scripts/build.sh build-tsan -DQUENDA_TSAN=ON -DQUENDA_GUI=OFF -DQUENDA_BENCH=OFF
if ctest --test-dir build-tsan -N -L threads | grep -q 'Total Tests: [1-9]'; then
  TSAN_OPTIONS=halt_on_error=1 ctest --test-dir build-tsan -j "$jobs" -L threads --output-on-failure
fi

echo "== fuzz targets"
bash scripts/build.sh build-fuzz -DQUENDA_FUZZ=ON -DQUENDA_GUI=OFF -DQUENDA_BENCH=OFF \
  -DQUENDA_TESTS=OFF -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14
for fuzzer in build-fuzz/fuzz/fuzz_*; do
  [ -x "$fuzzer" ] || continue
  name=$(basename "$fuzzer")
  found="build-fuzz/fuzz/found/${name#fuzz_}"
  mkdir -p "$found"
  echo "-- $name for ${FUZZ_SECONDS:-60} s"
  "$fuzzer" -max_total_time="${FUZZ_SECONDS:-60}" -print_final_stats=1 "$found" \
    "build-fuzz/fuzz/seeds/${name#fuzz_}" \
    >"build-fuzz/$name.log" 2>&1 || { tail -50 "build-fuzz/$name.log"; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "build-fuzz/$name.log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "build-fuzz/$name.log")
  echo "$name: $runs inputs, $rate inputs/s"
done
echo "all test stages passed"

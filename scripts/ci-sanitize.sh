#!/usr/bin/env bash
# The second CI pass: the whole suite again under AddressSanitizer and UBSan in a build tree
# of its own, then a short libFuzzer run of every fuzz target when clang is there (the
# fuzzing tree is also CI's clang build: every library and program, warnings as errors). A
# fuzzing tree that does not build fails, and so does a fuzz target that crashes.
# Environment: TYLD_SANITIZE_BUILD_DIR, TYLD_FUZZ_BUILD_DIR, TYLD_FUZZ_SECONDS (60).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
asan_build=${TYLD_SANITIZE_BUILD_DIR:-$root/build-sanitize}
fuzz_build=${TYLD_FUZZ_BUILD_DIR:-$root/build-fuzz}
fuzz_seconds=${TYLD_FUZZ_SECONDS:-60}
jobs=$(nproc)
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi

start=$SECONDS
# No -Werror here: GCC warns falsely (maybe-uninitialized in <regex>) under the sanitizers.
if [ ! -f "$asan_build/build.ninja" ]; then
  cmake -S "$root" -B "$asan_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTYLD_SANITIZE=address,undefined -DTYLD_BENCH=OFF "${launcher[@]}"
fi
cmake --build "$asan_build" -j"$jobs"
(
  cd "$asan_build"
  # Leaks are not checked: Qt's and fontconfig's process-lifetime caches would drown them.
  ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$jobs"
)
echo "ci-sanitize: suite under address,undefined passed in $((SECONDS - start)) s"

if ! command -v clang++ >/dev/null; then
  echo "ci-sanitize: clang++ not found, fuzz run skipped"
  exit 0
fi
start=$SECONDS
if ! { [ -f "$fuzz_build/build.ninja" ] ||
       CC=clang CXX=clang++ cmake -S "$root" -B "$fuzz_build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
         -DTYLD_FUZZ=ON -DTYLD_TESTS=OFF -DTYLD_BENCH=OFF -DTYLD_WERROR=ON "${launcher[@]}"; } ||
   ! cmake --build "$fuzz_build" -j"$jobs" --target tyld_pages_fuzz tyld_mail_fuzz; then
  echo "ci-sanitize: the clang fuzzing tree did not build" >&2
  exit 1
fi
failed=0
for target in tyld_pages_fuzz tyld_mail_fuzz; do
  corpus=$(mktemp -d)
  if ! (cd "$corpus" && "$fuzz_build/tests/fuzz/$target" -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" \
          >"$corpus/log" 2>&1); then
    echo "ci-sanitize: $target FAILED; its log and crash input:" >&2
    tail -n 60 "$corpus/log" >&2
    ls "$corpus"/crash-* "$corpus"/leak-* "$corpus"/timeout-* 2>/dev/null >&2 || true
    failed=1
  else
    echo "ci-sanitize: $target ran ${fuzz_seconds} s without a finding"
    rm -rf "$corpus"
  fi
done
echo "ci-sanitize: fuzz run took $((SECONDS - start)) s"
exit "$failed"

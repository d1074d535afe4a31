#!/usr/bin/env bash
# Builds the programs in further configurations beside build/, each in its own tree with
# warnings as errors and without tests or benchmarks: by default GCC Release (what packagers
# build); CI's clang build is the fuzzing tree (scripts/ci-sanitize.sh). Entries are COMPILER:TYPE, e.g.
#   scripts/build-matrix.sh gcc:Debug gcc:RelWithDebInfo clang:Release
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/deps.sh"
configs=("$@")
[ ${#configs[@]} -gt 0 ] || configs=(gcc:Release)
for config in "${configs[@]}"; do
  compiler=${config%%:*}
  type=${config#*:}
  case $compiler in
    gcc) cxx=g++ ;;
    clang) cxx=clang++ ;;
    *) echo "build-matrix: unknown compiler '$compiler' (gcc or clang)" >&2; exit 2 ;;
  esac
  dir=$root/build-$compiler-$(tr '[:upper:]' '[:lower:]' <<<"$type")
  if [ ! -f "$dir/build.ninja" ]; then
    mkdir -p "$dir"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE="$type" \
      -DTYLD_WERROR=ON -DTYLD_TESTS=OFF -DTYLD_BENCH=OFF >"$dir/configure.log" 2>&1 ||
      { cat "$dir/configure.log"; exit 1; }
  fi
  start=$(date +%s)
  if ! cmake --build "$dir" -j "${TYLD_JOBS:-$(nproc)}" >"$dir/build.log" 2>&1; then
    grep -E -A5 'error|warning' "$dir/build.log" | head -60
    echo "build-matrix: $config failed (log: $dir/build.log)" >&2
    exit 1
  fi
  # -Werror stops on a warning already; this also catches one from a tool outside the compiler.
  if grep -q 'warning:' "$dir/build.log"; then
    grep -A3 'warning:' "$dir/build.log" | head -40
    echo "build-matrix: $config built with warnings" >&2
    exit 1
  fi
  echo "build-matrix: $config ($cxx) built warning-free in $(($(date +%s) - start)) s"
done

#!/usr/bin/env bash
# Fails when a source folder includes a folder above it or a peer. Layers come lowest
# first; peers share one argument, separated by commas ("ascii,binary"). A folder may
# include its own and any lower layer's folders.
# usage: check_layers.sh SRC_DIR LAYER...
set -euo pipefail
src=$1; shift
layers=()
declare -A rank
i=0
for group in "$@"; do
  IFS=, read -ra peers <<<"$group"
  for p in "${peers[@]}"; do rank[$p]=$i; layers+=("$p"); done
  i=$((i + 1))
done
bad=0
for dir in "${layers[@]}"; do
  [ -d "$src/$dir" ] || continue
  while IFS=: read -r file line text; do
    target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/' <<<"$text")
    [ -n "${rank[$target]+x}" ] || continue
    if [ "$target" != "$dir" ] && (( rank[$target] >= rank[$dir] )); then
      echo "$file:$line: $dir must not include $target (a higher layer or a peer): $text"
      bad=1
    fi
  done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$src/$dir"/*.h "$src/$dir"/*.cpp 2>/dev/null || true)
done
# A folder that is not a layer is a folder nobody checks.
for d in "$src"/*/; do
  name=$(basename "$d")
  [ -n "${rank[$name]+x}" ] || { echo "$d: not a known layer"; bad=1; }
done
exit $bad

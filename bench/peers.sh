#!/usr/bin/env bash
# peers.sh [TYLD_RENDER]: times tyld-render against the tools people compare it with, on
# generated inputs, and prints the ratios (Tyld CPU time / peer CPU time, median of the
# alternating runs). Not part of ctest: it takes a few minutes and a few GB of disk.
#   REPEAT=N   runs per side (default 3)       WORK=DIR   where the inputs go (default /tmp/tyld-peers)
#   ONLY="pdf hex first big"   the rows to run (default all)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
tyld=${1:-$here/../build/src/render/tyld-render}
tyld=$(readlink -f "$tyld")
[ -x "$tyld" ] || { echo "peers.sh: no tyld-render at $tyld (build it, or pass its path)" >&2; exit 2; }
repeat=${REPEAT:-3}
work=${WORK:-/tmp/tyld-peers}
only=${ONLY:-pdf first hex big}
mkdir -p "$work"

# The peers come from Debian packages.
need=()
command -v paps >/dev/null || need+=(paps)
command -v xxd >/dev/null || need+=(xxd)
command -v iconv >/dev/null || need+=(libc-bin)
[ -x /usr/bin/time ] || need+=(time)
if [ ${#need[@]} -gt 0 ]; then
  sudo=; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq && $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${need[@]}"
fi

# --- inputs (made once, deterministic) -------------------------------------------------
# Japanese Shift-JIS text: lines of hiragana, level-1 kanji, punctuation and a few ASCII
# words, LF line ends, about 1 MB.
sjis1m=$work/ja-1m.txt
if [ ! -s "$sjis1m" ]; then
  LC_ALL=C awk 'BEGIN {
    srand(10); n = 0
    while (n < 1048576) {
      len = 20 + int(rand() * 60); line = ""
      for (i = 0; i < len; i++) {
        r = rand()
        if (r < 0.45) { line = line sprintf("%c%c", 130, 159 + int(rand() * 83)) }          # hiragana
        else if (r < 0.85) { t = 64 + int(rand() * 188); if (t >= 127) t++;                 # kanji
                             line = line sprintf("%c%c", 137 + int(rand() * 15), t) }
        else if (r < 0.92) { line = line sprintf("%c%c", 129, 65 + int(rand() * 2)) }        # 、。
        else { line = line "Tyld" (i % 10) " " }
      }
      print line; n += length(line) + 1
    }
  }' > "$sjis1m"
fi
sjis100m=$work/ja-100m.txt
[ -s "$sjis100m" ] || for _ in $(seq 100); do cat "$sjis1m"; done > "$sjis100m"
bin10m=$work/bin-10m.bin
[ -s "$bin10m" ] || head -c $((10 * 1024 * 1024)) /dev/urandom > "$bin10m"
bin1g=$work/bin-1g.bin
if [ ! -s "$bin1g" ]; then
  for _ in $(seq 102); do cat "$bin10m"; done > "$bin1g"
  head -c $((1024 * 1024 * 1024 - 102 * 10 * 1024 * 1024)) "$bin10m" >> "$bin1g"
fi

# --- timing ----------------------------------------------------------------------------
# run NAME CMD...: one run; appends "cpu wall rss_kb" to $work/NAME.times.
run() {
  local name=$1; shift
  /usr/bin/time -f "%U %S %e %M" -o "$work/.t" "$@" >/dev/null 2>"$work/.err" ||
    { echo "peers.sh: failed: $*" >&2; cat "$work/.err" >&2; exit 1; }
  awk '{ printf "%.3f %.3f %d\n", $1 + $2, $3, $4 }' "$work/.t" >> "$work/$name.times"
}
median() { sort -n | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }
col() { awk -v c="$2" '{ print $c }' "$work/$1.times" | median; }
# pair KEY LABEL TYLD-CMD -- PEER-CMD: alternates the two, REPEAT times each, prints a table row.
pair() {
  local row=$1 label=$2; shift 2
  local t=() p=()
  while [ "$1" != "--" ]; do t+=("$1"); shift; done; shift
  p=("$@")
  rm -f "$work/$row.tyld.times" "$work/$row.peer.times"
  for _ in $(seq "$repeat"); do run "$row.tyld" "${t[@]}"; run "$row.peer" "${p[@]}"; done
  local tc pc
  tc=$(col "$row.tyld" 1); pc=$(col "$row.peer" 1)
  printf '| %-44s | %7.2f s | %7.2f s | %5.2fx |\n' "$label" "$tc" "$pc" "$(awk -v a="$tc" -v b="$pc" 'BEGIN { print (b > 0 ? a / b : 0) }')"
}

echo "tyld-render: $tyld; $repeat alternating runs per side; CPU seconds (user+sys), median"
echo
echo "| Work                                         | Tyld      | Peer      | Ratio  |"
echo "|----------------------------------------------|-----------|-----------|--------|"
for what in $only; do
  case $what in
    pdf) pair pdf "1 MB Japanese text -> PDF / paps -> PS" \
           "$tyld" --out "$work/ja-1m.pdf" "$sjis1m" -- \
           sh -c 'paps --encoding=CP932 "$1" > "$2"' paps "$sjis1m" "$work/ja-1m.ps" ;;
    first) pair first "first sheet of 100 MB text / iconv of all" \
           "$tyld" --format txt --pages 1-1 --out "$work/first.txt" "$sjis100m" -- \
           sh -c 'iconv -f CP932 -t UTF-8 "$1" > "$2"' iconv "$sjis100m" "$work/ja-100m.utf8" ;;
    hex) pair hex "10 MB binary -> hex text / xxd" \
           "$tyld" --screen binary --format txt --out "$work/bin-10m.txt" "$bin10m" -- \
           sh -c 'xxd "$1" > "$2"' xxd "$bin10m" "$work/bin-10m.xxd" ;;
    big) ;;
    *) echo "peers.sh: unknown row '$what'" >&2; exit 2 ;;
  esac
done

case " $only " in
  *" big "*)
    # One binary page at the start and at the end of a 1 GiB file: time and peak memory.
    pages=$("$tyld" --screen binary --format txt --pages 999999999 --out /dev/null "$bin1g" 2>&1 |
            sed -n 's/.*the document has \([0-9]*\) page.*/\1/p' || true)
    [ -n "$pages" ] || { echo "peers.sh: cannot count the pages of $bin1g" >&2; exit 1; }
    rm -f "$work/big-first.times" "$work/big-last.times"
    for _ in $(seq "$repeat"); do
      run big-first "$tyld" --screen binary --format txt --pages 1-1 --out /dev/null "$bin1g"
      run big-last "$tyld" --screen binary --format txt --pages "$pages-$pages" --out /dev/null "$bin1g"
    done
    echo
    echo "| One binary page of a 1 GiB file | wall      | CPU       | peak RSS |"
    echo "|---------------------------------|-----------|-----------|----------|"
    for w in first last; do
      printf '| %-31s | %7.2f s | %7.2f s | %5d MB |\n' "page $([ $w = first ] && echo 1 || echo "$pages")" \
        "$(col "big-$w" 2)" "$(col "big-$w" 1)" "$(( $(col "big-$w" 3) / 1024 ))"
    done ;;
esac

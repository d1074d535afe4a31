#!/usr/bin/env bash
# Real printing: a scratch CUPS scheduler with one queue whose device writes each job into a
# file, fed by tyld-render --printer and by the viewer's print command (both screens). The
# PDFs the queue received are checked for page count, Japanese text and orientation.
# Exit 77 (skipped) where CUPS cannot run here.
# Usage: cups_test.sh TYLD_RENDER VIEWER_PRINT_TEST
set -uo pipefail
render=$(realpath "$1")
viewer=$(realpath "$2")
skip() { echo "SKIPPED: $*"; exit 77; }
fail() { echo "FAILED: $*"; exit 1; }

[ "$(id -u)" -eq 0 ] || skip "the scratch scheduler runs backends as root; not root"
for tool in /usr/sbin/cupsd lpadmin lpstat pdfinfo pdftotext; do
  command -v "$tool" >/dev/null || skip "$tool missing (scripts/deps.sh installs cups and poppler-utils)"
done
[ -d /usr/lib/cups/filter ] || skip "/usr/lib/cups missing"

T=$(mktemp -d /tmp/tyld-cups.XXXXXX)
chmod 755 "$T"
cupsd_pid=
cleanup() {
  if [ -n "$cupsd_pid" ]; then
    kill "$cupsd_pid" 2>/dev/null
    for _ in $(seq 50); do kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$cupsd_pid" 2>/dev/null
    wait "$cupsd_pid" 2>/dev/null
  fi
  rm -rf "$T"
}
trap cleanup EXIT

# The scheduler keeps everything in $T and listens on a socket there only: no port, no
# system queue or spool is touched, and an installed CUPS keeps running beside it.
mkdir -p "$T/etc/ppd" "$T/spool/tmp" "$T/cache" "$T/state/certs" "$T/log" "$T/out" "$T/bin/backend"
chown root:lp "$T/spool" "$T/spool/tmp" "$T/cache" "$T/state" 2>/dev/null
chmod 770 "$T/spool" "$T/spool/tmp"
for d in filter cgi-bin daemon notifier monitor driver; do ln -s "/usr/lib/cups/$d" "$T/bin/$d"; done
cat > "$T/bin/backend/tyldfile" <<'BACKEND'
#!/bin/sh
# Writes each job's document as it arrives into the directory of the device URI.
[ $# -eq 0 ] && { echo 'file tyldfile "Tyld test file" "Tyld test file"'; exit 0; }
dir=${DEVICE_URI#tyldfile:}
if [ -n "$6" ]; then cat "$6"; else cat; fi > "$dir/job-$1.part" && mv "$dir/job-$1.part" "$dir/job-$1.pdf"
BACKEND
chmod 700 "$T/bin/backend/tyldfile"
cat > "$T/cupsd.conf" <<CONF
Listen $T/cups.sock
LogLevel warn
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
CONF
cat > "$T/cups-files.conf" <<CONF
ServerRoot $T/etc
ServerBin $T/bin
RequestRoot $T/spool
TempDir $T/spool/tmp
CacheDir $T/cache
StateDir $T/state
ErrorLog $T/log/error_log
AccessLog $T/log/access_log
PageLog $T/log/page_log
Printcap $T/printcap
SystemGroup root
CONF
export CUPS_SERVER=$T/cups.sock
/usr/sbin/cupsd -f -c "$T/cupsd.conf" -s "$T/cups-files.conf" >"$T/log/stdout" 2>&1 &
cupsd_pid=$!
for _ in $(seq 100); do lpstat -r >/dev/null 2>&1 && break; kill -0 "$cupsd_pid" 2>/dev/null || break; sleep 0.1; done
lpstat -r >/dev/null 2>&1 || skip "cupsd did not start: $(tail -3 "$T/log/error_log" "$T/log/stdout" 2>/dev/null | tr '\n' ' ')"
queue=TyldTest
# cupsd answers lpstat a moment before it takes administration requests: try for a while.
added=
for _ in $(seq 50); do
  if lpadmin -p "$queue" -E -v "tyldfile:$T/out" -m raw 2>"$T/lpadmin.err"; then added=1; break; fi
  sleep 0.1
done
[ -n "$added" ] || fail "lpadmin could not add the queue: $(tr '\n' ' ' <"$T/lpadmin.err")"

# The next job's PDF, once the queue has written it (at most 30 s).
job=0
await_job() {
  job=$((job + 1))
  for _ in $(seq 300); do [ -f "$T/out/job-$job.pdf" ] && return 0; sleep 0.1; done
  lpstat -W all -o "$queue" 2>&1 | tail -3
  tail -5 "$T/log/error_log" 2>/dev/null
  fail "job $job never left the queue"
}

# check NAME PDF PAGES ORIENTATION TEXT...: the page count, the orientation of every page
# and texts that must come back from it.
check() {
  local name=$1 pdf=$2 pages=$3 orientation=$4
  shift 4
  local got
  got=$(pdfinfo "$pdf" | awk '/^Pages:/ {print $2}')
  [ "$got" = "$pages" ] || fail "$name: $got pages, expected $pages"
  local sizes
  sizes=$(pdfinfo -f 1 -l "$pages" "$pdf" | awk '/^Page +[0-9]+ size:/ {print ($4 > $6) ? "landscape" : "portrait"}' | sort -u)
  [ "$sizes" = "$orientation" ] || fail "$name: pages are '$sizes', expected $orientation"
  local text
  text=$(pdftotext -enc UTF-8 "$pdf" -)
  for want in "$@"; do
    grep -qF -- "$want" <<<"$text" || fail "$name: '$want' not in the printed text"
  done
  echo "$name: $pages pages, $orientation, $(wc -c <"$pdf") bytes; text: $(grep -m1 -F -- "$1" <<<"$text")"
}

work=$T/work
mkdir -p "$work"
cd "$work" || fail "no work directory"
for i in $(seq 1 150); do printf '構造解析の結果 行%d 応力 σ=12.5\r\n' "$i"; done | iconv -f UTF-8 -t CP932 >render-ascii.txt
perl -e 'print map { chr(($_ * 13) % 256) } 0 .. 3999' >render-binary.bin

# tyld-render: the ASCII screen portrait, the binary screen landscape.
pages_ascii=$("$render" --format txt render-ascii.txt | grep -c '^=== sheet ')
"$render" --printer "$queue" --orientation portrait render-ascii.txt || fail "tyld-render --printer (ascii) failed"
await_job
check "tyld-render ascii" "$T/out/job-$job.pdf" "$pages_ascii" portrait "構造解析の結果 行1 " "[render-ascii.txt]"

pages_binary=$("$render" --screen binary --orientation landscape --format txt render-binary.bin | grep -c '^=== page ')
"$render" --printer "$queue" --screen binary --orientation landscape render-binary.bin || fail "tyld-render --printer (binary) failed"
await_job
check "tyld-render binary" "$T/out/job-$job.pdf" "$pages_binary" landscape "000000:" "00 0D 1A 27" "[render-binary.bin]"

# The viewer's print command, offscreen, on the same queue.
TYLD_TEST_PRINTER=$queue QT_QPA_PLATFORM=offscreen "$viewer" --gtest_filter='*Ascii*' >"$T/viewer-ascii.log" 2>&1 ||
  { cat "$T/viewer-ascii.log"; fail "the viewer's ASCII print failed"; }
await_job
check "viewer ascii" "$T/out/job-$job.pdf" "$(awk '/^ascii / {print $2}' "$T/viewer-ascii.log")" portrait \
  "画面から印刷 行1" "[viewer-ascii.txt]"
TYLD_TEST_PRINTER=$queue QT_QPA_PLATFORM=offscreen "$viewer" --gtest_filter='*Binary*' >"$T/viewer-binary.log" 2>&1 ||
  { cat "$T/viewer-binary.log"; fail "the viewer's binary print failed"; }
await_job
check "viewer binary" "$T/out/job-$job.pdf" "$(awk '/^binary / {print $2}' "$T/viewer-binary.log")" landscape \
  "000000:" "00 07 0E 15" "[viewer-binary.bin]"

# Nothing else arrived, and no job is left waiting.
[ "$(find "$T/out" -type f | wc -l)" -eq "$job" ] || fail "unexpected jobs: $(find "$T/out" -type f)"
[ -z "$(lpstat -o "$queue")" ] || fail "jobs still queued: $(lpstat -o "$queue")"
echo "4 print jobs checked"

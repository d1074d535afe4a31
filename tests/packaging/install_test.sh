#!/usr/bin/env bash
# What `cmake --install` lays out under DESTDIR, and the desktop entry and AppStream
# metainfo in it passing their validators.
# Usage: install_test.sh BUILD_DIR
set -euo pipefail
build=$1
root=$(mktemp -d /tmp/tyld-install.XXXXXX)
trap 'rm -rf "$root"' EXIT
DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
echo "installed tree:"
(cd "$root" && find . -type f | sort | sed 's|^\./|  /|')

fail() { echo "FAILED: $*"; exit 1; }
id=jp.tyld.Tyld
expected=(usr/bin/tyld usr/bin/tyld-render
          "usr/share/applications/$id.desktop" "usr/share/metainfo/$id.metainfo.xml"
          "usr/share/icons/hicolor/scalable/apps/$id.svg"
          usr/share/man/man1/tyld.1.gz usr/share/man/man1/tyld-render.1.gz)
for size in 16 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x$size/apps/$id.png"); done
for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "/$f not installed"; done
for program in tyld tyld-render; do [ -x "$root/usr/bin/$program" ] || fail "$program is not executable"; done
for size in 16 24 32 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/$id.png" | grep -q "PNG image data, $size x $size" ||
    fail "the ${size}x$size icon is not a $size px PNG"
done
for page in tyld tyld-render; do
  gzip -t "$root/usr/share/man/man1/$page.1.gz" || fail "$page.1.gz is not gzip"
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q '^\.TH ' || fail "$page.1 is not a man page"
  zcat "$root/usr/share/man/man1/$page.1.gz" | grep -q '@PROJECT_VERSION@' && fail "$page.1 lacks its version"
  if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null || true)
    [ -z "$warnings" ] || fail "$page.1: $warnings"
  fi
done

desktop=$root/usr/share/applications/$id.desktop
grep -qx 'Exec=tyld %f' "$desktop" || fail "Exec is not 'tyld %f'"
grep -qx 'MimeType=text/plain;application/octet-stream;message/rfc822;' "$desktop" || fail "MimeType"
grep -q '^Name\[ja\]=' "$desktop" || fail "no Japanese name"
echo "desktop-file-validate:"
desktop-file-validate "$desktop" || fail "desktop-file-validate"
echo "  passed"
echo "appstreamcli validate --no-net:"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"
grep -q "<release version=\"$(sed -n 's/^tyld-render //p' <("$root/usr/bin/tyld-render" --version))\"" \
  "$root/usr/share/metainfo/$id.metainfo.xml" || fail "the metainfo's release is not the program's version"

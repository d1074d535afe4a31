#!/usr/bin/env bash
# The Debian package: cpack -G DEB from the build tree, its dependencies from the libraries
# the programs link plus the fonts, and the programs running from the unpacked package.
# As root, dpkg also checks that the package would install here.
# Usage: deb_test.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
fail() { echo "FAILED: $*"; exit 1; }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "SKIPPED: $tool missing (dpkg-dev)"; exit 77; }
done
work=$(mktemp -d /tmp/tyld-deb.XXXXXX)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/pkg" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/pkg/*.deb)
echo "package: $(basename "$deb")"
dpkg-deb -f "$deb" Package Version Architecture Depends Recommends | sed 's/^/  /'
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "version is not $version-1"
names=$(dpkg-deb -f "$deb" Depends | tr ',' '\n' | sed 's/^ *//; s/ .*//')
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 fonts-ipafont-gothic fonts-ipafont-mincho; do
  grep -qxF "$dep" <<<"$names" || fail "Depends lacks $dep"
done

dpkg-deb -x "$deb" "$work/root"
got=$("$work/root/usr/bin/tyld-render" --version)
echo "unpacked tyld-render --version: $got"
[ "$got" = "tyld-render $version" ] || fail "version '$got'"
printf 'package check\r\n' | "$work/root/usr/bin/tyld-render" --format txt - | grep -q 'package check' ||
  fail "the packaged tyld-render does not render"
! file "$work/root/usr/bin/tyld" | grep -q 'not stripped' || fail "tyld is not stripped"

if [ "$(id -u)" -eq 0 ] && command -v dpkg >/dev/null; then
  dpkg --dry-run -i "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg would not install it"; }
  echo "dpkg --dry-run -i: dependencies satisfied"
fi

#!/usr/bin/env bash
# Installs the Debian packages Tyld builds and tests with; does nothing when all are present.
set -euo pipefail
PKGS=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6svg6
      libgtest-dev libgmock-dev libbenchmark-dev
      fonts-ipafont-gothic fonts-ipafont-mincho
      xvfb xauth poppler-utils libgl-dev
      clang libclang-rt-14-dev qt6-translations-l10n
      desktop-file-utils appstream dpkg-dev file librsvg2-bin
      cups cups-client)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then SUDO=(); else SUDO=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -qq
"${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

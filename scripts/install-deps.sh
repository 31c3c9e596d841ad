#!/usr/bin/env bash
# Installs the Debian packages the project builds and runs with; does nothing when all are there.
set -euo pipefail

PACKAGES=(
  g++ cmake make pkg-config libgtest-dev
  firebird3.0-server-core firebird3.0-utils firebird-dev libfbclient2
  libzip-dev libpugixml-dev libxlsxwriter-dev libssl-dev
  qt6-base-dev libgl-dev fonts-dejavu-core qt6-translations-l10n
  dpkg-dev file help2man lintian desktop-file-utils
  firebird3.0-server
  libspreadsheet-writeexcel-perl libexcel-writer-xlsx-perl
  # Lets Spreadsheet::WriteExcel write .xls files over 7 MB (the workbook benchmark's 65,536 rows).
  libole-storage-lite-perl
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
# The server package would start the system's Firebird server (listening on
# every address) from its install script; the tests start their own, on the
# loopback address, when they need one. Forbid service starts while installing
# unless the machine already has a policy for them.
POLICY=/usr/sbin/policy-rc.d
if [ ! -e "$POLICY" ]; then
  printf '#!/bin/sh\nexit 101\n' | $SUDO tee "$POLICY" >/dev/null
  $SUDO chmod 755 "$POLICY"
  trap '$SUDO rm -f "$POLICY"' EXIT
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"

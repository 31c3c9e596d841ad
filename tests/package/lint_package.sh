#!/usr/bin/env bash
# Builds the Debian package from a finished build and checks it as Debian's tools do: lintian
# (any error fails the test; its warnings are printed for the log) and desktop-file-validate on
# the desktop entry inside the package.
#   lint_package.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in lintian desktop-file-validate; do
  command -v "$tool" >/dev/null ||
    { echo "$tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root/pkg" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/pkg/*.deb)

# As root lintian warns that it should not run as root, and goes on.
status=0
lintian --fail-on error "$deb" >"$root/lintian.txt" 2>&1 || status=$?
cat "$root/lintian.txt"
if [ "$status" -ne 0 ] || grep -q '^E: ' "$root/lintian.txt"; then
  echo "lintian: errors in $(basename "$deb") (exit $status)"
  exit 1
fi

dpkg-deb -x "$deb" "$root/fs"
desktop-file-validate "$root/fs/usr/share/applications/zorvit-import.desktop"
echo "lintian: no error; desktop-file-validate: passed"

#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a temporary root and runs
# the installed command from there: its version, and a new property database.
#   install_package.sh BUILD_DIR VERSION
set -euo pipefail
build=$1
version=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root/pkg" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/pkg/*.deb)
dpkg-deb -x "$deb" "$root/fs"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in *libfbclient2*) ;; *) echo "no dependency read from the libraries"; exit 1 ;; esac

for f in usr/bin/zorvit usr/bin/zorvit-import usr/lib/zorvit/libZrvLogin.so \
    usr/share/applications/zorvit-import.desktop usr/share/icons/hicolor/128x128/apps/zorvit-import.png; do
  ls "$root"/fs/$f >/dev/null
done

zorvit="$root/fs/usr/bin/zorvit"
test "$("$zorvit" --version)" = "zorvit $version"
ZRV_DATABASE="$root/installed.fdb" "$zorvit" db init
test -s "$root/installed.fdb"
# The login library is found beside the installed program, not in the build.
ZRV_DATABASE="$root/installed.fdb" "$zorvit" login --user demo --password any >/dev/null

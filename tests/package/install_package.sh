#!/usr/bin/env bash
# Builds the Debian package from a finished build, unpacks it into a temporary root and runs
# the installed command from there: its version, a new property database, the template
# workbook's header row, and the message when the embedded engine cannot share files.
#   install_package.sh BUILD_DIR VERSION SOURCE_DIR
set -euo pipefail
build=$1
version=$2
source=$3
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$root/pkg" >"$root/cpack.log" 2>&1 ||
  { cat "$root/cpack.log"; exit 1; }
deb=$(ls "$root"/pkg/*.deb)
dpkg-deb -x "$deb" "$root/fs"

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
case "$depends" in *libqt6widgets6*) ;; *) echo "no dependency read from the libraries"; exit 1 ;; esac
case "$depends" in *"firebird3.0-server-core | firebird4.0-server-core"*) ;;
  *) echo "no engine among the dependencies"; exit 1 ;; esac

for f in usr/bin/zorvit usr/bin/zorvit-import usr/lib/*/zorvit/libZrvLogin.so \
    usr/share/applications/zorvit-import.desktop usr/share/icons/hicolor/128x128/apps/zorvit-import.png \
    usr/share/man/man1/zorvit.1.gz usr/share/man/man1/zorvit-import.1.gz \
    usr/share/zorvit/contracts-template.xls usr/share/doc/zorvit/copyright \
    usr/share/doc/zorvit/changelog.gz usr/share/doc/zorvit/administration.md; do
  ls "$root"/fs/$f >/dev/null
done

zorvit="$root/fs/usr/bin/zorvit"
test "$("$zorvit" --version)" = "zorvit $version"
ZRV_DATABASE="$root/installed.fdb" "$zorvit" db init --demo 2>"$root/init.err"
test -s "$root/installed.fdb"
# The engine's root is found from the client library: nothing to say about it.
if grep -q "наведнъж" "$root/init.err"; then cat "$root/init.err"; exit 1; fi
# The login library is found beside the installed program, not in the build.
ZRV_DATABASE="$root/installed.fdb" "$zorvit" login --user demo --password any >/dev/null

# The template holds the header row of the example workbook and nothing else.
"$zorvit" cells "$root/fs/usr/share/zorvit/contracts-template.xls" >"$root/template.csv"
"$zorvit" cells "$source/examples/contracts.xls" >"$root/example.csv"
head -n 1 "$root/example.csv" >"$root/example-header.csv"
cmp "$root/template.csv" "$root/example-header.csv"

# Without a usable temporary folder the private engine folder cannot be made: the command says
# so on standard error and still works, on its own.
TMPDIR="$root/missing" "$zorvit" db init --database "$root/alone.fdb" 2>"$root/alone.err"
test -s "$root/alone.fdb"
grep -q "Временната папка (\$TMPDIR) не може да се използва.*наведнъж" "$root/alone.err" ||
  { echo "no message about the engine's mode:"; cat "$root/alone.err"; exit 1; }

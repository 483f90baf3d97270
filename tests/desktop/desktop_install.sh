#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the program
# arrives as a desktop application: programs, launcher, icon, file type and
# software-centre description, each accepted by its freedesktop.org validator.
# Usage: desktop_install.sh BUILD_DIR
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli update-mime-database rsvg-convert; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

fail() { echo "FAIL: $*"; exit 1; }
id=org.quorvel.Quorvel
for f in bin/quorvel bin/qvtool share/applications/$id.desktop share/icons/hicolor/scalable/apps/$id.svg \
         share/mime/packages/$id.xml share/metainfo/$id.metainfo.xml; do
    [ -f "$prefix/$f" ] || fail "$f was not installed"
done
[ -x "$prefix/bin/quorvel" ] && [ -x "$prefix/bin/qvtool" ] || fail "the programs are not executable"

desktop-file-validate "$prefix/share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net --strict "$prefix/share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

# The launcher starts the installed program, names the installed icon and opens .qvp files.
desktop="$prefix/share/applications/$id.desktop"
exec_line=$(sed -n 's/^Exec=//p' "$desktop")
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "Exec names no installed program: $exec_line"
[ "$(sed -n 's/^Icon=//p' "$desktop")" = "$id" ] || fail "Icon is not the installed icon"
grep -q '^MimeType=.*application/x-quorvel-book;' "$desktop" || fail "the launcher does not open .qvp files"

# The file type database accepts the definition and maps *.qvp to it.
update-mime-database "$prefix/share/mime" || fail "update-mime-database"
grep -q '^application/x-quorvel-book:\*\.qvp$' "$prefix/share/mime/globs" || fail "*.qvp is not application/x-quorvel-book"

rsvg-convert -w 48 -h 48 "$prefix/share/icons/hicolor/scalable/apps/$id.svg" -o "$prefix/icon.png" || fail "the icon does not render"
echo "PASS: installed and validated under $prefix"

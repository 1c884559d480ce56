#!/bin/bash
# Builds the Debian package of a finished build and checks what it installs and what it depends on, and that
# its desktop entry and AppStream metainfo are valid.
set -euo pipefail
build=$(realpath "$1")
version=$2
for tool in cpack dpkg-deb dpkg-shlibdeps appstreamcli desktop-file-validate; do
    command -v "$tool" >/dev/null || { echo "missing tool: $tool (tools/setup installs it)"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
arch=$(dpkg --print-architecture)
deb="$work/zorvane_${version}_${arch}.deb"
[ -f "$deb" ] || { echo "no $deb; cpack wrote:"; ls "$work"; exit 1; }

failed=0
fail() { echo "FAIL: $*"; failed=1; }

files=$(dpkg-deb -c "$deb" | awk '{print $NF}')
for f in ./usr/bin/zorvane ./usr/share/doc/zorvane/zorvane-Tessarix.pdf ./usr/share/doc/zorvane/LICENSE \
    ./usr/share/applications/zorvane.desktop ./usr/share/metainfo/org.zorvane.Tessarix.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/zorvane.svg; do
    grep -qxF "$f" <<<"$files" || fail "the package lacks $f"
done
grep -q -E '^\./usr/(local|lib/cmake|include)' <<<"$files" && fail "the package installs build or development files"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zorvane ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture), not $arch"
depends=$(field Depends)
for library in libqt6core6 libqt6gui6 libqt6widgets6 libqt6pdf6 libjpeg62-turbo libc6; do
    grep -q -E "(^|, )$library( |,|$)" <<<"$depends" || fail "Depends lacks $library: $depends"
done

dpkg-deb -x "$deb" "$work/root"
appstreamcli validate --no-net "$work/root/usr/share/metainfo/org.zorvane.Tessarix.metainfo.xml" || fail "metainfo"
desktop-file-validate "$work/root/usr/share/applications/zorvane.desktop" || fail "desktop entry"
# Help and version need no display.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/root/usr/bin/zorvane" --version | grep -qxF "zorvane $version" ||
    fail "zorvane --version"

[ "$failed" = 0 ] && echo "package $(basename "$deb"): files, control fields, metainfo and desktop entry as expected"
exit "$failed"

#!/usr/bin/env bash
# Installs the built program into a scratch root and packs it as a .deb, checking what a
# desktop and dpkg will read of it; then starts the program taken out of the package.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
scratch=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$scratch/installed" cmake --install "$build" --prefix /usr >/dev/null
share="$scratch/installed/usr/share"
desktop-file-validate "$share/applications/taqwim.desktop"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml
echo "menu entry and catalogue entry are valid"

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null)
deb="$scratch/package/taqwim_2.0-1_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") was made"
contents=$(dpkg-deb --contents "$deb")
for path in usr/bin/taqwim usr/share/applications/taqwim.desktop \
            usr/share/icons/hicolor/48x48/apps/taqwim.png \
            usr/share/icons/hicolor/256x256/apps/taqwim.png \
            usr/share/metainfo/invalid.taqwim.taqwim.metainfo.xml; do
  grep -q "\./$path\$" <<<"$contents" || fail "the package lacks $path"
done
depends=$(dpkg-deb --field "$deb" Depends)
for needed in fonts-noto-core libqt6widgets6 libqt6printsupport6 libicu72 libcups2; do
  grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
done
echo "package holds the program, menu entry, icons and metadata; depends on: $depends"

dpkg -x "$deb" "$scratch/root"
QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/taqwim" >"$scratch/output" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$scratch/output" >&2; fail "the packaged program did not keep running"; }
echo "the program from the package is running after three seconds"

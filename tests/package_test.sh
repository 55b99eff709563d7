#!/usr/bin/env bash
# Installs the built program into a scratch root and packs it as a .deb, checking what a
# desktop, dpkg and lintian will read of it; then starts the program taken out of the package.
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
appstreamcli validate --no-net --pedantic "$share"/metainfo/*.metainfo.xml
echo "menu entry and catalogue entry are valid"

(cd "$scratch" && cpack --config "$build/CPackConfig.cmake" -B "$scratch/package" >/dev/null)
deb="$scratch/package/taqwim_2.0-1_amd64.deb"
[ -f "$deb" ] || fail "no $(basename "$deb") was made"
contents=$(dpkg-deb --contents "$deb")
for path in usr/bin/taqwim usr/share/applications/taqwim.desktop \
            usr/share/icons/hicolor/48x48/apps/taqwim.png \
            usr/share/icons/hicolor/256x256/apps/taqwim.png \
            usr/share/metainfo/invalid.taqwim.taqwim.metainfo.xml \
            usr/share/doc/taqwim/copyright usr/share/doc/taqwim/changelog.Debian.gz \
            usr/share/man/man1/taqwim.1.gz usr/bin/taqwim-date usr/share/man/man1/taqwim-date.1.gz \
            usr/share/bash-completion/completions/taqwim-date \
            usr/share/locale/ar/LC_MESSAGES/taqwim-date.mo; do
  grep -q "\./$path\$" <<<"$contents" || fail "the package lacks $path"
done
dpkg -x "$deb" "$scratch/root"

# Whatever libraries this build linked, on whichever Debian release, must be depended on.
depends=$(dpkg-deb --field "$deb" Depends)
names=$(tr ',' '\n' <<<"$depends" | awk '{print $1}')
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
needed=(fonts-noto-core)
for lib in $(objdump -p "$scratch/root/usr/bin/taqwim" | awk '$1 == "NEEDED" {print $2}'); do
  needed+=("$(dpkg -S "*/$multiarch/$lib" | cut -d: -f1 | sort -u)") || fail "no Debian package holds $lib"
done
for package in "${needed[@]}"; do
  grep -qxF "$package" <<<"$names" || fail "the package does not depend on $package: $depends"
done
echo "package holds the program, menu entry, icons, metadata and documents; depends on: $depends"

version=$(dpkg-deb --field "$deb" Version)
changelog_version=$(zcat "$scratch/root/usr/share/doc/taqwim/changelog.Debian.gz" | dpkg-parsechangelog -l - -S Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's first entry is $changelog_version, the package $version"
lintian --fail-on error,warning "$deb" || fail "lintian finds errors or warnings in the package"
echo "lintian finds no errors or warnings"

QT_QPA_PLATFORM=offscreen "$scratch/root/usr/bin/taqwim" >"$scratch/output" 2>&1 &
pid=$!
sleep 3
kill -0 "$pid" 2>/dev/null || { cat "$scratch/output" >&2; fail "the packaged program did not keep running"; }
echo "the program from the package is running after three seconds"

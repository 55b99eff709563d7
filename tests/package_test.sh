#!/usr/bin/env bash
# Builds the Debian source package with scripts/package and checks it as Debian would:
# lintian on the whole upload, the hardening of both programs, the same bytes from a second
# build made another way, taqwim-date installed without Qt, and the autopkgtests run on
# both packages installed in a fresh Debian 12 chroot.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian-chroot.sh
mkdir -p "$chroot_cache"
scratch=$(mktemp -d "$chroot_cache/test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

scripts/package "$scratch/first"
echo "built in $SECONDS s"
version=$(dpkg-parsechangelog -S Version)
changes=$scratch/first/taqwim_${version}_$(dpkg --print-architecture).changes
debs=("$scratch/first/taqwim_${version}_"*.deb "$scratch/first/taqwim-date_${version}_"*.deb)

lintian --fail-on error,warning "$changes" || fail "lintian finds errors or warnings"
echo "lintian finds no errors or warnings in the source, the binaries and the upload"

# Every compile and link line got Debian's hardening flags, and both programs show them;
# all but control flow protection, which Debian 12 builds nothing with (its C library's
# start files lack the marks too).
blhc --bindnow "$scratch/first/build.log" || fail "a compile or link line lacks hardening flags"
for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$scratch/root"; done
hardening-check --nocfprotection "$scratch"/root/usr/bin/{taqwim,taqwim-date,taqwim-cal} ||
  fail "a program lacks part of the hardening"

started=$SECONDS
scripts/package --vary "$scratch/second" >/dev/null
echo "built again in $((SECONDS - started)) s"
for deb in "$scratch"/first/*.deb; do
  other=$scratch/second/${deb##*/}
  cmp "$deb" "$other" || { diffoscope --text - "$deb" "$other" || true; fail "${deb##*/} differs"; }
done
echo "a second build, elsewhere, later, in another time zone and without tests, is byte-identical"

# The packages installed as a user installs them, on the base system and nothing more.
started=$SECONDS
mkdir -p "$scratch/installed/shared"
cp "${debs[@]}" "$scratch/installed/shared/"
dpkg-source -q -x "$scratch/first/taqwim_$version.dsc" "$scratch/installed/shared/source" 2>/dev/null
# shellcheck disable=SC2016 # expanded in the chroot
run_in "$(base_system)" "$scratch/installed" sh -euc '
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -qq -y /shared/taqwim-date_*.deb >/dev/null
  qt=$(dpkg-query -W -f "\${Package}\n" | grep -i qt || true)
  [ -z "$qt" ] || { echo "FAIL: taqwim-date brought in $qt"; exit 1; }
  echo "taqwim-date installs without any Qt library"
  apt-get install -qq -y autopkgtest >/dev/null
  autopkgtest /shared/source /shared/*.deb -- null' >"$scratch/installed.log" 2>&1 ||
  { cat "$scratch/installed.log"; fail "the installed packages fail their tests"; }
grep -x "taqwim-date installs without any Qt library" "$scratch/installed.log"
sed -n '/@@@@ summary/,/^autopkgtest/p' "$scratch/installed.log"
echo "installed and tested in $((SECONDS - started)) s; $SECONDS s in all"

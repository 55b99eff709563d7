#!/usr/bin/env bash
# Builds the Debian source package with scripts/package, and checks it as Debian would:
# lintian on the whole upload, the hardening of both programs, the same bytes from a second
# build made another way, taqwim-date installed without Qt, and the autopkgtests run on
# both packages installed in a fresh Debian 12 chroot.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian-chroot.sh
scratch=$(mktemp -d "$chroot_cache/test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

scripts/package "$scratch/first"
version=$(dpkg-parsechangelog -S Version)
changes=$scratch/first/taqwim_${version}_$(dpkg --print-architecture).changes
debs=("$scratch"/first/taqwim_*.deb "$scratch"/first/taqwim-date_*.deb)

lintian --fail-on error,warning "$changes" || fail "lintian finds errors or warnings"
echo "lintian finds no errors or warnings in the source, the binaries and the upload"

for deb in "${debs[@]}"; do dpkg-deb -x "$deb" "$scratch/root"; done
hardening-check "$scratch/root/usr/bin/taqwim" "$scratch/root/usr/bin/taqwim-date" ||
  fail "a program is built without part of the hardening"

scripts/package --vary "$scratch/second" >/dev/null
for deb in "$scratch"/first/*.deb; do
  other=$scratch/second/${deb##*/}
  cmp "$deb" "$other" || { diffoscope --text - "$deb" "$other" || true; fail "${deb##*/} differs"; }
done
echo "a second build, elsewhere, later, in another time zone and without tests, is byte-identical"

# The packages installed as a user installs them, into the base system and nothing more.
mkdir -p "$scratch/installed/shared/source"
cp "${debs[@]}" "$scratch/installed/shared/"
dpkg-source -q -x "$scratch/first/taqwim_$version.dsc" "$scratch/installed/shared/source"
# shellcheck disable=SC2016 # expanded in the chroot
run_in "$(base_system)" "$scratch/installed" sh -euc '
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -qq -y /shared/taqwim-date_*.deb >/dev/null
  qt=$(dpkg-query -W -f "\${Package}\n" | grep -i qt || true)
  [ -z "$qt" ] || { echo "FAIL: taqwim-date brought in $qt"; exit 1; }
  echo "taqwim-date installs without any Qt library"
  apt-get install -qq -y autopkgtest >/dev/null
  autopkgtest -q /shared/source /shared/*.deb -- null' 2>&1 || fail "the installed packages fail their tests"

#!/usr/bin/env bash
# Builds the Debian source package with scripts/package for each Debian release people run,
# and checks each build as that release's Debian would: its build-time tests in the build,
# its lintian on the whole upload, the hardening of both programs, the packages installed on
# a fresh system of the release (taqwim-date without Qt), and the autopkgtests run there. One
# suite is also built a second time, another way, and must give the same bytes.
#   package_test.sh [SUITE...]          (bookworm and trixie, Debian 12 and 13, by default)
# TAQWIM_PACKAGE_SUITES names the suites too, for the test command: "bookworm trixie forky"
# adds testing.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/debian-chroot.sh
# shellcheck disable=SC2086 # one word a suite
[ $# -gt 0 ] || set -- ${TAQWIM_PACKAGE_SUITES:-bookworm trixie}
mkdir -p "$chroot_caches"
scratch=$(mktemp -d "$chroot_caches/test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

# The suite's own tools, on the files of one build: lintian on the upload, blhc on the
# build log, hardening-check on the programs.
check_build() { # FOLDER
  local folder=$1 checks=$scratch/$suite-checks
  mkdir -p "$checks/shared"
  cp "$folder"/* "$checks/shared/"
  local system
  system=$(checking_system)
  # shellcheck disable=SC2016 # expanded in the chroot
  run_in --user builder "$system" "$checks" sh -euc '
    cd /shared
    lintian --fail-on error,warning ./*.changes ||
      { echo "FAIL: lintian finds errors or warnings"; exit 1; }
    echo "lintian finds no errors or warnings in the source, the binaries and the upload"
    # Every compile and link line got the hardening flags, and the programs show them: all
    # but control flow protection, which no program has on Debian 12 or 13 (the start files of
    # the C library lack its marks), and branch protection, which is for arm64.
    blhc --bindnow build.log || { echo "FAIL: a compile or link line lacks hardening flags"; exit 1; }
    for deb in taqwim_*.deb taqwim-date_*.deb; do dpkg-deb -x "$deb" root; done
    unmarked=--nocfprotection
    ! hardening-check --help 2>&1 | grep -q -e --nobranchprotection ||
      unmarked="$unmarked --nobranchprotection"
    hardening-check $unmarked root/usr/bin/taqwim root/usr/bin/taqwim-date root/usr/bin/taqwim-cal ||
      { echo "FAIL: a program lacks part of the hardening"; exit 1; }
    echo "every compile and link line is hardened, and so are the three programs"' >"$checks/log" 2>&1 ||
    { cat "$checks/log"; fail "$suite: the packages do not pass the $suite checks"; }
  grep -h -e '^lintian finds' -e '^every compile' "$checks/log" | sed "s/^/$suite: /"
}

# The packages installed as a user installs them, on the suite's base system and nothing
# more, and their autopkgtests.
install_and_test() { # FOLDER
  local folder=$1 installed=$scratch/$suite-installed version
  version=$(sed -n 's/^Version: //p' "$folder"/*.dsc)
  mkdir -p "$installed/shared"
  cp "$folder"/*.deb "$installed/shared/"
  dpkg-source -q -x "$folder/taqwim_$version.dsc" "$installed/shared/source" 2>/dev/null
  local base
  base=$(base_system)
  # shellcheck disable=SC2016 # expanded in the chroot
  run_in "$base" "$installed" sh -euc '
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -qq -y /shared/taqwim-date_*.deb >/dev/null
    qt=$(dpkg-query -W -f "\${Package}\n" | grep -i qt || true)
    [ -z "$qt" ] || { echo "FAIL: taqwim-date brought in $qt"; exit 1; }
    echo "taqwim-date installs without any Qt library"
    apt-get install -qq -y autopkgtest >/dev/null
    autopkgtest /shared/source /shared/*.deb -- null' >"$installed/log" 2>&1 ||
    { cat "$installed/log"; fail "$suite: the installed packages fail their tests"; }
  grep -x "taqwim-date installs without any Qt library" "$installed/log" | sed "s/^/$suite: /"
  sed -n '/@@@@ summary/,$p' "$installed/log" | grep -E '^[a-z-]+ +(PASS|FAIL|SKIP)' |
    sed "s/^/$suite: /"
}

# A second build, elsewhere, later, in another time zone and without tests.
build_again() { # FOLDER
  local folder=$1 again=$scratch/$suite-again started=$SECONDS
  scripts/package --suite "$suite" --vary "$again" >/dev/null
  for deb in "$folder"/*.deb; do
    other=$again/${deb##*/}
    cmp "$deb" "$other" ||
      { diffoscope --text - "$deb" "$other" || true; fail "$suite: ${deb##*/} differs"; }
  done
  echo "$suite: a second build, elsewhere, later, in another time zone and without tests," \
       "is byte-identical ($((SECONDS - started)) s)"
}

for name in "$@"; do
  use_suite "$name"
  started=$SECONDS
  folder=$scratch/$suite
  scripts/package --suite "$suite" "$folder" >/dev/null
  built=$((SECONDS - started))
  echo "$suite: built, with its build-time tests, in $built s"
  check_build "$folder"
  [ "$name" != "$1" ] || build_again "$folder"
  install_and_test "$folder"
  echo "$suite: $((SECONDS - started)) s in all"
done
echo "$* packaged and tested in $SECONDS s"

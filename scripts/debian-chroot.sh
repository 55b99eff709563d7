#!/usr/bin/env bash
# The clean Debian systems that the source package is built and tested in, one set for each
# suite (bookworm, trixie, forky, ...), kept in .cache/debian/SUITE between runs: a minimal
# base made by debootstrap, and over it one layer with the build dependencies of
# debian/control for each set of them, and one with the tools that check a package.
# Every build and every test runs in a throw-away overlay over these, so a kept system never
# changes; downloaded packages are kept once for each suite, in one archive its systems share.
#
# A system is made in a folder of its own and takes its name only when every step has
# worked, so a failed step never leaves a half-made system to be taken for a whole one.
#
# Sourced, it defines the functions below (root is needed to use them); set `suite` first
# (use_suite). Run as a command, it calls one of them:
#   debian-chroot.sh SUITE FUNCTION ARGUMENT...

# Command substitutions, $(base_system) among them, stop at a failed step too.
shopt -s inherit_errexit

chroot_script=$(realpath "${BASH_SOURCE[0]}")
chroot_caches=$(dirname "$(dirname "$chroot_script")")/.cache/debian

fail() { echo "FAIL: $*" >&2; exit 1; }

# The release this machine runs, for building where no suite is named.
machine_suite() {
  local codename
  # shellcheck disable=SC1091 # the machine's own
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || fail "cannot tell which Debian release this machine runs"
  echo "$codename"
}

use_suite() { # SUITE
  suite=$1
  case $suite in
    *[!a-z]* | '') fail "not a Debian suite's name: '$suite'" ;;
  esac
  chroot_cache=$chroot_caches/$suite
  apt_archive=$chroot_cache/apt-archive
}

# The number of a Debian release the suite is; nothing for testing and unstable.
release_number() {
  case $suite in
    bookworm) echo 12 ;;
    trixie) echo 13 ;;
  esac
}

# Debian's releases get their updates and security fixes; testing and unstable have the
# suite alone.
is_release() { [ -n "$(release_number)" ]; }

# The Debian mirror this machine's apt uses, or Debian's own when it uses none.
debian_mirror() {
  local mirror
  # shellcheck disable=SC2016 # apt fills in the $(...) fields
  mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' \
             'Created-By: Packages' 'Target-Of: deb' 2>/dev/null |
           awk '$1 ~ "/debian/$" && $2 !~ "-security$" {print $1; exit}')
  echo "${mirror:-http://deb.debian.org/debian/}"
}

# The suite's apt source lines.
debian_sources() {
  local mirror
  mirror=$(debian_mirror)
  echo "deb $mirror $suite main"
  if is_release; then
    echo "deb $mirror $suite-updates main"
    echo "deb ${mirror%/debian/}/debian-security/ $suite-security main"
  fi
}

# debootstrap knows the suites that were out when it was made; a newer one is made as sid is.
debootstrap_script() {
  local scripts=/usr/share/debootstrap/scripts
  if [ -e "$scripts/$suite" ]; then echo "$scripts/$suite"; else echo "$scripts/sid"; fi
}

# Testing's index is valid for a week only; a copy of the mirror older than that still makes
# a sound throw-away system, so apt is told to take it, and says so.
accept_expired_index() { # ROOT
  local root=$1 release valid_until
  is_release && return 0
  echo 'Acquire::Check-Valid-Until "false";' >"$root/etc/apt/apt.conf.d/90expired-index"
  release=$(find "$root/var/lib/apt/lists" -name '*_InRelease' -o -name '*_Release' | head -n 1)
  valid_until=$(sed -n 's/^Valid-Until: //p' "${release:-/dev/null}" | head -n 1)
  if [ -n "$valid_until" ] && [ "$(date -d "$valid_until" +%s)" -lt "$(date +%s)" ]; then
    echo "debian-chroot: $suite's index was valid until $valid_until; taken all the same" \
         "for a throw-away system" >&2
  fi
}

# The minimal base system, made the first time it is asked for.
base_system() {
  local base=$chroot_cache/base
  if [ ! -e "$base/.complete" ]; then
    local new=$chroot_cache/base.new mirror log
    mirror=$(debian_mirror)
    rm -rf "$base" "$new"
    mkdir -p "$apt_archive/partial"
    log=$chroot_cache/debootstrap.log
    echo "debian-chroot: making a $suite base system from $mirror" >&2
    # In a mount namespace of its own, so that a failure leaves nothing mounted in the folder.
    unshare --mount --propagation private \
      debootstrap --variant=minbase --cache-dir="$apt_archive" "$suite" "$new" "$mirror" \
      "$(debootstrap_script)" >"$log" 2>&1 ||
      { tail -n 30 "$log" >&2; fail "debootstrap could not make a $suite system (see $log)"; }
    debian_sources >"$new/etc/apt/sources.list"
    accept_expired_index "$new"
    # Only what a package depends on, as Debian's build daemons install build dependencies;
    # and no waiting for the disk, which a throw-away system does not need.
    printf 'APT::Install-Recommends "false";\nDPkg::Options {"--force-unsafe-io";};\n' \
      >"$new/etc/apt/apt.conf.d/90throw-away"
    chroot "$new" useradd --create-home builder || fail "no builder user in the $suite system"
    install -d -o "$(chroot "$new" id -u builder)" -g "$(chroot "$new" id -g builder)" "$new/build"
    mv "$new" "$base"
    touch "$base/.complete"
  fi
  echo "$base"
}

# A layer over the base with the packages that COMMAND (run as root in it) installs, made
# when it is first asked for under the NAME: a layer that shares the name's first word and
# was made for other packages is dropped then.
installed_layer() { # NAME COMMAND...
  local name=$1 base layer new
  shift
  base=$(base_system)
  layer=$chroot_cache/$name
  if [ ! -e "$layer/.complete" ]; then
    new=$chroot_cache/new-$name
    rm -rf "$chroot_cache/${name%%-*}"-* "$new"
    mkdir -p "$new/shared"
    [ -z "${layer_files:-}" ] || cp -r "$layer_files"/. "$new/shared/"
    run_in "$base" "$new" "$@" || fail "could not install the packages of $name in the $suite system"
    rm -rf "$new/shared" "$new/work" "$new/root"
    mv "$new" "$layer"
    touch "$layer/.complete"
  fi
  echo "$layer/upper:$base"
}

# The system with the build dependencies that debian/control names.
build_system() { # CONTROL
  local control=$1 key files
  key=$(awk '/^$/ {exit} /^[^ \t]/ {keep = /^Build-/} keep' "$control" | sha256sum | cut -c1-16)
  files=$(mktemp -d)
  mkdir "$files/debian"
  cp "$control" "$files/debian/control"
  echo "debian-chroot: the build dependencies of $control in the $suite system" >&2
  layer_files=$files installed_layer "build-$key" sh -c 'apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get build-dep -qq -y /shared >/dev/null'
  rm -rf "$files"
}

# The system with the suite's own tools that check a package: lintian, blhc for the build
# log, and hardening-check (devscripts) for the programs.
checking_system() {
  installed_layer "check-lintian-blhc-devscripts" sh -c 'apt-get update -qq &&
    DEBIAN_FRONTEND=noninteractive apt-get install -qq -y lintian blhc devscripts >/dev/null'
}

# Runs COMMAND as root in the system made of LAYERS (colon-separated, uppermost first),
# with what it writes going into the folder CHANGES (CHANGES/upper afterwards); the folder
# CHANGES/shared, made if missing, is /shared inside. /proc, /dev/pts, /dev/shm and the package
# archive are mounted in a mount namespace of the command's own, so none of them outlives
# it. --offline: without network, as a build must do without; --user: as that user.
run_in() { # [--offline] [--user NAME] LAYERS CHANGES COMMAND...
  local namespaces=(--mount --propagation private)
  [ "$1" = --offline ] && namespaces+=(--net)
  unshare "${namespaces[@]}" "$chroot_script" "$suite" mount_and_run "$@"
}

mount_and_run() {
  local offline='' user=root
  [ "$1" = --offline ] && { offline=1; shift; }
  [ "$1" = --user ] && { user=$2; shift 2; }
  local layers=$1 changes=$2
  shift 2
  local root=$changes/root
  mkdir -p "$changes/upper" "$changes/work" "$changes/shared" "$root"
  chmod 0777 "$changes/shared" # for whichever user the command runs as
  mount -t overlay overlay -o "lowerdir=$layers,upperdir=$changes/upper,workdir=$changes/work" "$root"
  mount -t proc proc "$root/proc"
  mount -t devpts -o newinstance,ptmxmode=0666 devpts "$root/dev/pts"
  mount --bind "$root/dev/pts/ptmx" "$root/dev/ptmx"
  mkdir -p "$root/dev/shm" "$root/shared"
  mount -t tmpfs tmpfs "$root/dev/shm"
  mount --bind "$apt_archive" "$root/var/cache/apt/archives"
  mount --bind "$changes/shared" "$root/shared"
  [ -z "$offline" ] || ip link set lo up
  exec chroot --userspec="$user:$user" "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
    HOME="$(awk -F: -v u="$user" '$1 == u {print $6}' "$root/etc/passwd")" LANG=C.UTF-8 "$@"
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  if [ $# -lt 2 ] || ! declare -F "$2" >/dev/null; then
    fail "usage: $0 SUITE FUNCTION ARGUMENT..."
  fi
  use_suite "$1"
  shift
  "$@"
fi

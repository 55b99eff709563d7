#!/usr/bin/env bash
# The clean Debian 12 systems that the source package is built and tested in, kept in
# .cache/debian between runs: a minimal base made by debootstrap, and over it one layer
# with the build dependencies of debian/control for each set of them. Every build and every
# test runs in a throw-away overlay over these, so a kept system never changes; downloaded
# packages are kept once, in one archive all of them share.
#
# Sourced, it defines the functions below (root is needed to use them). Run as a command,
# it calls one of them:   debian-chroot.sh FUNCTION ARGUMENT...

suite=bookworm
chroot_script=$(realpath "${BASH_SOURCE[0]}")
chroot_cache=$(dirname "$(dirname "$chroot_script")")/.cache/debian
apt_archive=$chroot_cache/apt-archive

fail() { echo "FAIL: $*" >&2; exit 1; }

# The Debian mirrors this machine's apt uses for the suite and its updates, as apt source
# lines; Debian's own when it uses none.
debian_sources() {
  local sources
  # shellcheck disable=SC2016 # apt fills in the $(...) fields
  sources=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' \
              'Created-By: Packages' 'Target-Of: deb' |
            awk -v suite="$suite" '$2 ~ "^" suite "(-updates|-security)?$" {print "deb", $1, $2, "main"}' |
            sort -u)
  echo "${sources:-deb http://deb.debian.org/debian/ $suite main}"
}

# The minimal base system, made the first time it is asked for.
base_system() {
  local base=$chroot_cache/base
  if [ ! -e "$base/.complete" ]; then
    local mirror
    mirror=$(debian_sources | awk -v suite="$suite" '$3 == suite {print $2; exit}')
    rm -rf "$base"
    mkdir -p "$apt_archive/partial"
    echo "debian-chroot: making a $suite base system from $mirror" >&2
    # In a mount namespace of its own, so that a failure leaves nothing mounted in the folder.
    unshare --mount --propagation private \
      debootstrap --variant=minbase --cache-dir="$apt_archive" "$suite" "$base" "$mirror" >/dev/null
    debian_sources >"$base/etc/apt/sources.list"
    # Only what a package depends on, as Debian's build daemons install build dependencies;
    # and no waiting for the disk, which a throw-away system does not need.
    printf 'APT::Install-Recommends "false";\nDPkg::Options {"--force-unsafe-io";};\n' \
      >"$base/etc/apt/apt.conf.d/90throw-away"
    chroot "$base" useradd --create-home builder
    install -d -o "$(chroot "$base" id -u builder)" -g "$(chroot "$base" id -g builder)" "$base/build"
    touch "$base/.complete"
  fi
  echo "$base"
}

# The layers of a system with the build dependencies that debian/control names, made when
# that set is first asked for; a layer made for another set is dropped then.
build_system() {
  local control=$1 base key layer
  base=$(base_system)
  key=$(awk '/^$/ {exit} /^[^ \t]/ {keep = /^Build-/} keep' "$control" | sha256sum | cut -c1-16)
  layer=$chroot_cache/build-$key
  if [ ! -e "$layer/.complete" ]; then
    echo "debian-chroot: installing the build dependencies of $control" >&2
    rm -rf "$chroot_cache"/build-*
    mkdir -p "$layer/shared/debian"
    cp "$control" "$layer/shared/debian/control"
    run_in "$base" "$layer" sh -c 'apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get build-dep -qq -y /shared >/dev/null'
    rm -rf "$layer/shared" "$layer/work" "$layer/root"
    touch "$layer/.complete"
  fi
  echo "$layer/upper:$base"
}

# Runs COMMAND as root in the system made of LAYERS (colon-separated, uppermost first),
# with what it writes going into the folder CHANGES (CHANGES/upper afterwards); the folder
# CHANGES/shared, made if missing, is /shared inside. /proc, /dev/pts, /dev/shm and the package
# archive are mounted in a mount namespace of the command's own, so none of them outlives
# it. --offline: without network, as a build must do without; --user: as that user.
run_in() { # [--offline] [--user NAME] LAYERS CHANGES COMMAND...
  local namespaces=(--mount --propagation private)
  [ "$1" = --offline ] && namespaces+=(--net)
  unshare "${namespaces[@]}" "$chroot_script" mount_and_run "$@"
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
  declare -F "${1:-}" >/dev/null || fail "usage: $0 FUNCTION ARGUMENT..."
  "$@"
fi
